#include "engine/conversion_engine.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <random>

#include "support/corpus.h"
#include "support/pixel_hash.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"
#include "support/winfax_writer.h"
#include "tiff/libtiff_messages.h"

namespace quillon {
namespace {

using test::FaxPageCoding;
using test::LibtiffMessages;
using test::TempDir;
using test::WinFaxPage;

// The fields of every page, with libtiff's remarks on the way kept off the console.
std::vector<test::TiffPageInfo> readFields(const std::string& path) {
    LibtiffMessages quiet;
    return test::readTiffInfo(path);
}

// Every page decodes without a libtiff complaint to the given hashes.
void expectHashes(const std::string& path, const std::vector<std::uint64_t>& hashes) {
    LibtiffMessages messages;
    const std::vector<test::Bitmap> pages = test::readTiffPages(path);
    EXPECT_TRUE(messages.all().empty()) << messages.all().front();
    ASSERT_EQ(pages.size(), hashes.size()) << path;
    for (std::size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i].hash(), hashes[i]) << path << " page " << i;
}

std::uint64_t corpusHash(const std::string& file) {
    for (const auto& page : test::corpusPages())
        if (page.file == file) return page.hash;
    ADD_FAILURE() << "not a corpus file: " << file;
    return 0;
}

// A small page that codes into a few bytes.
WinFaxPage smallPage(std::uint16_t rows, FaxPageCoding coding) {
    test::Bitmap bitmap;
    bitmap.width = 1728;
    bitmap.rows = rows;
    bitmap.bits.assign(bitmap.bytesPerRow() * rows, 0);
    for (std::size_t r = 0; r < rows; ++r) bitmap.bits[r * bitmap.bytesPerRow() + r % 200] = 0xF0;
    return test::winFaxPageFromBitmap(bitmap, coding);
}

class Engine : public ::testing::Test {
protected:
    std::string source(const std::vector<WinFaxPage>& pages, const std::string& name = "fax.fxd") {
        return sourceBytes(test::buildWinFaxFile(pages), name);
    }
    std::string sourceBytes(const std::string& bytes, const std::string& name = "fax.fxd") {
        const std::string path = (dir_ / name).string();
        test::writeFile(path, bytes);
        return path;
    }
    std::string out(const std::string& name = "out.tif") const { return (dir_ / name).string(); }

    TempDir dir_;
    ConvertOptions options_;
};

TEST_F(Engine, MixedPagesConvertToTheirPixelsAndResolutions) {
    QUILLON_REQUIRE_CORPUS();
    const std::vector<WinFaxPage> pages = {
        test::winFaxPageFromCorpus("CCITT_1.TIF", FaxPageCoding::T6, 0),
        test::winFaxPageFromCorpus("g3test.tif", FaxPageCoding::T4OneDimensional, 1),
        test::winFaxPageFromCorpus("G4.TIF", FaxPageCoding::T4OneDimensional, 5),
        test::winFaxPageFromCorpus("fax2d.tif", FaxPageCoding::T6, 1),
    };
    for (const bool recount : {false, true}) {
        options_.recountLines = recount;
        ConversionEngine engine(options_);
        ASSERT_EQ(engine.openSource(source(pages), kFormatWinFax), 0);
        EXPECT_TRUE(engine.hasImage());
        EXPECT_EQ(engine.pageCount(), 4);
        ASSERT_EQ(engine.convert(out(), kFormatWinFax), 0);
        expectHashes(out(), {corpusHash("CCITT_1.TIF"), corpusHash("g3test.tif"), corpusHash("G4.TIF"),
                             corpusHash("fax2d.tif")});
        const auto fields = readFields(out());
        ASSERT_EQ(fields.size(), 4u);
        const float yResolutions[] = {100, 200, 400, 200};
        const std::uint16_t compressions[] = {4, 3, 3, 4};
        for (std::uint16_t i = 0; i < 4; ++i) {
            EXPECT_EQ(fields[i].xResolution, 200.0f);
            EXPECT_EQ(fields[i].yResolution, yResolutions[i]);
            EXPECT_EQ(fields[i].compression, compressions[i]);
            EXPECT_EQ(fields[i].pageIndex, i);
            EXPECT_EQ(fields[i].pageCount, 4);
        }
    }
}

TEST_F(Engine, HeaderLengthZeroIsTheDefaultUnlessRecounted) {
    QUILLON_REQUIRE_CORPUS();
    WinFaxPage page = test::winFaxPageFromCorpus("CCITT_5.TIF", FaxPageCoding::T6, 1);
    page.length = 0;
    page.width = 0;
    const std::string path = source({page});

    ConversionEngine plain(options_);
    ASSERT_EQ(plain.openSource(path, kFormatWinFax), 0);
    ASSERT_EQ(plain.convert(out("plain.tif"), kFormatWinFax), 0);
    const auto fields = readFields(out("plain.tif"));
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].width, 1728u);
    EXPECT_EQ(fields[0].rows, 3432u);

    options_.recountLines = 1;
    ConversionEngine recounted(options_);
    ASSERT_EQ(recounted.openSource(path, kFormatWinFax), 0);
    ASSERT_EQ(recounted.convert(out("recount.tif"), kFormatWinFax), 0);
    EXPECT_EQ(readFields(out("recount.tif")).at(0).rows, 2376u);
    expectHashes(out("recount.tif"), {corpusHash("CCITT_5.TIF")});
}

