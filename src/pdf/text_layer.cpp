#include "pdf/text_layer.h"

#include <charconv>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "pdf/helvetica_widths.h"

namespace quillon {

namespace {

using Object = QPDFObjectHandle;

// Helvetica's descent, in ems: a word's baseline lies that far above its
// box's bottom, so that viewers that measure text by the font's ascent and
// descent find it where its box is.
constexpr double kDescent = 0.207;

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

}  // namespace

std::string textLayerContent(const std::vector<RecognizedWord>& words, const TextLayerPage& page) {
    if (page.width == 0 || page.rows == 0) return {};
    const double xScale = page.widthPoints / page.width;
    const double yScale = page.heightPoints / page.rows;
    std::string content = "BT 3 Tr\n";
    for (const RecognizedWord& word : words) {
        const std::string codes = windows1252(word.text);
        const double height = (word.bottom - word.top) * yScale;
        const double width = (word.right - word.left) * xScale;
        if (codes.empty() || height <= 0 || width <= 0) continue;
        // Tz stretches the word's own letters to its box.
        double ems = 0;
        for (const char code : codes)
            ems += kHelveticaWidths[static_cast<unsigned char>(code) - kHelveticaFirstCode] / 1000.0;
        const double naturalWidth = ems * height;
        const double baseline = page.heightPoints - word.bottom * yScale + kDescent * height;
        content += "/QuillonText " + number(height) + " Tf " + number(100.0 * width / naturalWidth) + " Tz 1 0 0 1 " +
                   number(word.left * xScale) + " " + number(baseline) + " Tm " + hexString(codes) + " Tj\n";
    }
    return content + "ET\n";
}

TextLayerWriter::TextLayerWriter(QPDF& pdf) : pdf_(pdf) {}
TextLayerWriter::~TextLayerWriter() = default;

void TextLayerWriter::add(QPDFObjectHandle& pageDictionary, const RecognizedPage& text, const TextLayerPage& page) {
    if (text.words.empty()) return;
    if (!font_) font_ = std::make_unique<Object>(textFont(pdf_));
    Object resources = pageDictionary.getKey("/Resources");
    if (!resources.hasKey("/Font")) resources.replaceKey("/Font", Object::newDictionary());
    resources.getKey("/Font").replaceKey("/QuillonText", *font_);
    const Object image = pageDictionary.getKey("/Contents");
    const Object words = pdf_.newStream(textLayerContent(text.words, page));
    pageDictionary.replaceKey("/Contents", Object::newArray({image, words}));
}

}  // namespace quillon
