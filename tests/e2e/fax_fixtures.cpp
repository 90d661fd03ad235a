#include "e2e/fax_fixtures.h"

#include <gtest/gtest.h>

#include <map>

#include "support/corpus.h"
#include "support/pixel_hash.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"

namespace quillon::test {

WinFaxPage fixturePage(const FixturePage& page) {
    static std::map<std::pair<std::string, int>, WinFaxPage> cache;
    const auto key = std::make_pair(std::string(page.corpusFile), static_cast<int>(page.coding));
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, winFaxPageFromCorpus(page.corpusFile, page.coding)).first;
    WinFaxPage coded = it->second;
    coded.resolution = page.resolution;
    return coded;
}

std::uint64_t fixtureHash(const FixturePage& page) {
    for (const CorpusPage& corpus : corpusPages())
        if (corpus.file == page.corpusFile) return corpus.hash;
    ADD_FAILURE() << "not a corpus file: " << page.corpusFile;
    return 0;
}

std::string writeFax(const std::filesystem::path& path, const std::vector<FixturePage>& pages) {
    std::vector<WinFaxPage> coded;
    for (const FixturePage& page : pages) coded.push_back(fixturePage(page));
    writeFile(path, buildWinFaxFile(coded));
    return path.string();
}

void expectTiffPages(const std::string& tiff, const std::vector<FixturePage>& pages, unsigned firstIndex,
                     unsigned pageCount) {
    const std::vector<TiffPageInfo> info = readTiffInfo(tiff);
    const std::vector<Bitmap> bitmaps = readTiffPages(tiff);
    ASSERT_EQ(info.size(), pages.size()) << tiff;
    ASSERT_EQ(bitmaps.size(), pages.size()) << tiff;
    if (pageCount == 0) pageCount = static_cast<unsigned>(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(tiff + " page " + std::to_string(i));
        EXPECT_EQ(info[i].compression, 4);
        EXPECT_EQ(info[i].fillOrder, 2);
        EXPECT_EQ(info[i].xResolution, 200.0f);
        EXPECT_EQ(info[i].yResolution, pages[i].resolution == 0 ? 100.0f : pages[i].resolution == 1 ? 200.0f : 400.0f);
        EXPECT_EQ(info[i].pageIndex, firstIndex + i);
        EXPECT_EQ(info[i].pageCount, pageCount);
        EXPECT_EQ(bitmaps[i].hash(), fixtureHash(pages[i]));
    }
}

}  // namespace quillon::test
