// Modified Huffman and T.4 page decoding, and the one-dimensional T.4 line.

#include <algorithm>
#include <limits>
#include <utility>

#include "codec/code_reader.h"
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

LineResult<int> FaxDecoder::decodeRuns1D(RunList& currentLine, const RunPainter& painter) {
    const std::int64_t width = width_;
    BitReader& in = reader_;
    RunAppender current(currentLine);
    OneDimensionalLine line;
    LineResult<int> result = 0;
    for (;;) {
        const RunCodes run = readRunCodes(in, line.colour);
        if (run.code.hasValue()) {
            line.endRun(current, painter, run.makeUp + run.code.value());
            continue;
        }
        if (run.code == LineStatus::InvalidCode) {
            result = LineStatus::InvalidCode;
            break;
        }
        if (run.makeUp > 0) line.closeMakeUp(current, painter, run.makeUp);
        if (run.code == LineStatus::UnexpectedEol)
            result = int(std::min<std::int64_t>(line.sum, std::numeric_limits<int>::max()));
        else
            result = line.sum == width ? LineStatus::EndedAtWidth : LineStatus::DataEnded;
        break;
    }
    current.finish();
    return result;
}

PageStatus FaxDecoder::decodePageMH(FaxImage& image, bool wordAligned) {
    if (!beginPage(image, wordAligned ? ImageCoding::ModifiedHuffmanWord : ImageCoding::ModifiedHuffman))
        return PageStatus::Refused;
    const std::int64_t width = width_;
    BitReader& in = reader_;
    RunAppender current(current_);
    current.clear();
    std::uint32_t rows = 0;
    RunPainter painter = painterFor(image, rows);
    OneDimensionalLine line;
    for (;;) {
        const RunCodes run = readRunCodes(in, line.colour);
        if (run.code == LineStatus::DataEnded) break;
        // Modified Huffman lines have no EOL to resynchronise at: a bad code
        // or an overlong line ends the page, keeping the lines before it.
        if (!run.code.hasValue()) {
            droppedLines_ = 1;
            break;
        }
        line.endRun(current, painter, run.makeUp + run.code.value());
        if (line.sum < width) continue;
        if (line.sum > width) {
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
    return PageStatus::Decoded;
}

PageStatus FaxDecoder::decodePage1D(FaxImage& image) {
    if (!beginPage(image, ImageCoding::T4OneDimensional)) return PageStatus::Refused;
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
        if (run.code.hasValue()) {
            line.endRun(current, painter, run.makeUp + run.code.value());
            if (line.sum <= width) continue;
        } else if (run.code != LineStatus::InvalidCode && run.makeUp > 0) {
            line.closeMakeUp(current, painter, run.makeUp);
        }
        if (run.code == LineStatus::UnexpectedEol) {
            // The EOL ends the line. Short lines (the empty lines of an RTC,
            // or the EOL that starts the data) only count as damage when
            // they hold pixels.
            if (line.sum != width && line.sum > 0) ++droppedLines_;
            endLine(line.sum == width);
            continue;
        }
        if (run.code == LineStatus::DataEnded) {
            // A line the data end inside was cut short.
            if (line.sum != width && current.count() > 0) ++droppedLines_;
            endLine(line.sum == width);
            break;
        }
        // An invalid code or an overlong line: drop it and go on after the next EOL.
        ++droppedLines_;
        reader_ = in;
        const LoadStatus found = reader_.findEol();
        in = reader_;
        if (found != LoadStatus::Loaded) break;
        endLine(false);
    }
    reader_ = in;
    current.finish();
    finishPage(image, rows);
    return PageStatus::Decoded;
}

LoadStatus FaxDecoder::findEolWithTag() {
    for (;;) {
        if (const LoadStatus status = reader_.findEol(); status != LoadStatus::Loaded) return status;
        const Load tag = reader_.readBits(1);
        if (!tag.ok()) return tag.status;
        if (tag.value == 1) return LoadStatus::Loaded;
    }
}

PageStatus FaxDecoder::decodePage2D(FaxImage& image) {
    if (!beginPage(image, ImageCoding::T4TwoDimensional)) return PageStatus::Refused;
    RunList* current = &current_;
    RunList* reference = &reference_;
    reference->clear();
    std::uint32_t rows = 0;
    if (findEolWithTag() != LoadStatus::Loaded) {
        finishPage(image, rows);
        return PageStatus::Refused;
    }
    int tag = 1;
    for (;;) {
        current->clear();
        std::int64_t total = 0;
        const RunPainter painter = painterFor(image, rows);
        const LineResult<int> length =
            tag == 1 ? decodeRuns1D(*current, painter) : decodeRuns2D<false>(*current, *reference, total, painter);
        if (length == LineStatus::DataEnded) {
            if (current->count > 0) ++droppedLines_;  // cut short
            break;
        }
        if (length == LineStatus::EndedAtWidth) {
            keepLine(rows++, *current);
            break;
        }
        if (length == width_) {
            keepLine(rows++, *current);
            std::swap(current, reference);
        } else {
            painter.clear();
            if (length != 0) ++droppedLines_;
        }
        // After an EOL the tag bit follows. A bad line that ended at its EOL
        // leaves the next line decodable when that line is one-dimensional.
        if (length.hasValue() || length == LineStatus::UnexpectedEol) {
            const Load bit = reader_.readBits(1);
            if (!bit.ok()) break;
            tag = bit.value;
            if (length == 0 || length == width_ || tag == 1) continue;
        }
        if (findEolWithTag() != LoadStatus::Loaded) break;
        tag = 1;
    }
    finishPage(image, rows);
    return PageStatus::Decoded;
}

}  // namespace quillon
