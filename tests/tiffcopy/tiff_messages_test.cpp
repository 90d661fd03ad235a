// Where libtiff's messages and the copier's own end up.

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "tiffcopy/tag_copy.h"
#include "tiffcopy/test_images.h"
#include "tiffcopy/tiff_messages.h"

namespace quillon::test {
namespace {

class TiffMessageRouting : public testing::Test {
protected:
    void TearDown() override {
        routeTiffMessages(TiffMessageTarget::standardError);
        takeTiffMessages();
    }
};

TEST_F(TiffMessageRouting, StandardErrorShowsLibtiffsOwnLayout) {
    routeTiffMessages(TiffMessageTarget::standardError);
    testing::internal::CaptureStderr();
    TIFFWarning("page.tif", "value %d is odd", 5);
    TIFFError("page.tif", "cannot read %s", "strip 3");
    TIFFError(nullptr, "no module");
    reportTiffMessage("tiffcp: page.tif: Don't know how to copy/convert image.\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "page.tif: Warning, value 5 is odd.\n"
              "page.tif: cannot read strip 3.\n"
              "no module.\n"
              "tiffcp: page.tif: Don't know how to copy/convert image.\n");
    EXPECT_TRUE(takeTiffMessages().empty());
}

TEST_F(TiffMessageRouting, ErrorsToStandardErrorDropsOnlyWarnings) {
    routeTiffMessages(TiffMessageTarget::errorsToStandardError);
    testing::internal::CaptureStderr();
    TIFFWarning("page.tif", "odd");
    TIFFError("page.tif", "broken");
    reportTiffMessage("tiffcp: page.tif: Don't know how to copy/convert image.\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "page.tif: broken.\n"
              "tiffcp: page.tif: Don't know how to copy/convert image.\n");
    EXPECT_TRUE(takeTiffMessages().empty());
}

TEST_F(TiffMessageRouting, CollectKeepsLinesInOrderAwayFromTheConsole) {
    routeTiffMessages(TiffMessageTarget::collect);
    takeTiffMessages();
    testing::internal::CaptureStderr();
    TIFFWarning("a.tif", "first");
    reportTiffMessage("second\n");
    TIFFError("a.tif", "third");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(takeTiffMessages(), (std::vector<std::string>{"a.tif: Warning, first.\n", "second\n", "a.tif: third.\n"}));
    EXPECT_TRUE(takeTiffMessages().empty());
}

TEST_F(TiffMessageRouting, CollectStopsAtItsLimit) {
    routeTiffMessages(TiffMessageTarget::collect);
    takeTiffMessages();
    for (std::size_t i = 0; i < maxCollectedTiffMessages + 50; ++i) TIFFWarning("a.tif", "row %zu", i);
    const auto lines = takeTiffMessages();
    ASSERT_EQ(lines.size(), maxCollectedTiffMessages);
    EXPECT_EQ(lines.back(), "a.tif: Warning, row " + std::to_string(maxCollectedTiffMessages - 1) + ".\n");
}

TEST_F(TiffMessageRouting, DiscardShowsAndKeepsNothing) {
    routeTiffMessages(TiffMessageTarget::discard);
    testing::internal::CaptureStderr();
    TIFFWarning("a.tif", "gone");
    reportTiffMessage("gone too\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(takeTiffMessages().empty());
}

TEST_F(TiffMessageRouting, TagOfAnUncopyableTypeIsSkippedWithItsMessage) {
    TempDir dir;
    const std::string input = (dir / "in.tif").string();
    TestImage page = faxPage(100, 10, COMPRESSION_NONE);
    writeTestTiff(input, {page});
    TIFF* in = TIFFOpen(input.c_str(), "r");
    TIFF* out = TIFFOpen((dir / "out.tif").c_str(), "w");
    ASSERT_TRUE(in && out);
    routeTiffMessages(TiffMessageTarget::collect);
    takeTiffMessages();

    copyTag(in, out, TIFFTAG_SOFTWARE, 1, TIFF_BYTE);
    copyTag(in, out, TIFFTAG_IMAGEWIDTH, 1, TIFF_LONG);

    // libtiff's layout adds its own period after the message's.
    EXPECT_EQ(takeTiffMessages(),
              std::vector<std::string>{input + ": Data type 1 is not supported, tag 305 skipped..\n"});
    char* software = nullptr;
    EXPECT_FALSE(TIFFGetField(out, TIFFTAG_SOFTWARE, &software));
    std::uint32_t width = 0;
    EXPECT_TRUE(TIFFGetField(out, TIFFTAG_IMAGEWIDTH, &width));
    EXPECT_EQ(width, 100u);
    TIFFClose(in);
    TIFFClose(out);
}

}  // namespace
}  // namespace quillon::test
