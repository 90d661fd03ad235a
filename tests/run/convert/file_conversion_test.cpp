// convertFile on real WinFax files: skipping, failing copies and dates.

#include "run/convert/file_conversion.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "run/outcome/results_lines.h"
#include "run/convert/output_names.h"
#include "support/temp_dir.h"
#include "support/winfax_writer.h"

namespace quillon {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// A small one-page fax drawn in the test.
std::string writeSmallFax(const std::filesystem::path& path) {
    test::Bitmap page;
    page.width = 1728;
    page.rows = 16;
    page.bits.assign(page.bytesPerRow() * page.rows, 0);
    for (unsigned row = 4; row < 12; ++row) page.bits[row * page.bytesPerRow() + 20] = 0xF0;
    writeFile(path, test::buildWinFaxFile({test::winFaxPageFromBitmap(page, test::FaxPageCoding::T6)}));
    return path.string();
}

TEST(ConvertFile, SkipsOnlyOutputsThatHoldBytes) {
    TempDir dir;
    const std::string fax = writeSmallFax(dir / "a.fxd");
    BatchJob job;
    job.skipExisting = true;

    writeFile(dir / "empty.tif", "");
    EXPECT_EQ(convertFile(job, fax, (dir / "empty.tif").string()).result, FileResult::Converted);
    EXPECT_GT(std::filesystem::file_size(dir / "empty.tif"), 100u);

    writeFile(dir / "one.tif", "x");
    const FileOutcome skipped = convertFile(job, fax, (dir / "one.tif").string());
    EXPECT_EQ(skipped.result, FileResult::SkippedExisting);
    EXPECT_EQ(resultsLines(skipped), fax + " --> " + (dir / "one.tif").string() + " : Skipped : " +
                                         (dir / "one.tif").string() + " already exist!\r\n");
    EXPECT_EQ(readFile(dir / "one.tif"), "x");
}

TEST(ConvertFile, FailedCopyStaysFailedWithKeepDateAndKeepsTheEarlierOutput) {
    TempDir dir;
    const std::string fax = writeSmallFax(dir / "a.fxd");
    BatchJob job;
    job.keepDate = true;
    // A folder where the output file should go: the copy cannot be put in place.
    std::filesystem::create_directories(dir / "out.tif" / "keep");
    const FileOutcome failed = convertFile(job, fax, (dir / "out.tif").string());
    EXPECT_EQ(failed.result, FileResult::WriteFailed);
    EXPECT_EQ(resultCode(failed.result), -7);
    EXPECT_NE(resultsLines(failed).find("Failed : Error in converting FAX to TIFF !\r\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "out.tif" / "keep"));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << "temporary file left";
}

TEST(PageFileName, NumberReplacesTheExtension) {
    EXPECT_EQ(pageFileName("/out/a.tif", 1, ".tif"), "/out/a001.tif");
    EXPECT_EQ(pageFileName("/out/a.b.tif", 12, ".tif"), "/out/a.b012.tif");
    EXPECT_EQ(pageFileName("/out/a", 999, ".tif"), "/out/a999.tif");
    // A dot in a folder name is no extension.
    EXPECT_EQ(pageFileName("/tmp/run.d/a", 2, ".tif"), "/tmp/run.d/a002.tif");
    // Pages past 999 keep their own number instead of wrapping onto page 1.
    EXPECT_EQ(pageFileName("/out/a.tif", 1001, ".tif"), "/out/a1001.tif");
    EXPECT_EQ(pageFileName("/out/a.PDF", 3, ".pdf"), "/out/a003.pdf");
}

}  // namespace
}  // namespace quillon
