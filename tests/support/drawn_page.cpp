#include "support/drawn_page.h"

#include <random>

namespace quillon::test {

namespace {

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

}  // namespace

Bitmap drawnPage(unsigned width, unsigned rows, unsigned seed) {
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

}  // namespace quillon::test
