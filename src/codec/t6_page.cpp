// T.6 page decoding and the search for a start of T.6 data.

#include <algorithm>
#include <bit>
#include <utility>

#include "codec/decode_status.h"
#include "codec/fax_decoder.h"

namespace quillon {

int FaxDecoder::findT6Start(T6Search from) {
    // Raw data have no flag bytes: they start at the current bit, at the
    // first byte and after a coding error alike.
    if (rawStart_) {
        const int status = reader_.current();
        return status < 0 ? status : 0;
    }
    std::int32_t position = 0;
    if (from == T6Search::FromResume) position = resume_;
    if (from == T6Search::AfterCurrent) position = std::max(resume_, reader_.position());
    for (;;) {
        int b = reader_.seekByte(position);
        if (b < 0) return b;
        if (flagCount_ > 0) {
            while (b != 0xFF) {
                b = reader_.seekByte(++position);
                if (b < 0) return b;
            }
        }
        mark_ = position;
        int flags = 0;
        while (b == 0xFF) {
            ++flags;
            b = reader_.seekByte(++position);
            if (b < 0) return b;
        }
        if (flags < flagCount_) continue;
        // T.6 data begin after the flag bytes and any further one bits, with
        // a code that starts 000 or 001 (pass, horizontal, the long
        // vertical codes or an EOL).
        reader_.skipBits(std::countl_one(std::uint8_t(b)));
        const int firstBits = reader_.readBits(3);
        if (firstBits < 0) return firstBits;
        if (firstBits <= 1) {
            resume_ = position + 1;
            reader_.unreadBits(3);
            return 0;
        }
        ++position;
    }
}

int FaxDecoder::decodePageT6(FaxImage& image) {
    if (options_ & 1) return kDecodeRefused;
    if (const int status = beginPage(image, ImageCoding::T6); status < 0) return status;
    RunList* current = &current_;
    RunList* reference = &reference_;
    reference->setAllWhite(std::uint32_t(width_));
    std::uint32_t rows = 0;
    int result = 0;
    int eolsInRow = 0;
    for (;;) {
        current->clear();
        std::int64_t total = 0;
        const RunPainter painter = painterFor(image, rows);
        const int status = decodeRuns2D<true>(*current, *reference, total, painter);
        // T.6 data hold EOLs only in the EOFB that ends them: a lone EOL
        // stands where lines were lost.
        const bool bareEol = status == kUnexpectedEol && current->count == 0;
        if (eolsInRow == 1 && !bareEol) ++droppedLines_;
        eolsInRow = bareEol ? eolsInRow + 1 : 0;
        if (eolsInRow == 2) endOfBlock_ = true;
        if (status >= 0) {
            // A coding that runs past the width is kept as a line, but it is
            // damage: a good line ends exactly at the width.
            if (total != width_) {
                ++overlongLines_;
                if (rows < std::uint32_t(maxRows_)) ++overlongRows_;
            }
            keepLine(rows++, *current);
            std::swap(current, reference);
            continue;
        }
        if (status == kEndedAtWidth) {
            keepLine(rows++, *current);
            break;
        }
        painter.clear();
        if (status == kUnexpectedEol) {
            if (current->count > 0) ++droppedLines_;  // a line broken off
            reference->setAllWhite(std::uint32_t(width_));  // EOFB or a stray EOL
        } else if (status == kInvalidCode) {
            ++droppedLines_;
            if (findT6Start(T6Search::AfterCurrent) < 0) {
                result = kInvalidCode;
                break;
            }
            reference->setAllWhite(std::uint32_t(width_));
        } else {
            if (current->count > 0) ++droppedLines_;  // cut short
            result = rows > 0 ? 0 : kDataEnded;
            break;
        }
    }
    finishPage(image, rows);
    return result;
}

}  // namespace quillon
