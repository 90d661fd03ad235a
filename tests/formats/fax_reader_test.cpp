#include "formats/fax_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quillon {
namespace {

// The readers' reads, open to the test.
struct ExposedReader : FaxReader {
    using FaxReader::loadPageData;
};

// Bytes are copied from where the caller keeps them, never beyond their
// end: a page cut by the end of the file gets what is left, one beyond it none.
TEST(FaxReader, ReadsStopAtTheEndOfTheBytes) {
    std::vector<std::uint8_t> bytes(777);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 7);
    ExposedReader reader;
    EXPECT_FALSE(reader.openBytes(std::nullopt)) << "a source that is not read";
    EXPECT_FALSE(reader.isOpen());
    ASSERT_TRUE(reader.openBytes(std::span<const std::uint8_t>(bytes)));
    EXPECT_EQ(reader.fileSize(), 777);
    const struct {
        std::int64_t position;
        std::size_t size, present;
    } reads[] = {{0, 10, 10}, {770, 20, 7}, {777, 5, 0}, {5000, 5, 0}, {-1, 5, 0}};
    for (const auto& read : reads) {
        reader.loadPageData(read.position, read.size);
        ASSERT_EQ(reader.pageData().size(), read.present) << read.position;
        if (read.present > 0) {
            EXPECT_TRUE(std::equal(reader.pageData().begin(), reader.pageData().end(), bytes.begin() + read.position));
        }
    }
    reader.closeBytes();
    EXPECT_FALSE(reader.isOpen());
    reader.loadPageData(0, 10);
    EXPECT_TRUE(reader.pageData().empty()) << "nothing is read once closed";
}

TEST(FaxReader, PageTableHoldsAtMost1024Positions) {
    FaxReader reader;
    for (std::uint32_t i = 0; i < FaxReader::kMaxPages; ++i) ASSERT_TRUE(reader.addPagePosition(i * 10 + 5));
    EXPECT_FALSE(reader.addPagePosition(1));
    EXPECT_EQ(reader.pageCount(), 1024);
    EXPECT_EQ(reader.pagePosition(0), 5u);
    EXPECT_EQ(reader.pagePosition(1023), 10235u);
    EXPECT_EQ(reader.pagePosition(1024), 0u);
    EXPECT_EQ(reader.pagePosition(65535), 0u);
}

}  // namespace
}  // namespace quillon