TEST_F(Engine, PageModeOneWritesNumberedPageFiles) {
    QUILLON_REQUIRE_CORPUS();
    const std::vector<WinFaxPage> pages = {
        test::winFaxPageFromCorpus("CCITT_2.TIF", FaxPageCoding::T4OneDimensional, 1),
        test::winFaxPageFromCorpus("CCITT_3.TIF", FaxPageCoding::T6, 1),
        test::winFaxPageFromCorpus("CCITT_4.TIF", FaxPageCoding::T6, 0),
    };
    options_.pageMode = 1;
    ConversionEngine engine(options_);
    ASSERT_EQ(engine.openSource(source(pages), kFormatWinFax), 0);
    ASSERT_EQ(engine.convert(out("page.tmp"), kFormatWinFax), 0);
    EXPECT_FALSE(std::filesystem::exists(out("page.tmp")));
    const char* files[] = {"page001.tif", "page002.tif", "page003.tif"};
    const char* corpus[] = {"CCITT_2.TIF", "CCITT_3.TIF", "CCITT_4.TIF"};
    for (std::uint16_t i = 0; i < 3; ++i) {
        expectHashes(out(files[i]), {corpusHash(corpus[i])});
        const auto fields = readFields(out(files[i]));
        ASSERT_EQ(fields.size(), 1u);
        EXPECT_EQ(fields[0].pageIndex, i);  // its place in the whole fax
        EXPECT_EQ(fields[0].pageCount, 3);
    }
    EXPECT_FALSE(std::filesystem::exists(out("page004.tif")));
}

TEST_F(Engine, PageModeTwoWritesOneFile) {
    options_.pageMode = 2;
    ConversionEngine engine(options_);
    ASSERT_EQ(engine.openSource(source({smallPage(20, FaxPageCoding::T6), smallPage(30, FaxPageCoding::T6)}),
                                kFormatWinFax),
              0);
    ASSERT_EQ(engine.convert(out(), kFormatWinFax), 0);
    EXPECT_EQ(readFields(out()).size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(out("out001.tif")));
}

