// The file manager's thumbnailer run as a file manager runs it, on a drawn
// page and on hostile files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "support/printed_page.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/winfax_writer.h"

namespace quillon::test {
namespace {

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The 8-bit gray pixels of an image file, through ImageMagick.
struct Gray {
    unsigned width = 0, rows = 0;
    std::string pixels;
};
Gray grayPixels(const std::vector<std::string>& convertArgs) {
    std::vector<std::string> args = convertArgs;
    args.push_back("-depth");
    args.push_back("8");
    args.push_back("pgm:-");
    const ProcessResult r = runProcess("/usr/bin/convert", args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    Gray gray;
    std::size_t at = 0;
    const std::string& pgm = r.out;
    const auto number = [&] {
        while (at < pgm.size() && std::isspace(static_cast<unsigned char>(pgm[at]))) ++at;
        std::size_t end = at;
        while (end < pgm.size() && std::isdigit(static_cast<unsigned char>(pgm[end]))) ++end;
        const unsigned value = unsigned(std::strtoul(pgm.substr(at, end - at).c_str(), nullptr, 10));
        at = end;
        return value;
    };
    if (pgm.compare(0, 2, "P5") != 0) return gray;
    at = 2;
    gray.width = number();
    gray.rows = number();
    number();  // 255
    gray.pixels = pgm.substr(at + 1);
    return gray;
}

// A standard-resolution letter (half as many rows per inch as columns): its
// thumbnail is the page at its printed proportions, the pixels those of
// ImageMagick's area average of the same page (within a few levels of gray).
TEST(Thumbnailer, MakesThePageSmallAtItsPrintedProportions) {
    TempDir work;
    const PrintedPage& letter = printedPage(Sheet::Letter, 100);
    writeBytes(work / "letter.fxd", buildWinFaxFile({winFaxPageFromBitmap(letter.bitmap, FaxPageCoding::T6, 0)}));
    const std::string png = (work / "letter.png").string();
    const ProcessResult r = runProcess(QUILLON_THUMBNAILER, {"-s", "256", (work / "letter.fxd").string(), png});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Gray ours = grayPixels({png});
    ASSERT_EQ(ours.rows, 256u) << "an 11-inch page is taller than wide";
    EXPECT_NEAR(ours.width, 256.0 * 8.64 / 11, 1.0) << "1728 columns at 200 per inch";

    std::string pbm = "P4\n" + std::to_string(letter.bitmap.width) + " " + std::to_string(letter.bitmap.rows) + "\n";
    pbm.append(letter.bitmap.bits.begin(), letter.bitmap.bits.end());
    writeBytes(work / "letter.pbm", pbm);
    const Gray theirs = grayPixels({(work / "letter.pbm").string(), "-filter", "box", "-resize",
                                    std::to_string(ours.width) + "x" + std::to_string(ours.rows) + "!"});
    ASSERT_EQ(theirs.pixels.size(), ours.pixels.size());
    ASSERT_EQ(ours.pixels.size(), std::size_t(ours.width) * ours.rows);
    double difference = 0;
    unsigned inked = 0;
    for (std::size_t i = 0; i < ours.pixels.size(); ++i) {
        difference += std::abs(int(std::uint8_t(ours.pixels[i])) - int(std::uint8_t(theirs.pixels[i])));
        inked += std::uint8_t(ours.pixels[i]) < 224;
    }
    EXPECT_LT(difference / double(ours.pixels.size()), 3.0);
    EXPECT_GT(inked, ours.pixels.size() / 50) << "the letter's text shows";
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's shadow memory takes terabytes of addresses and hides the
// thumbnailer's own use: only crashes and lines are checked.
constexpr bool kMeasuresMemory = false;
constexpr const char* kMemoryLimit = "--nofile=1024";
#else
constexpr bool kMeasuresMemory = true;
constexpr const char* kMemoryLimit = "--as=1000000000";
#endif

// Files a file manager may meet in any folder: each gets a PNG or a line on
// standard error, within a bounded memory, never a crash.
TEST(Thumbnailer, HostileFilesGetALineNeverACrash) {
    TempDir work;
    std::mt19937 random(7);
    std::string noise(64 << 10, '\0');
    for (char& byte : noise) byte = char(random());
    WinFaxPage huge;  // a page header claiming 65535 by 65535 pixels over noise
    huge.width = 65535;
    huge.length = 65535;
    huge.coding = 1;
    huge.data.assign(noise.begin(), noise.end());
    WinFaxPage cut = winFaxPageFromBitmap(printedPage(Sheet::Memo, 200).bitmap, FaxPageCoding::T6, 1);
    const std::string cutFile = buildWinFaxFile({cut});
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.fxd", ""},
        {"noise.fxd", noise},
        {"huge.fxd", buildWinFaxFile({huge})},
        {"cut.fxd", cutFile.substr(0, cutFile.size() / 3)},
        {"noise.dcx", noise},
        {"noise.cals", noise},
        {"noise.tif", "II*\0" + noise},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        writeBytes(work / name, bytes);
        const ProcessResult r = runProcess("/usr/bin/prlimit", {kMemoryLimit, "--cpu=20", QUILLON_THUMBNAILER, "-s", "1024",
                                                                (work / name).string(), (work / (name + ".png")).string()});
        EXPECT_EQ(r.signal, 0);
        if (kMeasuresMemory) {
            EXPECT_LT(r.peakKilobytes, 128 * 1024);
        }
        if (r.exitCode == 0) {
            EXPECT_TRUE(std::filesystem::file_size(work / (name + ".png")) > 0);
        } else {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.err.rfind("quillon-thumbnailer: " + (work / name).string() + ": ", 0), 0u) << r.err;
            EXPECT_FALSE(std::filesystem::exists(work / (name + ".png")));
        }
    }
}

}  // namespace
}  // namespace quillon::test
