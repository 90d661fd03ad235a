// The texts of a PDF's document information and its XMP copy.

#include "pdf/module/pdf_text.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(PdfText, FileNameBytesBecomeValidUtf8) {
    const struct {
        std::string bytes;
        std::string text;
    } rows[] = {
        {"fax 2009.fxd", "fax 2009.fxd"},
        {"f\xC3\xA4x.fxd", "f\xC3\xA4x.fxd"},             // UTF-8 stays
        {"f\xE4x.fxd", "f\xEF\xBF\xBDx.fxd"},              // Latin-1 byte
        {"\xC3", "\xEF\xBF\xBD"},                          // cut-off sequence
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},          // overlong '/'
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
        {"\xF0\x9F\x93\xA0", "\xF0\x9F\x93\xA0"},          // fax machine emoji
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // beyond U+10FFFF
    };
    for (const auto& row : rows) EXPECT_EQ(validUtf8(row.bytes), row.text) << row.bytes;
}

TEST(PdfText, XmlTextEscapesMarkupAndControlCharacters) {
    EXPECT_EQ(xmlText("a<b>&\"c\".fxd"), "a&lt;b&gt;&amp;&quot;c&quot;.fxd");
    EXPECT_EQ(xmlText(std::string("a\x01\tb", 4)), "a\xEF\xBF\xBD\tb");
}

TEST(PdfText, DatesInUtc) {
    const struct {
        std::int64_t seconds;
        const char* pdf;
        const char* xmp;
    } rows[] = {
        {0, "D:19700101000000Z", "1970-01-01T00:00:00Z"},
        {1234567890, "D:20090213233130Z", "2009-02-13T23:31:30Z"},
        {951868799, "D:20000229235959Z", "2000-02-29T23:59:59Z"},
        {-1, "D:19691231235959Z", "1969-12-31T23:59:59Z"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(pdfDate(row.seconds), row.pdf);
        EXPECT_EQ(xmpDate(row.seconds), row.xmp);
    }
}

}  // namespace
}  // namespace quillon