TEST_F(Engine, EveryPageKeepsItsPlaceInBothPageModes) {
    WinFaxPage empty = smallPage(10, FaxPageCoding::T4OneDimensional);
    empty.data.clear();
    WinFaxPage garbage = smallPage(11, FaxPageCoding::T4OneDimensional);
    std::fill(garbage.data.begin(), garbage.data.end(), 0);
    const std::string path =
        source({smallPage(12, FaxPageCoding::T6), empty, garbage, smallPage(14, FaxPageCoding::T4OneDimensional)});
    const std::vector<PageState> states = {PageState::Ok, PageState::Empty, PageState::Damaged, PageState::Ok};

    for (int recount = 0; recount <= 1; ++recount) {
        for (int pageMode = 0; pageMode <= 1; ++pageMode) {
            SCOPED_TRACE("recount " + std::to_string(recount) + ", page mode " + std::to_string(pageMode));
            test::writeFile(dir_ / "split002.tif", "left over from an earlier fax");
            options_.recountLines = recount;
            options_.pageMode = pageMode;
            ConversionEngine engine(options_);
            ASSERT_EQ(engine.openSource(path, kFormatWinFax), 0);
            ASSERT_EQ(engine.convert(out("split.tif"), kFormatWinFax), 0);
            std::vector<test::TiffPageInfo> fields;
            for (int page = 1; page <= 4; ++page) {
                const std::string file = pageMode ? out("split00" + std::to_string(page) + ".tif") : out("split.tif");
                if (pageMode || page == 1)
                    for (const auto& f : readFields(file)) fields.push_back(f);
            }
            ASSERT_EQ(fields.size(), 4u);
            // Pages without lines keep their header's length, with recount too.
            const std::uint32_t rows[] = {12, 10, 11, 14};
            for (std::uint16_t i = 0; i < 4; ++i) {
                EXPECT_EQ(fields[i].rows, rows[i]) << i;
                EXPECT_EQ(fields[i].pageIndex, i);
                EXPECT_EQ(fields[i].pageCount, 4);
                EXPECT_EQ(engine.pages().at(i).state, states[i]) << i;
                EXPECT_EQ(engine.pages().at(i).rows, rows[i]) << i;
            }
            // The page without data is white, and so decodes as a TIFF page.
            if (pageMode) {
                const auto white = test::readTiffPages(out("split002.tif"));
                ASSERT_EQ(white.size(), 1u);
                EXPECT_EQ(white[0].bits, std::vector<std::uint8_t>(216 * 10, 0));
            }
        }
    }
}

TEST_F(Engine, OneBareHeaderIsNoFax) {
    ConversionEngine engine(options_);
    WinFaxPage bare;
    ASSERT_EQ(engine.openSource(source({bare}), kFormatWinFax), 0);
    EXPECT_EQ(engine.pageCount(), 1);
    EXPECT_FALSE(engine.hasImage());
}

TEST_F(Engine, SourcesThatCannotBeOpenedOrAreNoWinFax) {
    ConversionEngine missing(options_);
    EXPECT_EQ(missing.openSource(out("missing.fxd"), kFormatWinFax), -1);
    EXPECT_FALSE(missing.hasImage());
    EXPECT_EQ(missing.convert(out(), kFormatWinFax), -1);

    ConversionEngine other(options_);
    EXPECT_EQ(other.openSource(source({smallPage(5, FaxPageCoding::T6)}), kFormatTiff), -1);

    ConversionEngine noSignature(options_);
    ASSERT_EQ(noSignature.openSource(sourceBytes(std::string(500, 'A')), kFormatWinFax), 0);
    EXPECT_EQ(noSignature.pageCount(), 0);
    EXPECT_FALSE(noSignature.hasImage());
    EXPECT_EQ(noSignature.convert(out(), kFormatWinFax), -1);
    EXPECT_FALSE(std::filesystem::exists(out()));
}

TEST_F(Engine, AnOutputThatCannotBeCreatedIsReported) {
    ConversionEngine engine(options_);
    ASSERT_EQ(engine.openSource(source({smallPage(5, FaxPageCoding::T6)}), kFormatWinFax), 0);
    EXPECT_EQ(engine.convert(out("no/such/folder/out.tif"), kFormatWinFax), WinFaxReader::kWriteFailed);
    options_.pageMode = 1;
    ConversionEngine split(options_);
    ASSERT_EQ(split.openSource(source({smallPage(5, FaxPageCoding::T6)}), kFormatWinFax), 0);
    EXPECT_EQ(split.convert(out("no/such/folder/out.tif"), kFormatWinFax), WinFaxReader::kWriteFailed);
}

TEST_F(Engine, A1030PageChainConverts1024Pages) {
    std::vector<WinFaxPage> pages;
    for (int i = 0; i < 1030; ++i)
        pages.push_back(smallPage(static_cast<std::uint16_t>(1 + i % 7), i % 2 ? FaxPageCoding::T6 : FaxPageCoding::T4OneDimensional));
    options_.recountLines = 1;
    ConversionEngine engine(options_);
    ASSERT_EQ(engine.openSource(source(pages), kFormatWinFax), 0);
    EXPECT_EQ(engine.pageCount(), 1024);
    EXPECT_TRUE(engine.pagesLeftOut());
    ASSERT_EQ(engine.convert(out(), kFormatWinFax), 0);
    const auto fields = readFields(out());
    ASSERT_EQ(fields.size(), 1024u);
    EXPECT_EQ(fields[1023].pageIndex, 1023);
    EXPECT_EQ(fields[1023].pageCount, 1024);
    EXPECT_EQ(fields[1023].rows, 1u + 1023 % 7);
}

