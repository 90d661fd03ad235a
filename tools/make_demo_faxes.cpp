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

#include "support/pixel_hash.h"
#include "support/winfax_writer.h"

namespace {

using quillon::test::Bitmap;
using quillon::test::FaxPageCoding;
using quillon::test::WinFaxPage;

class Canvas {
public:
    Canvas(unsigned width, unsigned rows) {
        page_.width = width;
        page_.rows = rows;
        page_.bits.assign(page_.bytesPerRow() * rows, 0);
    }
    void fill(unsigned x, unsigned y, unsigned w, unsigned h) {
        for (unsigned row = y; row < y + h && row < page_.rows; ++row)
            for (unsigned col = x; col < x + w && col < page_.width; ++col)
                page_.bits[row * page_.bytesPerRow() + col / 8] |= static_cast<std::uint8_t>(0x80 >> (col % 8));
    }
    void frame(unsigned x, unsigned y, unsigned w, unsigned h, unsigned t) {
        fill(x, y, w, t);
        fill(x, y + h - t, w, t);
        fill(x, y, t, h);
        fill(x + w - t, y, t, h);
    }
    // A line of "words": blocks of glyph-like strokes with gaps between them.
    void textLine(unsigned x, unsigned y, unsigned width, unsigned height, std::mt19937& random) {
        unsigned pos = x;
        while (pos + 40 < x + width) {
            const unsigned letters = 2 + random() % 8;
            for (unsigned i = 0; i < letters && pos + 12 < x + width; ++i) {
                const unsigned stroke = 2 + random() % 3;
                fill(pos, y + random() % (height / 3), stroke, height - height / 3);
                fill(pos, y + height - 3, 8 + random() % 4, 3);
                pos += 12 + random() % 4;
            }
            pos += 18 + random() % 10;
        }
    }
    const Bitmap& page() const { return page_; }

private:
    Bitmap page_;
};

Bitmap drawPage(unsigned width, unsigned rows, unsigned seed) {
    std::mt19937 random(seed);
    Canvas canvas(width, rows);
    const unsigned margin = width / 12;
    const unsigned inner = width - 2 * margin;
    const unsigned lineHeight = rows / 80 + 8;
    canvas.fill(margin, rows / 30, inner / 3, lineHeight * 2);                  // letterhead
    canvas.frame(width - margin - inner / 3, rows / 30, inner / 3, lineHeight * 4, 3);
    canvas.fill(margin, rows / 30 + lineHeight * 5, inner, 4);                  // rule
    unsigned y = rows / 30 + lineHeight * 7;
    while (y + lineHeight * 8 < rows) {
        const unsigned paragraph = 3 + random() % 6;
        for (unsigned line = 0; line < paragraph && y + lineHeight * 8 < rows; ++line) {
            const unsigned length = line + 1 == paragraph ? inner / 2 + random() % (inner / 3) : inner;
            canvas.textLine(margin, y, length, lineHeight, random);
            y += lineHeight * 2;
        }
        y += lineHeight;
        if (random() % 4 == 0 && y + lineHeight * 12 < rows) {  // a table
            canvas.frame(margin, y, inner, lineHeight * 9, 2);
            for (unsigned r = 1; r < 3; ++r) canvas.fill(margin, y + r * lineHeight * 3, inner, 2);
            canvas.fill(margin + inner / 3, y, 2, lineHeight * 9);
            y += lineHeight * 11;
        }
    }
    canvas.fill(margin, rows - lineHeight * 5, inner / 4, 2);                  // signature line
    return canvas.page();
}

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
        WinFaxPage page = quillon::test::winFaxPageFromBitmap(drawPage(fax.width, rows, seed++), coding, fax.resolution);
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
