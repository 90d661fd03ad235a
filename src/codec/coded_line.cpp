// Two-dimensional line decoding, shared by T.4 two-dimensional lines (ended
// by an EOL) and T.6 lines (ended when the coding reaches the width).

#include <algorithm>
#include <limits>

#include "codec/code_reader.h"
#include "codec/decode_status.h"
#include "codec/fax_decoder.h"
#include "codec/reference_line.h"
#include "codec/t4_codes.h"

namespace quillon {

namespace {

int clampToInt(std::int64_t value) { return int(std::min<std::int64_t>(value, std::numeric_limits<int>::max())); }

}  // namespace

template <bool kT6>
int FaxDecoder::decodeRuns2D(RunList& current, RunList& reference, std::int64_t& total) {
    const std::int64_t width = width_;
    BitReader& in = reader_;
    std::int64_t a0 = 0;
    std::int64_t pending = 0;  // pixels of the current colour passed over, not yet recorded
    int colour = 0;
    std::int64_t sum = 0;
    std::int64_t b1 = firstReference(reference, width);
    auto flushPending = [&] {
        if (pending == 0) return;
        current.append(pending);
        sum += pending;
        pending = 0;
    };
    auto endOfData = [&] {
        if (sum + pending != width) return kDataEnded;
        flushPending();
        return kEndedAtWidth;
    };
    int result;
    for (;;) {
        const int mode = readCode(in, kModeTable.data());
        if (mode < 0) {
            if (mode == kDataEnded) {
                result = endOfData();
            } else if (mode == kUnexpectedEol && !kT6) {
                flushPending();
                result = clampToInt(sum);
            } else {
                result = mode;
            }
            break;
        }
        if (mode <= t4::kVL3) {
            std::int64_t a1;
            if (mode <= t4::kVR3) {
                a1 = b1 + mode;
            } else {
                a1 = b1 - (mode - t4::kVR3);
                b1 = backReference(reference, a1, b1);
            }
            // A changing element left of a0 cannot be coded: damaged data.
            if (a1 < a0) {
                result = kInvalidCode;
                break;
            }
            current.append(pending + a1 - a0);
            sum += pending + a1 - a0;
            pending = 0;
            colour ^= 1;
            a0 = a1;
            if (kT6 && a1 >= width) {
                result = clampToInt(sum);
                break;
            }
            b1 = advanceReference(reference, a0, b1, colour, width);
        } else if (mode == t4::kHorizontal) {
            const std::int64_t first = readRunLength(in, colour);
            if (first >= 0) {
                current.append(pending + first);
                sum += pending + first;
                pending = 0;
                a0 += first;
            }
            const std::int64_t second = first < 0 ? first : readRunLength(in, colour ^ 1);
            if (second < 0) {
                result = second == kDataEnded ? endOfData() : int(second);
                break;
            }
            current.append(second);
            sum += second;
            a0 += second;
            if (kT6 && a0 >= width) {
                result = clampToInt(sum);
                break;
            }
            b1 = advanceReference(reference, a0, b1, colour, width);
        } else if (mode == t4::kPass) {
            const std::int64_t b2 = nextReference(reference, b1, width);
            if (b2 < a0) {
                result = kInvalidCode;
                break;
            }
            pending += b2 - a0;
            a0 = b2;
            // A pass to the end of the line completes a T.6 line as well.
            if (kT6 && a0 >= width) {
                flushPending();
                result = clampToInt(sum);
                break;
            }
            b1 = advanceReference(reference, b2, b2, colour, width);
        } else {
            result = kInvalidCode;
            break;
        }
    }
    total = sum;
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
