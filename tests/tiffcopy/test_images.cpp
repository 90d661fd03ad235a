#include "tiffcopy/test_images.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace quillon::test {
namespace {

std::uint32_t sampleValue(const TestImage& image, std::uint32_t x, std::uint32_t y, std::uint16_t sample) {
    switch (image.bitsPerSample) {
    case 1: return ((x / 3 + y / 2 + sample) % 3) == 0 ? 1 : 0;
    case 4: return (x + 2 * y + 5 * sample) % 16;
    case 8: return (3 * x + 2 * y + 40 * sample) % 256;
    default: return (1000 * x + 37 * y + 5000 * sample) % 65536;
    }
}

void putSample(std::uint8_t* row, std::uint32_t index, std::uint16_t bits, std::uint32_t value) {
    if (bits == 16) {
        const auto word = static_cast<std::uint16_t>(value);
        std::memcpy(row + 2 * index, &word, 2);
        return;
    }
    const std::uint32_t bit = index * bits;
    const int shift = 8 - bits - static_cast<int>(bit % 8);
    row[bit / 8] |= static_cast<std::uint8_t>(value << shift);
}

std::vector<std::uint16_t> colorMapChannel(int bits, int channel) {
    std::vector<std::uint16_t> map(std::size_t{1} << bits);
    for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint16_t>((i * 257 * (channel + 1)) & 0xFFFF);
    return map;
}

bool writeStrips(TIFF* tif, const TestImage& image) {
    std::vector<std::uint8_t> row(image.rowBytes());
    for (std::uint16_t plane = 0; plane < image.planes(); ++plane)
        for (std::uint32_t y = 0; y < image.length; ++y) {
            std::memcpy(row.data(), image.pixels.data() + (plane * image.length + y) * row.size(), row.size());
            if (TIFFWriteScanline(tif, row.data(), y, plane) < 0) return false;
        }
    return true;
}

bool writeTiles(TIFF* tif, const TestImage& image) {
    const std::size_t tileRowBytes = static_cast<std::size_t>(TIFFTileRowSize(tif));
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(TIFFTileSize(tif)));
    const std::size_t rowBytes = image.rowBytes();
    for (std::uint16_t plane = 0; plane < image.planes(); ++plane)
        for (std::uint32_t y = 0; y < image.length; y += image.tileSize)
            for (std::uint32_t x = 0; x < image.width; x += image.tileSize) {
                const std::size_t offset = x / image.tileSize * tileRowBytes;
                std::fill(tile.begin(), tile.end(), 0);
                for (std::uint32_t r = 0; r < image.tileSize && y + r < image.length; ++r)
                    std::memcpy(tile.data() + r * tileRowBytes,
                                image.pixels.data() + (plane * image.length + y + r) * rowBytes + offset,
                                std::min(tileRowBytes, rowBytes - offset));
                if (TIFFWriteTile(tif, tile.data(), x, y, 0, plane) < 0) return false;
            }
    return true;
}

// Reads tiles or scanlines into rows laid out like TestImage::pixels.
bool readPixels(TIFF* tif, DecodedImage& image) {
    TestImage& f = image.fields;
    const std::size_t rowBytes = static_cast<std::size_t>(TIFFScanlineSize(tif));
    f.pixels.assign(rowBytes * f.length * f.planes(), 0);
    bool complete = true;
    if (!image.tiled) {
        for (std::uint16_t plane = 0; plane < f.planes(); ++plane)
            for (std::uint32_t y = 0; y < f.length; ++y)
                complete &= TIFFReadScanline(tif, f.pixels.data() + (plane * f.length + y) * rowBytes, y, plane) >= 0;
        return complete;
    }
    const std::size_t tileRowBytes = static_cast<std::size_t>(TIFFTileRowSize(tif));
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(TIFFTileSize(tif)));
    std::uint32_t tileWidth = 0, tileLength = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
    for (std::uint16_t plane = 0; plane < f.planes(); ++plane)
        for (std::uint32_t y = 0; y < f.length; y += tileLength)
            for (std::uint32_t column = 0; column * tileRowBytes < rowBytes; ++column) {
                complete &= TIFFReadTile(tif, tile.data(), column * tileWidth, y, 0, plane) >= 0;
                const std::size_t offset = column * tileRowBytes;
                for (std::uint32_t r = 0; r < tileLength && y + r < f.length; ++r)
                    std::memcpy(f.pixels.data() + (plane * f.length + y + r) * rowBytes + offset,
                                tile.data() + r * tileRowBytes, std::min(tileRowBytes, rowBytes - offset));
            }
    return complete;
}

}  // namespace

