#include "support/pdf_pages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include <nlohmann/json.hpp>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace quillon::test {
namespace {

std::string runTool(const std::string& tool, const std::vector<std::string>& args) {
    const ProcessResult result = runProcess(tool, args);
    EXPECT_EQ(result.exitCode, 0) << tool << ": " << result.err;
    return result.out;
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

}  // namespace

std::vector<PdfImage> listPdfImages(const std::string& pdf) {
    std::istringstream lines(runTool("/usr/bin/pdfimages", {"-list", pdf}));
    std::string line;
    std::getline(lines, line);  // the column names
    std::getline(lines, line);  // the rule
    std::vector<PdfImage> images;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        PdfImage image;
        int num = 0;
        fields >> image.page >> num >> image.type >> image.width >> image.height >> image.color >> image.components >>
            image.bitsPerComponent >> image.encoding;
        if (fields) images.push_back(image);
    }
    return images;
}

std::uint64_t pdfImageBytes(const std::string& pdf) {
    const auto objects = nlohmann::json::parse(runTool("/usr/bin/qpdf", {"--json=2", "--json-key=qpdf", pdf}))["qpdf"][1];
    std::uint64_t bytes = 0;
    for (const auto& object : objects) {
        if (!object.contains("stream")) continue;
        const auto& dictionary = object["stream"]["dict"];
        if (dictionary.value("/Subtype", "") == "/Image") bytes += dictionary["/Length"].get<std::uint64_t>();
    }
    return bytes;
}

std::vector<PdfPageSize> pdfPageSizes(const std::string& pdf) {
    std::istringstream lines(runTool("/usr/bin/pdfinfo", {"-f", "1", "-l", "100000", pdf}));
    std::vector<PdfPageSize> sizes;
    std::string line;
    while (std::getline(lines, line)) {
        // "Page    1 size: 622.08 x 792 pts"
        std::istringstream fields(line);
        std::string page, size, times;
        int number = 0;
        PdfPageSize pageSize;
        if (fields >> page >> number >> size >> pageSize.width >> times >> pageSize.height && page == "Page" &&
            size == "size:")
            sizes.push_back(pageSize);
    }
    return sizes;
}

Bitmap renderPdfPage(const std::string& pdf, int page, double xDpi, double yDpi, unsigned width, unsigned rows) {
    const TempDir dir;
    const std::string root = (dir / "page").string();
    runTool("/usr/bin/pdftocairo", {"-f", std::to_string(page), "-l", std::to_string(page), "-rx", number(xDpi), "-ry",
                                    number(yDpi), "-mono", "-tiff", "-singlefile", pdf, root});
    const std::vector<Bitmap> rendered = readTiffPages(root + ".tif");
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.rows = rows;
    if (rendered.size() != 1) {
        ADD_FAILURE() << "page " << page << " was not rendered";
        return bitmap;
    }
    const Bitmap& full = rendered[0];
    EXPECT_TRUE(full.width - width <= 1 && full.rows - rows <= 1)
        << "rendered " << full.width << " x " << full.rows << ", page " << width << " x " << rows;
    if (full.width < width || full.rows < rows) return bitmap;
    bool blackBeyond = false;
    for (unsigned row = 0; row < full.rows; ++row) {
        for (unsigned x = 0; x < full.width; ++x) {
            const bool black = (full.bits[row * full.bytesPerRow() + x / 8] >> (7 - x % 8)) & 1;
            if (row >= rows || x >= width) {
                blackBeyond = blackBeyond || black;
                continue;
            }
            if (x % 8 == 0) bitmap.bits.push_back(0);
            if (black) bitmap.bits.back() |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    EXPECT_FALSE(blackBeyond) << "page " << page << " is black beyond its size";
    return bitmap;
}

std::vector<PdfWord> pdfWords(const std::string& pdf) {
    const std::string html = runProcess("/usr/bin/pdftotext", {"-bbox", pdf, "-"}).out;
    std::vector<PdfWord> words;
    int page = 0;
    std::size_t nextPage = html.find("<page ");
    for (std::size_t at = html.find("<word "); at != std::string::npos; at = html.find("<word ", at + 1)) {
        for (; nextPage < at; nextPage = html.find("<page ", nextPage + 1)) ++page;
        PdfWord word;
        word.page = page;
        std::sscanf(html.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">", &word.xMin,
                    &word.yMin, &word.xMax, &word.yMax);
        const std::size_t text = html.find('>', at) + 1;
        word.text = html.substr(text, html.find('<', text) - text);
        words.push_back(word);
    }
    return words;
}

}  // namespace quillon::test
