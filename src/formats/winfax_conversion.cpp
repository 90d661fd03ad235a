// Writing the pages of a WinFax file as TIFF: the coded data of each page go
// unchanged into one strip.
#include <cstdio>

#include "codec/white_page.h"
#include "formats/winfax_reader.h"
#include "tiff/tiff_writer.h"

namespace quillon {

namespace {

constexpr std::uint8_t kPhotometricWhiteIsZero = 0;
constexpr std::uint16_t kFillOrderLsbFirst = 2;
constexpr std::uint16_t kResolutionUnitInch = 2;

int openOutput(TiffWriter& writer, const std::string& path) {
    if (writer.openWriter(path, TiffWriter::kLittleEndian, "wb") != 0 || writer.writeHeader() != 0) return -1;
    writer.setDefaultTags();
    return 0;
}

}  // namespace

std::string winFaxPageFileName(const std::string& outputPath, unsigned pageNumber, const char* extension) {
    // Only a '.' in the file name starts an extension, not one in a folder name.
    const std::size_t dot = outputPath.find_last_of('.');
    const std::size_t slash = outputPath.find_last_of('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    char number[16];
    std::snprintf(number, sizeof number, "%03u", pageNumber);
    return (hasExtension ? outputPath.substr(0, dot) : outputPath) + number + extension;
}

PageSummary WinFaxReader::summarizeLoadedPage(bool recount, LineSink* lines) {
    FaxImage counted;
    PageSummary summary;
    decodeLoadedPage(counted, summary, lines);
    // Pages without lines keep their header's length: a white page has as
    // many as the header says, and an undecodable page keeps what a TIFF
    // reader can still make of its data.
    summary.rows = recount && counted.rows > 0 ? counted.rows : header_.length;
    if (summary.state == PageState::Empty) summary.coding = ImageCoding::T6;
    return summary;
}

int WinFaxReader::preparePage(std::uint16_t index, bool recount) {
    if (loadPage(index) != 0) return kNoFile;
    written_.push_back(summarizeLoadedPage(recount, nullptr));
    return 0;
}

int WinFaxReader::writePreparedPage(TiffWriter& writer, std::uint16_t pageIndex, std::uint16_t pageCount) {
    const PageSummary& page = written_.back();
    writer.setOutputCompression(page.coding, kPhotometricWhiteIsZero);
    writer.setFillOrder(kFillOrderLsbFirst);
    writer.setImageSize(page.width, page.rows);
    writer.setPageNumber(pageIndex, pageCount);
    const std::vector<std::uint8_t> white =
        page.state == PageState::Empty ? whitePageT6LsbFirst(page.rows) : std::vector<std::uint8_t>();
    const std::vector<std::uint8_t>& data = page.state == PageState::Empty ? white : pageData();
    const std::int64_t directory = writer.appendPage(data.data(), static_cast<std::uint32_t>(data.size()),
                                                     xResolution_, yResolution_, kResolutionUnitInch);
    if (directory < 0 || writer.writeDirectory(static_cast<std::uint32_t>(directory)) != 0) return kWriteFailed;
    return 0;
}

int WinFaxReader::convertToFile(const std::string& outputPath, std::uint16_t pageCount, bool recount) {
    written_.clear();
    if (!isOpen()) return kNoFile;
    if (pageCount == 0) return kNothingToWrite;
    TiffWriter writer;
    if (openOutput(writer, outputPath) != 0) return kWriteFailed;
    for (std::uint16_t i = 0; i < pageCount; ++i) {
        if (preparePage(i, recount) != 0 || writePreparedPage(writer, i, pageCount) != 0) return kWriteFailed;
    }
    return writer.closeWriter() == 0 ? 0 : kWriteFailed;
}

int WinFaxReader::convertToPageFiles(const std::string& outputPath, std::uint16_t pageCount, bool recount) {
    written_.clear();
    if (!isOpen()) return kNoFile;
    if (pageCount == 0) return kNothingToWrite;
    for (std::uint16_t i = 0; i < pageCount; ++i) {
        TiffWriter writer;
        if (preparePage(i, recount) != 0 || openOutput(writer, winFaxPageFileName(outputPath, i + 1u)) != 0 ||
            writePreparedPage(writer, i, pageCount) != 0 || writer.closeWriter() != 0)
            return kWriteFailed;
    }
    return 0;
}

}  // namespace quillon
