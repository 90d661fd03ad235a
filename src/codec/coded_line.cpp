// Two-dimensional line decoding, shared by T.4 two-dimensional lines (ended
// by an EOL) and T.6 lines (ended when the coding reaches the width).

#include <algorithm>
#include <array>
#include <limits>

#include "codec/code_reader.h"
#include "codec/fax_decoder.h"
#include "codec/reference_line.h"
#include "codec/t4_codes.h"

namespace quillon {

namespace {

int clampToInt(std::int64_t value) { return int(std::min<std::int64_t>(value, std::numeric_limits<int>::max())); }

// Where a vertical code puts a1, relative to b1, by mode number.
constexpr std::array<std::int8_t, t4::kVL3 + 1> kVerticalOffset = [] {
    std::array<std::int8_t, t4::kVL3 + 1> offsets{};
    for (int k = 0; k <= 3; ++k) offsets[t4::kV0 + k] = std::int8_t(k);
    for (int k = 1; k <= 3; ++k) offsets[t4::kVR3 + k] = std::int8_t(-k);
    return offsets;
}();
static_assert(kVerticalOffset[t4::kVR2] == 2 && kVerticalOffset[t4::kVL1] == -1 && kVerticalOffset[t4::kVL3] == -3);

}  // namespace

template <bool kT6>
LineResult<int> FaxDecoder::decodeRuns2D(RunList& currentLine, RunList& referenceLine, std::int64_t& total,
                                         const RunPainter& rowPainter) {
    // Local copies, handed back at the end, stay in registers: stores of runs
    // cannot alias them (see codec/bit_reader.h).
    const std::int64_t width = width_;
    BitReader in = reader_;
    RunAppender current(currentLine);
    ReferenceLine reference(referenceLine, width);
    const RunPainter painter = rowPainter;
    std::int64_t a0 = 0;
    // Where the run of the current colour began: the recorded runs add up to
    // it, and pass codes move a0 on without recording.
    std::int64_t runStart = 0;
    int colour = 0;
    // Records and paints the run from runStart to end, of colour runColour.
    auto endRun = [&](std::int64_t end, int runColour) __attribute__((always_inline)) {
        current.append(end - runStart);
        painter.paint(runStart, end, runColour);
        runStart = end;
    };
    auto flushPending = [&]() __attribute__((always_inline)) {
        if (a0 != runStart) endRun(a0, colour);
    };
    auto endOfData = [&]() __attribute__((always_inline)) {
        if (a0 != width) return LineStatus::DataEnded;
        flushPending();
        return LineStatus::EndedAtWidth;
    };
    LineResult<int> result = 0;
    for (;;) {
        const LineResult<int> mode = readMode(in);
        if (mode.hasValue() && mode.value() <= t4::kVL3) {
            const std::int64_t a1 = reference.b1() + kVerticalOffset[mode.value()];
            // A changing element left of a0 cannot be coded: damaged data.
            if (a1 < a0) {
                result = LineStatus::InvalidCode;
                break;
            }
            endRun(a1, colour);
            colour ^= 1;
            a0 = a1;
            if (kT6 && a1 >= width) {
                result = clampToInt(a0);
                break;
            }
            reference.verticalChange(a1, colour);
        } else if (mode == t4::kHorizontal) {
            const LineResult<std::int64_t> first = readRunLength(in, colour);
            if (first.hasValue()) {
                a0 += first.value();
                endRun(a0, colour);
            }
            const LineResult<std::int64_t> second = first.hasValue() ? readRunLength(in, colour ^ 1) : first;
            if (!second.hasValue()) {
                result = second == LineStatus::DataEnded ? endOfData() : second.status();
                break;
            }
            a0 += second.value();
            endRun(a0, colour ^ 1);
            if (kT6 && a0 >= width) {
                result = clampToInt(a0);
                break;
            }
            reference.skipPairs(a0);
        } else if (mode == t4::kPass) {
            const std::int64_t b2 = reference.takeB2();
            if (b2 < a0) {
                result = LineStatus::InvalidCode;
                break;
            }
            a0 = b2;
            // A pass to the end of the line completes a T.6 line as well.
            if (kT6 && a0 >= width) {
                flushPending();
                result = clampToInt(a0);
                break;
            }
            reference.passChange(b2);
        } else if (mode == LineStatus::DataEnded) {
            result = endOfData();
            break;
        } else if (mode == LineStatus::UnexpectedEol && !kT6) {
            flushPending();
            result = clampToInt(runStart);
            break;
        } else {
            result = mode.hasValue() ? LineStatus::InvalidCode : mode.status();
            break;
        }
    }
    total = runStart;
    reader_ = in;
    current.finish();
    return result;
}

template LineResult<int> FaxDecoder::decodeRuns2D<false>(RunList&, RunList&, std::int64_t&, const RunPainter&);
template LineResult<int> FaxDecoder::decodeRuns2D<true>(RunList&, RunList&, std::int64_t&, const RunPainter&);

}  // namespace quillon
