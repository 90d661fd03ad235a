// The direct Group 4 road against the road through the intermediate file and
// the page copier, which stays the reference: the same page summaries and
// fields on every page, the same pixels on every page that decodes whole, and
// on damaged pages the lines the program's decoder keeps, white below them.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "codec/fax_decoder.h"
#include "engine/conversion_engine.h"
#include "support/corpus.h"
#include "support/pixel_hash.h"
#include "support/printed_page.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"
#include "support/winfax_writer.h"
#include "tiff/libtiff_messages.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using test::Bitmap;
using test::FaxPageCoding;
using test::WinFaxPage;

struct Road {
    std::vector<std::string> files;
    std::vector<PageSummary> pages;
};

// The file of each output: one, or one per page in split mode.
std::vector<std::string> outputFiles(const std::string& base, bool split, std::uint16_t pages) {
    if (!split) return {base};
    std::vector<std::string> files;
    for (unsigned page = 1; page <= pages; ++page) files.push_back(winFaxPageFileName(base, page));
    return files;
}

Road viaCopier(const std::string& source, const fs::path& dir, ConvertOptions options) {
    ConversionEngine engine(options);
    EXPECT_EQ(engine.openSource(source, kFormatWinFax), 0);
    const std::string intermediate = (dir / "intermediate.tmp").string();
    EXPECT_EQ(engine.convert(intermediate, kFormatWinFax), 0);
    Road road{outputFiles((dir / "copier.tif").string(), options.splitPages(), engine.pageCount()), engine.pages()};
    const std::vector<std::string> written = outputFiles(intermediate, options.splitPages(), engine.pageCount());
    test::LibtiffMessages quiet;  // libtiff's remarks on damaged pages
    for (std::size_t i = 0; i < written.size(); ++i) EXPECT_EQ(copyTiff(written[i], road.files[i], {}), 0);
    return road;
}

Road viaG4(const std::string& source, const fs::path& dir, ConvertOptions options) {
    ConversionEngine engine(options);
    EXPECT_EQ(engine.openSource(source, kFormatWinFax), 0);
    const std::uint16_t pages = engine.pageCount();
    Road road{outputFiles((dir / "g4.tif").string(), options.splitPages(), pages), {}};
    for (std::uint16_t i = 0; i < road.files.size(); ++i) {
        const std::uint16_t count = options.splitPages() ? 1 : pages;
        EXPECT_EQ(engine.writeG4(road.files[i], std::uint16_t(i * count), count), 0);
    }
    road.pages = engine.pages();
    return road;
}

std::string describe(const PageSummary& page) {
    return std::to_string(page.width) + "x" + std::to_string(page.rows) + " coding " + std::to_string(int(page.coding)) +
           " state " + std::to_string(int(page.state)) + " lines " + std::to_string(page.linesMet) + " bad " +
           std::to_string(page.badLines) + (page.endMarked ? " EOFB" : "");
}

// The program decoder's own raster of a page (1 = black), white rows added up to rows.
std::vector<std::uint8_t> decoderRows(const WinFaxPage& page, std::uint32_t rows) {
    FaxDecoder decoder;
    const auto length = std::int32_t(page.data.size());
    if (page.coding != 0) {
        decoder.initDecoderT6(page.data.data(), length, 2, 0, 1, 3);
        decoder.setRawStart(true);
    } else {
        decoder.initDecoder(page.data.data(), length, 2, 5, 1);
    }
    const std::uint32_t width = page.width ? page.width : 1728;
    decoder.setGeometry(std::int32_t(width), std::int32_t(rows));
    FaxImage image;
    if (page.coding == 0) decoder.decodePage(image);
    else if (decoder.findT6Start(T6Search::FromFirstByte) == 0) decoder.decodePageT6(image);
    image.bitmap.resize(std::size_t(rows) * ((width + 7) / 8), 0);
    return image.bitmap;
}

std::vector<test::TiffPageInfo> fieldsOf(const std::vector<std::string>& files) {
    std::vector<test::TiffPageInfo> all;
    for (const std::string& file : files)
        for (const test::TiffPageInfo& page : test::readTiffInfo(file)) all.push_back(page);
    return all;
}

std::vector<Bitmap> pixelsOf(const std::vector<std::string>& files) {
    std::vector<Bitmap> all;
    for (const std::string& file : files)
        for (Bitmap& page : test::readTiffPages(file)) all.push_back(std::move(page));
    return all;
}

void expectSameRoad(const std::vector<WinFaxPage>& source, const Road& copier, const Road& g4) {
    ASSERT_EQ(g4.pages.size(), source.size());
    ASSERT_EQ(copier.pages.size(), source.size());
    for (std::size_t i = 0; i < source.size(); ++i) EXPECT_EQ(describe(g4.pages[i]), describe(copier.pages[i])) << i;

    const std::vector<test::TiffPageInfo> g4Fields = fieldsOf(g4.files);
    EXPECT_EQ(g4Fields, fieldsOf(copier.files));
    std::vector<Bitmap> copied, direct;
    {
        test::LibtiffMessages quiet;  // the copier keeps what libtiff remarks on
        copied = pixelsOf(copier.files);
    }
    {
        test::LibtiffMessages messages;  // the direct road's files read without a remark
        direct = pixelsOf(g4.files);
        EXPECT_TRUE(messages.all().empty()) << messages.all().front();
    }
    ASSERT_EQ(direct.size(), source.size());
    ASSERT_EQ(copied.size(), source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1) + ": " + describe(g4.pages[i]));
        EXPECT_EQ(direct[i].rows, g4.pages[i].rows);
        EXPECT_EQ(direct[i].bits, decoderRows(source[i], g4.pages[i].rows));
        if (g4.pages[i].state == PageState::Ok || g4.pages[i].state == PageState::Empty) {
            EXPECT_EQ(direct[i].hash(), copied[i].hash());
        }
    }
}

