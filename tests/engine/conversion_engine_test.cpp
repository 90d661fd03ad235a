// Whole WinFax files through the engine's Group 4 page pipeline, checked against what
// was drawn (undamaged pages are pixel-exact), against the decoder's own
// rows (damaged pages), and against libtiff's reading of the fields.

#include "engine/conversion_engine.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <random>
#include <span>

#include "codec/fax_decoder.h"
#include "engine/recorded_lines.h"
#include "platform/files.h"
#include "tiff/g4_tiff_output.h"
#include "formats/winfax_reader.h"
#include "support/drawn_page.h"
#include "support/string_sink.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"
#include "support/winfax_writer.h"
#include "support/libtiff_messages.h"

namespace quillon {
namespace {

// The pages into one Group 4 TIFF file.
bool writeTiff(ConversionEngine& fax, const std::string& path, std::uint16_t first, std::uint16_t count) {
    test::StringSink bytes;
    G4TiffOutput tiff;
    tiff.open(bytes);
    const bool coded = fax.writeG4(tiff, first, count, G4Layout{});
    return tiff.close() && coded && platform::writeWholeFile(path, bytes.text);
}

using test::Bitmap;
using test::FaxPageCoding;
using test::LibtiffMessages;
using test::TempDir;
using test::WinFaxPage;

// A small page that codes into a few bytes.
WinFaxPage smallPage(std::uint16_t rows, FaxPageCoding coding) {
    Bitmap bitmap;
    bitmap.width = 1728;
    bitmap.rows = rows;
    bitmap.bits.assign(bitmap.bytesPerRow() * rows, 0);
    for (std::size_t r = 0; r < rows; ++r) bitmap.bits[r * bitmap.bytesPerRow() + r % 200] = 0xF0;
    return test::winFaxPageFromBitmap(bitmap, coding);
}

// The decoder's own rows of a page (1 = black), white rows added up to rows:
// what a damaged page must show.
std::vector<std::uint8_t> decoderRows(const WinFaxPage& page, std::uint32_t rows) {
    FaxDecoder decoder;
    const auto length = std::int32_t(page.data.size());
    if (page.coding != 0) {
        decoder.initDecoderT6(page.data.data(), length, 2, 0, 1, 3);
        decoder.setRawStart(true);
    } else {
        decoder.initDecoder(page.data.data(), length, 2, ImageCoding::T4OneDimensional, 1);
    }
    const std::uint32_t width = page.width ? page.width : 1728;
    decoder.setGeometry(std::int32_t(width), std::int32_t(rows));
    FaxImage image;
    if (page.coding == 0) decoder.decodePage(image);
    else if (decoder.findT6Start(T6Search::FromFirstByte) == LoadStatus::Loaded) decoder.decodePageT6(image);
    image.bitmap.resize(std::size_t(rows) * ((width + 7) / 8), 0);
    return image.bitmap;
}

class Engine : public ::testing::Test {
protected:
    std::span<const std::uint8_t> source(const std::vector<WinFaxPage>& pages) {
        return sourceBytes(test::buildWinFaxFile(pages));
    }
    // The bytes of a source, kept by the test for as long as an engine reads them.
    std::span<const std::uint8_t> sourceBytes(const std::string& bytes) {
        return sources_.emplace_back(bytes.begin(), bytes.end());
    }
    std::string out(const std::string& name = "out.tif") const { return (dir_ / name).string(); }
    ConversionEngine engine() const { return ConversionEngine(options_, std::make_unique<WinFaxReader>()); }

