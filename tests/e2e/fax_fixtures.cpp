#include "e2e/fax_fixtures.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "support/pdf_pages.h"
#include "support/pixel_hash.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"

namespace quillon::test {

namespace {

constexpr double kXDpi = 200;

double yDpi(const FixturePage& page) { return page.resolution == 0 ? 100 : page.resolution == 1 ? 200 : 400; }

}  // namespace

const Bitmap& fixtureBitmap(const FixturePage& page) {
    const PrintedPage& printed = printedPage(page.sheet, unsigned(yDpi(page)));
    if (!page.upsideDown && !page.speckled) return printed.bitmap;
    static std::map<std::tuple<Sheet, double, bool, bool>, Bitmap> fed;
    const auto key = std::make_tuple(page.sheet, yDpi(page), page.upsideDown, page.speckled);
    auto it = fed.find(key);
    if (it == fed.end()) {
        Bitmap bitmap = page.upsideDown ? turnedUpsideDown(printed).bitmap : printed.bitmap;
        if (page.speckled) speckle(bitmap, 0.02, 7);
        it = fed.emplace(key, std::move(bitmap)).first;
    }
    return it->second;
}

WinFaxPage fixturePage(const FixturePage& page) {
    static std::map<std::tuple<Sheet, double, FaxPageCoding, bool, bool>, WinFaxPage> cache;
    const auto key = std::make_tuple(page.sheet, yDpi(page), page.coding, page.upsideDown, page.speckled);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, winFaxPageFromBitmap(fixtureBitmap(page), page.coding)).first;
    WinFaxPage coded = it->second;
    coded.resolution = page.resolution;
    return coded;
}

std::uint64_t fixtureHash(const FixturePage& page) { return fixtureBitmap(page).hash(); }

std::string writeFax(const std::filesystem::path& path, const std::vector<FixturePage>& pages) {
    std::vector<WinFaxPage> coded;
    for (const FixturePage& page : pages) coded.push_back(fixturePage(page));
    writeFile(path, buildWinFaxFile(coded));
    return path.string();
}

void expectTiffPages(const std::string& tiff, const std::vector<FixturePage>& pages, unsigned firstIndex,
                     unsigned pageCount) {
    const std::vector<TiffPageInfo> info = readTiffInfo(tiff);
    const std::vector<Bitmap> bitmaps = readTiffPages(tiff);
    ASSERT_EQ(info.size(), pages.size()) << tiff;
    ASSERT_EQ(bitmaps.size(), pages.size()) << tiff;
    if (pageCount == 0) pageCount = static_cast<unsigned>(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(tiff + " page " + std::to_string(i));
        EXPECT_EQ(info[i].compression, 4);
        EXPECT_EQ(info[i].fillOrder, 2);
        EXPECT_EQ(info[i].xResolution, kXDpi);
        EXPECT_EQ(info[i].yResolution, yDpi(pages[i]));
        EXPECT_EQ(info[i].pageIndex, firstIndex + i);
        EXPECT_EQ(info[i].pageCount, pageCount);
        EXPECT_EQ(bitmaps[i].hash(), fixtureHash(pages[i]));
    }
}

void expectPdfPages(const std::string& pdf, const std::vector<FixturePage>& pages) {
    const ProcessResult check = runProcess("/usr/bin/qpdf", {"--check", pdf});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    const std::vector<PdfImage> images = listPdfImages(pdf);
    const std::vector<PdfPageSize> sizes = pdfPageSizes(pdf);
    ASSERT_EQ(images.size(), pages.size()) << pdf;
    ASSERT_EQ(sizes.size(), pages.size()) << pdf;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(pdf + " page " + std::to_string(i + 1));
        const Bitmap& drawn = fixtureBitmap(pages[i]);
        EXPECT_EQ(images[i].page, int(i + 1));
        EXPECT_EQ(images[i].type, "image");
        EXPECT_EQ(images[i].width, drawn.width);
        EXPECT_EQ(images[i].height, drawn.rows);
        EXPECT_EQ(images[i].color, "gray");
        EXPECT_EQ(images[i].bitsPerComponent, 1);
        EXPECT_EQ(images[i].encoding, "ccitt");
        EXPECT_NEAR(sizes[i].width, drawn.width / kXDpi * 72, 0.01);
        EXPECT_NEAR(sizes[i].height, drawn.rows / yDpi(pages[i]) * 72, 0.01);
        const Bitmap rendered = renderPdfPage(pdf, int(i + 1), kXDpi, yDpi(pages[i]), drawn.width, drawn.rows);
        EXPECT_EQ(rendered.hash(), drawn.hash());
    }
}

}  // namespace quillon::test
