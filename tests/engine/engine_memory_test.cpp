// Peak memory of whole conversions, measured in a child process so that the
// figure belongs to the conversion alone and not to earlier tests.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "engine/conversion_engine.h"
#include "tiff/g4_tiff_output.h"
#include "formats/winfax_reader.h"
#include "platform/source_file.h"
#include "support/temp_dir.h"
#include "support/winfax_writer.h"

namespace quillon {
namespace {

using test::FaxPageCoding;
using test::WinFaxPage;

// What a conversion may hold beyond the process it starts in, besides the
// source's own bytes: the program reads the whole source into memory once,
// and every reader reads from there, so those bytes are granted on top.
constexpr long kLimitKilobytes = 16 * 1024;

// The TIFF file's bytes go to a file as the writer hands them out.
struct FileSink final : ByteSink {
    std::FILE* file;
    explicit FileSink(const std::string& path) : file(std::fopen(path.c_str(), "wb")) {}
    ~FileSink() override {
        if (file) std::fclose(file);
    }
    bool write(const unsigned char* data, std::size_t size) override {
        return file && std::fwrite(data, 1, size, file) == size;
    }
};

struct ChildOutcome {
    bool written = false;
    bool hasImage = false;
    long peakKilobytes = 0;  // above the memory the child started with
    long sourceKilobytes = 0;  // the source's bytes, held by the conversion
};

long residentKilobytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

ChildOutcome convertInChild(const std::string& source, const std::string& output, bool recount) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        // A forked child's peak starts at what it shares with its parent.
        const long start = residentKilobytes();
        ConvertOptions options;
        options.recountLines = recount;
        ChildOutcome outcome;
        {
            const platform::SourceFile file(source);
            // Held sources only: a larger one is read through its handle.
            if (file.contents().held()) outcome.sourceKilobytes = long(file.contents().size() / 1024) + 1;
            ConversionEngine engine(options, std::make_unique<WinFaxReader>());
            engine.openSource(file.contents());
            outcome.hasImage = engine.hasImage();
            FileSink sink(output);
            G4TiffOutput tiff;
            tiff.open(sink);
            const bool coded = engine.writeG4(tiff, 0, engine.pageCount(), G4Layout{});
            outcome.written = tiff.close() && coded;
        }
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        outcome.peakKilobytes = usage.ru_maxrss - start;
        const bool sent = write(channel[1], &outcome, sizeof outcome) == sizeof outcome;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    ChildOutcome outcome;
    if (read(channel[0], &outcome, sizeof outcome) != sizeof outcome) outcome = {};
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return outcome;
}

class EngineMemory : public ::testing::Test {
protected:
    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "the sanitizer's shadow memory hides the conversion's own use";
#endif
    }
    test::TempDir dir_;
};

TEST_F(EngineMemory, AHeaderOf65535By65535PixelsNeedsNoFullRaster) {
    // A white page of 65535-pixel lines: T.6 codes each as one bit, so 16 KB
    // of data reach the header's 65535 lines.
    WinFaxPage white;
    white.width = 65535;
    white.length = 65535;
    white.coding = 1;
    white.data.assign(16 * 1024, 0xFF);
    // A real coding of a few wide lines, T.4.
    test::Bitmap stripes;
    stripes.width = 65535;
    stripes.rows = 40;
    stripes.bits.assign(stripes.bytesPerRow() * stripes.rows, 0);
    for (std::size_t i = 0; i < stripes.bits.size(); i += 97) stripes.bits[i] = 0x3C;
    WinFaxPage wide = test::winFaxPageFromBitmap(stripes, FaxPageCoding::T4OneDimensional);
    wide.length = 65535;
    ASSERT_FALSE(wide.data.empty());

    // A page of 43650 x 9075 in one strip: 50 MB as a raster.
    WinFaxPage wideWhite = white;
    wideWhite.width = 43650;
    wideWhite.length = 9075;

    const std::string source = (dir_ / "huge.fxd").string();
    test::writeFile(source, test::buildWinFaxFile({white, wide, wideWhite}));
    for (const bool recount : {false, true}) {
        const ChildOutcome outcome = convertInChild(source, (dir_ / "huge.tif").string(), recount);
        EXPECT_TRUE(outcome.hasImage);
        EXPECT_TRUE(outcome.written);
        EXPECT_GT(outcome.peakKilobytes, 0);
        EXPECT_LT(outcome.peakKilobytes, kLimitKilobytes + outcome.sourceKilobytes) << "recount " << recount;
    }
}

TEST_F(EngineMemory, A1024PageRecountHoldsOnePageAtATime) {
    test::Bitmap bitmap;
    bitmap.width = 1728;
    bitmap.rows = 200;
    bitmap.bits.assign(bitmap.bytesPerRow() * bitmap.rows, 0);
    for (std::size_t i = 0; i < bitmap.bits.size(); i += 13) bitmap.bits[i] = 0x81;
    const WinFaxPage page = test::winFaxPageFromBitmap(bitmap, FaxPageCoding::T4OneDimensional);
    const std::string source = (dir_ / "long.fxd").string();
    test::writeFile(source, test::buildWinFaxFile(std::vector<WinFaxPage>(1024, page)));

    const ChildOutcome outcome = convertInChild(source, (dir_ / "long.tif").string(), true);
    EXPECT_TRUE(outcome.hasImage);
    EXPECT_TRUE(outcome.written);
    EXPECT_GT(outcome.peakKilobytes, 0);
    EXPECT_LT(outcome.peakKilobytes, kLimitKilobytes + outcome.sourceKilobytes);
}

}  // namespace
}  // namespace quillon
