#pragma once
// Reads WinFax fax files (".fxd", ".fxm", ".fxr", ".fxs"): a chain of pages,
// each a 128-byte header followed by CCITT-coded data (T.4 one-dimensional
// with EOL codes, or T.6), bits least significant first. Pages are written to
// TIFF with their coded data unchanged; decoding only counts their lines.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/fax_image.h"
#include "codec/line_sink.h"
#include "engine/fax_reader.h"
#include "engine/page_summary.h"
#include "formats/winfax_header.h"

namespace quillon {

class TiffWriter;

class WinFaxReader : public FaxReader {
public:
    // Results of the convert operations besides 0.
    static constexpr int kNoFile = -1;
    static constexpr int kWriteFailed = -2;   // the TIFF output could not be created or written
    static constexpr int kNothingToWrite = -3; // no page is listed

    // 0 when the bytes at position start with the page header signature, -2
    // when not, -1 when no file is open.
    int checkHeader(std::int64_t position);
    // Lists the page headers of the chain (at most kMaxPages) and returns
    // their number; a file without any page is closed. The pages chained
    // beyond a full table are walked to the end too, and summarised as left out.
    std::uint16_t countPages();
    // The chain went on beyond a full page table.
    bool pagesLeftOut() const { return !leftOut_.empty(); }
    const std::vector<PageSummary>& leftOutPages() const { return leftOut_; }

    // Reads the header and the data of a listed page; the data are cut to the
    // file and to the start of the next listed page. 0, or -1 when no file is
    // open or the index is not listed.
    int loadPage(std::uint16_t index);
    // Loads the page and counts the lines its data decode to (without keeping
    // a raster); fills width, rows and resolutions of image, and summary
    // when given. 0, or -1 when the page cannot be loaded.
    int decodePage(std::uint16_t index, FaxImage& image, PageSummary* summary = nullptr);

    // Every listed page goes into the output, in its place: a page without
    // data as a white page of its header's size (libtiff cannot read an empty
    // strip, nor any page after it), a page whose data decode to no line with
    // its data and its header's length. With recount the other pages get the
    // number of lines they decode to. pageSummaries() then tells how each
    // page went.
    // All pages into one multi-page TIFF file. 0, kNoFile, kWriteFailed or
    // kNothingToWrite.
    int convertToFile(const std::string& outputPath, std::uint16_t pageCount, bool recount);
    // One TIFF file per page: the output path cut at its last '.', the page
    // number with at least three digits, ".tif"; PageNumber is the page's place
    // in the whole fax. 0, kNoFile, kWriteFailed or kNothingToWrite.
    int convertToPageFiles(const std::string& outputPath, std::uint16_t pageCount, bool recount);
    // The pages written by the last convert operation.
    const std::vector<PageSummary>& pageSummaries() const { return written_; }
    // Decodes the loaded page once, handing every line that goes into the
    // output to lines (when given), and tells how the page is written: its
    // rows are those the convert operations give it (see above), which may be
    // more than the lines handed out. Used by writers of other codings.
    PageSummary summarizeLoadedPage(bool recount, LineSink* lines);

    // The header of the page loaded last, with width and length defaults applied.
    const WinFaxPageHeader& header() const { return header_; }
    std::uint16_t xResolution() const { return xResolution_; }
    std::uint16_t yResolution() const { return yResolution_; }

private:
    // Header, clamped data length and resolutions of a listed page, without its data.
    int readPageHeader(std::uint16_t index);
    // Counts the lines of the loaded page's data into image and summary.
    void decodeLoadedPage(FaxImage& image, PageSummary& summary, LineSink* lines = nullptr) const;
    // Loads a listed page and decides how it is written; the summary is
    // appended to written_.
    int preparePage(std::uint16_t index, bool recount);
    // Writes the prepared page as the next page of the writer's file.
    int writePreparedPage(TiffWriter& writer, std::uint16_t pageIndex, std::uint16_t pageCount);

    std::uint8_t rawHeader_[WinFaxPageHeader::kSize] = {};
    WinFaxPageHeader header_;
    std::uint32_t dataLength_ = 0;  // of the page loaded last, clamped to the file
    std::uint32_t dataAnnounced_ = 0;  // of the page loaded last, as its header says
    bool fileEndsInside_ = false;      // the file ends before the data of the page loaded last
    std::uint16_t xResolution_ = 0;
    std::uint16_t yResolution_ = 0;
    std::vector<PageSummary> leftOut_;
    std::vector<PageSummary> written_;
};

// The name of page file `pageNumber` (counted from 1) for an output path,
// ending in extension.
std::string winFaxPageFileName(const std::string& outputPath, unsigned pageNumber, const char* extension = ".tif");

}  // namespace quillon
