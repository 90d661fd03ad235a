// copyTiff's results, append mode, paths, orientation and the inputs that
// must fail cleanly.

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/pixel_hash.h"
#include "support/temp_dir.h"
#include "tiffcopy/test_images.h"
#include "tiffcopy/tiff_messages.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon::test {
namespace {

// Routes libtiff's messages into the collecting store for one test.
class CollectedMessages {
public:
    CollectedMessages() {
        routeTiffMessages(TiffMessageTarget::collect);
        takeTiffMessages();
    }
    ~CollectedMessages() { routeTiffMessages(TiffMessageTarget::standardError); }
    CollectedMessages(const CollectedMessages&) = delete;
    CollectedMessages& operator=(const CollectedMessages&) = delete;

    std::vector<std::string> take() { return takeTiffMessages(); }
};

bool containsLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::uint64_t> pageHashes(const std::string& path) {
    std::vector<std::uint64_t> hashes;
    for (const Bitmap& page : readTiffPages(path)) hashes.push_back(page.hash());
    return hashes;
}

// Peak resident memory of this process so far, from /proc, in bytes.
std::uint64_t peakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    std::uint64_t kilobytes = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kilobytes;
            break;
        }
    }
    return kilobytes * 1024;
}

TEST(CopyTiffResult, MissingInputGivesMinus3AndLeavesAnEmptyTiff) {
    TempDir dir;
    const std::string output = (dir / "out.tif").string();
    CollectedMessages messages;

    EXPECT_EQ(copyTiff((dir / "absent.tif").string(), output, CopyOptions{}), copyTiffInputFailed);

    const std::string bytes = readFile(output);
    ASSERT_EQ(bytes.size(), 8u);  // a header whose first-directory offset is 0
    EXPECT_EQ(bytes.substr(0, 4), std::string("II*\0", 4));
    EXPECT_EQ(bytes.substr(4, 4), std::string(4, '\0'));
}

