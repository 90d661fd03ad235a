#pragma once
// WinFax files made from the real pages of the corpus, for tests that run the
// quillon executable.

#include <filesystem>
#include <string>
#include <vector>

#include "support/winfax_writer.h"

namespace quillon::test {

// A page of a corpus file coded for a WinFax file (cached: coding a page takes
// a moment), and the pixel hash its TIFF page must decode to.
struct FixturePage {
    const char* corpusFile;
    FaxPageCoding coding;
    std::uint8_t resolution = 1;
};

WinFaxPage fixturePage(const FixturePage& page);
std::uint64_t fixtureHash(const FixturePage& page);

// Writes a WinFax file of the given pages; returns its path.
std::string writeFax(const std::filesystem::path& path, const std::vector<FixturePage>& pages);

// Checks that a TIFF output holds exactly these pages: Group 4, the corpus
// size and pixels, XResolution 200, YResolution from the resolution byte and
// PageNumber (i, n) with `firstIndex` as the index of its first page.
void expectTiffPages(const std::string& tiff, const std::vector<FixturePage>& pages, unsigned firstIndex = 0,
                     unsigned pageCount = 0);

// Checks that a PDF output holds exactly these pages: qpdf finds no fault;
// each page shows one 1-bit CCITT image of the corpus size on a media box of
// that size at the page's resolution, and rendered at that resolution it
// gives the corpus pixels.
void expectPdfPages(const std::string& pdf, const std::vector<FixturePage>& pages);

}  // namespace quillon::test
