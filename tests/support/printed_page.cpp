#include "support/printed_page.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>

namespace quillon::test {

namespace {

FT_Face face(Font font) {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0) {
            std::fprintf(stderr, "FreeType cannot start\n");
            std::abort();
        }
        return made;
    }();
    static std::map<Font, FT_Face> faces;
    auto it = faces.find(font);
    if (it != faces.end()) return it->second;
    const char* file = font == Font::Serif ? "DejaVuSerif.ttf"
                       : font == Font::Sans ? "DejaVuSans.ttf"
                       : font == Font::SansBold ? "DejaVuSans-Bold.ttf"
                                                : "DejaVuSansMono.ttf";
    const std::string path = std::string(QUILLON_TEST_FONT_DIR) + "/" + file;
    FT_Face loaded = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &loaded) != 0) {
        std::fprintf(stderr, "cannot load the font %s (Debian package fonts-dejavu-core)\n", path.c_str());
        std::abort();
    }
    return faces.emplace(font, loaded).first->second;
}

// Draws on a page with positions in points from its top left corner, so
// that one layout gives the same page at every number of lines per inch.
class Printer {
public:
    Printer(unsigned width, unsigned linesPerInch) : linesPerInch_(linesPerInch) {
        page_.bitmap.width = width;
        page_.bitmap.rows = 11 * linesPerInch;
        page_.bitmap.bits.assign(page_.bitmap.bytesPerRow() * page_.bitmap.rows, 0);
    }

    static unsigned across(double points) { return unsigned(points * 200 / 72 + 0.5); }
    unsigned down(double points) const { return unsigned(points * linesPerInch_ / 72 + 0.5); }

    void fill(double x, double y, double w, double h) {
        const unsigned x0 = across(x), y0 = down(y);
        const unsigned x1 = std::max(across(x + w), x0 + 1), y1 = std::max(down(y + h), y0 + 1);
        for (unsigned row = y0; row < y1 && row < page_.bitmap.rows; ++row)
            for (unsigned col = x0; col < x1 && col < page_.bitmap.width; ++col) set(col, row);
    }
    void box(double x, double y, double w, double h, double line) {
        fill(x, y, w, line);
        fill(x, y + h - line, w, line);
        fill(x, y, line, h);
        fill(x + w - line, y, line, h);
    }

