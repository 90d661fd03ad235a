// Modified Huffman and T.4 page decoding, and the one-dimensional T.4 line.

#include <algorithm>
#include <limits>
#include <utility>

#include "codec/code_reader.h"
#include "codec/decode_status.h"
#include "codec/fax_decoder.h"

namespace quillon {

namespace {

// Where a one-dimensional line stands: the sum of its runs and the colour of
// the next. (Inlined always: a call would let the run appender's and the
// painter's addresses escape, and their state would live in memory.)
struct OneDimensionalLine {
    std::int64_t sum = 0;
    int colour = 0;

    // A run is recorded and painted, and the colour turns.
    [[gnu::always_inline]] void endRun(RunAppender& runs, const RunPainter& painter, std::int64_t run) {
        closeMakeUp(runs, painter, run);
        colour ^= 1;
    }
    // Make-up codes right before an EOL or the end of the data end their
    // line as if a terminating code of length 0 followed, as libtiff reads
    // them, instead of losing their pixels.
    [[gnu::always_inline]] void closeMakeUp(RunAppender& runs, const RunPainter& painter, std::int64_t makeUp) {
        runs.append(makeUp);
        painter.paint(sum, sum + makeUp, colour);
        sum += makeUp;
    }
};

}  // namespace

int FaxDecoder::decodeRuns1D(RunList& currentLine, const RunPainter& painter) {
    const std::int64_t width = width_;
    BitReader& in = reader_;
    RunAppender current(currentLine);
    OneDimensionalLine line;
    int result;
    for (;;) {
        const RunCodes run = readRunCodes(in, line.colour);
        if (run.code >= 0) {
            line.endRun(current, painter, run.makeUp + run.code);
            continue;
        }
        if (run.code == kInvalidCode) {
            result = kInvalidCode;
            break;
        }
        if (run.makeUp > 0) line.closeMakeUp(current, painter, run.makeUp);
        if (run.code == kUnexpectedEol)
            result = int(std::min<std::int64_t>(line.sum, std::numeric_limits<int>::max()));
        else
            result = line.sum == width ? kEndedAtWidth : kDataEnded;
        break;
    }
    current.finish();
    return result;
}

int FaxDecoder::decodePageMH(FaxImage& image, bool wordAligned) {
    if (const int status = beginPage(image, wordAligned ? ImageCoding::ModifiedHuffmanWord : ImageCoding::ModifiedHuffman);
        status < 0)
        return status;
    const std::int64_t width = width_;
    BitReader& in = reader_;
    RunAppender current(current_);
    current.clear();
    std::uint32_t rows = 0;
    RunPainter painter = painterFor(image, rows);
    OneDimensionalLine line;
    int result = 0;
    for (;;) {
        const RunCodes run = readRunCodes(in, line.colour);
        if (run.code == kDataEnded) break;
        // Modified Huffman lines have no EOL to resynchronise at: a bad code
        // or an overlong line ends the page, keeping the lines before it.
        if (run.code < 0) {
            result = 1;
            droppedLines_ = 1;
            break;
        }
        line.endRun(current, painter, run.makeUp + run.code);
        if (line.sum < width) continue;
        if (line.sum > width) {
            result = 1;
            droppedLines_ = 1;
            break;
        }
        current.finish();
        keepLine(rows++, current_);
        painter = painterFor(image, rows);
        in.alignToByte(wordAligned);
        current.clear();
        line = {};
    }
    current.finish();
    finishPage(image, rows);  // cuts off the row of a line the page ended in
    return result;
}

int FaxDecoder::decodePage1D(FaxImage& image) {
    if (const int status = beginPage(image, ImageCoding::T4OneDimensional); status < 0) return status;
    const std::int64_t width = width_;
    // Local copies stay in registers (see codec/bit_reader.h).
    BitReader in = reader_;
    RunAppender current(current_);
    current.clear();
    std::uint32_t rows = 0;
    RunPainter painter = painterFor(image, rows);
    OneDimensionalLine line;
    // A line is kept (painted already) or its row cleared; the next starts.
    auto endLine = [&](bool keep) {
        if (keep) {
            current.finish();
            keepLine(rows++, current_);
            painter = painterFor(image, rows);
        } else {
            painter.clear();
        }
        current.clear();
        line = {};
    };
    for (;;) {
        const RunCodes run = readRunCodes(in, line.colour);
        if (run.code >= 0) {
            line.endRun(current, painter, run.makeUp + run.code);
            if (line.sum <= width) continue;
        } else if (run.code != kInvalidCode && run.makeUp > 0) {
            line.closeMakeUp(current, painter, run.makeUp);
        }
        if (run.code == kUnexpectedEol) {
            // The EOL ends the line. Short lines (the empty lines of an RTC,
            // or the EOL that starts the data) only count as damage when
            // they hold pixels.
            if (line.sum != width && line.sum > 0) ++droppedLines_;
            endLine(line.sum == width);
            continue;
        }
        if (run.code == kDataEnded) {
            // A line the data end inside was cut short.
            if (line.sum != width && current.count() > 0) ++droppedLines_;
            endLine(line.sum == width);
            break;
        }
        // An invalid code or an overlong line: drop it and go on after the next EOL.
        ++droppedLines_;
        reader_ = in;
        const int found = reader_.findEol();
        in = reader_;
        if (found < 0) break;
        endLine(false);
    }
    reader_ = in;
    current.finish();
    finishPage(image, rows);
    return int(droppedLines_);
}

int FaxDecoder::findEolWithTag() {
    for (;;) {
        if (const int status = reader_.findEol(); status < 0) return status;
        const int tag = reader_.readBits(1);
        if (tag < 0) return tag;
        if (tag == 1) return 0;
    }
}

int FaxDecoder::decodePage2D(FaxImage& image) {
    if (const int status = beginPage(image, ImageCoding::T4TwoDimensional); status < 0) return status;
    const std::int64_t width = width_;
    RunList* current = &current_;
    RunList* reference = &reference_;
    reference->clear();
    std::uint32_t rows = 0;
    if (findEolWithTag() < 0) {
        finishPage(image, rows);
        return kDecodeRefused;
    }
    int tag = 1;
    for (;;) {
        current->clear();
        std::int64_t total = 0;
        const RunPainter painter = painterFor(image, rows);
        const int length =
            tag == 1 ? decodeRuns1D(*current, painter) : decodeRuns2D<false>(*current, *reference, total, painter);
        if (length == kDataEnded) {
            if (current->count > 0) ++droppedLines_;  // cut short
            break;
        }
        if (length == kEndedAtWidth) {
            keepLine(rows++, *current);
            break;
        }
        if (length == width) {
            keepLine(rows++, *current);
            std::swap(current, reference);
        } else {
            painter.clear();
            if (length != 0) ++droppedLines_;
        }
        // After an EOL the tag bit follows. A bad line that ended at its EOL
        // leaves the next line decodable when that line is one-dimensional.
        if (length >= 0 || length == kUnexpectedEol) {
            tag = reader_.readBits(1);
            if (tag < 0) break;
            if (length == 0 || length == width || tag == 1) continue;
        }
        if (findEolWithTag() < 0) break;
        tag = 1;
    }
    finishPage(image, rows);
    return int(droppedLines_);
}

}  // namespace quillon