TEST(CopyTiffResult, OutputInMissingFolderGivesMinus2AndCreatesNothing) {
    TempDir dir;
    const std::string input = (dir / "page.tif").string();
    writeTestTiff(input, {faxPage(200, 40, COMPRESSION_CCITTFAX4)});
    CollectedMessages messages;

    EXPECT_EQ(copyTiff(input, (dir / "missing" / "out.tif").string(), CopyOptions{}), copyTiffOutputFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(CopyTiffResult, AppendKeepsTheOutputsImagesAndAddsAfterThem) {
    TempDir dir;
    const std::string first = (dir / "first.tif").string();
    const std::string second = (dir / "second.tif").string();
    const std::string output = (dir / "out.tif").string();
    writeTestTiff(first, {faxPage(300, 60, COMPRESSION_CCITTFAX4), faxPage(310, 70, COMPRESSION_CCITTFAX3)});
    writeTestTiff(second, {faxPage(320, 80, COMPRESSION_CCITTFAX4)});
    ASSERT_EQ(copyTiff(first, output, CopyOptions{}), copyTiffDone);
    CopyOptions append;
    append.append = 1;

    ASSERT_EQ(copyTiff(second, output, append), copyTiffDone);

    std::vector<std::uint64_t> expected = pageHashes(first);
    expected.push_back(pageHashes(second).at(0));
    EXPECT_EQ(pageHashes(output), expected);

    // Without append the output is replaced.
    ASSERT_EQ(copyTiff(second, output, CopyOptions{}), copyTiffDone);
    EXPECT_EQ(pageHashes(output), pageHashes(second));
}

TEST(CopyTiffResult, PathsWithCommasAreTakenAsTheyAre) {
    TempDir dir;
    std::filesystem::create_directories(dir / "scans,1,3");
    std::filesystem::create_directories(dir / "out,2");
    const std::string input = (dir / "scans,1,3" / "fax,1.tif").string();
    const std::string output = (dir / "out,2" / "fax.tif").string();
    writeTestTiff(input, {faxPage(300, 60, COMPRESSION_CCITTFAX4), faxPage(300, 90, COMPRESSION_CCITTFAX4)});

    ASSERT_EQ(copyTiff(input, output, CopyOptions{}), copyTiffDone);
    EXPECT_EQ(pageHashes(output), pageHashes(input));
}

TEST(CopyTiffResult, BrokenChainOfImagesIsAFailureNotTheEnd) {
    TempDir dir;
    const std::string input = (dir / "broken.tif").string();
    const std::string output = (dir / "out.tif").string();
    writeTestTiff(input, {faxPage(300, 60, COMPRESSION_CCITTFAX4), faxPage(300, 90, COMPRESSION_CCITTFAX4)});
    patchNextDirectoryOffset(input, 0, 0x7FFFFFF0);
    CollectedMessages messages;

    EXPECT_EQ(copyTiff(input, output, CopyOptions{}), copyTiffImageFailed);
    ASSERT_EQ(pageHashes(output).size(), 1u);
}

TEST(CopyTiffResult, ImageThatNoRoutineFitsFailsWithTiffcpsMessage) {
    TempDir dir;
    const std::string input = (dir / "odd-tiles.tif").string();
    const std::string output = (dir / "out.tif").string();
    TestImage good = faxPage(64, 32, COMPRESSION_NONE);
    TestImage oddTiles = good;
    oddTiles.tileSize = 16;
    writeTestTiff(input, {good, oddTiles, good});
    // Tiles 12 pixels wide hold 1.5 bytes per row: their rows do not join.
    patchTag(input, 1, TIFFTAG_TILEWIDTH, 12);
    CollectedMessages messages;

    EXPECT_EQ(copyTiff(input, output, CopyOptions{}), copyTiffImageFailed);

    EXPECT_TRUE(containsLine(messages.take(), "tiffcp: " + input + ": Don't know how to copy/convert image.\n"));
    // The output holds the image before the failing one, and nothing after it.
    const auto pages = readTestTiff(output);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].fields.pixels, good.pixels);
}

struct OrientationCase {
    std::uint16_t input;
    std::uint16_t output;
    const char* warning;  // null when the value passes unchanged
};

class OrientationCopy : public testing::TestWithParam<OrientationCase> {};

TEST_P(OrientationCopy, MirroredOrientationsBecomeTopOrBottomLeftWithAWarning) {
    const OrientationCase& param = GetParam();
    TempDir dir;
    const std::string input = (dir / "page.tif").string();
    const std::string output = (dir / "out.tif").string();
    TestImage page = faxPage(200, 40, COMPRESSION_CCITTFAX4);
    page.orientation = param.input;
    writeTestTiff(input, {page});
    CollectedMessages messages;

    ASSERT_EQ(copyTiff(input, output, CopyOptions{}), copyTiffDone);

    EXPECT_EQ(readTestTiff(output).at(0).fields.orientation, param.output);
    const auto lines = messages.take();
    if (param.warning)
        EXPECT_TRUE(containsLine(lines, input + ": Warning, " + param.warning + ".\n"));
    else
        EXPECT_TRUE(lines.empty()) << lines.front();
}

INSTANTIATE_TEST_SUITE_P(AllOrientations, OrientationCopy,
                         testing::Values(OrientationCase{1, 1, nullptr},
                                         OrientationCase{2, 1, "using top-left orientation"},
                                         OrientationCase{3, 4, "using bottom-left orientation"},
                                         OrientationCase{4, 4, nullptr}, OrientationCase{5, 5, nullptr},
                                         OrientationCase{6, 1, "using top-left orientation"},
                                         OrientationCase{7, 4, "using bottom-left orientation"},
                                         OrientationCase{8, 8, nullptr}));