TEST_F(Engine, AHugeDataLengthIsClampedToTheFile) {
    WinFaxPage page = smallPage(40, FaxPageCoding::T6);
    const test::Bitmap expected = [&] {
        const std::string single = out("single.tif");
        ConversionEngine engine(options_);
        EXPECT_EQ(engine.openSource(source({page}, "single.fxd"), kFormatWinFax), 0);
        EXPECT_EQ(engine.convert(single, kFormatWinFax), 0);
        LibtiffMessages expectedSoftwareWarning;
        return test::readTiffPages(single).at(0);
    }();
    ASSERT_LT(page.data.size(), 5000u - 128);
    page.data.resize(5000 - 128, 0);  // padding after the end of the page's coding
    page.dataLength = 1000000;
    page.term89 = 0;
    const std::string path = source({page});
    ASSERT_EQ(std::filesystem::file_size(path), 5000u);

    ConversionEngine engine(options_);
    ASSERT_EQ(engine.openSource(path, kFormatWinFax), 0);
    ASSERT_EQ(engine.convert(out(), kFormatWinFax), 0);
    expectHashes(out(), {expected.hash()});
    LibtiffMessages expectedSoftwareWarning;
    TIFF* tif = TIFFOpen(out().c_str(), "r");
    ASSERT_NE(tif, nullptr);
    EXPECT_EQ(TIFFGetStrileByteCount(tif, 0), 5000u - 128);
    TIFFClose(tif);
}

// Converting must end cleanly whatever the bytes: no crash, no hang, and a
// TIFF file that libtiff can list when the engine says it wrote one.
void convertAnything(const std::string& path, const std::string& output, ConvertOptions options) {
    ConversionEngine engine(options);
    ASSERT_EQ(engine.openSource(path, kFormatWinFax), 0);
    const int result = engine.convert(output, kFormatWinFax);
    if (!engine.hasImage()) return;
    EXPECT_TRUE(result == 0 || result == WinFaxReader::kNothingToWrite) << result;
    if (result == 0) {
        // The first page holds an image, so it is always written.
        const std::string first = options.splitPages() ? winFaxPageFileName(output, 1) : output;
        EXPECT_GE(readFields(first).size(), 1u);
    }
}

TEST_F(Engine, TruncatedFilesEndCleanly) {
    const std::string whole = test::buildWinFaxFile(
        {smallPage(30, FaxPageCoding::T6), smallPage(25, FaxPageCoding::T4OneDimensional), smallPage(9, FaxPageCoding::T6)});
    options_.recountLines = 1;
    for (std::size_t size = 0; size < whole.size(); size += 7) {
        const std::string path = sourceBytes(whole.substr(0, size), "cut.fxd");
        convertAnything(path, out(), options_);
        if (size < 2) {
            ConversionEngine engine(options_);
            engine.openSource(path, kFormatWinFax);
            EXPECT_FALSE(engine.hasImage()) << size;
        }
    }
}

TEST_F(Engine, RandomBytesBehindASignatureEndCleanly) {
    std::mt19937 random(1234);
    for (int round = 0; round < 60; ++round) {
        std::string bytes(200 + random() % 6000, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        bytes[0] = 0x0B;
        bytes[1] = 0x23;
        options_.recountLines = round % 2;
        options_.pageMode = round % 3 == 0 ? 1 : 0;
        convertAnything(sourceBytes(bytes, "random.fxd"), out("random.tif"), options_);
    }
}

TEST_F(Engine, DataThatNeverDecodeAreNoFax) {
    WinFaxPage zeros = smallPage(10, FaxPageCoding::T6);
    std::fill(zeros.data.begin(), zeros.data.end(), 0);
    zeros.data.resize(3000, 0);
    WinFaxPage noisy = zeros;
    std::mt19937 random(99);
    for (auto& b : noisy.data) b = static_cast<std::uint8_t>(random() & random() & random() & 0x0F);  // sparse 1 bits: long zero runs
    noisy.coding = 0;
    for (const WinFaxPage& page : {zeros, noisy}) {
        ConversionEngine engine(options_);
        ASSERT_EQ(engine.openSource(source({page}), kFormatWinFax), 0);
        EXPECT_EQ(engine.pageCount(), 1);
        EXPECT_FALSE(engine.hasImage());
    }
}

}  // namespace
}  // namespace quillon
