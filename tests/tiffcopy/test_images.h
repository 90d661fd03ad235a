#pragma once
// Small TIFF files made with libtiff for the copier's tests, and a reader
// that decodes any of them to the same row layout whatever their strips,
// tiles or compression.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <tiffio.h>

namespace quillon::test {

struct TestImage {
    std::uint32_t width = 37;
    std::uint32_t length = 41;
    std::uint16_t bitsPerSample = 8;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    std::uint16_t planarConfig = PLANARCONFIG_CONTIG;
    std::uint16_t compression = COMPRESSION_NONE;
    std::uint32_t group3Options = 0;
    std::uint32_t rowsPerStrip = 16;
    std::uint32_t tileSize = 0;  // non-zero: square tiles of this size instead of strips
    std::uint16_t fillOrder = FILLORDER_MSB2LSB;
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    std::uint16_t pageNumber = 0;
    std::uint16_t pageCount = 0;  // PageNumber is written when non-zero
    float resolution = 0;         // X and Y resolution in dpi when non-zero
    std::string software;
    std::function<void(TIFF*)> setMoreFields;  // called before the pixels are written
    // Decoded pixels: plane after plane (one plane when contiguous), each row
    // of rowBytes() bytes. Filled by withPattern().
    std::vector<std::uint8_t> pixels;

    std::uint16_t planes() const { return planarConfig == PLANARCONFIG_SEPARATE ? samplesPerPixel : 1; }
    std::size_t rowBytes() const;
    std::string describe() const;
};

// The image with a deterministic pattern in its pixels: smooth enough for
// JPEG to stay close, varied enough that a mix-up of rows, samples, planes
// or tiles shows.
TestImage withPattern(TestImage image);

// A bilevel fax-like page (1 = black, photometric min-is-white): ruled
// lines, blocks and a diagonal.
TestImage faxPage(std::uint32_t width, std::uint32_t length, std::uint16_t compression);

// Writes the images as the directories of one file; fails the test on errors.
void writeTestTiff(const std::string& path, const std::vector<TestImage>& images);

struct DecodedImage {
    TestImage fields;  // as read from the directory
    bool tiled = false;
    bool complete = true;  // every strip or tile decoded without error
};

// Reads every directory of path; an empty list when libtiff cannot open it.
std::vector<DecodedImage> readTestTiff(const std::string& path);

// Mean absolute difference of two equally long 8-bit sample buffers.
double meanAbsoluteDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);

}  // namespace quillon::test

namespace quillon::test {

// Byte surgery on a little-endian classic TIFF file made by writeTestTiff,
// for inputs that libtiff refuses to write: sets the value of a SHORT or
// LONG tag (count 1) of directory `directory`, or its next-directory offset.
void patchTag(const std::string& path, int directory, std::uint16_t tag, std::uint32_t value);
void patchNextDirectoryOffset(const std::string& path, int directory, std::uint32_t offset);

}  // namespace quillon::test