struct Case {
    std::string name;
    std::vector<WinFaxPage> pages;
};

// The pages in each of the three WinFax codings, and damaged mixes of them.
std::vector<Case> cases(const std::string& what, const std::function<std::vector<WinFaxPage>(FaxPageCoding)>& pages) {
    std::vector<Case> all;
    const std::pair<const char*, FaxPageCoding> codings[] = {
        {"T.6", FaxPageCoding::T6}, {"T.4 with fill bits", FaxPageCoding::T4OneDimensional},
        {"T.4 1-D", FaxPageCoding::T4NoFillBits}};
    for (const auto& [name, coding] : codings) all.push_back({what + ", " + name, pages(coding)});
    const std::vector<WinFaxPage> mixed = {all[0].pages[1], all[1].pages[0], all[2].pages[2]};
    auto damaged = [&](const std::string& name, std::size_t page, auto harm) {
        Case c{name, mixed};
        harm(c.pages[page]);
        all.push_back(c);
    };
    auto flip = [](double where) {
        return [where](WinFaxPage& p) {
            for (std::size_t i = 0; i < 6; ++i) p.data[std::size_t(double(p.data.size()) * where) + i] ^= 0xFF;
        };
    };
    damaged("T.6 bytes flipped at the start", 0, flip(0.0));
    damaged("T.6 bytes flipped in the first third", 0, flip(0.3));
    damaged("T.4 bytes flipped in the middle", 1, flip(0.5));
    damaged("T.4 1-D bytes flipped in the middle", 2, flip(0.5));
    damaged("T.4 1-D bytes cut out", 2, [](WinFaxPage& p) {
        p.data.erase(p.data.begin() + std::ptrdiff_t(p.data.size() / 2), p.data.begin() + std::ptrdiff_t(p.data.size() / 2 + 37));
    });
    damaged("T.6 cut short", 0, [](WinFaxPage& p) { p.data.resize(p.data.size() - 50); });
    damaged("no data", 1, [](WinFaxPage& p) { p.data.clear(); });
    damaged("random bytes", 1, [](WinFaxPage& p) {
        for (std::size_t i = 0; i < p.data.size(); ++i) p.data[i] = std::uint8_t(i * 2654435761u >> 13);
    });
    // Whole data with more rows in the header: white rows below, as libtiff gives.
    damaged("T.6 header longer than the data", 0, [](WinFaxPage& p) { p.length += 100; });
    damaged("T.4 header longer than the data", 1, [](WinFaxPage& p) { p.length += 100; });
    damaged("T.4 header shorter than the data", 2, [](WinFaxPage& p) { p.length -= 100; });
    return all;
}

void expectRoadsAgree(const std::vector<Case>& all) {
    for (const Case& c : all) {
        for (const bool split : {false, true}) {
            for (const bool recount : {false, true}) {
                SCOPED_TRACE(c.name + (split ? ", split" : ", one file") + (recount ? ", recount" : ""));
                test::TempDir dir;
                const std::string source = (dir / "fax.fxd").string();
                test::writeFile(source, test::buildWinFaxFile(c.pages));
                ConvertOptions options;
                options.pageMode = split ? 1 : 0;
                options.recountLines = recount;
                expectSameRoad(c.pages, viaCopier(source, dir.path(), options), viaG4(source, dir.path(), options));
                if (::testing::Test::HasFatalFailure()) return;
            }
        }
    }
}

TEST(G4Road, GivesWhatTheCopierGivesOnEveryPageCodingModeAndDamage) {
    expectRoadsAgree(cases("every printed page", [](FaxPageCoding coding) {
        std::vector<WinFaxPage> pages;
        for (const test::Sheet sheet : test::kEverySheet)
            for (const unsigned linesPerInch : {200u, 100u})
                pages.push_back(test::winFaxPageFromBitmap(test::printedPage(sheet, linesPerInch).bitmap, coding,
                                                           linesPerInch == 100 ? 0 : 1));
        return pages;
    }));
}

TEST(G4Road, CorpusPagesGiveWhatTheCopierGives) {
    QUILLON_REQUIRE_CORPUS();
    expectRoadsAgree(cases("every corpus page", [](FaxPageCoding coding) {
        std::vector<WinFaxPage> pages;
        for (const test::CorpusPage& page : test::corpusPages())
            pages.push_back(test::winFaxPageFromCorpus(page.file, coding));
        return pages;
    }));
}

}  // namespace
}  // namespace quillon
