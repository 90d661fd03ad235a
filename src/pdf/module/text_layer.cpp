#include "pdf/module/text_layer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "pdf/module/helvetica_widths.h"

namespace quillon {

namespace {

using Object = QPDFObjectHandle;

// Windows-1252 codes 0x80 to 0x9F, by the Unicode character they stand for.
constexpr std::pair<char32_t, unsigned char> kWindows1252High[] = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F}};

// The next character of UTF-8 text; U+FFFD for a byte that starts no valid sequence.
char32_t nextCharacter(const std::string& text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int following = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead >= 0x80 && following == 0) return 0xFFFD;
    char32_t c = following == 0 ? lead : lead & (0x3F >> following);
    for (int i = 0; i < following; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return c;
}

std::string windows1252(const std::string& utf8) {
    std::string codes;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = nextCharacter(utf8, at);
        if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) {
            codes += char(c);
        } else if (c == 0xFB01 || c == 0xFB02) {  // the ligatures fi and fl
            codes += c == 0xFB01 ? "fi" : "fl";
        } else {
            char code = '?';
            for (const auto& [character, byte] : kWindows1252High)
                if (character == c) code = char(byte);
            codes += code;
        }
    }
    return codes;
}

std::string number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

// A cosine or sine of a text matrix: at most four places ("1", "0.9998"),
// and no "-0".
std::string direction(double value) {
    if (std::fabs(value) < 0.00005) return "0";
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4).ptr;
    std::string digits(text, end);
    digits.erase(digits.find_last_not_of('0') + 1);
    if (digits.back() == '.') digits.pop_back();
    return digits;
}

std::string hexString(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex = "<";
    for (const char byte : bytes) {
        hex += kDigits[static_cast<unsigned char>(byte) >> 4];
        hex += kDigits[static_cast<unsigned char>(byte) & 15];
    }
    return hex + ">";
}

Object textFont(QPDF& pdf) {
    Object font = Object::parse("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    font.replaceKey("/FirstChar", Object::newInteger(kHelveticaFirstCode));
    font.replaceKey("/LastChar", Object::newInteger(kHelveticaLastCode));
    Object widths = Object::newArray();
    for (const std::uint16_t width : kHelveticaWidths) widths.appendItem(Object::newInteger(width));
    font.replaceKey("/Widths", pdf.makeIndirectObject(widths));
    return pdf.makeIndirectObject(font);
}


constexpr double kSpaceEms = 0.278;  // Helvetica's blank
constexpr double kLeastGapEms = 0.2;  // between the letters of two words

double ems(const std::string& codes) {
    double width = 0;
    for (const char code : codes) width += kHelveticaWidths[static_cast<unsigned char>(code) - kHelveticaFirstCode] / 1000.0;
    return width;
}

// The matrix (cm) that lays text written the right way up, in points of the
// page as shown, onto the page as it is stored: a viewer turns the page by
// its /Rotate clockwise, and so turns the text back upright.
std::string upright(int rotation, const TextLayerPage& page) {
    const std::string width = number(page.widthPoints), height = number(page.heightPoints);
    switch (rotation) {
        case 90: return "0 1 -1 0 " + width + " 0 cm\n";
        case 180: return "-1 0 0 -1 " + width + " " + height + " cm\n";
        case 270: return "0 -1 1 0 0 " + height + " cm\n";
        default: return {};
    }
}

// The line's words from its baseline, in points of the page as shown.
void layLine(const RecognizedLine& line, double xScale, double yScale, double shownHeight, std::string& content) {
    const double size = line.height * yScale;
    if (line.words.empty() || size <= 0) return;
    // The baseline's direction, y upwards: a skewed page's lines slope.
    const double run = (line.baselineX2 - line.baselineX1) * xScale;
    const double rise = -(line.baselineY2 - line.baselineY1) * yScale;
    const double length = std::hypot(run, rise);
    const double cosine = length > 0 ? run / length : 1, sine = length > 0 ? rise / length : 0;
    const auto baselineRow = [&](double column) {
        const double across = line.baselineX2 - line.baselineX1;
        return across == 0 ? line.baselineY1
                           : line.baselineY1 + (line.baselineY2 - line.baselineY1) * (column - line.baselineX1) / across;
    };
    content += "/QuillonText " + number(size) + " Tf\n";
    for (std::size_t i = 0; i < line.words.size(); ++i) {
        const RecognizedWord& word = line.words[i];
        std::string codes = windows1252(word.text);
        double width = (word.box.right - word.box.left) * xScale / cosine;
        if (codes.empty() || width <= 0) continue;
        const bool last = i + 1 == line.words.size();
        const double toNext = last ? 0 : (line.words[i + 1].box.left - word.box.left) * xScale / cosine;
        // Readers part words by the gap between their letters (pdftotext at a
        // tenth of an em), not by the blank: boxes that touch (a speck between
        // two words) would join them, so the word keeps clear of the next.
        if (!last) width = std::max(std::min(width, toNext - kLeastGapEms * size), width / 2);
        const double stretch = width / (ems(codes) * size);  // Tz / 100
        // The blank after the word reaches the next word's left edge.
        double wordSpacing = 0;
        if (!last) {
            wordSpacing = (toNext - width) / stretch - kSpaceEms * size;
            codes += ' ';
        }
        const double x = word.box.left * xScale;
        const double y = shownHeight - baselineRow(word.box.left) * yScale;
        content += number(100 * stretch) + " Tz " + number(wordSpacing) + " Tw " + direction(cosine) + " " +
                   direction(sine) + " " + direction(-sine) + " " + direction(cosine) + " " + number(x) + " " +
                   number(y) + " Tm " + hexString(codes) + " Tj\n";
    }
}

}  // namespace

std::string textLayerContent(const RecognizedPage& text, const TextLayerPage& page) {
    if (text.width == 0 || text.rows == 0) return {};
    const bool quarterTurn = text.rotation == 90 || text.rotation == 270;
    const double shownWidth = quarterTurn ? page.heightPoints : page.widthPoints;
    const double shownHeight = quarterTurn ? page.widthPoints : page.heightPoints;
    const double xScale = shownWidth / text.width;
    const double yScale = shownHeight / text.rows;
    std::string content = "q " + upright(text.rotation, page) + "BT 3 Tr\n";
    for (const RecognizedLine& line : text.lines) layLine(line, xScale, yScale, shownHeight, content);
    return content + "ET Q\n";
}

TextLayerWriter::TextLayerWriter(QPDF& pdf) : pdf_(pdf) {}
TextLayerWriter::~TextLayerWriter() = default;

void TextLayerWriter::add(QPDFObjectHandle& pageDictionary, const RecognizedPage& text, const TextLayerPage& page) {
    if (text.lines.empty()) return;
    if (!font_) font_ = std::make_unique<Object>(textFont(pdf_));
    Object resources = pageDictionary.getKey("/Resources");
    if (!resources.hasKey("/Font")) resources.replaceKey("/Font", Object::newDictionary());
    resources.getKey("/Font").replaceKey("/QuillonText", *font_);
    const Object image = pageDictionary.getKey("/Contents");
    const Object words = pdf_.newStream(textLayerContent(text, page));
    pageDictionary.replaceKey("/Contents", Object::newArray({image, words}));
}

}  // namespace quillon
