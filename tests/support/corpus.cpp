#include "support/corpus.h"

#include "support/pixel_hash.h"

namespace quillon::test {

std::filesystem::path corpusDir() {
    if (const char* dir = std::getenv("QUILLON_CORPUS")) return dir;
    return QUILLON_CORPUS_DIR;
}

bool corpusAvailable() { return std::filesystem::exists(corpusDir() / "CCITT_1.TIF"); }

namespace {

std::vector<CorpusPage> withLibtiffHashes(std::vector<CorpusPage> pages) {
    if (!corpusAvailable()) return pages;
    for (CorpusPage& page : pages) {
        const std::vector<Bitmap> decoded = readTiffPages((corpusDir() / page.file).string());
        if (!decoded.empty()) page.hash = decoded.front().hash();
    }
    return pages;
}

}  // namespace

const std::vector<CorpusPage>& corpusPages() {
    static const std::vector<CorpusPage> pages = withLibtiffHashes({
        {"CCITT_1.TIF", 0xe62f542213ecfc6full, 1728, 2376},
        {"CCITT_2.TIF", 0x5c01055a144dcd26ull, 1728, 2376},
        {"CCITT_3.TIF", 0x3d42d1c061f40a19ull, 1728, 2376},
        {"CCITT_4.TIF", 0x1faa60a5958bed0bull, 1728, 2376},
        {"CCITT_5.TIF", 0xddb85d06d7f18335ull, 1728, 2376},
        {"CCITT_6.TIF", 0xd06b729c1f3f985full, 1728, 2376},
        {"CCITT_7.TIF", 0xa00c69501a4de9daull, 1728, 2376},
        {"CCITT_8.TIF", 0x140b53102b93896dull, 1728, 2376},
        {"G31D.TIF", 0xc069c1c34e8971adull, 2464, 3248},
        {"G32D.TIF", 0xc069c1c34e8971adull, 2464, 3248},
        {"G4.TIF", 0xc069c1c34e8971adull, 2464, 3248},
        {"fax2d.tif", 0x73a0099d3ac91429ull, 1728, 1082},
        {"g3test.tif", 0x8db5914b59355672ull, 1728, 1103},
    });
    return pages;
}

std::vector<CorpusPage> ituPages() {
    const auto& all = corpusPages();
    return {all.begin(), all.begin() + 8};
}

}  // namespace quillon::test