    TempDir dir_;
    ConvertOptions options_;
    std::deque<std::vector<std::uint8_t>> sources_;
};

// Pages of both codings, three resolutions and two widths: each page as drawn,
// with its resolution, place and Group 4 fields; whole or one page a file.
TEST_F(Engine, PagesComeOutAsDrawnWithTheirFields) {
    const Bitmap drawn[] = {test::drawnPage(1728, 500, 1), test::drawnPage(2048, 300, 2), test::drawnPage(1728, 700, 3)};
    const std::vector<WinFaxPage> pages = {test::winFaxPageFromBitmap(drawn[0], FaxPageCoding::T6, 0),
                                           test::winFaxPageFromBitmap(drawn[1], FaxPageCoding::T4OneDimensional, 1),
                                           test::winFaxPageFromBitmap(drawn[2], FaxPageCoding::T4NoFillBits, 5)};
    const std::span<const std::uint8_t> bytes = source(pages);
    const float yResolutions[] = {100, 200, 400};
    for (const bool recount : {false, true}) {
        for (const bool onePerFile : {false, true}) {
            SCOPED_TRACE(std::string(recount ? "recount" : "header rows") + (onePerFile ? ", a file a page" : ""));
            options_.recountLines = recount;
            ConversionEngine fax = engine();
            ASSERT_TRUE(fax.openSource(bytes));
            EXPECT_TRUE(fax.hasImage());
            ASSERT_EQ(fax.pageCount(), 3);
            std::vector<std::string> files;
            for (std::uint16_t i = 0; i < (onePerFile ? 3 : 1); ++i) {
                files.push_back(out("out" + std::to_string(i) + ".tif"));
                ASSERT_TRUE(writeTiff(fax, files.back(), onePerFile ? i : 0, onePerFile ? 1 : 3));
            }
            std::vector<test::TiffPageInfo> fields;
            std::vector<Bitmap> pixels;
            {
                LibtiffMessages messages;
                for (const std::string& file : files) {
                    for (const auto& f : test::readTiffInfo(file)) fields.push_back(f);
                    for (auto& p : test::readTiffPages(file)) pixels.push_back(std::move(p));
                }
                EXPECT_TRUE(messages.all().empty()) << messages.all().front();
            }
            ASSERT_EQ(fields.size(), 3u);
            ASSERT_EQ(pixels.size(), 3u);
            for (std::uint16_t i = 0; i < 3; ++i) {
                EXPECT_EQ(pixels[i].bits, drawn[i].bits) << i;
                EXPECT_EQ(fields[i].compression, 4);
                EXPECT_EQ(fields[i].xResolution, 200.0f);
                EXPECT_EQ(fields[i].yResolution, yResolutions[i]);
                EXPECT_EQ(fields[i].pageIndex, i);  // its place in the whole fax
                EXPECT_EQ(fields[i].pageCount, 3);
                EXPECT_EQ(fields[i].group4Options, i == 0 ? 0 : -1) << "only pages coded T.6 in the fax";
                EXPECT_TRUE(fields[i].hasDateTime);
                EXPECT_EQ(fax.pages().at(i).state, PageState::Ok);
            }
        }
    }
}

// The first page is decoded once, to tell a fax, and written from the lines
// kept then; a page with too many runs to keep is decoded again instead.
TEST_F(Engine, AFirstPageTooDenseToKeepIsDecodedAgainWhenWritten) {
    Bitmap stripes;
    stripes.width = 1728;
    stripes.rows = 700;  // 1728 runs a row: more than RecordedLines keeps
    stripes.bits.assign(stripes.bytesPerRow() * stripes.rows, 0x55);
    ASSERT_GT(std::size_t(stripes.width) * stripes.rows, RecordedLines::kMaxRuns);
    const Bitmap text = test::drawnPage(1728, 500, 1);
    for (const Bitmap* first : {static_cast<const Bitmap*>(&stripes), &text}) {
        const std::span<const std::uint8_t> bytes =
            source({test::winFaxPageFromBitmap(*first, FaxPageCoding::T6, 1),
                    test::winFaxPageFromBitmap(text, FaxPageCoding::T4OneDimensional, 0)});
        ConversionEngine fax = engine();
        ASSERT_TRUE(fax.openSource(bytes));
        ASSERT_TRUE(fax.hasImage());
        ASSERT_TRUE(writeTiff(fax, out("dense.tif"), 0, 2));
        const std::vector<Bitmap> pixels = test::readTiffPages(out("dense.tif"));
        ASSERT_EQ(pixels.size(), 2u);
        EXPECT_EQ(pixels[0].bits, first->bits);
        EXPECT_EQ(pixels[1].bits, text.bits);
    }
}

// Lines come back as they went in, until their runs pass the bound.
TEST(RecordedLines, KeepLinesUntilTheBound) {
    struct Collected final : LineSink {
        std::vector<std::vector<std::uint32_t>> lines;
        void line(const std::uint32_t* runs, std::uint32_t count) override { lines.emplace_back(runs, runs + count); }
    } collected;
    RecordedLines recorded(9);
    const std::uint32_t runs[] = {3, 0, 5, 1};
    recorded.line(runs, 3);
    recorded.line(runs, 0);
    recorded.line(runs + 3, 1);
    EXPECT_TRUE(recorded.complete());
    recorded.replay(collected);
    EXPECT_EQ(collected.lines, (std::vector<std::vector<std::uint32_t>>{{3, 0, 5}, {}, {1}}));
    recorded.line(runs, 2);  // 7 kept (runs and line ends), 3 more pass 9
    EXPECT_FALSE(recorded.complete());
}

TEST_F(Engine, HeaderLengthZeroIsTheDefaultUnlessRecounted) {
    WinFaxPage page = smallPage(40, FaxPageCoding::T6);
    page.length = 0;
    page.width = 0;
    const std::span<const std::uint8_t> bytes = source({page});
    for (const bool recount : {false, true}) {
        options_.recountLines = recount;
        ConversionEngine fax = engine();
        ASSERT_TRUE(fax.openSource(bytes));
        ASSERT_TRUE(writeTiff(fax, out(), 0, 1));
        const auto fields = test::readTiffInfo(out());
        ASSERT_EQ(fields.size(), 1u);
        EXPECT_EQ(fields[0].width, 1728u);
        EXPECT_EQ(fields[0].rows, recount ? 40u : 3432u);
    }
}

// Damaged data: every page keeps its place, a damaged page shows the rows the
// decoder kept and white below, an empty page is white, and the files read
// without a remark from libtiff.
TEST_F(Engine, DamagedPagesKeepTheirPlaceAndTheDecodersRows) {
    const std::vector<WinFaxPage> clean = {test::winFaxPageFromBitmap(test::drawnPage(1728, 400, 4), FaxPageCoding::T6),
                                           test::winFaxPageFromBitmap(test::drawnPage(1728, 400, 5), FaxPageCoding::T4OneDimensional),
                                           test::winFaxPageFromBitmap(test::drawnPage(1728, 400, 6), FaxPageCoding::T4NoFillBits)};
    const auto flip = [](double where) {
        return [where](WinFaxPage& p) {
            for (std::size_t i = 0; i < 6; ++i) p.data[std::size_t(double(p.data.size()) * where) + i] ^= 0xFF;
        };
    };
    struct Harm {
        const char* name;
        std::size_t page;
        std::function<void(WinFaxPage&)> apply;
        PageState state;
    };
    const Harm harms[] = {
        {"T.6 bytes flipped at the start", 0, flip(0.0), PageState::Damaged},
        {"T.6 bytes flipped in the first third", 0, flip(0.3), PageState::Damaged},
        {"T.4 bytes flipped in the middle", 1, flip(0.5), PageState::Damaged},
        {"T.4 1-D bytes cut out", 2, [](WinFaxPage& p) {
             p.data.erase(p.data.begin() + std::ptrdiff_t(p.data.size() / 2),
                          p.data.begin() + std::ptrdiff_t(p.data.size() / 2 + 37));
         }, PageState::Damaged},
        {"no data", 1, [](WinFaxPage& p) { p.data.clear(); }, PageState::Empty},
        {"random bytes", 1, [](WinFaxPage& p) {
             for (std::size_t i = 0; i < p.data.size(); ++i) p.data[i] = std::uint8_t(i * 2654435761u >> 13);
         }, PageState::Damaged},
        {"T.6 header longer than the data", 0, [](WinFaxPage& p) { p.length += 100; }, PageState::Ok},
        {"T.4 header shorter than the data", 2, [](WinFaxPage& p) { p.length -= 100; }, PageState::Ok},
    };
    for (const Harm& harm : harms) {
        for (const bool recount : {false, true}) {
            SCOPED_TRACE(std::string(harm.name) + (recount ? ", recount" : ""));
            std::vector<WinFaxPage> pages = clean;
            harm.apply(pages[harm.page]);
            options_.recountLines = recount;
            ConversionEngine fax = engine();
            ASSERT_TRUE(fax.openSource(source(pages)));
            ASSERT_TRUE(writeTiff(fax, out(), 0, 3));
            std::vector<Bitmap> pixels;
            {
                LibtiffMessages messages;
                pixels = test::readTiffPages(out());
                EXPECT_TRUE(messages.all().empty()) << messages.all().front();
            }
            ASSERT_EQ(pixels.size(), 3u);
            const std::vector<PageSummary> summaries = fax.pages();
            for (std::size_t i = 0; i < 3; ++i) {
                const PageSummary& summary = summaries.at(i);
                EXPECT_EQ(summary.state, i == harm.page ? harm.state : PageState::Ok) << i;
                EXPECT_EQ(pixels[i].rows, summary.rows) << i;
                EXPECT_EQ(pixels[i].bits, decoderRows(pages[i], summary.rows)) << i;
                EXPECT_LE(summary.damagedRows(), summary.rows);
            }
        }
    }
}

TEST_F(Engine, FilesThatHoldNoFax) {
    ConversionEngine missing = engine();
    EXPECT_FALSE(missing.openSource(std::nullopt)) << "a source that is no regular file has no bytes to read";
    EXPECT_FALSE(missing.hasImage());
    EXPECT_FALSE(writeTiff(missing, out(), 0, 1));

    ConversionEngine noSignature = engine();
    ASSERT_TRUE(noSignature.openSource(sourceBytes(std::string(500, 'A'))));
    EXPECT_EQ(noSignature.pageCount(), 0);
    EXPECT_FALSE(noSignature.hasImage());
    EXPECT_FALSE(writeTiff(noSignature, out(), 0, 1));
    EXPECT_FALSE(std::filesystem::exists(out()));

    ConversionEngine bare = engine();
    ASSERT_TRUE(bare.openSource(source({WinFaxPage{}})));
    EXPECT_EQ(bare.pageCount(), 1);
    EXPECT_FALSE(bare.hasImage());

    // Data that never decode: zeros, and sparse one bits (long zero runs).
    WinFaxPage zeros = smallPage(10, FaxPageCoding::T6);
    std::fill(zeros.data.begin(), zeros.data.end(), 0);
    zeros.data.resize(3000, 0);
    WinFaxPage noisy = zeros;
    std::mt19937 random(99);
    for (auto& b : noisy.data) b = static_cast<std::uint8_t>(random() & random() & random() & 0x0F);
    noisy.coding = 0;
    for (const WinFaxPage& page : {zeros, noisy}) {
        ConversionEngine fax = engine();
        ASSERT_TRUE(fax.openSource(source({page})));
        EXPECT_EQ(fax.pageCount(), 1);
        EXPECT_FALSE(fax.hasImage());
    }

    ConversionEngine unwritable = engine();
    ASSERT_TRUE(unwritable.openSource(source({smallPage(5, FaxPageCoding::T6)})));
    EXPECT_FALSE(writeTiff(unwritable, out("no/such/folder/out.tif"), 0, 1));
}

TEST_F(Engine, A1030PageChainWrites1024PagesAndNamesTheRest) {
    std::vector<WinFaxPage> pages;
    for (int i = 0; i < 1030; ++i)
        pages.push_back(smallPage(static_cast<std::uint16_t>(1 + i % 7), i % 2 ? FaxPageCoding::T6 : FaxPageCoding::T4OneDimensional));
    options_.recountLines = 1;
    ConversionEngine fax = engine();
    ASSERT_TRUE(fax.openSource(source(pages)));
    EXPECT_EQ(fax.pageCount(), 1024);
    EXPECT_TRUE(fax.pagesLeftOut());
    ASSERT_TRUE(writeTiff(fax, out(), 0, 1024));
    const auto fields = test::readTiffInfo(out());
    ASSERT_EQ(fields.size(), 1024u);
    EXPECT_EQ(fields[1023].pageIndex, 1023);
    EXPECT_EQ(fields[1023].pageCount, 1024);
    EXPECT_EQ(fields[1023].rows, 1u + 1023 % 7);
    ASSERT_EQ(fax.pages().size(), 1030u);
    EXPECT_EQ(fax.pages().back().state, PageState::LeftOut);
}

TEST_F(Engine, AHugeDataLengthIsClampedToTheFile) {
    const Bitmap drawn = test::drawnPage(1728, 200, 9);
    WinFaxPage page = test::winFaxPageFromBitmap(drawn, FaxPageCoding::T6);
    ASSERT_LT(page.data.size(), 30000u - 128);
    page.data.resize(30000 - 128, 0);  // padding after the end of the page's coding
    page.dataLength = 1000000;
    page.term89 = 0;
    const std::span<const std::uint8_t> bytes = source({page});
    ASSERT_EQ(bytes.size(), 30000u);
    ConversionEngine fax = engine();
    ASSERT_TRUE(fax.openSource(bytes));
    ASSERT_TRUE(writeTiff(fax, out(), 0, 1));
    EXPECT_EQ(test::readTiffPages(out()).at(0).bits, drawn.bits);
    EXPECT_EQ(fax.pages().at(0).bytesPresent, 30000u - 128);
    EXPECT_EQ(fax.pages().at(0).state, PageState::Cut) << "the header announced more than the file holds";
}

// Whatever the bytes: no crash, no hang, a page table that only lists
// headers the file holds, every listed page summarised within its rows, and
// a TIFF file that libtiff reads whenever the engine says it wrote one.
TEST_F(Engine, CutAndRandomFilesEndCleanly) {
    int written = 0;
    const auto convertAnything = [&](std::span<const std::uint8_t> bytes) {
        ConversionEngine fax = engine();
        ASSERT_TRUE(fax.openSource(bytes));
        const auto size = bytes.size();
        EXPECT_LE(fax.pageCount(), size / 128 + 1) << "every listed page starts with a header in the file";
        if (!fax.hasImage()) return;
        std::filesystem::remove(out());
        LibtiffMessages quiet;
        const bool ok = writeTiff(fax, out(), 0, fax.pageCount());
        EXPECT_TRUE(ok) << "a listed page that can be loaded is always written";
        if (!ok) return;
        ++written;
        EXPECT_EQ(test::readTiffInfo(out()).size(), fax.pageCount());
        for (const PageSummary& page : fax.pages()) EXPECT_LE(page.damagedRows(), page.rows);
    };
    const std::string whole = test::buildWinFaxFile(
        {smallPage(30, FaxPageCoding::T6), smallPage(25, FaxPageCoding::T4OneDimensional), smallPage(9, FaxPageCoding::T6)});
    options_.recountLines = 1;
    for (std::size_t size = 0; size < whole.size(); size += 7) convertAnything(sourceBytes(whole.substr(0, size)));
    std::mt19937 random(1234);
    for (int round = 0; round < 60; ++round) {
        std::string bytes(200 + random() % 6000, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        bytes[0] = 0x0B;
        bytes[1] = 0x23;
        options_.recountLines = round % 2;
        convertAnything(sourceBytes(bytes));
    }
    EXPECT_GT(written, 10) << "the cut files that keep a first page are written";
}

}  // namespace
}  // namespace quillon
