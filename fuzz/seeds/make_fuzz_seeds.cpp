// Makes the seed inputs of every fuzz target from the corpus pages: small
// bands of real fax pages coded as WinFax files, T.4 and T.6 data, TIFF
// files and the other input formats, plus a few INI files and command lines.
//
//   quillon_fuzz_seeds CORPUS-FOLDER SEED-FOLDER
//
// Without the corpus only the seeds that need no page are made.

#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "format_seeds.h"
#include "support/winfax_writer.h"

namespace {

namespace fs = std::filesystem;
using quillon::test::Bitmap;
using quillon::test::FaxPageCoding;
using quillon::test::WinFaxPage;

// The first page of a corpus file (1 = black), cut to width.
Bitmap readPage(const fs::path& file, unsigned width) {
    Bitmap page;
    TIFF* tif = TIFFOpen(file.c_str(), "r");
    if (!tif) return page;
    std::uint32_t pageWidth = 0, pageRows = 0;
    std::uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &pageWidth);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &pageRows);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    page.width = std::min<unsigned>(width, pageWidth);
    std::vector<std::uint8_t> line(std::size_t(TIFFScanlineSize(tif)));
    for (unsigned row = 0; row < pageRows && TIFFReadScanline(tif, line.data(), row, 0) >= 0; ++row) {
        for (std::size_t i = 0; i < page.bytesPerRow(); ++i)
            page.bits.push_back(photometric == PHOTOMETRIC_MINISBLACK ? std::uint8_t(~line[i]) : line[i]);
        if (page.width % 8) page.bits.back() &= std::uint8_t(0xFF00 >> (page.width % 8));
        ++page.rows;
    }
    TIFFClose(tif);
    return page;
}

// The band of `rows` rows with the most ink: what a fuzzer can mutate best.
Bitmap readBand(const fs::path& file, unsigned rows, unsigned width) {
    const Bitmap page = readPage(file, width);
    Bitmap band;
    band.width = page.width;
    std::size_t best = 0, bestInk = 0;
    for (std::size_t first = 0; first + rows <= page.rows; first += rows) {
        std::size_t ink = 0;
        for (std::size_t i = first * page.bytesPerRow(); i < (first + rows) * page.bytesPerRow(); ++i)
            ink += std::size_t(__builtin_popcount(page.bits[i]));
        if (ink > bestInk) best = first, bestInk = ink;
    }
    if (bestInk == 0) return band;
    band.rows = rows;
    const auto begin = page.bits.begin() + std::ptrdiff_t(best * page.bytesPerRow());
    band.bits.assign(begin, begin + std::ptrdiff_t(rows * page.bytesPerRow()));
    return band;
}

