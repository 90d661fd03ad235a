// Peak memory of whole conversions, measured in a child process so that the
// figure belongs to the conversion alone and not to earlier tests.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "engine/conversion_engine.h"
#include "support/temp_dir.h"
#include "support/winfax_writer.h"
#include "tiffcopy/tiff_messages.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon {
namespace {

using test::FaxPageCoding;
using test::WinFaxPage;

// What a conversion may hold beyond the process it starts in.
constexpr long kLimitKilobytes = 16 * 1024;

// The direct Group 4 road that conversions take, and the road through the
// intermediate file and the page copier.
enum class Road { Direct, Copier };

struct ChildOutcome {
    int convertResult = 1;
    bool hasImage = false;
    long peakKilobytes = 0;  // above the memory the child started with
};

long residentKilobytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int convert(ConversionEngine& engine, const std::string& output, Road road) {
    if (road == Road::Direct) return engine.writeG4(output, 0, engine.pageCount());
    const std::string intermediate = output + ".tmp";
    const int result = engine.convert(intermediate, kFormatWinFax);
    return result != 0 ? result : copyTiff(intermediate, output, {});
}

ChildOutcome convertInChild(const std::string& source, const std::string& output, bool recount, Road road) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        // A forked child's peak starts at what it shares with its parent.
        const long start = residentKilobytes();
        routeTiffMessages(TiffMessageTarget::discard);  // libtiff's remarks on the copier's damaged pages
        ConvertOptions options;
        options.recountLines = recount;
        ChildOutcome outcome;
        {
            ConversionEngine engine(options);
            engine.openSource(source, kFormatWinFax);
            outcome.hasImage = engine.hasImage();
            outcome.convertResult = convert(engine, output, road);
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
    for (const Road road : {Road::Direct, Road::Copier}) {
        for (const bool recount : {false, true}) {
            const ChildOutcome outcome = convertInChild(source, (dir_ / "huge.tif").string(), recount, road);
            EXPECT_TRUE(outcome.hasImage);
            EXPECT_EQ(outcome.convertResult, 0);
            EXPECT_GT(outcome.peakKilobytes, 0);
            EXPECT_LT(outcome.peakKilobytes, kLimitKilobytes) << "copier " << (road == Road::Copier) << " recount " << recount;
        }
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

    for (const Road road : {Road::Direct, Road::Copier}) {
        const ChildOutcome outcome = convertInChild(source, (dir_ / "long.tif").string(), true, road);
        EXPECT_TRUE(outcome.hasImage);
        EXPECT_EQ(outcome.convertResult, 0);
        EXPECT_GT(outcome.peakKilobytes, 0);
        EXPECT_LT(outcome.peakKilobytes, kLimitKilobytes) << "copier " << (road == Road::Copier);
    }
}

}  // namespace
}  // namespace quillon
