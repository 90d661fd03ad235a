// Writing the pages of a WinFax file as TIFF: the coded data of each page go
// unchanged into one strip.
#include <cstdio>

#include "formats/winfax_reader.h"
#include "platform/files.h"
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

std::string winFaxPageFileName(const std::string& outputPath, unsigned pageNumber) {
    // Only a '.' in the file name starts an extension, not one in a folder name.
    const std::size_t dot = outputPath.find_last_of('.');
    const std::size_t slash = outputPath.find_last_of('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    char number[16];
    std::snprintf(number, sizeof number, "%03u", pageNumber);
    return (hasExtension ? outputPath.substr(0, dot) : outputPath) + number + ".tif";
}

std::vector<std::uint16_t> WinFaxReader::planPages(std::uint16_t pageCount, bool recount) {
    // A page without data or without a single decodable line would be an
    // unreadable TIFF directory (a 0-byte strip or ImageLength 0), and
    // libtiff stops at the first such directory, losing every later page.
    std::vector<std::uint16_t> lines(pageCount, 0);
    for (std::uint16_t i = 0; i < pageCount; ++i) {
        if (recount) {
            FaxImage image;
            if (decodePage(i, image) == 0) lines[i] = static_cast<std::uint16_t>(image.rows);
        } else if (readPageHeader(i) == 0 && dataLength_ > 0) {
            lines[i] = header_.length;
        }
    }
    return lines;
}

int WinFaxReader::writeLoadedPage(TiffWriter& writer, std::uint16_t lines, std::uint16_t pageIndex,
                                  std::uint16_t pageCount) {
    writer.setOutputCompression(header_.isT6() ? ImageCoding::T6 : ImageCoding::T4OneDimensional,
                                kPhotometricWhiteIsZero);
    writer.setFillOrder(kFillOrderLsbFirst);
    writer.setImageSize(header_.width, lines);
    writer.setPageNumber(pageIndex, pageCount);
    const std::vector<std::uint8_t>& data = pageData();
    const std::int64_t directory = writer.appendPage(data.data(), static_cast<std::uint32_t>(data.size()),
                                                     xResolution_, yResolution_, kResolutionUnitInch);
    if (directory < 0 || writer.writeDirectory(static_cast<std::uint32_t>(directory)) != 0) return kWriteFailed;
    return 0;
}

int WinFaxReader::convertToFile(const std::string& outputPath, std::uint16_t pageCount, bool recount) {
    if (!isOpen()) return kNoFile;
    const std::vector<std::uint16_t> lines = planPages(pageCount, recount);
    std::uint16_t written = 0;
    for (std::uint16_t n : lines) written = static_cast<std::uint16_t>(written + (n != 0));
    if (written == 0) return kNothingToWrite;

    TiffWriter writer;
    if (openOutput(writer, outputPath) != 0) return kWriteFailed;
    std::uint16_t pageIndex = 0;
    for (std::uint16_t i = 0; i < pageCount; ++i) {
        if (lines[i] == 0) continue;
        if (loadPage(i) != 0 || writeLoadedPage(writer, lines[i], pageIndex++, written) != 0) return kWriteFailed;
    }
    return writer.closeWriter() == 0 ? 0 : kWriteFailed;
}

int WinFaxReader::convertToPageFiles(const std::string& outputPath, std::uint16_t pageCount, bool recount) {
    if (!isOpen()) return kNoFile;
    const std::vector<std::uint16_t> lines = planPages(pageCount, recount);
    for (std::uint16_t i = 0; i < pageCount; ++i) {
        const std::string name = winFaxPageFileName(outputPath, i + 1u);
        if (lines[i] == 0) {
            // No file for this page, and none left over from an earlier fax.
            platform::removeFile(name);
            continue;
        }
        TiffWriter writer;
        if (openOutput(writer, name) != 0 || loadPage(i) != 0 || writeLoadedPage(writer, lines[i], i, pageCount) != 0 ||
            writer.closeWriter() != 0)
            return kWriteFailed;
    }
    return 0;
}

}  // namespace quillon
