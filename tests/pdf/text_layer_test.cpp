#include "pdf/text_layer.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// A page of 1000 x 500 pixels on 360 x 360 points (0.36 points a column,
// 0.72 a row, as a standard-resolution fax).
const TextLayerPage kPage{1000, 500, 360, 360};

TEST(TextLayer, WordsSpanTheirBoxesFromTheirBaseline) {
    // "Hello" is 2.278 em of Helvetica: 32.80 points at 14.4 points; the box is 18.
    const RecognizedWord word{"Hello", 100, 100, 150, 120, 90};
    EXPECT_EQ(textLayerContent({word}, kPage),
              "BT 3 Tr\n/QuillonText 14.40 Tf 54.87 Tz 1 0 0 1 36.00 276.58 Tm <48656C6C6F> Tj\nET\n");
}

TEST(TextLayer, LettersBecomeWindows1252AndEmptyBoxesAreLeftOut) {
    const std::vector<RecognizedWord> words{
        {"Gr\u00fc\u00dfe\u20ac", 0, 0, 10, 10, 80},  // ü ß € are in Windows-1252
        {"\ufb01n \u03a9", 0, 0, 10, 10, 80},         // the ligature fi is spelt out; Omega is not there
        {"\xff\xfe", 0, 0, 10, 10, 80},               // bytes that are no UTF-8
        {"flat", 5, 5, 5, 9, 80},                     // no width
    };
    const std::string content = textLayerContent(words, kPage);
    EXPECT_NE(content.find("<4772FCDF6580>"), std::string::npos) << content;
    EXPECT_NE(content.find("<66696E203F>"), std::string::npos) << content;
    EXPECT_NE(content.find("<3F3F>"), std::string::npos) << content;
    EXPECT_EQ(content.find("<666C6174>"), std::string::npos) << content;
}

}  // namespace
}  // namespace quillon
