// Makes the pages of the text recognition benchmark (bench/accuracy_bench.sh):
// prose of known words printed in several fonts and sizes at fine (200 lines
// per inch) and standard (100) resolution, some pages fed upside down, some
// with speckle. Each page becomes
//   <out>/faxes/<name>.fxd   a WinFax file of the page (T.6)
//   <out>/tiff/<name>.tif    the same pixels as a Group 4 TIFF file, for other tools
//   <out>/text/<name>.txt    the printed lines, the right way up
// and <out>/pages.tsv lists name, lines per inch and what the page is.
// With --long N it also writes N upright fine pages, each in another font or
// from another paragraph, as one WinFax file <out>/long/long.fxd, as one
// multi-page Group 4 TIFF file <out>/long/long.tif and as <out>/long/long.txt
// (bench/page_sharing_bench.sh); with --letters N, the same of N copies of
// the tests' printed business letter (some 210 words a page, where the prose
// pages hold 500 to 700).
//
//   quillon_accuracy_pages <out folder> [--long N | --letters N]

#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/printed_page.h"
#include "support/winfax_writer.h"

namespace {

using namespace quillon::test;

const std::vector<std::string> kProse = {
    "The mill stands where the river leaves the hills, and for two hundred years it has made paper from rags, "
    "straw and wood. Water from the weir still turns a wheel in the old building, although the machines now run "
    "on electricity from the town.",
    "Orders that reach us before noon on a weekday are packed the same afternoon and leave by the evening lorry. "
    "Customers in the north of the country should receive their goods within two days; those further south may "
    "have to wait a day longer.",
    "Please check every delivery against the note that comes with it, and tell us at once if anything is missing "
    "or damaged. We cannot accept a claim made more than fourteen days after the goods arrived.",
    "Our prices for the coming year are printed on the enclosed list. Most of them have not changed, but the cost "
    "of pulp has risen sharply since the summer, and the heavier boards are dearer by about one part in ten.",
    "The committee met on Tuesday evening in the library of the institute. Eleven members were present, and the "
    "secretary read letters from three others who could not attend because of the weather.",
    "After some discussion it was agreed that the annual dinner should be held in March rather than in January, "
    "when so many people are away or unwell. The treasurer will ask the hotel for a price before the next meeting.",
    "Visitors are welcome to walk round the works on the first Saturday of each month. Guided tours start at ten "
    "and at two o'clock from the gate lodge, and last a little over an hour.",
    "Children under twelve must be with an adult, and nobody may enter the machine hall without the helmet and the "
    "ear defenders that the guide will hand out at the door.",
};

struct PageRecipe {
    Font font;
    double points;
    unsigned linesPerInch;
    enum class Feed { Plain, UpsideDown, Speckled } feed;
};

const char* fontName(Font font) {
    switch (font) {
        case Font::Serif: return "serif";
        case Font::Sans: return "sans";
        case Font::SansBold: return "sans-bold";
        case Font::Mono: return "mono";
    }
    return "?";
}

const char* feedName(PageRecipe::Feed feed) {
    return feed == PageRecipe::Feed::UpsideDown ? "upside-down" : feed == PageRecipe::Feed::Speckled ? "speckled" : "plain";
}

// A page of prose in the recipe's font and feed, starting at paragraph `first`, so
// that pages differ; `text` gets its printed lines, the right way up.
PrintedPage prosePage(const PageRecipe& recipe, std::size_t first, unsigned seed, std::string& text) {
    std::vector<std::string> paragraphs;
    for (std::size_t p = 0; p < kProse.size() * 2; ++p) paragraphs.push_back(kProse[(first + p) % kProse.size()]);
    PrintedPage page = printedProse(recipe.font, recipe.points, recipe.linesPerInch, paragraphs);
    for (const std::string& line : page.lines) text += line + "\n";
    if (recipe.feed == PageRecipe::Feed::UpsideDown) page = turnedUpsideDown(page);
    if (recipe.feed == PageRecipe::Feed::Speckled) speckle(page.bitmap, 0.02, seed);
    return page;
}

// One Group 4 page a directory, each marked as a page of the file.
bool writeTiff(const std::filesystem::path& path, const std::vector<const Bitmap*>& pages, unsigned linesPerInch) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif) return false;
    bool written = true;
    for (std::size_t n = 0; n < pages.size() && written; ++n) {
        const Bitmap& bitmap = *pages[n];
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, uint32_t(FILETYPE_PAGE));
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(n), uint16_t(pages.size()));
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(bitmap.width));
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(bitmap.rows));
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(1));
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_MINISWHITE));
        TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_CCITTFAX4));
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(bitmap.rows));
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, 200.0f);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(linesPerInch));
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, uint16_t(RESUNIT_INCH));
        std::vector<std::uint8_t> row(bitmap.bytesPerRow());
        for (unsigned r = 0; r < bitmap.rows && written; ++r) {
            std::copy_n(bitmap.bits.begin() + std::ptrdiff_t(r * row.size()), row.size(), row.begin());
            written = TIFFWriteScanline(tif, row.data(), r, 0) == 1;
        }
        written = written && TIFFWriteDirectory(tif) == 1;
    }
    TIFFClose(tif);
    return written;
}

bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string longKind = argc == 4 ? argv[2] : "";
    const int longPages = longKind == "--long" || longKind == "--letters" ? std::atoi(argv[3]) : 0;
    if (argc != 2 && longPages < 1) {
        std::fprintf(stderr, "usage: quillon_accuracy_pages <out folder> [--long N | --letters N]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    for (const char* folder : {"faxes", "tiff", "text"}) std::filesystem::create_directories(out / folder);

    using Feed = PageRecipe::Feed;
    std::vector<PageRecipe> recipes;
    for (const unsigned lpi : {200u, 100u}) {
        for (const auto& [font, points] : std::vector<std::pair<Font, double>>{
                 {Font::Serif, 10}, {Font::Sans, 9}, {Font::Mono, 10}, {Font::Serif, 12}, {Font::Sans, 11},
                 {Font::SansBold, 14}})
            recipes.push_back({font, points, lpi, Feed::Plain});
        recipes.push_back({Font::Serif, 11, lpi, Feed::UpsideDown});
        recipes.push_back({Font::Sans, 12, lpi, Feed::Speckled});
    }

    std::ofstream list(out / "pages.tsv", std::ios::trunc);
    for (std::size_t i = 0; i < recipes.size(); ++i) {
        const PageRecipe& recipe = recipes[i];
        std::string text;
        const PrintedPage page = prosePage(recipe, i, unsigned(i), text);

        char name[24];
        std::snprintf(name, sizeof name, "p%02zu", i + 1);
        const WinFaxPage coded =
            winFaxPageFromBitmap(page.bitmap, FaxPageCoding::T6, recipe.linesPerInch == 200 ? 1 : 0);
        std::ofstream fax(out / "faxes" / (std::string(name) + ".fxd"), std::ios::binary | std::ios::trunc);
        fax << buildWinFaxFile({coded});
        if (!fax || !writeTiff(out / "tiff" / (std::string(name) + ".tif"), {&page.bitmap}, recipe.linesPerInch) ||
            !writeText(out / "text" / (std::string(name) + ".txt"), text)) {
            std::fprintf(stderr, "cannot write page %s in %s\n", name, out.c_str());
            return 1;
        }
        list << name << '\t' << recipe.linesPerInch << '\t' << fontName(recipe.font) << ' ' << recipe.points << "pt "
             << feedName(recipe.feed) << '\n';
    }

    // The long file: the six fonts of the plain pages in turn, each page
    // starting at another paragraph (fonts repeat every 6 pages, paragraphs
    // every 8, so no two of 24 pages are alike).
    if (longPages > 0) {
        std::vector<PrintedPage> pages;
        std::vector<WinFaxPage> coded;
        std::vector<const Bitmap*> bitmaps;
        std::string text;
        for (int n = 0; n < longPages; ++n) {
            if (longKind == "--letters") {
                pages.push_back(printedPage(Sheet::Letter, 200));
                for (const std::string& line : pages.back().lines) text += line + "\n";
            } else {
                pages.push_back(prosePage(recipes[std::size_t(n) % 6], std::size_t(n), 0, text));
            }
            coded.push_back(winFaxPageFromBitmap(pages.back().bitmap, FaxPageCoding::T6, 1));
        }
        for (const PrintedPage& page : pages) bitmaps.push_back(&page.bitmap);
        std::filesystem::create_directories(out / "long");
        std::ofstream fax(out / "long" / "long.fxd", std::ios::binary | std::ios::trunc);
        fax << buildWinFaxFile(coded);
        if (!fax || !writeTiff(out / "long" / "long.tif", bitmaps, 200) ||
            !writeText(out / "long" / "long.txt", text)) {
            std::fprintf(stderr, "cannot write the long file in %s\n", out.c_str());
            return 1;
        }
    }
    return list ? 0 : 1;
}