TEST(CopyTiffFields, PredictorIsKeptForLzwAndDeflateOutput) {
    TempDir dir;
    const std::string input = (dir / "lzw.tif").string();
    TIFF* tif = TIFFOpen(input.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    const TestImage image = withPattern(TestImage{});
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, image.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, image.length);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 8);
    std::vector<std::uint8_t> row(image.rowBytes());
    for (std::uint32_t y = 0; y < image.length; ++y) {
        // The predictor rewrites the row it is given.
        std::copy_n(image.pixels.begin() + y * row.size(), row.size(), row.begin());
        ASSERT_GE(TIFFWriteScanline(tif, row.data(), y, 0), 0);
    }
    TIFFClose(tif);

    for (std::int32_t choice : {9, 10}) {
        SCOPED_TRACE(choice);
        const std::string output = (dir / "out.tif").string();
        CopyOptions options;
        options.compressionChoice = choice;
        ASSERT_EQ(copyTiff(input, output, options), copyTiffDone);
        TIFF* copied = TIFFOpen(output.c_str(), "r");
        ASSERT_NE(copied, nullptr);
        std::uint16_t predictor = 0;
        EXPECT_TRUE(TIFFGetField(copied, TIFFTAG_PREDICTOR, &predictor));
        EXPECT_EQ(predictor, PREDICTOR_HORIZONTAL);
        TIFFClose(copied);
        EXPECT_EQ(readTestTiff(output).at(0).fields.pixels, image.pixels);
    }
}

TEST(CopyTiffFields, JpegInputIsWrittenAsRgbWhenRecompressed) {
    TempDir dir;
    const std::string rgb = (dir / "rgb.tif").string();
    const std::string jpeg = (dir / "jpeg.tif").string();
    const std::string lzw = (dir / "lzw.tif").string();
    TestImage image;
    image.samplesPerPixel = 3;
    image.photometric = PHOTOMETRIC_RGB;
    image = withPattern(image);
    writeTestTiff(rgb, {image});
    CopyOptions toJpeg;
    toJpeg.compressionChoice = 7;
    ASSERT_EQ(copyTiff(rgb, jpeg, toJpeg), copyTiffDone);
    ASSERT_EQ(readTestTiff(jpeg).at(0).fields.photometric, PHOTOMETRIC_YCBCR);
    CopyOptions toLzw;
    toLzw.compressionChoice = 9;

    ASSERT_EQ(copyTiff(jpeg, lzw, toLzw), copyTiffDone);

    const auto copied = readTestTiff(lzw);
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0].fields.photometric, PHOTOMETRIC_RGB);
    EXPECT_LT(meanAbsoluteDifference(copied[0].fields.pixels, image.pixels), 8.0);
}

struct HugeClaim {
    const char* name;
    TestImage image;
    std::vector<std::pair<std::uint16_t, std::uint32_t>> patches;
    int result;  // a fax page in one strip streams through in bands
};

TEST(CopyTiffHostileInput, HugeClaimedImagesAllocateNothingForTheirSize) {
    TestImage rgb;
    rgb.width = 64;
    rgb.length = 64;
    rgb.samplesPerPixel = 3;
    rgb.photometric = PHOTOMETRIC_RGB;
    rgb.rowsPerStrip = 64;
    TestImage tiled = rgb;
    tiled.tileSize = 16;
    TestImage fax = faxPage(64, 64, COMPRESSION_CCITTFAX4);
    const HugeClaim claims[] = {
        {"uncompressed RGB 60000 x 60000",
         withPattern(rgb),
         {{TIFFTAG_IMAGEWIDTH, 60000}, {TIFFTAG_IMAGELENGTH, 60000}, {TIFFTAG_ROWSPERSTRIP, 60000}},
         copyTiffImageFailed},
        {"RGB tiles of 65520 x 65520",
         withPattern(tiled),
         {{TIFFTAG_TILEWIDTH, 65520}, {TIFFTAG_TILELENGTH, 65520}},
         copyTiffImageFailed},
        {"G4 page of 65000 x 65000 in one strip",
         fax,
         {{TIFFTAG_IMAGEWIDTH, 65000}, {TIFFTAG_IMAGELENGTH, 65000}, {TIFFTAG_ROWSPERSTRIP, 65000}},
         copyTiffDone},
    };
    TempDir dir;
    CollectedMessages messages;
    for (const HugeClaim& claim : claims) {
        SCOPED_TRACE(claim.name);
        const std::string input = (dir / "huge.tif").string();
        writeTestTiff(input, {claim.image});
        for (const auto& [tag, value] : claim.patches) patchTag(input, 0, tag, value);
        const std::uint64_t peakBefore = peakResidentBytes();

        EXPECT_EQ(copyTiff(input, (dir / "out.tif").string(), CopyOptions{}), claim.result);

        EXPECT_LT(peakResidentBytes(), peakBefore + (std::uint64_t{100} << 20));
    }
}

