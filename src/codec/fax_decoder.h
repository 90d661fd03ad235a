#pragma once
// Decodes CCITT-coded fax pages (modified Huffman, T.4 one- and
// two-dimensional, T.6) into a FaxImage bitmap, or only counts their lines.
// Decoding is forgiving: a line that does not decode to exactly the page width
// is dropped and decoding resumes at the next point of synchronisation.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "codec/bit_reader.h"
#include "codec/decode_status.h"
#include "codec/fax_image.h"
#include "codec/line_sink.h"
#include "codec/run_painter.h"
#include "codec/run_list.h"

namespace quillon {

// Where findT6Start begins to look for a start of T.6 data.
enum class T6Search {
    FromFirstByte = 0,  // the first byte of the data
    FromResume = 1,     // the byte after the previous start found
    AfterCurrent = 2,   // the later of the resume position and the current byte
};

// Widest page the decoders accept (the widest fax line is 4864 pixels;
// page headers hold 16-bit widths).
inline constexpr std::int32_t kMaxPageWidth = 65535;
// Longest page a reader takes: a metre of paper at fine resolution is under
// 8,000 rows; a file announcing more is damaged or hostile, and is refused
// before anything is allocated for it.
inline constexpr std::uint32_t kMaxPageRows = 1u << 17;

class FaxDecoder {
public:
    // Binds the bit input to data (not owned). fillOrder 1: bytes used as stored;
    // any other value: bit-reversed. coding is the one decodePage decodes
    // (modified Huffman, either alignment, or T.4). invert 0: white pixels are 1 bits.
    void initDecoder(const std::uint8_t* data, std::int32_t length, std::uint8_t fillOrder, ImageCoding coding,
                     std::uint8_t invert);
    // The same for T.6 data: options with bit 0 set are refused by decodePageT6;
    // flagCount is the least number of 0xFF bytes before a new start of data.
    void initDecoderT6(const std::uint8_t* data, std::int32_t length, std::uint8_t fillOrder, std::uint8_t options,
                       std::uint8_t invert, std::uint8_t flagCount);
    // T.6 only: the data carry no flag bytes. findT6Start searches none and
    // stays at the current bit; after a coding error decoding goes on right
    // behind the bad code, as a TIFF reader does with the same data.
    // initDecoder and initDecoderT6 clear it.
    void setRawStart(bool rawStart) { rawStart_ = rawStart; }
    void setGeometry(std::int32_t width, std::int32_t maxRows);
    // Count-only: page decoders decode every line and count the good lines
    // (never more than maxRows); the FaxImage bitmap stays empty. Memory is
    // then two run lists of width + 2 entries, whatever maxRows is. Otherwise
    // the raster holds maxRows rows, or fewer when the data cannot fill more
    // (every line takes at least one bit), and is cut to the rows decoded.
    void setCountOnly(bool countOnly) { countOnly_ = countOnly; }
    // Page decoders hand every line they keep (at most maxRows) to sink as
    // well, in count-only mode too; nullptr (the default) hands out none.
    void setLineSink(LineSink* sink) { sink_ = sink; }

