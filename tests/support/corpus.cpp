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
        {"CCITT_1.TIF", 0x420e0d92b10d4425ull, 1728, 2376},
        {"CCITT_2.TIF", 0x94a80bcb61f10c30ull, 1728, 2376},
        {"CCITT_3.TIF", 0x72e6c33da8bd448full, 1728, 2376},
        {"CCITT_4.TIF", 0x4d5beb39900ae2ddull, 1728, 2376},
        {"CCITT_5.TIF", 0x5ad8cf8e0a59403bull, 1728, 2376},
        {"CCITT_6.TIF", 0x398fd0008dd0fdd5ull, 1728, 2376},
        {"CCITT_7.TIF", 0xc54463dddd320cc4ull, 1728, 2376},
        {"CCITT_8.TIF", 0xf86f086d933ef0c3ull, 1728, 2376},
        {"G31D.TIF", 0x21bf281ae2d608c3ull, 2464, 3248},
        {"G32D.TIF", 0x21bf281ae2d608c3ull, 2464, 3248},
        {"G4.TIF", 0x21bf281ae2d608c3ull, 2464, 3248},
        {"fax2d.tif", 0xafcf81d8c6a4a027ull, 1728, 1082},
        {"g3test.tif", 0x1e3a864cd84176a0ull, 1728, 1103},
    });
    return pages;
}

std::vector<CorpusPage> ituPages() {
    const auto& all = corpusPages();
    return {all.begin(), all.begin() + 8};
}

WinFaxPage winFaxPageFromCorpus(const std::string& corpusFile, FaxPageCoding coding, std::uint8_t resolution) {
    const std::vector<Bitmap> pages = readTiffPages((corpusDir() / corpusFile).string());
    if (pages.empty()) return {};
    return winFaxPageFromBitmap(pages.front(), coding, resolution);
}

}  // namespace quillon::test
