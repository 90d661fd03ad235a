// Every compression choice over inputs of every sample layout the copier
// meets: 1 to 16 bits, grey, RGB and palette, strips and tiles, contiguous
// and separate planes, written as strips, tiles or as the input.

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "tiffcopy/compression_choice.h"
#include "tiffcopy/test_images.h"
#include "tiffcopy/tiff_messages.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon::test {
namespace {

std::vector<TestImage> matrixInputs() {
    std::vector<TestImage> kinds;
    auto add = [&](std::uint16_t bits, std::uint16_t samples, std::uint16_t photometric, std::uint16_t planar) {
        TestImage image;
        image.bitsPerSample = bits;
        image.samplesPerPixel = samples;
        image.photometric = photometric;
        image.planarConfig = planar;
        kinds.push_back(image);
    };
    add(1, 1, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG);
    add(4, 1, PHOTOMETRIC_PALETTE, PLANARCONFIG_CONTIG);
    add(8, 1, PHOTOMETRIC_PALETTE, PLANARCONFIG_CONTIG);
    add(8, 1, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG);
    add(16, 1, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG);
    add(8, 3, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG);
    add(8, 3, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE);
    add(16, 3, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG);
    add(16, 3, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE);
    std::vector<TestImage> inputs;
    for (TestImage image : kinds) {
        inputs.push_back(withPattern(image));
        image.tileSize = 16;
        inputs.push_back(withPattern(image));
    }
    return inputs;
}

bool isCcitt(std::uint16_t compression) {
    return compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4;
}

// Whether the chosen coding can hold the image at all: CCITT codes one bit
// per pixel, JPEG eight bits of grey or colour, and libtiff's JPEG codec
// turns RGB into YCbCr only for contiguous samples.
bool codingFits(std::uint16_t compression, int jpegColorMode, const TestImage& image) {
    if (isCcitt(compression)) return image.bitsPerSample == 1 && image.samplesPerPixel == 1;
    if (compression != COMPRESSION_JPEG) return true;
    const bool toYCbCr = image.photometric == PHOTOMETRIC_RGB && jpegColorMode == JPEGCOLORMODE_RGB;
    return image.bitsPerSample == 8 && image.photometric != PHOTOMETRIC_PALETTE &&
           !(toYCbCr && image.planarConfig == PLANARCONFIG_SEPARATE);
}

class CompressionMatrix : public testing::TestWithParam<std::int32_t> {
protected:
    void SetUp() override { routeTiffMessages(TiffMessageTarget::discard); }
    void TearDown() override { routeTiffMessages(TiffMessageTarget::standardError); }
};

TEST_P(CompressionMatrix, CopiesEveryLayoutItCanCode) {
    const std::int32_t choice = GetParam();
    const OutputCompression expected = outputCompressionFor(choice);
    TempDir dir;
    const std::string input = (dir / "in.tif").string();
    const std::string output = (dir / "out.tif").string();
    for (const TestImage& image : matrixInputs()) {
        writeTestTiff(input, {image});
        const std::uint16_t compression = expected.compression ? expected.compression : image.compression;
        for (std::int32_t tiled : {-1, 0, 1}) {
            SCOPED_TRACE(image.describe() + ", tiled output " + std::to_string(tiled));
            CopyOptions options;
            options.compressionChoice = choice;
            options.tiledOutput = tiled;
            const int result = copyTiff(input, output, options);
            if (!codingFits(compression, expected.jpegColorMode, image)) {
                EXPECT_EQ(result, copyTiffImageFailed);
                EXPECT_TRUE(readTestTiff(output).empty());  // no broken directory left behind
                continue;
            }
            ASSERT_EQ(result, copyTiffDone);
            const auto copied = readTestTiff(output);
            ASSERT_EQ(copied.size(), 1u);
            const DecodedImage& out = copied[0];
            EXPECT_TRUE(out.complete);
            EXPECT_EQ(out.fields.compression, compression);
            EXPECT_EQ(out.tiled, tiled == -1 ? image.tileSize != 0 : tiled == 1);
            EXPECT_EQ(out.fields.width, image.width);
            EXPECT_EQ(out.fields.length, image.length);
            EXPECT_EQ(out.fields.bitsPerSample, image.bitsPerSample);
            EXPECT_EQ(out.fields.samplesPerPixel, image.samplesPerPixel);
            EXPECT_EQ(out.fields.planarConfig, image.planarConfig);
            if (compression == COMPRESSION_JPEG) {
                EXPECT_LT(meanAbsoluteDifference(out.fields.pixels, image.pixels), 8.0);
            } else {
                EXPECT_EQ(out.fields.photometric, image.photometric);
                EXPECT_EQ(out.fields.pixels, image.pixels);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryChoice, CompressionMatrix, testing::Values(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 99),
                         [](const testing::TestParamInfo<std::int32_t>& info) {
                             return "choice" + std::to_string(info.param);
                         });

class Group3Choice : public testing::TestWithParam<std::int32_t> {};

TEST_P(Group3Choice, SetsItsT4Options) {
    const OutputCompression expected = outputCompressionFor(GetParam());
    TempDir dir;
    const std::string input = (dir / "in.tif").string();
    const std::string output = (dir / "out.tif").string();
    TestImage page = faxPage(500, 80, COMPRESSION_CCITTFAX4);
    writeTestTiff(input, {page});
    CopyOptions options;
    options.compressionChoice = GetParam();

    ASSERT_EQ(copyTiff(input, output, options), copyTiffDone);

    const auto copied = readTestTiff(output);
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0].fields.compression, COMPRESSION_CCITTFAX3);
    EXPECT_EQ(copied[0].fields.group3Options, static_cast<std::uint32_t>(expected.group3Options));
    EXPECT_EQ(copied[0].fields.pixels, page.pixels);
}

INSTANTIATE_TEST_SUITE_P(Choices2To5, Group3Choice, testing::Values(2, 3, 4, 5));

}  // namespace
}  // namespace quillon::test
