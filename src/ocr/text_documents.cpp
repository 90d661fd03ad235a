#include "ocr/text_documents.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quillon {

namespace {

// Text and attribute values alike: the five characters XML reserves.
std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

// From the frame the page was recognised in to the pixels of its image as
// shown: a quarter turn swaps the image's width and rows.
struct ShownFrame {
    double xScale = 1, yScale = 1;
    std::uint32_t width = 0, rows = 0;

    ShownFrame(const RecognizedPage& page, const PageImageSize& image) {
        const bool quarterTurn = page.rotation == 90 || page.rotation == 270;
        width = quarterTurn ? image.rows : image.width;
        rows = quarterTurn ? image.width : image.rows;
        if (page.width > 0) xScale = double(width) / page.width;
        if (page.rows > 0) yScale = double(rows) / page.rows;
    }
    long x(double value) const { return std::lround(value * xScale); }
    long y(double value) const { return std::lround(value * yScale); }
    PixelBox box(const PixelBox& b) const {
        return {std::int32_t(x(b.left)), std::int32_t(y(b.top)), std::int32_t(x(b.right)), std::int32_t(y(b.bottom))};
    }
};

// The words' boxes together (in the recognised frame).
PixelBox lineBox(const RecognizedLine& line) {
    PixelBox box = line.words.front().box;
    for (const RecognizedWord& word : line.words) {
        box.left = std::min(box.left, word.box.left);
        box.top = std::min(box.top, word.box.top);
        box.right = std::max(box.right, word.box.right);
        box.bottom = std::max(box.bottom, word.box.bottom);
    }
    return box;
}

std::string number(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string bbox(const PixelBox& b) {
    return "bbox " + std::to_string(b.left) + " " + std::to_string(b.top) + " " + std::to_string(b.right) + " " +
           std::to_string(b.bottom);
}

// ALTO's position and size of a box (its right and bottom are just past it).
std::string altoPlace(const PixelBox& b) {
    return "HPOS=\"" + std::to_string(b.left) + "\" VPOS=\"" + std::to_string(b.top) + "\" WIDTH=\"" +
           std::to_string(b.right - b.left) + "\" HEIGHT=\"" + std::to_string(b.bottom - b.top) + "\"";
}

}  // namespace

std::string hocrDocument(const TextDocumentPages& document) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\"\n"
        "    \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\n"
        " <head>\n  <title>" + escaped(document.imageName) + "</title>\n"
        "  <meta http-equiv=\"Content-Type\" content=\"text/html;charset=utf-8\"/>\n"
        "  <meta name=\"ocr-system\" content=\"" + escaped(document.software) + "\"/>\n"
        "  <meta name=\"ocr-capabilities\" content=\"ocr_page ocr_line ocrx_word\"/>\n"
        " </head>\n <body>\n";
    for (std::size_t index = 0; index < document.pages.size(); ++index) {
        const RecognizedPage& page = document.pages[index];
        const ShownFrame frame(page, document.images.at(index));
        const std::string pageId = std::to_string(index + 1);
        out += "  <div class=\"ocr_page\" id=\"page_" + pageId + "\" title=\"image &quot;" +
               escaped(document.imageName) + "&quot;; " + bbox({0, 0, std::int32_t(frame.width), std::int32_t(frame.rows)}) +
               "; ppageno " + std::to_string(index) + "\">\n";
        for (std::size_t l = 0; l < page.lines.size(); ++l) {
            const RecognizedLine& line = page.lines[l];
            if (line.words.empty()) continue;
            const PixelBox box = frame.box(lineBox(line));
            // hOCR's baseline: its slope, and its height at the line's left
            // edge above (negative) the line's bottom.
            const double run = frame.x(line.baselineX2) - frame.x(line.baselineX1);
            const double slope = run == 0 ? 0 : (frame.y(line.baselineY2) - frame.y(line.baselineY1)) / run;
            const double offset = frame.y(line.baselineY1) + slope * (box.left - frame.x(line.baselineX1)) - box.bottom;
            const std::string lineId = pageId + "_" + std::to_string(l + 1);
            out += "   <span class=\"ocr_line\" id=\"line_" + lineId + "\" title=\"" + bbox(box) + "; baseline " +
                   number(slope, 3) + " " + number(offset, 0) + "; x_size " + number(line.height * frame.yScale, 0) +
                   "\">";
            for (std::size_t w = 0; w < line.words.size(); ++w) {
                const RecognizedWord& word = line.words[w];
                out += (w ? " " : "") + std::string("<span class=\"ocrx_word\" id=\"word_") + lineId + "_" +
                       std::to_string(w + 1) + "\" title=\"" + bbox(frame.box(word.box)) + "; x_wconf " +
                       std::to_string(std::lround(word.confidence)) + "\">" + escaped(word.text) + "</span>";
            }
            out += "</span>\n";
        }
        out += "  </div>\n";
    }
    return out + " </body>\n</html>\n";
}

