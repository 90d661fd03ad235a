#pragma once
// The log: one entry a run, appended to the log file.

#include <string>

#include "platform/export.h"

namespace quillon {

enum class LogResult { Written, NoLog, FolderMissing, CannotOpen };

// Appends one entry to the log: the local date and time ("%Y-%m-%d %H:%M:%S"
// and a line end), the results text as it is (its lines end in CR LF), and a
// line of 50 hyphens. The log's own folder is made when missing (one level
// only); an empty path means no log.
QUILLON_EXPORT LogResult writeLog(const std::string& logPath, const std::string& text);

}  // namespace quillon