    // Decodes a page in the coding given to initDecoder: modified Huffman
    // byte- or word-aligned, T.4 one- or two-dimensional; others are Refused.
    // Decoded, with droppedLines() the lines lost (modified Huffman: 1 when it
    // stopped at a bad line), or Refused when the page could not be decoded
    // at all.
    PageStatus decodePage(FaxImage& image);
    // Positions the reader at a start of T.6 data behind flag bytes (none
    // with raw start). Loaded, or the load status when data end first.
    LoadStatus findT6Start(T6Search from);
    // Decodes a T.6 page from the current position: Decoded, NoLine when not
    // one line decoded, NoRestart when an invalid code had no new start
    // behind it, Refused when refused (options bit 0, geometry, memory).
    PageStatus decodePageT6(FaxImage& image);
    // Line counts of the page decoded last, also beyond maxRows: lines kept,
    // lines dropped for a bad code or a wrong length, and kept T.6 lines whose
    // coding ran past the width (a good line ends exactly at it).
    std::uint32_t decodedLines() const { return decodedLines_; }
    std::uint32_t droppedLines() const { return droppedLines_; }
    std::uint32_t overlongLines() const { return overlongLines_; }
    // Rows of the page (below maxRows) that hold a line kept whole: the rows
    // that a reader sees as the fax drew them.
    std::uint32_t goodRows() const {
        return std::min(decodedLines_, std::uint32_t(std::max(maxRows_, 0))) - overlongRows_;
    }
    // The T.6 page decoded last held an EOFB (two EOLs in a row): the mark
    // that T.6 coding put there, which random bytes hardly ever hold.
    bool sawEndOfBlock() const { return endOfBlock_; }
    // Zero-length runs inside the lines of the page decoded last, joined to
    // their neighbours (no encoder writes them). libtiff keeps them as
    // changing elements of the next line's reference instead.
    std::uint32_t joinedRuns() const { return current_.joined + reference_.joined; }

    // One run code of colour 0 (white) or 1 (black): its length (a make-up
    // code gives its multiple of 64 and the caller adds what follows), or
    // DataEnded, InvalidCode or UnexpectedEol.
    LineResult<int> decodeRun(int colour);

    BitReader& reader() { return reader_; }
    const BitReader& reader() const { return reader_; }
    // Byte position of the first flag byte before the most recent T.6 start.
    std::int32_t mark() const { return mark_; }
    std::int32_t width() const { return width_; }
    std::int32_t maxRows() const { return maxRows_; }

private:
    // Fills the record, sizes the raster and the run lists; false (the page
    // is refused) on unusable geometry or no memory.
    bool beginPage(FaxImage& image, ImageCoding coding);
    // The painter of raster row `row`: it paints nothing when the raster does
    // not hold the row. Lines are painted as they are decoded; a line that is
    // not kept is cleared again.
    RunPainter painterFor(FaxImage& image, std::uint32_t row) const;
    // A good line, painted into row `row` already, goes to the line sink.
    void keepLine(std::uint32_t row, const RunList& runs) const;
    void finishPage(FaxImage& image, std::uint32_t goodLines);
    PageStatus decodePageMH(FaxImage& image, bool wordAligned);
    PageStatus decodePage1D(FaxImage& image);
    PageStatus decodePage2D(FaxImage& image);
    // Searches the next EOL whose tag bit is 1: Loaded, or the load status.
    LoadStatus findEolWithTag();
    // The line decoders proper: they record the runs of a line in current
    // (room for width + 2 runs) and paint them. A reference line reaches the
    // width and its storage has room for two runs behind its last. Results
    // are the line length or its line status.
    LineResult<int> decodeRuns1D(RunList& current, const RunPainter& painter);
    template <bool kT6>
    LineResult<int> decodeRuns2D(RunList& current, RunList& reference, std::int64_t& total,
                                 const RunPainter& painter);

    BitReader reader_;
    std::int32_t mark_ = 0;
    std::int32_t resume_ = 0;
    bool rawStart_ = false;
    bool countOnly_ = false;
    LineSink* sink_ = nullptr;
    std::uint32_t decodedLines_ = 0;
    std::uint32_t droppedLines_ = 0;
    std::uint32_t overlongLines_ = 0;
    std::uint32_t overlongRows_ = 0;  // overlong lines kept below maxRows
    bool endOfBlock_ = false;
    ImageCoding coding_ = ImageCoding::T6;
    std::uint8_t invert_ = 0;
    std::int32_t width_ = 0;
    std::int32_t maxRows_ = 0;
    std::uint8_t options_ = 0;
    std::uint8_t flagCount_ = 0;

    // Per-page storage, sized once per page and reused across pages.
    std::uint32_t bytesPerRow_ = 0;
    std::uint32_t heldRows_ = 0;  // rows the raster of the current page holds
    std::vector<std::uint32_t> runStorage_;
    RunList current_;
    RunList reference_;
};

}  // namespace quillon
