#include "tiff/tiff_writer.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "support/fax_page_encoder.h"
#include "support/pixel_hash.h"
#include "support/temp_dir.h"
#include "tiff/libtiff_messages.h"

namespace quillon {
namespace {

using test::Bitmap;
using test::FaxPageCoding;
using test::LibtiffMessages;
using test::TempDir;

std::uint32_t u32At(const std::string& file, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(file.at(at + i));
    return v;
}
std::uint16_t u16At(const std::string& file, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(file.at(at)) | (static_cast<std::uint8_t>(file.at(at + 1)) << 8));
}

struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count, value;
};
Entry entryAt(const std::string& file, std::size_t directory, int index) {
    const std::size_t at = directory + 2 + 12 * static_cast<std::size_t>(index);
    return {u16At(file, at), u16At(file, at + 2), u32At(file, at + 4), u32At(file, at + 8)};
}
// "YYYY:MM:DD HH:MM:SS"
bool isDateTimeText(const std::string& text) {
    const std::string shape = "dddd:dd:dd dd:dd:dd";
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != shape[i]) return false;
    return true;
}

std::uint32_t nextDirectory(const std::string& file, std::size_t directory) { return u32At(file, directory + 2 + 240); }

// A bitmap whose pixel (x, row) is black where isBlack says so.
template <typename Predicate>
Bitmap paint(unsigned width, unsigned rows, Predicate isBlack) {
    Bitmap b;
    b.width = width;
    b.rows = rows;
    b.bits.assign(b.bytesPerRow() * rows, 0);
    for (unsigned r = 0; r < rows; ++r)
        for (unsigned x = 0; x < width; ++x)
            if (isBlack(x, r)) b.bits[r * b.bytesPerRow() + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    return b;
}

// A page with a few black shapes whose outline depends on the seed.
Bitmap pattern(unsigned width, unsigned rows, unsigned seed) {
    return paint(width, rows, [&](unsigned x, unsigned r) {
        return ((x * 7 + r * 3 + seed) % 23) < 5 || (x > seed % width && x < seed % width + 9);
    });
}

// Black blocks: few runs per row, so a strip of it codes into a few bytes.
Bitmap blocks(unsigned width, unsigned rows) {
    return paint(width, rows, [](unsigned x, unsigned r) { return (x / 20 + r / 4) % 3 == 0; });
}

struct Page {
    Bitmap bitmap;
    std::vector<std::uint8_t> coded;
    ImageCoding coding;
};
Page codedPage(unsigned width, unsigned rows, unsigned seed, FaxPageCoding coding) {
    Page p{pattern(width, rows, seed), {}, coding == FaxPageCoding::T6 ? ImageCoding::T6 : ImageCoding::T4OneDimensional};
    p.coded = test::encodeFaxPage(p.bitmap.bits.data(), width, rows, coding);
    return p;
}

// Writes one page the way the readers do and returns its directory offset.
std::int64_t writePage(TiffWriter& w, const Page& p, std::uint16_t index, std::uint16_t count,
                       std::uint32_t yResolution = 200) {
    w.setOutputCompression(p.coding, 0);
    w.setFillOrder(2);
    w.setPageNumber(index, count);
    w.setImageSize(p.bitmap.width, p.bitmap.rows);
    const std::int64_t directory =
        w.appendPage(p.coded.data(), static_cast<std::uint32_t>(p.coded.size()), 200, yResolution, 2);
    EXPECT_GT(directory, 0);
    EXPECT_EQ(w.writeDirectory(static_cast<std::uint32_t>(directory)), 0);
    return directory;
}

void openNew(TiffWriter& w, const std::string& path) {
    ASSERT_EQ(w.openWriter(path, TiffWriter::kLittleEndian, "wb"), 0);
    ASSERT_EQ(w.writeHeader(), 0);
    w.setDefaultTags();
}

// Every page decodes through libtiff, without a complaint, to the given bitmaps.
void expectPages(const std::string& path, const std::vector<Page>& pages) {
    LibtiffMessages messages;
    const std::vector<Bitmap> decoded = test::readTiffPages(path);
    EXPECT_TRUE(messages.all().empty()) << messages.all().front();
    ASSERT_EQ(decoded.size(), pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(decoded[i].width, pages[i].bitmap.width) << "page " << i;
        EXPECT_EQ(decoded[i].rows, pages[i].bitmap.rows) << "page " << i;
        EXPECT_EQ(decoded[i].hash(), pages[i].bitmap.hash()) << "page " << i;
    }
}

TEST(TiffWriterLayout, OnePageFileIsHeaderDataTailAndDirectory) {
    TempDir dir;
    const std::string path = (dir / "one.tif").string();
    const Page page = codedPage(200, 60, 5, FaxPageCoding::T6);
    const std::uint32_t L = static_cast<std::uint32_t>(page.coded.size());
    {
        TiffWriter w;
        openNew(w, path);
        EXPECT_EQ(writePage(w, page, 0, 1, 400), 8 + L + 58);
        EXPECT_EQ(w.closeWriter(), 0);
    }
    const std::string file = test::readFile(path);
    ASSERT_EQ(file.size(), 8 + L + 58 + 246);
    EXPECT_EQ(file.substr(0, 4), std::string("II\x2a\x00", 4));
    const std::uint32_t D = u32At(file, 4);
    EXPECT_EQ(D, 8 + L + 58);
    EXPECT_EQ(file.substr(8, L), std::string(page.coded.begin(), page.coded.end()));
    EXPECT_EQ(u16At(file, D), 20);
    EXPECT_EQ(nextDirectory(file, D), 0u);

    const std::uint16_t tags[20] = {254, 256, 257, 258, 259, 262, 266, 273, 274, 277,
                                    278, 279, 282, 283, 284, 293, 296, 297, 305, 306};
    for (int i = 0; i < 20; ++i) EXPECT_EQ(entryAt(file, D, i).tag, tags[i]) << "entry " << i;
    const std::uint32_t tail = 8 + L;
    EXPECT_EQ(entryAt(file, D, 7).value, 8u);       // StripOffsets
    EXPECT_EQ(entryAt(file, D, 11).value, L);       // StripByteCounts
    EXPECT_EQ(entryAt(file, D, 10).value, 60u);     // RowsPerStrip
    EXPECT_EQ(entryAt(file, D, 12).value, tail);    // XResolution
    EXPECT_EQ(entryAt(file, D, 13).value, tail + 8);
    EXPECT_EQ(u32At(file, tail), 200u);
    EXPECT_EQ(u32At(file, tail + 4), 1u);
    EXPECT_EQ(u32At(file, tail + 8), 400u);
    EXPECT_EQ(u32At(file, tail + 12), 1u);
    EXPECT_EQ(entryAt(file, D, 17).value, 0x00010000u);  // PageNumber (0, 1)

    const Entry software = entryAt(file, D, 18);
    EXPECT_EQ(software.type, 2);
    EXPECT_EQ(software.count, 22u);
    EXPECT_EQ(software.value, tail + 16);
    EXPECT_EQ(file.substr(tail + 16, 22), std::string("Orvane Studio\0\0\0\0\0\0\0\0\0", 22));
    const Entry dateTime = entryAt(file, D, 19);
    EXPECT_EQ(dateTime.count, 20u);
    EXPECT_EQ(dateTime.value, tail + 38);
    EXPECT_TRUE(isDateTimeText(file.substr(tail + 38, 19))) << file.substr(tail + 38, 19);
    EXPECT_EQ(file[tail + 38 + 19], '\0');

    expectPages(path, {page});
}

TEST(TiffWriterLayout, ThreePagesAreChainedThroughTheirDirectories) {
    TempDir dir;
    const std::string path = (dir / "three.tif").string();
    const std::vector<Page> pages = {codedPage(1728, 40, 1, FaxPageCoding::T4OneDimensional),
                                     codedPage(100, 33, 2, FaxPageCoding::T6),
                                     codedPage(2432, 17, 3, FaxPageCoding::T4OneDimensional)};
    std::vector<std::int64_t> directories;
    {
        TiffWriter w;
        openNew(w, path);
        for (std::uint16_t i = 0; i < 3; ++i) directories.push_back(writePage(w, pages[i], i, 3));
        EXPECT_EQ(w.closeWriter(), 0);
    }
    const std::string file = test::readFile(path);
    EXPECT_EQ(u32At(file, 4), directories[0]);
    EXPECT_EQ(nextDirectory(file, directories[0]), directories[1]);
    EXPECT_EQ(nextDirectory(file, directories[1]), directories[2]);
    EXPECT_EQ(nextDirectory(file, directories[2]), 0u);
    EXPECT_EQ(file.size(), directories[2] + 246);
    for (std::uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(entryAt(file, directories[i], 17).value, i | (3u << 16));
        // Each block starts right after the previous directory.
        const std::uint32_t start = i == 0 ? 8u : static_cast<std::uint32_t>(directories[i - 1] + 246);
        EXPECT_EQ(entryAt(file, directories[i], 7).value, start);
        EXPECT_EQ(entryAt(file, directories[i], 15).tag, pages[i].coding == ImageCoding::T6 ? 293 : 292);
    }
    expectPages(path, pages);
}

TEST(TiffWriterLayout, OddDataLengthIsNotPadded) {
    TempDir dir;
    const std::string path = (dir / "odd.tif").string();
    Page page = codedPage(64, 20, 9, FaxPageCoding::T6);
    if (page.coded.size() % 2 == 0) page.coded.push_back(0);  // trailing fill after EOFB
    std::int64_t directory = 0;
    {
        TiffWriter w;
        openNew(w, path);
        directory = writePage(w, page, 0, 1);
    }
    EXPECT_EQ(directory % 2, 1);
    EXPECT_EQ(directory, static_cast<std::int64_t>(8 + page.coded.size() + 58));
    expectPages(path, {page});
}

TEST(TiffWriterLayout, AppendingToAWrittenFileContinuesTheChain) {
    TempDir dir;
    const std::string path = (dir / "append.tif").string();
    const std::vector<Page> pages = {codedPage(300, 25, 4, FaxPageCoding::T6),
                                     codedPage(300, 31, 8, FaxPageCoding::T4OneDimensional)};
    std::int64_t first = 0, second = 0;
    {
        TiffWriter w;
        openNew(w, path);
        first = writePage(w, pages[0], 0, 2);
    }
    {
        TiffWriter w;
        ASSERT_EQ(w.openWriter(path, TiffWriter::kLittleEndian, "r+b"), 0);
        w.setDefaultTags();
        second = writePage(w, pages[1], 1, 2);
    }
    const std::string file = test::readFile(path);
    EXPECT_EQ(u32At(file, 4), first);
    EXPECT_EQ(second, first + 246 + static_cast<std::int64_t>(pages[1].coded.size()) + 58);
    EXPECT_EQ(nextDirectory(file, first), second);
    expectPages(path, pages);
}

TEST(TiffWriterLayout, StripOffsetsFollowTheBlockStart) {
    TempDir dir;
    const std::string path = (dir / "strips.tif").string();
    // Three T.6 strips of ten rows, each padded to 150 bytes, lying at 100,
    // 250 and 400 in the caller's buffer.
    Page page{blocks(120, 30), {}, ImageCoding::T6};
    std::vector<std::uint8_t> buffer(550, 0);
    const std::uint32_t starts[3] = {100, 250, 400};
    const std::uint32_t counts[3] = {150, 150, 150};
    for (int s = 0; s < 3; ++s) {
        const auto strip = test::encodeFaxPage(page.bitmap.bits.data() + 10 * s * page.bitmap.bytesPerRow(), 120, 10,
                                               FaxPageCoding::T6);
        ASSERT_LE(strip.size(), 150u);
        std::copy(strip.begin(), strip.end(), buffer.begin() + starts[s]);
    }
    std::int64_t directory = 0;
    {
        TiffWriter w;
        openNew(w, path);
        w.setOutputCompression(ImageCoding::T6, 0);
        w.setFillOrder(2);
        w.setPageNumber(0, 1);
        w.setImageSize(120, 30);
        ASSERT_EQ(w.setStrips(3, 10, starts, counts), 0);
        directory = w.appendStripPage(buffer.data() + 100, 450, 200, 200, 2);
        ASSERT_GT(directory, 0);
        ASSERT_EQ(w.writeDirectory(static_cast<std::uint32_t>(directory)), 0);
    }
    const std::string file = test::readFile(path);
    const std::uint32_t E = 8, L = 450;
    EXPECT_EQ(directory, E + L + 24 + 58);
    const Entry offsets = entryAt(file, directory, 7);
    const Entry byteCounts = entryAt(file, directory, 11);
    EXPECT_EQ(offsets.count, 3u);
    EXPECT_EQ(offsets.value, E + L);
    EXPECT_EQ(byteCounts.count, 3u);
    EXPECT_EQ(byteCounts.value, E + L + 12);
    EXPECT_EQ(entryAt(file, directory, 10).value, 10u);  // RowsPerStrip
    for (std::uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(u32At(file, E + L + 4 * i), E + 150 * i);
        EXPECT_EQ(u32At(file, E + L + 12 + 4 * i), 150u);
    }
    expectPages(path, {page});
}

TEST(TiffWriterLayout, StripsOutsideTheDataAreRefused) {
    TempDir dir;
    TiffWriter w;
    openNew(w, (dir / "bad.tif").string());
    const std::uint32_t starts[2] = {0, 100};
    const std::uint32_t counts[2] = {100, 101};
    const std::vector<std::uint8_t> data(200);
    ASSERT_EQ(w.setStrips(2, 1, starts, counts), 0);
    EXPECT_EQ(w.appendStripPage(data.data(), 200, 200, 200, 2), -1);
    EXPECT_EQ(w.setStrips(0, 1, starts, counts), -1);
}

TEST(TiffWriterTags, CodingTableSetsCompressionAndOptions) {
    struct Row {
        ImageCoding coding;
        std::uint16_t compression, optionsTag;
        std::uint32_t options;
    };
    const Row rows[] = {{ImageCoding::Uncompressed, 1, 292, 0},     {ImageCoding::ModifiedHuffman, 2, 292, 4},
                        {ImageCoding::ModifiedHuffmanWord, 32771, 292, 4}, {ImageCoding::T4OneDimensional, 3, 292, 4},
                        {ImageCoding::T4TwoDimensional, 3, 292, 5}, {ImageCoding::T6, 4, 293, 0},
                        {ImageCoding::PackBits, 32773, 292, 0}};
    TiffDirectory directory;
    for (const Row& row : rows) {
        directory.setOutputCompression(row.coding, 1);
        EXPECT_EQ(directory.entry(TiffSlot::Compression).value, row.compression);
        EXPECT_EQ(directory.entry(TiffSlot::CodingOptions).tag, row.optionsTag);
        EXPECT_EQ(directory.entry(TiffSlot::CodingOptions).value, row.options);
        EXPECT_EQ(directory.entry(TiffSlot::Photometric).value, 1u);
    }
}

TEST(TiffWriterTags, RawCompressionTagsPickTheOptionsTag) {
    TiffDirectory directory;
    directory.setOutputCompression(ImageCoding::Uncompressed, 1);
    directory.setCompressionTags(4, 7, 2);
    EXPECT_EQ(directory.entry(TiffSlot::Compression).value, 4u);
    EXPECT_EQ(directory.entry(TiffSlot::CodingOptions).tag, 293);
    EXPECT_EQ(directory.entry(TiffSlot::CodingOptions).value, 2u);
    directory.setCompressionTags(3, 5, 2);
    EXPECT_EQ(directory.entry(TiffSlot::CodingOptions).tag, 292);
    EXPECT_EQ(directory.entry(TiffSlot::CodingOptions).value, 5u);
    directory.setCompressionTags(32773, 5, 2);
    EXPECT_EQ(directory.entry(TiffSlot::CodingOptions).tag, 292);
    EXPECT_EQ(directory.entry(TiffSlot::CodingOptions).value, 0u);
    EXPECT_EQ(directory.entry(TiffSlot::Photometric).value, 1u);  // left alone
}

TEST(TiffWriterFailures, NothingIsWrittenWithoutAStream) {
    TempDir dir;
    TiffWriter w;
    EXPECT_EQ(w.openWriter((dir / "missing" / "out.tif").string(), TiffWriter::kLittleEndian, "wb"), -1);
    EXPECT_FALSE(w.isOpen());
    const std::uint8_t data[4] = {1, 2, 3, 4};
    EXPECT_EQ(w.writeHeader(), -1);
    EXPECT_EQ(w.appendPage(data, 4, 200, 200, 2), -1);
    EXPECT_EQ(w.writeDirectory(100), -1);
    EXPECT_EQ(w.closeWriter(), 0);
}

TEST(TiffWriterFailures, BigEndianMarkIsRefused) {
    TempDir dir;
    TiffWriter w;
    EXPECT_EQ(w.openWriter((dir / "mm.tif").string(), 0x4D4D, "wb"), -1);
    EXPECT_FALSE(std::filesystem::exists(dir / "mm.tif"));
}

TEST(TiffWriterFailures, AppendingToAFileWithoutHeaderFails) {
    TempDir dir;
    TiffWriter w;
    // "r+b" on a missing file falls back to "wb": an empty file with nothing to link from.
    ASSERT_EQ(w.openWriter((dir / "new.tif").string(), TiffWriter::kLittleEndian, "r+b"), 0);
    const std::uint8_t data[4] = {1, 2, 3, 4};
    EXPECT_EQ(w.appendPage(data, 4, 200, 200, 2), -1);
}

TEST(TiffWriterFailures, AFailingDeviceIsReported) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TiffWriter w;
    ASSERT_EQ(w.openWriter("/dev/full", TiffWriter::kLittleEndian, "wb"), 0);
    w.setDefaultTags();
    const std::vector<std::uint8_t> data(100000, 0x55);
    const int header = w.writeHeader();
    const std::int64_t directory = w.appendPage(data.data(), static_cast<std::uint32_t>(data.size()), 200, 200, 2);
    const int close = w.closeWriter();
    EXPECT_TRUE(header < 0 || directory < 0 || close < 0);
    EXPECT_LT(directory, 0);
}

}  // namespace
}  // namespace quillon
