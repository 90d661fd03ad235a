#pragma once
// Keeping a report to one line per source while runs append to it: the
// steps made holding its lock (see conversion_report.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shared_file.h"

namespace quillon {

// The source a report line is about, whether it only says the file was
// skipped, whether it lists outputs and the first of them; nothing for a
// line that is no report line (kept as it is).
struct ReportLineSource {
    std::string source;
    bool skipped = false;
    bool listsOutputs = false;
    std::string firstOutput;
};
std::optional<ReportLineSource> reportLineSource(std::string_view line);

enum class Compaction { Unchanged, Rewritten, Failed };

// Rewrites the report whole (a temporary file renamed into place, synced
// first when syncToDisk) when it holds more than one line of a source or
// half a line at its end: each source keeps its last line, unless that says
// only that the file was skipped and an earlier one says more. Lines that
// are no report lines are kept. Called holding the report's lock. recorded,
// when given, gets the keys (outputsKey) of the sources whose line lists
// their outputs, with the first of them, sorted.
Compaction compactReport(platform::SharedFile& report, bool syncToDisk,
                         std::vector<std::uint64_t>* recorded = nullptr);

// A source's key among the report's lines: a 64-bit hash of its path.
std::uint64_t sourceKey(std::string_view source);
// A source's key together with its first output: a line of the source that
// names other outputs (an earlier run's) does not prove these.
std::uint64_t outputsKey(std::string_view source, std::string_view firstOutput);

// Cuts off the half line that a run killed while writing left at the end,
// so that the next line is not joined to it. Called holding the lock.
bool cutTornLine(platform::SharedFile& report);

}  // namespace quillon