// Run under the sanitizers, this finds reads and writes out of bounds.
TEST(CopyTiffHostileInput, DamagedFilesGiveAResultWithoutCrashing) {
    TestImage rgbTiles;
    rgbTiles.samplesPerPixel = 3;
    rgbTiles.photometric = PHOTOMETRIC_RGB;
    rgbTiles.tileSize = 16;
    TestImage separate16 = rgbTiles;
    separate16.bitsPerSample = 16;
    separate16.planarConfig = PLANARCONFIG_SEPARATE;
    separate16.tileSize = 0;
    TestImage faxT4 = faxPage(300, 60, COMPRESSION_CCITTFAX3);
    faxT4.pageCount = 2;
    const std::vector<std::vector<TestImage>> files = {
        {faxPage(300, 60, COMPRESSION_CCITTFAX4), faxT4}, {withPattern(rgbTiles)}, {withPattern(separate16)}};
    TempDir dir;
    const std::string input = (dir / "damaged.tif").string();
    const std::string output = (dir / "out.tif").string();
    CollectedMessages messages;
    std::uint32_t random = 12345;
    auto next = [&random] { return random = random * 1103515245u + 12345u, random >> 8; };
    for (const auto& images : files) {
        writeTestTiff(input, images);
        const std::string original = readFile(input);
        for (int round = 0; round < 100; ++round) {
            std::string bytes = original;
            // Damage lands mostly in the directories at the end of the file.
            for (int hit = 0; hit < 4; ++hit) {
                const std::size_t span = next() % 2 ? bytes.size() : std::min<std::size_t>(bytes.size(), 400);
                bytes[bytes.size() - 1 - next() % span] = static_cast<char>(next());
            }
            writeFile(input, bytes);
            const int result = copyTiff(input, output, CopyOptions{});
            EXPECT_TRUE(result == copyTiffDone || result == copyTiffImageFailed || result == copyTiffInputFailed)
                << result;
            messages.take();
        }
    }
}

TEST(CopyTiffHostileInput, TruncatedPixelDataStillGivesAFullSizePage) {
    TempDir dir;
    const std::string input = (dir / "cut.tif").string();
    const std::string output = (dir / "out.tif").string();
    const TestImage page = faxPage(1728, 400, COMPRESSION_CCITTFAX4);
    writeTestTiff(input, {page});
    std::string bytes = readFile(input);
    // The strip follows the 8-byte header: spoil its second half.
    std::fill(bytes.begin() + 8 + 600, bytes.begin() + 8 + 1200, '\0');
    writeFile(input, bytes);
    CollectedMessages messages;

    ASSERT_EQ(copyTiff(input, output, CopyOptions{}), copyTiffDone);

    const auto pages = readTiffPages(output);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].width, 1728u);
    EXPECT_EQ(pages[0].rows, 400u);
    EXPECT_FALSE(messages.take().empty());  // libtiff reported the bad data
}

}  // namespace
}  // namespace quillon::test