    // One line of text with its baseline at y; returns where it ends.
    double text(Font font, double size, double x, double y, const std::string& words) {
        FT_Face f = face(font);
        FT_Set_Char_Size(f, 0, FT_F26Dot6(size * 64), 200, linesPerInch_);
        long pen = long(across(x));
        const long baseline = long(down(y));
        std::istringstream split(words);
        std::string line;
        for (std::string word; split >> word;) {
            if (!line.empty()) {
                FT_Load_Char(f, ' ', FT_LOAD_DEFAULT);
                pen += f->glyph->advance.x >> 6;
                line += ' ';
            }
            PrintedWord printed{word, page_.bitmap.width, page_.bitmap.rows, 0, 0};
            for (const char c : word) {
                FT_Load_Char(f, FT_ULong(static_cast<unsigned char>(c)), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
                const FT_Bitmap& glyph = f->glyph->bitmap;
                const long left = pen + f->glyph->bitmap_left, top = baseline - f->glyph->bitmap_top;
                for (unsigned r = 0; r < glyph.rows; ++r)
                    for (unsigned c2 = 0; c2 < glyph.width; ++c2)
                        if (glyph.buffer[r * unsigned(glyph.pitch) + c2 / 8] & (0x80 >> (c2 % 8)) &&
                            set(left + long(c2), top + long(r))) {
                            printed.left = std::min(printed.left, unsigned(left + long(c2)));
                            printed.right = std::max(printed.right, unsigned(left + long(c2)) + 1);
                            printed.top = std::min(printed.top, unsigned(top + long(r)));
                            printed.bottom = std::max(printed.bottom, unsigned(top + long(r)) + 1);
                        }
                pen += f->glyph->advance.x >> 6;
            }
            page_.words.push_back(printed);
            line += word;
        }
        page_.lines.push_back(line);
        return double(pen) * 72 / 200;
    }

    // Text set in lines no wider than width, size * 1.35 apart, none below
    // bottom; returns the baseline below the last line.
    double paragraph(Font font, double size, double x, double y, double width, const std::string& words,
                     double bottom = 1e9) {
        FT_Face f = face(font);
        FT_Set_Char_Size(f, 0, FT_F26Dot6(size * 64), 200, linesPerInch_);
        std::istringstream split(words);
        std::string line;
        const auto measure = [&](const std::string& s) {
            long advance = 0;
            for (const char c : s) {
                FT_Load_Char(f, FT_ULong(static_cast<unsigned char>(c)), FT_LOAD_DEFAULT);
                advance += f->glyph->advance.x >> 6;
            }
            return double(advance) * 72 / 200;
        };
        for (std::string word; split >> word;) {
            const std::string longer = line.empty() ? word : line + " " + word;
            if (!line.empty() && measure(longer) > width) {
                if (y > bottom) return y;
                text(font, size, x, y, line);
                y += size * 1.35;
                line = word;
            } else {
                line = longer;
            }
        }
        if (line.empty() || y > bottom) return y;
        text(font, size, x, y, line);
        return y + size * 1.35;
    }

    PrintedPage take() { return std::move(page_); }

private:
    bool set(long col, long row) {
        if (col < 0 || row < 0 || col >= long(page_.bitmap.width) || row >= long(page_.bitmap.rows)) return false;
        page_.bitmap.bits[std::size_t(row) * page_.bitmap.bytesPerRow() + std::size_t(col) / 8] |=
            std::uint8_t(0x80 >> (col % 8));
        return true;
    }

    unsigned linesPerInch_;
    PrintedPage page_;
};

void letter(Printer& p) {
    p.text(Font::SansBold, 20, 54, 72, "THE NORTHGATE PAPER COMPANY LIMITED");
    p.text(Font::Sans, 10, 54, 92, "Mill Lane, Kendal, Westmorland LA9 4QT");
    p.fill(54, 102, 514, 1.5);
    p.text(Font::Serif, 12, 54, 140, "Mr J. Hartley");
    p.text(Font::Serif, 12, 54, 156, "Hartley and Sons, Printers");
    p.text(Font::Serif, 12, 54, 172, "14 Market Street, Lancaster");
    p.text(Font::Serif, 12, 430, 140, "18th March 1976");
    p.text(Font::Serif, 12, 54, 214, "Dear Mr Hartley,");
    double y = p.paragraph(Font::Serif, 12, 54, 242, 500,
        "Thank you for your order of the twelfth of March for two hundred reams of our cream laid writing paper. "
        "I am pleased to tell you that the paper was made last week and that it will leave the mill on Friday by "
        "road, so that it should reach your works early next week.");
    y = p.paragraph(Font::Serif, 12, 54, y + 10, 500,
        "You asked whether we could also supply envelopes to match the paper. We do not make envelopes ourselves, "
        "but a firm in Preston folds them from our paper and the colour is exactly the same. I enclose their price "
        "list and a few samples, and I would be glad to pass on an order for you.");
    y = p.paragraph(Font::Serif, 12, 54, y + 10, 500,
        "Our new machine is now running well, and from next month we shall be able to send most orders within ten "
        "days. If you would like to visit the mill and see the paper being made, please write to me or telephone "
        "my secretary, and we shall arrange a day that suits you.");
    p.text(Font::Serif, 12, 54, y + 20, "Yours sincerely,");
    p.text(Font::Serif, 12, 54, y + 76, "Margaret Ellison");
    p.text(Font::Serif, 12, 54, y + 92, "Sales Manager");
    p.box(54, 700, 514, 40, 1);
    p.text(Font::Sans, 8, 64, 716, "Registered in England No. 401873. Registered office: Mill Lane, Kendal.");
    p.text(Font::Sans, 8, 64, 730, "Telephone Kendal 20412. Telegrams Northpaper Kendal.");
}

void memo(Printer& p) {
    p.text(Font::SansBold, 28, 54, 80, "MEMORANDUM");
    p.text(Font::Mono, 11, 54, 120, "To:      All branch managers");
    p.text(Font::Mono, 11, 54, 136, "From:    Head office, accounts");
    p.text(Font::Mono, 11, 54, 152, "Subject: Stock count at the end of June");
    p.fill(54, 164, 514, 3);
    double y = p.paragraph(Font::Sans, 11, 54, 192, 510,
        "Please count the stock in your branch on the last Saturday of June and send the totals to this office by "
        "the following Wednesday. Use the table below for the main lines and add any others on a separate sheet.");
    const double top = y + 6, rowHeight = 26;
    p.box(54, top, 514, rowHeight * 6, 1.5);
    for (int r = 1; r < 6; ++r) p.fill(54, top + r * rowHeight, 514, r == 1 ? 1.5 : 0.75);
    p.fill(300, top, 0.75, rowHeight * 6);
    p.fill(430, top, 0.75, rowHeight * 6);
    const char* rows[][3] = {{"Item", "Unit", "Count"},
                             {"Writing paper", "ream", "120"},
                             {"Envelopes", "box", "64"},
                             {"Carbon paper", "packet", "35"},
                             {"Typewriter ribbons", "each", "18"},
                             {"Ledger books", "each", "9"}};
    for (int r = 0; r < 6; ++r) {
        const Font font = r == 0 ? Font::SansBold : Font::Sans;
        for (int c = 0; c < 3; ++c)
            p.text(font, 10, c == 0 ? 62 : c == 1 ? 308 : 438, top + r * rowHeight + 18, rows[r][c]);
    }
    y = p.paragraph(Font::Sans, 11, 54, top + rowHeight * 6 + 30, 510,
        "Branches that close early on that Saturday may count on the Friday evening instead. Thank you for your "
        "help; the figures are needed for the half year accounts.");
    p.text(Font::Sans, 9, 54, y + 20, "Accounts department, extension 214");
}

void priceList(Printer& p) {
    p.text(Font::SansBold, 16, 54, 66, "SPRING PRICE LIST");
    p.text(Font::Serif, 9, 380, 66, "Prices in pounds, carriage paid");
    p.fill(54, 74, 514, 1);
    const char* items[][2] = {
        {"Cream laid writing paper, quarto", "2.40"}, {"White wove writing paper, quarto", "2.15"},
        {"Blue bond typing paper, foolscap", "1.95"},  {"Bank paper for carbon copies", "1.10"},
        {"Duplicating paper, white", "1.60"},          {"Cartridge drawing paper, imperial", "4.80"},
        {"Brown wrapping paper, double crown", "3.25"}, {"Tissue paper, white", "0.90"},
        {"Manilla envelopes, pocket", "1.35"},         {"White envelopes, banker", "1.70"},
        {"Index cards, ruled", "0.85"},                {"Record cards, plain", "0.75"},
    };
    double y = 96;
    for (const auto& item : items) {
        p.text(Font::Serif, 9, 62, y, item[0]);
        p.text(Font::Mono, 9, 500, y, item[1]);
        y += 16;
    }
    p.box(54, 80, 514, y - 90, 0.75);
    y = p.paragraph(Font::Serif, 8, 54, y + 20, 514,
        "All prices are for one ream of five hundred sheets or one box of five hundred envelopes. Orders of ten "
        "reams or more are sent free of carriage to any address in the country. Samples of every paper are sent "
        "on request.");
    p.box(300, y + 10, 268, 80, 2);
    p.text(Font::SansBold, 12, 316, y + 36, "Orders by telephone");
    p.text(Font::Sans, 12, 316, y + 58, "Kendal 20412");
}

void wideNotice(Printer& p) {
    p.box(36, 36, 665, 720, 4);
    p.text(Font::SansBold, 36, 90, 130, "NOTICE OF DELIVERY");
    p.fill(90, 146, 560, 4);
    double y = p.paragraph(Font::Serif, 16, 90, 200, 560,
        "The goods listed on your order will be delivered on Monday morning between nine and twelve. Please make "
        "sure that somebody is there to sign for them.");
    y = p.paragraph(Font::Serif, 16, 90, y + 20, 560,
        "If the time does not suit you, call the depot before Friday noon.");
    p.box(90, y + 20, 300, 90, 2);
    p.text(Font::Sans, 14, 104, y + 56, "Order number 77301");
    p.text(Font::Sans, 14, 104, y + 84, "Driver: Thomas Reid");
}

PrintedPage print(Sheet sheet, unsigned linesPerInch) {
    Printer printer(sheet == Sheet::WideNotice ? 2048 : 1728, linesPerInch);
    switch (sheet) {
        case Sheet::Letter: letter(printer); break;
        case Sheet::Memo: memo(printer); break;
        case Sheet::PriceList: priceList(printer); break;
        case Sheet::WideNotice: wideNotice(printer); break;
    }
    return printer.take();
}

}  // namespace

