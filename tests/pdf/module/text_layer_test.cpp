#include "pdf/module/text_layer.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "pdf/fax_pdf.h"
#include "support/pdf_pages.h"
#include "support/run_process.h"
#include "support/string_sink.h"
#include "support/temp_dir.h"

namespace quillon {
namespace {

// A standard-resolution page of 1728 x 1096 pixels (622.08 x 789.12
// points), recognised with its rows doubled: 0.36 points a pixel both ways.
const TextLayerPage kPage{622.08, 789.12};

RecognizedPage pageOf(std::vector<RecognizedLine> lines, int rotation = 0) {
    RecognizedPage page;
    page.recognized = true;
    page.rotation = rotation;
    const bool quarterTurn = rotation == 90 || rotation == 270;
    page.width = quarterTurn ? 2192 : 1728;
    page.rows = quarterTurn ? 1728 : 2192;
    page.lines = std::move(lines);
    return page;
}

// A level line with its baseline at row 332, 44 pixels high.
RecognizedLine lineOf(std::vector<RecognizedWord> words) {
    RecognizedLine line{100, 332, 900, 332, 44, std::move(words)};
    return line;
}

TEST(TextLayer, WordsOfALineShareItsBaselineAndSizeAndBlanksReachTheNextWord) {
    // "Hello" is 2.278 em of Helvetica: 36.08 points at 15.84 points; its box
    // is 18. The blank after it (0.278 em, stretched like the word) then
    // needs 7.2 / 0.4988 - 4.40 points of word spacing to reach "you", which
    // is 1.612 em (25.53 points) in a box of 10.8.
    const RecognizedPage page = pageOf({lineOf({{"Hello", {100, 300, 150, 340}, 90}, {"you", {170, 310, 200, 340}, 90}})});
    EXPECT_EQ(textLayerContent(page, kPage),
              "q BT 3 Tr\n/QuillonText 15.84 Tf\n"
              "49.88 Tz 10.03 Tw 1 0 0 1 36.00 669.60 Tm <48656C6C6F20> Tj\n"
              "42.30 Tz 0.00 Tw 1 0 0 1 61.20 669.60 Tm <796F75> Tj\n"
              "ET Q\n");
}

TEST(TextLayer, LettersBecomeWindows1252AndEmptyBoxesAreLeftOut) {
    const RecognizedPage page = pageOf({lineOf({
        {"Gr\u00fc\u00dfe\u20ac", {0, 0, 10, 10}, 80},  // ü ß € are in Windows-1252
        {"\ufb01n \u03a9", {20, 0, 30, 10}, 80},         // the ligature fi is spelt out; Omega is not there
        {"\xff\xfe", {40, 0, 50, 10}, 80},               // bytes that are no UTF-8
        {"flat", {55, 5, 55, 9}, 80},                    // no width
    })});
    const std::string content = textLayerContent(page, kPage);
    EXPECT_NE(content.find("<4772FCDF658020>"), std::string::npos) << content;
    EXPECT_NE(content.find("<66696E203F20>"), std::string::npos) << content;
    EXPECT_NE(content.find("<3F3F20>"), std::string::npos) << content;
    EXPECT_EQ(content.find("<666C6174>"), std::string::npos) << content;
}

// One blank page, coded T.6: every row is "like the row above" (one 1 bit),
// then the end of the page.
class BlankPage final : public CodedPages {
public:
    const std::vector<G4Page>& pages() const override { return pages_; }
    bool readCodedData(std::size_t, std::vector<std::uint8_t>& data) override {
        data.assign(1096 / 8, 0xFF);
        data.insert(data.end(), {0x00, 0x10, 0x01});
        return true;
    }

private:
    std::vector<G4Page> pages_{{1728, 1096, 200, 100}};
};

// Whichever way a page is shown, its words lie where they are printed on
// the page as shown, and read as one line in order, also words whose boxes
// touch.
TEST(TextLayer, WordsLieOverTheirPrintOnPagesShownTurned) {
    const test::TempDir dir;
    for (const int rotation : {0, 90, 180, 270}) {
        SCOPED_TRACE(rotation);
        const std::string pdf = (dir / ("page" + std::to_string(rotation) + ".pdf")).string();
        BlankPage coded;
        const std::vector<RecognizedPage> texts{pageOf(
            // A speck between "reads" and "faxes" made their boxes touch.
            {lineOf({{"Quillon", {400, 300, 600, 340}, 90}, {"reads", {630, 300, 760, 340}, 90},
                     {"faxes", {760, 300, 860, 340}, 90}})},
            rotation)};
        test::StringSink bytes;
        ASSERT_TRUE(writeFaxPdf(coded, PdfDocumentInfo{"t", "p", 0, {}}, bytes, &texts));
        test::writeFile(pdf, bytes.text);
        const std::vector<test::PdfWord> words = test::pdfWords(pdf);
        ASSERT_EQ(words.size(), 3u);
        EXPECT_EQ(words[0].text, "Quillon");
        // 0.36 points a pixel; the font's ascent and descent, not the ink,
        // make the box's top and bottom.
        EXPECT_NEAR(words[0].xMin, 144, 0.5);
        EXPECT_NEAR(words[0].xMax, 216, 0.5);
        EXPECT_NEAR(words[0].yMin, 108, 1.5);
        EXPECT_NEAR(words[0].yMax, 122.4, 1.5);
        EXPECT_NEAR(words[2].xMax, 860 * 0.36, 0.5);
        EXPECT_LT(words[1].xMax, words[2].xMin) << "touching words are laid apart";
        const std::string layout = test::runProcess("/usr/bin/pdftotext", {"-layout", pdf, "-"}).out;
        EXPECT_NE(layout.find("Quillon reads faxes\n"), std::string::npos) << layout;
    }
}

}  // namespace
}  // namespace quillon
