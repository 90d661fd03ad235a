#include "formats/winfax_reader.h"

#include <gtest/gtest.h>

#include "support/drawn_page.h"
#include "support/winfax_writer.h"

namespace quillon {
namespace {

using test::WinFaxPage;

// A page whose data are a few arbitrary bytes: enough for listing and loading.
WinFaxPage plainPage(std::size_t dataSize, std::uint8_t fill = 0x5A) {
    WinFaxPage page;
    page.data.assign(dataSize, fill);
    return page;
}

class WinFaxFile : public ::testing::Test {
protected:
    // Opens the bytes in the reader, which reads them where they are kept.
    void open(const std::string& bytes) {
        bytes_.assign(bytes.begin(), bytes.end());
        ASSERT_TRUE(reader_.openBytes(std::span<const std::uint8_t>(bytes_)));
    }

    std::vector<std::uint8_t> bytes_;
    WinFaxReader reader_;
};

TEST(WinFaxHeader, NextPositionSumsTheTermsAndTheProduct) {
    WinFaxPage page = plainPage(10);
    page.term89 = 1000;
    page.term105 = -300;
    page.dataLength = 77;
    page.factor113 = 12;
    page.factor114 = 200;
    const std::string bytes = test::winFaxHeader(page, 0);
    std::uint8_t raw[WinFaxPageHeader::kSize];
    std::copy(bytes.begin(), bytes.end(), raw);
    const WinFaxPageHeader header = WinFaxPageHeader::parse(raw);
    EXPECT_TRUE(header.signature);
    EXPECT_EQ(header.nextPosition, 1000 - 300 + 77 + 12 * 200);
    EXPECT_EQ(header.dataLength, 77);
}

TEST_F(WinFaxFile, PagesAreListedAlongTheChain) {
    std::vector<WinFaxPage> pages = {plainPage(300), plainPage(17), plainPage(1)};
    pages[0].trailing.assign(50, 0);  // a gap before the second header
    pages[1].factor113 = 3;           // product 3 * 4 replaces part of term 105
    pages[1].factor114 = 4;
    open(test::buildWinFaxFile(pages));
    ASSERT_EQ(reader_.countPages(), 3);
    EXPECT_EQ(reader_.pagePosition(0), 0u);
    EXPECT_EQ(reader_.pagePosition(1), 128u + 300 + 50);
    EXPECT_EQ(reader_.pagePosition(2), 128u + 300 + 50 + 128 + 17);
    EXPECT_EQ(reader_.pagePosition(3), 0u);
    EXPECT_FALSE(!reader_.leftOutPages().empty());
    EXPECT_TRUE(reader_.isOpen());
}

TEST_F(WinFaxFile, OneBareHeaderIsOnePage) {
    open(test::buildWinFaxFile({plainPage(0)}));
    EXPECT_EQ(reader_.countPages(), 1);
    ASSERT_TRUE(reader_.loadPage(0));
    EXPECT_TRUE(reader_.pageData().empty());
}

TEST_F(WinFaxFile, AFileWithoutSignatureHasNoPagesAndIsClosed) {
    std::string bytes = test::buildWinFaxFile({plainPage(40)});
    bytes[1] = 0x24;
    open(bytes);
    EXPECT_EQ(reader_.countPages(), 0);
    EXPECT_FALSE(reader_.isOpen());
    EXPECT_EQ(reader_.checkHeader(0), HeaderCheck::NotOpen);
    EXPECT_FALSE(reader_.loadPage(0));
}

TEST_F(WinFaxFile, ChainEndsAtABadHeader) {
    std::vector<WinFaxPage> pages = {plainPage(20), plainPage(20), plainPage(20)};
    std::string bytes = test::buildWinFaxFile(pages);
    bytes[2 * (128 + 20)] = 0x0C;  // third header loses its signature
    open(bytes);
    EXPECT_EQ(reader_.countPages(), 2);
    EXPECT_EQ(reader_.checkHeader(2 * (128 + 20)), HeaderCheck::NoSignature);
}

TEST_F(WinFaxFile, ChainThatPointsBackOrAtItselfEnds) {
    std::vector<WinFaxPage> pages = {plainPage(20), plainPage(20), plainPage(20)};
    pages[1].term89 = 0;  // next position 0 + term 105 + 20: back to the first page
    pages[1].term105 = -20;
    std::vector<WinFaxPage> self = {plainPage(20), plainPage(20)};
    self[1].term89 = 128 + 20;  // the second header names itself
    self[1].term105 = -20;
    open(test::buildWinFaxFile(pages));
    EXPECT_EQ(reader_.countPages(), 2);
    open(test::buildWinFaxFile(self));
    EXPECT_EQ(reader_.countPages(), 2);
}

TEST_F(WinFaxFile, NoMoreThan1024PagesAreListed) {
    open(test::buildWinFaxFile(std::vector<WinFaxPage>(1030, plainPage(3))));
    EXPECT_EQ(reader_.countPages(), 1024);
    EXPECT_TRUE(!reader_.leftOutPages().empty());
    EXPECT_EQ(reader_.pagePosition(1023), 1023u * (128 + 3));
    EXPECT_FALSE(reader_.addPagePosition(99));
    EXPECT_EQ(reader_.pageCount(), 1024);

    open(test::buildWinFaxFile(std::vector<WinFaxPage>(1024, plainPage(3))));
    EXPECT_EQ(reader_.countPages(), 1024);
    EXPECT_FALSE(!reader_.leftOutPages().empty());
}

TEST_F(WinFaxFile, LoadingAppliesDefaultsAndResolutions) {
    WinFaxPage page = plainPage(64);
    page.width = 0;
    page.length = 0;
    page.resolution = 0;
    WinFaxPage second = plainPage(8);
    second.width = 2432;
    second.length = 99;
    second.resolution = 7;
    second.coding = 1;
    open(test::buildWinFaxFile({page, second}));
    ASSERT_EQ(reader_.countPages(), 2);
    ASSERT_TRUE(reader_.loadPage(0));
    EXPECT_EQ(reader_.header().width, 1728);
    EXPECT_EQ(reader_.header().length, 3432);
    EXPECT_EQ(reader_.loadedPage().xResolution, 200);
    EXPECT_EQ(reader_.loadedPage().yResolution, 100);
    EXPECT_EQ(reader_.pageData(), page.data);
    ASSERT_TRUE(reader_.loadPage(1));
    EXPECT_EQ(reader_.header().width, 2432);
    EXPECT_EQ(reader_.header().length, 99);
    EXPECT_TRUE(reader_.header().isT6());
    EXPECT_EQ(reader_.loadedPage().yResolution, 400);
    EXPECT_EQ(reader_.pageData(), second.data);
    EXPECT_FALSE(reader_.loadPage(2));
}

TEST_F(WinFaxFile, DataLengthIsClampedToTheFile) {
    WinFaxPage page = plainPage(5000 - 128, 0x33);
    page.dataLength = 1000000;
    page.term89 = 0;
    page.term105 = 0;
    open(test::buildWinFaxFile({page}));
    ASSERT_EQ(reader_.countPages(), 1);
    ASSERT_TRUE(reader_.loadPage(0));
    EXPECT_EQ(reader_.pageData().size(), 5000u - 128);
}

TEST_F(WinFaxFile, DataEndWhereTheNextPageBegins) {
    std::vector<WinFaxPage> pages = {plainPage(300, 1), plainPage(200, 2), plainPage(100, 3)};
    for (WinFaxPage& page : pages) page.dataLength = 1000000;  // the chain still leads from page to page
    open(test::buildWinFaxFile(pages));
    ASSERT_EQ(reader_.countPages(), 3);
    for (std::uint16_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(reader_.loadPage(i));
        EXPECT_EQ(reader_.pageData(), pages[i].data) << "page " << i;
    }
}

TEST_F(WinFaxFile, NegativeDataLengthMeansNoData) {
    WinFaxPage page = plainPage(100);
    page.dataLength = -50;
    open(test::buildWinFaxFile({page}));
    ASSERT_EQ(reader_.countPages(), 1);
    ASSERT_TRUE(reader_.loadPage(0));
    EXPECT_TRUE(reader_.pageData().empty());
}

TEST_F(WinFaxFile, DecodingCountsTheLinesOfBothCodings) {
    WinFaxPage t4 = test::winFaxPageFromBitmap(test::drawnPage(1728, 1103, 1), test::FaxPageCoding::T4OneDimensional, 0);
    WinFaxPage t6 = test::winFaxPageFromBitmap(test::drawnPage(1728, 2376, 2), test::FaxPageCoding::T6, 1);
    t6.length = 3000;  // more than the data hold
    WinFaxPage shortHeader = t4;
    shortHeader.length = 500;  // fewer than the data hold
    open(test::buildWinFaxFile({t4, t6, shortHeader}));
    ASSERT_EQ(reader_.countPages(), 3);
    const auto decode = [&](std::uint16_t index, bool recount) {
        EXPECT_TRUE(reader_.loadPage(index));
        return reader_.decodeLoadedPage(recount, nullptr);
    };
    DecodedPage page = decode(0, false);
    EXPECT_EQ(page.summary.width, 1728u);
    EXPECT_EQ(page.decodedRows, 1103u);
    EXPECT_EQ(reader_.loadedPage().yResolution, 100);
    EXPECT_EQ(reader_.loadedPage().xResolution, 200);
    // A header longer than the data: written at its length, or recounted.
    page = decode(1, false);
    EXPECT_EQ(page.decodedRows, 2376u);
    EXPECT_EQ(page.summary.rows, 3000u);
    EXPECT_EQ(reader_.loadedPage().yResolution, 200);
    EXPECT_EQ(decode(1, true).summary.rows, 2376u);
    EXPECT_EQ(decode(2, true).decodedRows, 500u);
}

TEST_F(WinFaxFile, DataThatDoNotDecodeGiveNoLines) {
    // (0xFF would be valid T.6: every 1 bit codes one white line.)
    WinFaxPage zerosT4 = plainPage(4000, 0x00);
    WinFaxPage zerosT6 = plainPage(4000, 0x00);
    zerosT6.coding = 1;
    open(test::buildWinFaxFile({zerosT4, zerosT6, plainPage(0)}));
    ASSERT_EQ(reader_.countPages(), 3);
    for (std::uint16_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(reader_.loadPage(i));
        EXPECT_EQ(reader_.decodeLoadedPage(true, nullptr).decodedRows, 0u) << "page " << i;
    }
}

}  // namespace
}  // namespace quillon