PrintedPage printedProse(Font font, double points, unsigned linesPerInch, const std::vector<std::string>& paragraphs) {
    Printer printer(1728, linesPerInch);
    constexpr double kMargin = 54, kBottom = 11 * 72 - 54;
    double y = kMargin + points;
    for (const std::string& text : paragraphs) {
        if (y > kBottom) break;
        y = printer.paragraph(font, points, kMargin, y, 612 - 2 * kMargin, text, kBottom) + points * 0.6;
    }
    return printer.take();
}

PrintedPage turnedUpsideDown(const PrintedPage& page) {
    PrintedPage turned = page;
    const Bitmap& from = page.bitmap;
    Bitmap& to = turned.bitmap;
    std::fill(to.bits.begin(), to.bits.end(), 0);
    for (unsigned row = 0; row < from.rows; ++row)
        for (unsigned x = 0; x < from.width; ++x)
            if (from.bits[row * from.bytesPerRow() + x / 8] & (0x80 >> (x % 8))) {
                const unsigned toRow = from.rows - 1 - row, toX = from.width - 1 - x;
                to.bits[toRow * to.bytesPerRow() + toX / 8] |= std::uint8_t(0x80 >> (toX % 8));
            }
    for (PrintedWord& word : turned.words)
        word = {word.text, from.width - word.right, from.rows - word.bottom, from.width - word.left,
                from.rows - word.top};
    return turned;
}

void speckle(Bitmap& bitmap, double fraction, unsigned seed) {
    std::mt19937 random(seed);
    std::bernoulli_distribution flipped(fraction);
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned x = 0; x < bitmap.width; ++x)
            if (flipped(random)) bitmap.bits[row * bitmap.bytesPerRow() + x / 8] ^= std::uint8_t(0x80 >> (x % 8));
}

const PrintedPage& printedPage(Sheet sheet, unsigned linesPerInch) {
    static std::mutex lock;
    static std::map<std::pair<Sheet, unsigned>, std::unique_ptr<PrintedPage>> pages;
    const std::lock_guard<std::mutex> hold(lock);
    auto& page = pages[{sheet, linesPerInch}];
    if (!page) page = std::make_unique<PrintedPage>(print(sheet, linesPerInch));
    return *page;
}

}  // namespace quillon::test
