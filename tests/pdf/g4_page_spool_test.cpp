// Pages kept for the PDF writer come back byte for byte, from memory and
// from the spill file alike.

#include "pdf/g4_page_spool.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace quillon {
namespace {

std::vector<std::uint8_t> bytes(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = std::uint8_t(seed + i * 7 + i / 251);
    return data;
}

G4PageFields fields(std::uint32_t width) {
    G4PageFields page;
    page.width = width;
    page.msbFirst = true;
    page.xResolution = 204;
    page.yResolution = 196;
    return page;
}

TEST(G4PageSpool, PagesComeBackWholeOnEitherSideOfTheMemoryLimit) {
    test::TempDir dir;
    const std::string spill = (dir / "pages.g4").string();
    std::vector<std::vector<std::uint8_t>> written;
    {
        G4PageSpool spool(spill);
        // Small pages in memory, one page in two strips that crosses the
        // limit (it moves to the file whole), then a page after it.
        const std::size_t sizes[][2] = {{1000, 0}, {G4PageSpool::kMemoryBytes / 2, 17},
                                        {G4PageSpool::kMemoryBytes / 3, G4PageSpool::kMemoryBytes / 3}, {5, 0}};
        for (const auto& strips : sizes) {
            ASSERT_TRUE(spool.beginPage(fields(1728)));
            std::vector<std::uint8_t> page;
            for (const std::size_t size : strips) {
                if (size == 0) continue;
                const auto strip = bytes(size, std::uint8_t(written.size() * 31 + page.size()));
                ASSERT_TRUE(spool.writeStrip(strip));
                page.insert(page.end(), strip.begin(), strip.end());
            }
            ASSERT_TRUE(spool.endPage(std::uint32_t(written.size() + 1)));
            written.push_back(page);
        }
        EXPECT_TRUE(std::filesystem::exists(spill));
        ASSERT_EQ(spool.pages().size(), written.size());
        std::vector<std::uint8_t> data;
        for (std::size_t i = written.size(); i-- > 0;) {  // read out of order, as a writer may
            ASSERT_TRUE(spool.readCodedData(i, data));
            EXPECT_EQ(data, written[i]) << "page " << i;
            EXPECT_EQ(spool.pages()[i].rows, i + 1);
        }
        EXPECT_FALSE(spool.readCodedData(written.size(), data));
    }
    EXPECT_FALSE(std::filesystem::exists(spill)) << "the spill file outlives its spool";
}

TEST(G4PageSpool, RefusesPagesAPdfCannotShow) {
    test::TempDir dir;
    G4PageSpool spool((dir / "pages.g4").string());
    G4PageFields lsbFirst = fields(1728);
    lsbFirst.msbFirst = false;
    EXPECT_FALSE(spool.beginPage(lsbFirst));
    EXPECT_FALSE(spool.writeStrip(bytes(10, 1)));
    G4PageSpool noResolution((dir / "other.g4").string());
    G4PageFields flat = fields(1728);
    flat.yResolution = 0;
    EXPECT_FALSE(noResolution.beginPage(flat));
    EXPECT_TRUE(noResolution.pages().empty());
}

}  // namespace
}  // namespace quillon