void writeSeed(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string bytesOf(const std::vector<std::uint8_t>& data) { return {data.begin(), data.end()}; }

void winFaxSeeds(const fs::path& corpus, const fs::path& out) {
    const fs::path folder = out / "file_conversion";
    int mode = 0;
    auto seed = [&](const std::string& name, const std::vector<WinFaxPage>& pages) {
        // Byte 0 chooses recount, split mode and PDF; each seed gets another choice.
        writeSeed(folder, name, std::string(1, char(mode++ % 8)) + quillon::test::buildWinFaxFile(pages));
    };
    std::vector<WinFaxPage> bands;
    for (const char* file : {"CCITT_1.TIF", "CCITT_2.TIF", "CCITT_4.TIF", "fax2d.tif", "g3test.tif"}) {
        const Bitmap band = readBand(corpus / file, 40, 1728);
        if (band.rows == 0) continue;
        for (const FaxPageCoding coding : {FaxPageCoding::T4OneDimensional, FaxPageCoding::T6}) {
            bands.push_back(quillon::test::winFaxPageFromBitmap(band, coding, std::uint8_t(bands.size() % 3)));
            seed(std::string(file) + (coding == FaxPageCoding::T6 ? ".t6" : ".t4") + ".fxd", {bands.back()});
        }
    }
    if (bands.size() < 2) return;
    seed("two-pages.fxd", {bands[0], bands[1]});
    WinFaxPage empty = bands[0];
    empty.data.clear();
    seed("empty-page.fxd", {bands[1], empty});
    WinFaxPage huge = bands[1];
    huge.width = 65535;
    huge.length = 65535;
    seed("huge-page.fxd", {huge});
}

void codedSeeds(const fs::path& corpus, const fs::path& out) {
    int n = 0;
    for (const char* file : {"CCITT_1.TIF", "CCITT_3.TIF", "fax2d.tif"}) {
        for (const unsigned width : {200u, 1728u}) {
            const Bitmap band = readBand(corpus / file, width < 1000 ? 24 : 6, width);
            if (band.rows == 0) continue;
            const std::string size{char((band.width - 1) & 0xFF), char((band.width - 1) >> 8)};
            for (const FaxPageCoding coding :
                 {FaxPageCoding::T4OneDimensional, FaxPageCoding::T4TwoDimensional, FaxPageCoding::T6}) {
                const std::string data = bytesOf(quillon::test::encodeFaxPage(band.bits.data(), band.width, band.rows, coding));
                // The pages are coded least significant bit first: fill order 2.
                const char codingByte = char(0x80 | int(coding));
                if (coding == FaxPageCoding::T6)
                    writeSeed(out / "encoder", "band" + std::to_string(n) + ".bin",
                              size + char(n % 3 == 0 ? 0 : n % 3 == 1 ? 5 : 0x87) + bytesOf(band.bits));
                writeSeed(out / "decoder", "band" + std::to_string(n) + ".bin", codingByte + size + data);
                // Schemes 5 and 6 are codings 2 and 3; T.6 is 4, with raw start.
                const char choice = char(0x08 | (coding == FaxPageCoding::T6 ? 0x14 : 2 + int(coding)));
                writeSeed(out / "codec", "band" + std::to_string(n) + ".bin",
                          choice + size + std::string("\xA0\x0F\x00", 3) + data);
                ++n;
            }
        }
    }
}

void textSeeds(const fs::path& out) {
    writeSeed(out / "ini", "settings.ini",
              std::string(1, '\0') + "[Main]\r\nSource=/home/a/faxes\r\nDest=/home/a/tif\r\n\r\n[Options]\r\n"
                                     "Interval=5\r\nKeepDate=1\r\n; comment\r\nName=\"quoted value\"\r\n");
    writeSeed(out / "ini", "plain.ini", std::string(1, '\x03') + "[a]\nx = 1\ny=0x1F\n[B]\nX=-7\n");
    writeSeed(out / "command_line", "folder.txt", std::string(1, '\0') + "/d=in /sd=out /i /kh /m=1 /filter=*.fx?");
    writeSeed(out / "command_line", "file.txt",
              std::string(1, '\0') + "/q /L /f=\"my fax.fxd\" /sf=\"out dir/a.tif\" /log=x.log /b=2 /v=4 /relines");
    writeSeed(out / "command_line", "wildcard.txt", std::string("\x01*.F?D\0report.fxd", 18));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillon_fuzz_seeds CORPUS-FOLDER SEED-FOLDER\n");
        return 2;
    }
    TIFFSetWarningHandler(nullptr);
    const fs::path corpus = argv[1], out = argv[2];
    textSeeds(out);
    if (!fs::exists(corpus / "CCITT_1.TIF")) {
        std::fprintf(stderr, "quillon_fuzz_seeds: no corpus in %s; only text seeds made\n", corpus.c_str());
        return 0;
    }
    winFaxSeeds(corpus, out);
    codedSeeds(corpus, out);
    quillon::fuzz_seeds::formatSeeds(readBand(corpus / "CCITT_1.TIF", 40, 1728), out);
    return 0;
}