std::size_t TestImage::rowBytes() const {
    const std::size_t samples = planarConfig == PLANARCONFIG_SEPARATE ? 1 : samplesPerPixel;
    return (std::size_t{width} * samples * bitsPerSample + 7) / 8;
}

std::string TestImage::describe() const {
    std::ostringstream text;
    text << bitsPerSample << "-bit x" << samplesPerPixel << " photometric " << photometric
         << (planarConfig == PLANARCONFIG_SEPARATE ? " separate" : " contiguous")
         << (tileSize ? " tiles" : " strips") << " compression " << compression;
    return text.str();
}

TestImage withPattern(TestImage image) {
    const std::size_t rowBytes = image.rowBytes();
    image.pixels.assign(rowBytes * image.length * image.planes(), 0);
    for (std::uint16_t plane = 0; plane < image.planes(); ++plane)
        for (std::uint32_t y = 0; y < image.length; ++y) {
            std::uint8_t* row = image.pixels.data() + (plane * image.length + y) * rowBytes;
            for (std::uint32_t x = 0; x < image.width; ++x) {
                if (image.planes() > 1) {
                    putSample(row, x, image.bitsPerSample, sampleValue(image, x, y, plane));
                    continue;
                }
                for (std::uint16_t s = 0; s < image.samplesPerPixel; ++s)
                    putSample(row, x * image.samplesPerPixel + s, image.bitsPerSample, sampleValue(image, x, y, s));
            }
        }
    return image;
}

TestImage faxPage(std::uint32_t width, std::uint32_t length, std::uint16_t compression) {
    TestImage page;
    page.width = width;
    page.length = length;
    page.bitsPerSample = 1;
    page.photometric = PHOTOMETRIC_MINISWHITE;
    page.compression = compression;
    page.rowsPerStrip = length;
    page.fillOrder = FILLORDER_LSB2MSB;
    page.resolution = 196;
    page.software = "Quillon test";
    const std::size_t rowBytes = page.rowBytes();
    page.pixels.assign(rowBytes * length, 0);
    for (std::uint32_t y = 0; y < length; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            const bool black = y % 50 == 0 || (x / 40 + y / 30) % 7 == 0 || x == y || x == width - 1;
            if (black) page.pixels[y * rowBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    return page;
}

void writeTestTiff(const std::string& path, const std::vector<TestImage>& images) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr) << path;
    for (const TestImage& image : images) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, image.width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, image.length);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, image.bitsPerSample);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, image.samplesPerPixel);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, image.photometric);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, image.planarConfig);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, image.compression);
        if (image.compression == COMPRESSION_CCITTFAX3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, image.group3Options);
        TIFFSetField(tif, TIFFTAG_FILLORDER, image.fillOrder);
        TIFFSetField(tif, TIFFTAG_ORIENTATION, image.orientation);
        if (image.tileSize) {
            TIFFSetField(tif, TIFFTAG_TILEWIDTH, image.tileSize);
            TIFFSetField(tif, TIFFTAG_TILELENGTH, image.tileSize);
        } else {
            TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, image.rowsPerStrip);
        }
        if (image.pageCount) TIFFSetField(tif, TIFFTAG_PAGENUMBER, image.pageNumber, image.pageCount);
        if (image.resolution > 0) {
            TIFFSetField(tif, TIFFTAG_XRESOLUTION, image.resolution);
            TIFFSetField(tif, TIFFTAG_YRESOLUTION, image.resolution);
            TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        }
        if (!image.software.empty()) TIFFSetField(tif, TIFFTAG_SOFTWARE, image.software.c_str());
        std::vector<std::uint16_t> red, green, blue;
        if (image.photometric == PHOTOMETRIC_PALETTE) {
            red = colorMapChannel(image.bitsPerSample, 0);
            green = colorMapChannel(image.bitsPerSample, 1);
            blue = colorMapChannel(image.bitsPerSample, 2);
            TIFFSetField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
        }
        if (image.setMoreFields) image.setMoreFields(tif);
        const bool written = image.tileSize ? writeTiles(tif, image) : writeStrips(tif, image);
        EXPECT_TRUE(written) << image.describe();
        EXPECT_TRUE(TIFFWriteDirectory(tif)) << image.describe();
    }
    TIFFClose(tif);
}

