#pragma once
// The lines of one decoded page, kept so that the page can be coded later
// without decoding it again, up to a bound on their runs: a page past it is
// not kept, and is decoded again when it is written.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/line_sink.h"

namespace quillon {

class RecordedLines final : public LineSink {
public:
    // 4 MB of runs: a fine A4 page of dense text takes a few hundred
    // thousand; a page of fine halftone may take more and is decoded twice.
    static constexpr std::size_t kMaxRuns = std::size_t(1) << 20;

    explicit RecordedLines(std::size_t maxRuns = kMaxRuns) : maxRuns_(maxRuns) {}

    void line(const std::uint32_t* runs, std::uint32_t count) override;
    // Every line handed in is kept.
    bool complete() const { return !overflowed_; }
    // Hands the kept lines on in their order.
    void replay(LineSink& lines) const;

private:
    std::size_t maxRuns_;
    bool overflowed_ = false;
    std::vector<std::uint32_t> runs_;
    std::vector<std::uint32_t> lineEnds_;  // in runs_, one per line
};

}  // namespace quillon
