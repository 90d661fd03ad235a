#include "formats/fax_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace quillon {
namespace {

using test::TempDir;

TEST(FaxReader, OpenTakesTheSizeAndCloseReportsNothingOpen) {
    TempDir dir;
    test::writeFile(dir / "a.fxd", std::string(777, 'x'));
    FaxReader reader;
    EXPECT_EQ(reader.openFile((dir / "missing.fxd").string()), -1);
    EXPECT_FALSE(reader.isOpen());
    ASSERT_EQ(reader.openFile((dir / "a.fxd").string()), 0);
    EXPECT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.fileSize(), 777);
    EXPECT_EQ(reader.closeFile(), 0);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(reader.closeFile(), 0);
}

TEST(FaxReader, OnlyRegularFilesAreOpened) {
    TempDir dir;
    const std::string fifo = (dir / "pipe.fxd").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    FaxReader reader;
    EXPECT_EQ(reader.openFile(fifo), -1);  // without waiting for a writer
    EXPECT_EQ(reader.openFile(dir.str()), -1);
    EXPECT_FALSE(reader.isOpen());
}

TEST(FaxReader, PageTableHoldsAtMost1024Positions) {
    FaxReader reader;
    for (std::uint32_t i = 0; i < FaxReader::kMaxPages; ++i) ASSERT_EQ(reader.addPagePosition(i * 10 + 5), 0);
    EXPECT_EQ(reader.addPagePosition(1), -1);
    EXPECT_EQ(reader.pageCount(), 1024);
    EXPECT_EQ(reader.pagePosition(0), 5u);
    EXPECT_EQ(reader.pagePosition(1023), 10235u);
    EXPECT_EQ(reader.pagePosition(1024), 0u);
    EXPECT_EQ(reader.pagePosition(65535), 0u);
}

}  // namespace
}  // namespace quillon
