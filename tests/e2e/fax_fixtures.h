#pragma once
// WinFax files of printed pages (support/printed_page.h), for tests that run
// the quillon executable.

#include <filesystem>
#include <string>
#include <vector>

#include "support/printed_page.h"
#include "support/winfax_writer.h"

namespace quillon::test {

// A printed sheet coded for a WinFax file, drawn at the lines per inch of
// its resolution byte (0: 100, 1: 200, other values: 400).
struct FixturePage {
    Sheet sheet;
    FaxPageCoding coding;
    std::uint8_t resolution = 1;
    bool upsideDown = false;  // the sheet fed the wrong way round
    bool speckled = false;    // 2 % of its pixels flipped, as by a noisy line
};

// The pixels the page was drawn with, which its output page must show.
const Bitmap& fixtureBitmap(const FixturePage& page);
// The page coded by libtiff (cached: every test codes the same few pages).
WinFaxPage fixturePage(const FixturePage& page);
std::uint64_t fixtureHash(const FixturePage& page);

// Writes a WinFax file of the given pages; returns its path.
std::string writeFax(const std::filesystem::path& path, const std::vector<FixturePage>& pages);

// Checks that a TIFF output holds exactly these pages: Group 4, the drawn
// size and pixels, XResolution 200, YResolution from the resolution byte and
// PageNumber (i, n) with `firstIndex` as the index of its first page.
void expectTiffPages(const std::string& tiff, const std::vector<FixturePage>& pages, unsigned firstIndex = 0,
                     unsigned pageCount = 0);

// Checks that a PDF output holds exactly these pages: qpdf finds no fault;
// each page shows one 1-bit CCITT image of the drawn size on a media box of
// that size at the page's resolution, and rendered at that resolution it
// gives the drawn pixels.
void expectPdfPages(const std::string& pdf, const std::vector<FixturePage>& pages);

}  // namespace quillon::test
