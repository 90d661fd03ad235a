#include "ocr/module/text_lines.h"

#include <tesseract/resultiterator.h>

namespace quillon {

namespace {

// Tesseract hands out text it allocated with new[].
std::string takeText(char* text) {
    std::string copy = text ? text : "";
    delete[] text;
    return copy;
}

// The line's baseline and type size, from the iterator at its first word.
RecognizedLine lineAt(tesseract::ResultIterator& results) {
    RecognizedLine line;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (results.Baseline(tesseract::RIL_TEXTLINE, &x1, &y1, &x2, &y2)) {
        line.baselineX1 = x1, line.baselineY1 = y1, line.baselineX2 = x2, line.baselineY2 = y2;
    }
    float rowHeight = 0, descenders = 0, ascenders = 0;
    results.RowAttributes(&rowHeight, &descenders, &ascenders);
    int left = 0, top = 0, right = 0, bottom = 0;
    results.BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom);
    // A row's attributes can be missing (a line of one glyph): its box then.
    line.height = rowHeight > 0 ? rowHeight : bottom - top;
    if (x1 == x2) {  // no baseline: the box's bottom, less a descender's worth
        line.baselineX1 = left, line.baselineX2 = right;
        line.baselineY1 = line.baselineY2 = bottom - line.height * 0.2;
    }
    return line;
}

}  // namespace

void readTextLines(tesseract::ResultIterator& results, RecognizedPage& page) {
    bool inTextBlock = false;
    bool newParagraph = false;
    bool newLine = true;
    do {
        if (results.IsAtBeginningOf(tesseract::RIL_BLOCK)) inTextBlock = tesseract::PTIsTextType(results.BlockType());
        if (results.IsAtBeginningOf(tesseract::RIL_PARA)) newParagraph = true;
        if (results.IsAtBeginningOf(tesseract::RIL_TEXTLINE)) newLine = true;
        if (!inTextBlock) continue;
        RecognizedWord word;
        word.text = takeText(results.GetUTF8Text(tesseract::RIL_WORD));
        word.confidence = results.Confidence(tesseract::RIL_WORD);
        PixelBox& box = word.box;
        if (word.text.empty() || word.confidence < kNoiseConfidence ||
            !results.BoundingBox(tesseract::RIL_WORD, &box.left, &box.top, &box.right, &box.bottom))
            continue;
        if (newLine) {
            if (!page.text.empty()) page.text += newParagraph ? "\n\n" : "\n";
            page.lines.push_back(lineAt(results));
            newLine = newParagraph = false;
        } else {
            page.text += ' ';
        }
        page.text += word.text;
        page.lines.back().words.push_back(std::move(word));
    } while (results.Next(tesseract::RIL_WORD));
    if (!page.text.empty()) page.text += '\n';
}

}  // namespace quillon
