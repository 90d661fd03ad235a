#pragma once
// Keeping a report to one line per source while runs append to it: the
// steps made holding its lock (see conversion_report.h).

#include <optional>
#include <string>
#include <string_view>

#include "platform/shared_file.h"

namespace quillon {

// The source a report line is about, and whether it only says the file was
// skipped; nothing for a line that is no report line (kept as it is).
struct ReportLineSource {
    std::string source;
    bool skipped = false;
};
std::optional<ReportLineSource> reportLineSource(std::string_view line);

enum class Compaction { Unchanged, Rewritten, Failed };

// Rewrites the report whole (a temporary file renamed into place, synced
// first when syncToDisk) when it holds more than one line of a source or
// half a line at its end: each source keeps its last line, unless that says
// only that the file was skipped and an earlier one says more. Lines that
// are no report lines are kept. Called holding the report's lock.
Compaction compactReport(platform::SharedFile& report, bool syncToDisk);

// Cuts off the half line that a run killed while writing left at the end,
// so that the next line is not joined to it. Called holding the lock.
bool cutTornLine(platform::SharedFile& report);

}  // namespace quillon
