// Seeds of the readers of other formats: a band of a corpus page as a TIFF
// file in several compressions, raw Group 3 and Digifax data, a DCX file, a
// CALS file and a bitmap. Byte 0 of each seed chooses the conversion's
// options (see fuzz/targets/conversion_check.h).

#include "format_seeds.h"

#include <tiffio.h>

#include <fstream>

#include "support/fax_page_encoder.h"

namespace quillon::fuzz_seeds {

namespace {

namespace fs = std::filesystem;
using test::Bitmap;
using test::FaxPageCoding;

void put16(std::string& out, unsigned value) { out += char(value & 0xFF), out += char((value >> 8) & 0xFF); }
void put32(std::string& out, std::uint32_t value) { put16(out, value & 0xFFFF), put16(out, value >> 16); }

void write(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string coded(const Bitmap& band, FaxPageCoding coding, bool msbFirst) {
    std::vector<std::uint8_t> data = test::encodeFaxPage(band.bits.data(), band.width, band.rows, coding);
    // The encoder codes least significant bit first.
    if (msbFirst)
        for (std::uint8_t& byte : data) byte = std::uint8_t(((byte * 0x0802u & 0x22110u) | (byte * 0x8020u & 0x88440u)) * 0x10101u >> 16);
    return {data.begin(), data.end()};
}

void tiffSeeds(const Bitmap& band, const fs::path& out) {
    const std::pair<const char*, std::uint16_t> kinds[] = {
        {"g4", COMPRESSION_CCITTFAX4}, {"g3", COMPRESSION_CCITTFAX3}, {"packbits", COMPRESSION_PACKBITS},
        {"lzw", COMPRESSION_LZW},      {"none", COMPRESSION_NONE}};
    int mode = 0;
    for (const auto& [name, compression] : kinds) {
        const fs::path file = out / (std::string(name) + ".tmp");
        TIFF* tif = TIFFOpen(file.c_str(), "w");
        if (!tif) continue;
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, band.width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, band.rows);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
        if (compression == COMPRESSION_CCITTFAX3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 8);
        std::vector<std::uint8_t> row(band.bytesPerRow());
        for (unsigned y = 0; y < band.rows; ++y) {
            // MinIsBlack: a 1 bit is white.
            for (std::size_t i = 0; i < row.size(); ++i) row[i] = std::uint8_t(~band.bits[y * row.size() + i]);
            TIFFWriteScanline(tif, row.data(), y, 0);
        }
        TIFFClose(tif);
        write(out / "tiff_reader", std::string(name) + ".tif", std::string(1, char(mode++ % 8)) + readAll(file));
        fs::remove(file);
    }
}

void g3Seeds(const Bitmap& band, const fs::path& out) {
    const std::string oneD = coded(band, FaxPageCoding::T4OneDimensional, false);
    const std::string twoD = coded(band, FaxPageCoding::T4TwoDimensional, true);
    write(out / "g3_reader", "raw-1d.g3n", std::string(1, '\0') + '\0' + oneD);
    write(out / "g3_reader", "raw-2d.g3n", std::string(1, '\x04') + '\0' + twoD);
    std::string header(64, '\0');
    header.replace(1, 16, "PC Research, Inc");
    header[29] = 1;
    write(out / "g3_reader", "digifax.g3f", std::string(1, '\x01') + '\x01' + header + oneD);
}

void calsSeed(const Bitmap& band, const fs::path& out) {
    std::string header;
    for (const std::string& record : {std::string("rtype: 1"), std::string("rorient: 000,270"),
                                     "rpelcnt: " + std::to_string(band.width) + "," + std::to_string(band.rows),
                                     std::string("rdensty: 0200")})
        header += record + std::string(128 - record.size(), ' ');
    header.resize(2048, ' ');
    write(out / "cals_reader", "band.cal", std::string(1, '\x02') + header + coded(band, FaxPageCoding::T6, true));
}

void dcxSeed(const Bitmap& band, const fs::path& out) {
    std::string pcx(128, '\0');
    pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 1, pcx[65] = 1;
    std::string size;
    put16(size, 0), put16(size, 0), put16(size, band.width - 1), put16(size, band.rows - 1), put16(size, 200),
        put16(size, 100);
    pcx.replace(4, size.size(), size);
    const unsigned bytesPerLine = (band.bytesPerRow() + 1) / 2 * 2;
    pcx[66] = char(bytesPerLine & 0xFF), pcx[67] = char(bytesPerLine >> 8);
    for (unsigned y = 0; y < band.rows; ++y) {
        for (unsigned i = 0; i < bytesPerLine;) {
            const std::uint8_t byte = i < band.bytesPerRow() ? band.bits[y * band.bytesPerRow() + i] : 0;
            unsigned run = 1;
            while (run < 63 && i + run < bytesPerLine &&
                   (i + run < band.bytesPerRow() ? band.bits[y * band.bytesPerRow() + i + run] : 0) == byte)
                ++run;
            if (run > 1 || (byte & 0xC0) == 0xC0) pcx += char(0xC0 | run);
            pcx += char(byte);
            i += run;
        }
    }
    std::string dcx;
    put32(dcx, 987654321), put32(dcx, 12), put32(dcx, 0);
    write(out / "dcx_reader", "band.dcx", std::string(1, '\x01') + dcx + pcx);
}

void bmpSeed(const Bitmap& band, const fs::path& out) {
    const std::uint32_t stride = (band.width + 31) / 32 * 4, pixelsAt = 14 + 40 + 8;
    std::string bmp = "BM";
    put32(bmp, pixelsAt + stride * band.rows), put32(bmp, 0), put32(bmp, pixelsAt);
    put32(bmp, 40), put32(bmp, band.width), put32(bmp, band.rows), put16(bmp, 1), put16(bmp, 1);
    put32(bmp, 0), put32(bmp, stride * band.rows), put32(bmp, 7874), put32(bmp, 3937), put32(bmp, 2), put32(bmp, 0);
    bmp += std::string("\xFF\xFF\xFF\0\0\0\0\0", 8);  // 0 white, 1 black
    for (unsigned y = band.rows; y-- > 0;) {
        std::string row(band.bits.begin() + y * band.bytesPerRow(), band.bits.begin() + (y + 1) * band.bytesPerRow());
        row.resize(stride, '\0');
        bmp += row;
    }
    write(out / "bmp_reader", "band.bmp", std::string(1, '\x04') + bmp);
}

}  // namespace

void formatSeeds(const Bitmap& band, const fs::path& out) {
    if (band.rows == 0) return;
    tiffSeeds(band, out);
    g3Seeds(band, out);
    calsSeed(band, out);
    dcxSeed(band, out);
    bmpSeed(band, out);
}

}  // namespace quillon::fuzz_seeds
