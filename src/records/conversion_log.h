#pragma once
// The log: one entry a run, appended to the log file.

#include <string>

#include "platform/export.h"
#include "platform/shared_file.h"
#include "platform/text_spool.h"

namespace quillon {

enum class LogResult { Written, NoLog, FolderMissing, CannotOpen };

// Appends one entry to the log: the local date and time ("%Y-%m-%d %H:%M:%S"
// and a line end), the results text as it is (its lines end in CR LF) made
// of head, the bytes of lines (when given: a folder run's lines are spooled)
// and tail, and a line of 50 hyphens. The log's own folder is made when
// missing (one level only); an empty path means no log. The entry is written
// holding the log's lock (unless SingleRun, or its file system refuses
// locks), so entries of runs at once never mix, and is on stable storage when
// it returns Written, unless syncToDisk is false.
QUILLON_EXPORT LogResult writeLog(const std::string& logPath, const std::string& head,
                                  const platform::TextSpool* lines = nullptr, const std::string& tail = {},
                                  platform::FileLocking locking = platform::FileLocking::Locked, bool syncToDisk = true);

}  // namespace quillon