std::vector<DecodedImage> readTestTiff(const std::string& path) {
    std::vector<DecodedImage> images;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return images;
    do {
        DecodedImage image;
        TestImage& f = image.fields;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &f.width);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &f.length);
        TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &f.bitsPerSample);
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &f.samplesPerPixel);
        TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &f.photometric);
        TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &f.planarConfig);
        TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &f.compression);
        TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &f.fillOrder);
        TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &f.orientation);
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &f.rowsPerStrip);
        TIFFGetField(tif, TIFFTAG_PAGENUMBER, &f.pageNumber, &f.pageCount);
        TIFFGetField(tif, TIFFTAG_XRESOLUTION, &f.resolution);
        if (f.compression == COMPRESSION_CCITTFAX3) TIFFGetField(tif, TIFFTAG_GROUP3OPTIONS, &f.group3Options);
        char* software = nullptr;
        if (TIFFGetField(tif, TIFFTAG_SOFTWARE, &software)) f.software = software;
        image.tiled = TIFFIsTiled(tif) != 0;
        if (image.tiled) TIFFGetField(tif, TIFFTAG_TILEWIDTH, &f.tileSize);
        if (f.compression == COMPRESSION_JPEG) TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        image.complete = readPixels(tif, image);
        images.push_back(std::move(image));
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return images;
}

double meanAbsoluteDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    if (a.size() != b.size() || a.empty()) return 1e9;
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += std::abs(int{a[i]} - int{b[i]});
    return sum / static_cast<double>(a.size());
}

}  // namespace quillon::test

namespace quillon::test {
namespace {

std::uint32_t readLittle(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes.at(at + i));
    return value;
}

void writeLittle(std::string& bytes, std::size_t at, int size, std::uint32_t value) {
    for (int i = 0; i < size; ++i) bytes.at(at + i) = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::size_t directoryStart(const std::string& bytes, int directory) {
    std::size_t offset = readLittle(bytes, 4, 4);
    for (int i = 0; i < directory; ++i) offset = readLittle(bytes, offset + 2 + 12 * readLittle(bytes, offset, 2), 4);
    return offset;
}

}  // namespace

void patchTag(const std::string& path, int directory, std::uint16_t tag, std::uint32_t value) {
    std::string bytes = readFile(path);
    ASSERT_EQ(bytes.substr(0, 2), "II");
    const std::size_t start = directoryStart(bytes, directory);
    const std::uint32_t entries = readLittle(bytes, start, 2);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t entry = start + 2 + 12 * i;
        if (readLittle(bytes, entry, 2) != tag) continue;
        const std::uint32_t type = readLittle(bytes, entry + 2, 2);
        ASSERT_TRUE(type == TIFF_SHORT || type == TIFF_LONG) << "tag " << tag;
        writeLittle(bytes, entry + 8, type == TIFF_SHORT ? 2 : 4, value);
        writeFile(path, bytes);
        return;
    }
    FAIL() << "tag " << tag << " not in directory " << directory;
}

void patchNextDirectoryOffset(const std::string& path, int directory, std::uint32_t offset) {
    std::string bytes = readFile(path);
    const std::size_t start = directoryStart(bytes, directory);
    writeLittle(bytes, start + 2 + 12 * readLittle(bytes, start, 2), 4, offset);
    writeFile(path, bytes);
}

}  // namespace quillon::test
