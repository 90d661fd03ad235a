#pragma once
// Turns one fax file into TIFF output: lists its pages, checks that its first
// page decodes, and has every page written as TIFF. One engine per file.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/fax_image.h"
#include "engine/convert_options.h"
#include "engine/format_detection.h"
#include "engine/g4_road.h"
#include "formats/winfax_reader.h"

namespace quillon {

class ConversionEngine {
public:
    explicit ConversionEngine(const ConvertOptions& options);  // its own copy

    // -1 when the file cannot be opened (or the format has no reader), else 0;
    // whether the file holds a fax is told by hasImage.
    int openSource(const std::string& path, FaxFormat format);
    // The first page with data decoded to a width and at least one line and
    // holds fax data (damage keeps a fax a fax, random bytes do not).
    bool hasImage() const;
    // 0 written; -1 no open file; WinFaxReader::kWriteFailed when the TIFF
    // output cannot be created or written; WinFaxReader::kNothingToWrite when
    // no page holds an image. Page mode 1 writes one file per page, named from
    // the output path cut at its last '.' + "001", "002", ... + ".tif".
    int convert(const std::string& outputPath, FaxFormat format);
    // The direct road to the final output (engine/g4_road.h): listed pages
    // [first, first + count) of the WinFax file into one Group 4 TIFF file,
    // or coded into output. 0; -1 no open file or pages not listed;
    // WinFaxReader::kWriteFailed. Their summaries join pages(), so one file
    // may take several calls.
    int writeG4(const std::string& outputPath, std::uint16_t first, std::uint16_t count);
    int writeG4(G4PageOutput& output, std::uint16_t first, std::uint16_t count, G4Layout layout);

    std::uint16_t pageCount() const { return options_.pageCount; }
    // The file chains more pages than the page table holds: those were not listed.
    bool pagesLeftOut() const { return reader_.pagesLeftOut(); }
    // Every page of the chain in order after convert, or after writeG4 has
    // written them all: the pages written, then those left out.
    std::vector<PageSummary> pages() const;

private:
    // The open WinFax file lists pages [first, first + count).
    bool listsPages(std::uint16_t first, std::uint16_t count) const;
    WinFaxReader reader_;
    bool valid_ = false;
    ConvertOptions options_;
    FaxImage firstPage_;
    std::vector<PageSummary> written_;
};

}  // namespace quillon
