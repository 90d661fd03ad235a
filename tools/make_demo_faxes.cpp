// Makes a folder of demo WinFax files with drawn pages (a letterhead, lines of
// text-like word blocks, boxes and rules), several pages each, coded T.4 and
// T.6, at two widths and two resolutions, one of them in a sub-folder.
//
//   make_demo_faxes <folder>
//   make_demo_faxes --archive=COUNT <folder>
//
// --archive=COUNT writes COUNT small faxes instead (one page of 1728 x 400
// rows, a third of a letter page at 100 lines per inch, so that recognising
// their text is quick), spread over year sub-folders with the four
// extensions, for tests that need an archive of many files.

#include <cstdio>
#include <cstdlib>
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

bool writeFax(const std::filesystem::path& path, const DemoFax& fax, unsigned seed, unsigned rows = 0) {
    if (rows == 0) rows = fax.resolution == 0 ? 1100 : 2200;
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

int writeArchive(const std::filesystem::path& folder, unsigned count) {
    const char* extensions[] = {"fxd", "fxm", "fxr", "fxs"};
    for (unsigned i = 0; i < count; ++i) {
        const std::string name = std::to_string(2001 + i % 5) + "/fax-" + std::to_string(100 + i) + "." + extensions[i % 4];
        const DemoFax fax{name.c_str(), 1728, 0, {i % 2 ? FaxPageCoding::T6 : FaxPageCoding::T4OneDimensional}};
        if (!writeFax(folder / fax.name, fax, 1000 + i, 400)) {
            std::fprintf(stderr, "cannot write %s\n", (folder / fax.name).c_str());
            return 1;
        }
    }
    std::printf("%u WinFax files written to %s\n", count, folder.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string archive = argc == 3 ? argv[1] : "";
    if ((argc != 2 && argc != 3) || (argc == 3 && archive.rfind("--archive=", 0) != 0)) {
        std::fprintf(stderr, "usage: make_demo_faxes [--archive=COUNT] <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[argc - 1];
    if (argc == 3) {
        const int count = std::atoi(archive.c_str() + 10);
        if (count < 1 || count > 10000) {
            std::fprintf(stderr, "make_demo_faxes: --archive= takes a count from 1 to 10000\n");
            return 2;
        }
        return writeArchive(folder, static_cast<unsigned>(count));
    }
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