std::string altoDocument(const TextDocumentPages& document) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<alto xmlns=\"http://www.loc.gov/standards/alto/ns-v4#\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xsi:schemaLocation=\"http://www.loc.gov/standards/alto/ns-v4# "
        "http://www.loc.gov/alto/v4/alto-4-0.xsd\">\n"
        " <Description>\n  <MeasurementUnit>pixel</MeasurementUnit>\n"
        "  <sourceImageInformation>\n   <fileName>" + escaped(document.imageName) + "</fileName>\n"
        "  </sourceImageInformation>\n"
        "  <OCRProcessing ID=\"OCR_0\">\n   <ocrProcessingStep>\n    <processingSoftware>\n"
        "     <softwareName>" + escaped(document.software) + "</softwareName>\n"
        "    </processingSoftware>\n   </ocrProcessingStep>\n  </OCRProcessing>\n"
        " </Description>\n <Layout>\n";
    for (std::size_t index = 0; index < document.pages.size(); ++index) {
        const RecognizedPage& page = document.pages[index];
        const ShownFrame frame(page, document.images.at(index));
        const std::string pageId = std::to_string(index + 1);
        const std::string size = "WIDTH=\"" + std::to_string(frame.width) + "\" HEIGHT=\"" + std::to_string(frame.rows) + "\"";
        out += "  <Page ID=\"page_" + pageId + "\" PHYSICAL_IMG_NR=\"" + pageId + "\" " + size + ">\n" +
               "   <PrintSpace HPOS=\"0\" VPOS=\"0\" " + size + ">\n";
        // One block a page: the recogniser's lines are kept, its blocks not.
        bool blockOpen = false;
        for (std::size_t l = 0; l < page.lines.size(); ++l) {
            const RecognizedLine& line = page.lines[l];
            if (line.words.empty()) continue;
            if (!blockOpen) {
                out += "    <TextBlock ID=\"block_" + pageId + "\" HPOS=\"0\" VPOS=\"0\" " + size + ">\n";
                blockOpen = true;
            }
            const std::string lineId = pageId + "_" + std::to_string(l + 1);
            out += "     <TextLine ID=\"line_" + lineId + "\" " + altoPlace(frame.box(lineBox(line))) + ">\n";
            for (std::size_t w = 0; w < line.words.size(); ++w) {
                const RecognizedWord& word = line.words[w];
                if (w) out += "      <SP/>\n";
                out += "      <String ID=\"word_" + lineId + "_" + std::to_string(w + 1) + "\" " +
                       altoPlace(frame.box(word.box)) + " WC=\"" + number(word.confidence / 100, 2) + "\" CONTENT=\"" +
                       escaped(word.text) + "\"/>\n";
            }
            out += "     </TextLine>\n";
        }
        if (blockOpen) out += "    </TextBlock>\n";
        out += "   </PrintSpace>\n  </Page>\n";
    }
    return out + " </Layout>\n</alto>\n";
}

}  // namespace quillon
