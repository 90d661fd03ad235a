// T.6 page decoding and the search for a start of T.6 data.

#include <algorithm>
#include <bit>
#include <utility>

#include "codec/fax_decoder.h"

namespace quillon {

LoadStatus FaxDecoder::findT6Start(T6Search from) {
    // Raw data have no flag bytes: they start at the current bit, at the
    // first byte and after a coding error alike.
    if (rawStart_) return reader_.current().status;
    std::int32_t position = 0;
    if (from == T6Search::FromResume) position = resume_;
    if (from == T6Search::AfterCurrent) position = std::max(resume_, reader_.position());
    for (;;) {
        Load b = reader_.seekByte(position);
        if (!b.ok()) return b.status;
        if (flagCount_ > 0) {
            while (b.value != 0xFF) {
                b = reader_.seekByte(++position);
                if (!b.ok()) return b.status;
            }
        }
        mark_ = position;
        int flags = 0;
        while (b.value == 0xFF) {
            ++flags;
            b = reader_.seekByte(++position);
            if (!b.ok()) return b.status;
        }
        if (flags < flagCount_) continue;
        // T.6 data begin after the flag bytes and any further one bits, with
        // a code that starts 000 or 001 (pass, horizontal, the long
        // vertical codes or an EOL).
        reader_.skipBits(std::countl_one(std::uint8_t(b.value)));
        const Load firstBits = reader_.readBits(3);
        if (!firstBits.ok()) return firstBits.status;
        if (firstBits.value <= 1) {
            resume_ = position + 1;
            reader_.unreadBits(3);
            return LoadStatus::Loaded;
        }
        ++position;
    }
}

PageStatus FaxDecoder::decodePageT6(FaxImage& image) {
    if (options_ & 1) return PageStatus::Refused;
    if (!beginPage(image, ImageCoding::T6)) return PageStatus::Refused;
    RunList* current = &current_;
    RunList* reference = &reference_;
    reference->setAllWhite(std::uint32_t(width_));
    std::uint32_t rows = 0;
    PageStatus result = PageStatus::Decoded;
    int eolsInRow = 0;
    for (;;) {
        current->clear();
        std::int64_t total = 0;
        const RunPainter painter = painterFor(image, rows);
        const LineResult<int> status = decodeRuns2D<true>(*current, *reference, total, painter);
        // T.6 data hold EOLs only in the EOFB that ends them: a lone EOL
        // stands where lines were lost.
        const bool bareEol = status == LineStatus::UnexpectedEol && current->count == 0;
        if (eolsInRow == 1 && !bareEol) ++droppedLines_;
        eolsInRow = bareEol ? eolsInRow + 1 : 0;
        if (eolsInRow == 2) endOfBlock_ = true;
        if (status.hasValue()) {
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
        if (status == LineStatus::EndedAtWidth) {
            keepLine(rows++, *current);
            break;
        }
        painter.clear();
        if (status == LineStatus::UnexpectedEol) {
            if (current->count > 0) ++droppedLines_;  // a line broken off
            reference->setAllWhite(std::uint32_t(width_));  // EOFB or a stray EOL
        } else if (status == LineStatus::InvalidCode) {
            ++droppedLines_;
            if (findT6Start(T6Search::AfterCurrent) != LoadStatus::Loaded) {
                result = PageStatus::NoRestart;
                break;
            }
            reference->setAllWhite(std::uint32_t(width_));
        } else {
            if (current->count > 0) ++droppedLines_;  // cut short
            result = rows > 0 ? PageStatus::Decoded : PageStatus::NoLine;
            break;
        }
    }
    finishPage(image, rows);
    return result;
}

}  // namespace quillon
