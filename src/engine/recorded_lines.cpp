#include "engine/recorded_lines.h"

namespace quillon {

void RecordedLines::line(const std::uint32_t* runs, std::uint32_t count) {
    if (overflowed_) return;
    // A line costs its runs and its end: a page of many empty lines is bounded too.
    if (runs_.size() + lineEnds_.size() + count + 1 > maxRuns_) {
        overflowed_ = true;
        runs_ = {};
        lineEnds_ = {};
        return;
    }
    runs_.insert(runs_.end(), runs, runs + count);
    lineEnds_.push_back(std::uint32_t(runs_.size()));
}

void RecordedLines::replay(LineSink& lines) const {
    std::size_t start = 0;
    for (const std::uint32_t end : lineEnds_) {
        lines.line(runs_.data() + start, std::uint32_t(end - start));
        start = end;
    }
}

}  // namespace quillon
