// Two-dimensional line decoding, shared by T.4 two-dimensional lines (ended
// by an EOL) and T.6 lines (ended when the coding reaches the width).

#include <algorithm>
#include <array>
#include <limits>

#include "codec/code_reader.h"
#include "codec/decode_status.h"
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
int FaxDecoder::decodeRuns2D(RunList& currentLine, RunList& referenceLine, std::int64_t& total) {
    // Local copies, handed back at the end, stay in registers: stores of runs
    // cannot alias them (see codec/bit_reader.h).
    const std::int64_t width = width_;
    BitReader in = reader_;
    RunAppender current(currentLine);
    ReferenceLine reference(referenceLine, width);
    std::int64_t a0 = 0;
    std::int64_t pending = 0;  // pixels of the current colour passed over, not yet recorded
    int colour = 0;
    // The recorded runs add up to a0 less what is pending.
    auto recordedSum = [&] { return a0 - pending; };
    auto flushPending = [&] {
        if (pending == 0) return;
        current.append(pending);
        pending = 0;
    };
    auto endOfData = [&] {
        if (a0 != width) return kDataEnded;
        flushPending();
        return kEndedAtWidth;
    };
    int result;
    for (;;) {
        const int mode = readMode(in);
        if (mode <= t4::kVL3 && mode >= 0) {
            const std::int64_t a1 = reference.b1() + kVerticalOffset[mode];
            // A changing element left of a0 cannot be coded: damaged data.
            if (a1 < a0) {
                result = kInvalidCode;
                break;
            }
            current.append(pending + a1 - a0);
            pending = 0;
            colour ^= 1;
            a0 = a1;
            if (kT6 && a1 >= width) {
                result = clampToInt(a0);
                break;
            }
            reference.verticalChange(a1, colour);
        } else if (mode == t4::kHorizontal) {
            const std::int64_t first = readRunLength(in, colour);
            if (first >= 0) {
                current.append(pending + first);
                pending = 0;
                a0 += first;
            }
            const std::int64_t second = first < 0 ? first : readRunLength(in, colour ^ 1);
            if (second < 0) {
                result = second == kDataEnded ? endOfData() : int(second);
                break;
            }
            current.append(second);
            a0 += second;
            if (kT6 && a0 >= width) {
                result = clampToInt(a0);
                break;
            }
            reference.skipPairs(a0);
        } else if (mode == t4::kPass) {
            const std::int64_t b2 = reference.takeB2();
            if (b2 < a0) {
                result = kInvalidCode;
                break;
            }
            pending += b2 - a0;
            a0 = b2;
            // A pass to the end of the line completes a T.6 line as well.
            if (kT6 && a0 >= width) {
                flushPending();
                result = clampToInt(a0);
                break;
            }
            reference.passChange(b2);
        } else if (mode == kDataEnded) {
            result = endOfData();
            break;
        } else if (mode == kUnexpectedEol && !kT6) {
            flushPending();
            result = clampToInt(recordedSum());
            break;
        } else {
            result = mode < 0 ? mode : kInvalidCode;
            break;
        }
    }
    total = recordedSum();
    reader_ = in;
    current.finish();
    return result;
}

template int FaxDecoder::decodeRuns2D<false>(RunList&, RunList&, std::int64_t&);
template int FaxDecoder::decodeRuns2D<true>(RunList&, RunList&, std::int64_t&);

int FaxDecoder::decodeLine2D(RowWriter& row, RunList& current, RunList& reference) {
    std::int64_t total = 0;
    const int result = decodeRuns2D<false>(current, reference, total);
    drawRuns(row, current.runs, current.count, invert_);
    return result;
}

int FaxDecoder::decodeLineT6(RowWriter& row, RunList& current, RunList& reference, std::int32_t& lineTotal) {
    std::int64_t total = 0;
    const int result = decodeRuns2D<true>(current, reference, total);
    drawRuns(row, current.runs, current.count, invert_);
    lineTotal = std::int32_t(std::min<std::int64_t>(total, std::numeric_limits<std::int32_t>::max()));
    return result;
}

}  // namespace quillon
