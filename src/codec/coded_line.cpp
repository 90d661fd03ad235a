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

template <bool kT6>
int FaxDecoder::decodeCodedLine(RowWriter& row, RunList& current, RunList& reference, std::int64_t& total) {
    const std::int64_t width = width_;
    std::int64_t a0 = 0;
    std::int64_t pending = 0;  // pixels of the current colour passed over, not yet written
    int colour = 0;
    total = 0;
    std::int64_t b1 = firstReference(reference, width);
    auto flushPending = [&] {
        if (pending == 0) return;
        writeRun(row, current, pending, colour);
        total += pending;
        pending = 0;
    };
    auto endOfData = [&] {
        if (total + pending != width) return kDataEnded;
        flushPending();
        return kEndedAtWidth;
    };
    for (;;) {
        const int mode = readCode(reader_, kModeTable.data());
        if (mode < 0) {
            if (mode == kDataEnded) return endOfData();
            if (mode == kUnexpectedEol && !kT6) {
                flushPending();
                return int(std::min<std::int64_t>(total, std::numeric_limits<int>::max()));
            }
            return mode;
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
            if (a1 < a0) return kInvalidCode;
            writeRun(row, current, pending + a1 - a0, colour);
            total += pending + a1 - a0;
            pending = 0;
            colour ^= 1;
            a0 = a1;
            if (kT6 && a1 >= width) return int(std::min<std::int64_t>(total, std::numeric_limits<int>::max()));
            b1 = advanceReference(reference, a0, b1, colour, width);
        } else if (mode == t4::kHorizontal) {
            for (int i = 0; i < 2; ++i) {
                const std::int64_t run = readRunLength(reader_, colour);
                if (run < 0) return run == kDataEnded ? endOfData() : int(run);
                writeRun(row, current, pending + run, colour);
                total += pending + run;
                pending = 0;
                a0 += run;
                colour ^= 1;
            }
            if (kT6 && a0 >= width) return int(std::min<std::int64_t>(total, std::numeric_limits<int>::max()));
            b1 = advanceReference(reference, a0, b1, colour, width);
        } else if (mode == t4::kPass) {
            const std::int64_t b2 = nextReference(reference, b1, width);
            if (b2 < a0) return kInvalidCode;
            pending += b2 - a0;
            a0 = b2;
            b1 = advanceReference(reference, b2, b2, colour, width);
        } else {
            return kInvalidCode;
        }
    }
}

int FaxDecoder::decodeLine2D(RowWriter& row, RunList& current, RunList& reference) {
    std::int64_t total = 0;
    return decodeCodedLine<false>(row, current, reference, total);
}

int FaxDecoder::decodeLineT6(RowWriter& row, RunList& current, RunList& reference, std::int32_t& lineTotal) {
    std::int64_t total = 0;
    const int result = decodeCodedLine<true>(row, current, reference, total);
    lineTotal = std::int32_t(std::min<std::int64_t>(total, std::numeric_limits<std::int32_t>::max()));
    return result;
}

}  // namespace quillon
