// Fax pages through the copier: the conversion job's use, Group 4 output.

#include <gtest/gtest.h>

#include "support/corpus.h"
#include "support/pixel_hash.h"
#include "support/temp_dir.h"
#include "tiffcopy/test_images.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon::test {
namespace {

struct InputCoding {
    const char* name;
    std::uint16_t compression;
    std::uint32_t group3Options;
};

const InputCoding faxCodings[] = {
    {"T4 one-dimensional with fill bits", COMPRESSION_CCITTFAX3, GROUP3OPT_FILLBITS},
    {"T4 two-dimensional", COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING},
    {"T6", COMPRESSION_CCITTFAX4, 0},
};

void expectSamePixels(const std::string& input, const std::string& output) {
    const auto expected = readTiffPages(input);
    const auto actual = readTiffPages(output);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].width, expected[i].width) << "page " << i;
        EXPECT_EQ(actual[i].rows, expected[i].rows) << "page " << i;
        EXPECT_EQ(actual[i].hash(), expected[i].hash()) << "page " << i;
    }
}

TEST(FaxPageCopy, EachFaxCodingBecomesGroup4KeepingPixelsAndFields) {
    TempDir dir;
    for (const InputCoding& coding : faxCodings) {
        SCOPED_TRACE(coding.name);
        TestImage page = faxPage(1728, 300, coding.compression);
        page.group3Options = coding.group3Options;
        page.pageNumber = 0;
        page.pageCount = 1;
        const std::string input = (dir / "page.tif").string();
        const std::string output = (dir / "page-g4.tif").string();
        writeTestTiff(input, {page});

        ASSERT_EQ(copyTiff(input, output, CopyOptions{}), copyTiffDone);

        expectSamePixels(input, output);
        const auto copied = readTestTiff(output);
        ASSERT_EQ(copied.size(), 1u);
        const TestImage& fields = copied[0].fields;
        EXPECT_EQ(fields.compression, COMPRESSION_CCITTFAX4);
        EXPECT_EQ(fields.photometric, PHOTOMETRIC_MINISWHITE);
        EXPECT_EQ(fields.fillOrder, FILLORDER_LSB2MSB);
        EXPECT_EQ(fields.rowsPerStrip, 300u);  // one strip, as the input
        EXPECT_FLOAT_EQ(fields.resolution, 196.0f);
        EXPECT_EQ(fields.pageNumber, 0);
        EXPECT_EQ(fields.pageCount, 1);
        EXPECT_EQ(fields.software, "Quillon test");
        EXPECT_FALSE(copied[0].tiled);
    }
}

TEST(FaxPageCopy, ThreePagesKeepOrderSizesAndPageNumbers) {
    TempDir dir;
    std::vector<TestImage> pages;
    for (std::uint16_t i = 0; i < 3; ++i) {
        TestImage page = faxPage(1728 - 64 * i, 200 + 50 * i, i == 1 ? COMPRESSION_CCITTFAX3 : COMPRESSION_CCITTFAX4);
        page.pageNumber = i;
        page.pageCount = 3;
        pages.push_back(page);
    }
    const std::string input = (dir / "three.tif").string();
    const std::string output = (dir / "three-g4.tif").string();
    writeTestTiff(input, pages);

    ASSERT_EQ(copyTiff(input, output, CopyOptions{}), copyTiffDone);

    expectSamePixels(input, output);
    const auto copied = readTestTiff(output);
    ASSERT_EQ(copied.size(), 3u);
    for (std::uint16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(copied[i].fields.width, pages[i].width);
        EXPECT_EQ(copied[i].fields.length, pages[i].length);
        EXPECT_EQ(copied[i].fields.pageNumber, i);
        EXPECT_EQ(copied[i].fields.pageCount, 3);
        EXPECT_EQ(copied[i].fields.compression, COMPRESSION_CCITTFAX4);
    }
}

TEST(FaxPageCopy, FillOrderOptionOverridesTheInputs) {
    TempDir dir;
    const std::string input = (dir / "page.tif").string();
    const std::string output = (dir / "page-msb.tif").string();
    writeTestTiff(input, {faxPage(800, 120, COMPRESSION_CCITTFAX4)});
    CopyOptions options;
    options.fillOrder = FILLORDER_MSB2LSB;

    ASSERT_EQ(copyTiff(input, output, options), copyTiffDone);

    expectSamePixels(input, output);
    EXPECT_EQ(readTestTiff(output).at(0).fields.fillOrder, FILLORDER_MSB2LSB);
}

TEST(FaxPageCopy, RealFaxPagesKeepTheirPixelHashesInGroup4) {
    QUILLON_REQUIRE_CORPUS();
    TempDir dir;
    for (const CorpusPage& page : corpusPages()) {
        SCOPED_TRACE(page.file);
        const std::string output = (dir / (page.file + ".g4.tif")).string();
        const std::string input = (corpusDir() / page.file).string();
        ASSERT_EQ(copyTiff(input, output, CopyOptions{}), copyTiffDone);
        const auto pages = readTiffPages(output);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(pages[0].width, page.width);
        EXPECT_EQ(pages[0].rows, page.rows);
        EXPECT_EQ(pages[0].hash(), page.hash);
        EXPECT_EQ(readTestTiff(output).at(0).fields.compression, COMPRESSION_CCITTFAX4);
    }
}

}  // namespace
}  // namespace quillon::test
