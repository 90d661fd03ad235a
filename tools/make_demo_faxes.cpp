// Makes a folder of demo WinFax files with drawn pages (a letterhead, lines of
// text-like word blocks, boxes and rules), several pages each, coded T.4 and
// T.6, at two widths and two resolutions, one of them in a sub-folder.
//
//   make_demo_faxes <folder>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/drawn_page.h"
#include "support/winfax_writer.h"

namespace {

using quillon::test::Bitmap;
using quillon::test::FaxPageCoding;
using quillon::test::WinFaxPage;

struct DemoFax {
    const char* name;
    unsigned width;
    std::uint8_t resolution;                   // 0: 100 lines per inch, 1: 200
    std::vector<FaxPageCoding> pages;
};

bool writeFax(const std::filesystem::path& path, const DemoFax& fax, unsigned seed) {
    const unsigned rows = fax.resolution == 0 ? 1100 : 2200;
    std::vector<WinFaxPage> pages;
    for (FaxPageCoding coding : fax.pages) {
        WinFaxPage page = quillon::test::winFaxPageFromBitmap(quillon::test::drawnPage(fax.width, rows, seed++), coding, fax.resolution);
        if (page.data.empty()) return false;
        pages.push_back(std::move(page));
    }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = quillon::test::buildWinFaxFile(pages);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_faxes <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    using C = FaxPageCoding;
    const DemoFax faxes[] = {
        {"invoice-2009-03.fxd", 1728, 1, {C::T4OneDimensional, C::T4OneDimensional, C::T6}},
        {"memo.fxm", 2048, 0, {C::T6}},
        {"archive/letter-2008-11.fxs", 1728, 0, {C::T4OneDimensional, C::T6}},
        {"archive/order-form.fxr", 2048, 1, {C::T6, C::T6, C::T4OneDimensional, C::T6}},
    };
    unsigned seed = 1;
    for (const DemoFax& fax : faxes) {
        if (!writeFax(folder / fax.name, fax, seed)) {
            std::fprintf(stderr, "cannot write %s\n", (folder / fax.name).c_str());
            return 1;
        }
        seed += 10;
    }
    std::printf("Demo WinFax files written to %s\n", folder.c_str());
    return 0;
}
