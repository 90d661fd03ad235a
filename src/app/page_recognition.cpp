#include "app/page_recognition.h"

#include "ocr/page_pixels.h"
#include "ocr/page_recognizer.h"
#include "tiffcopy/g4_page_file.h"

namespace quillon {

std::vector<RecognizedPage> recognizePages(const std::string& g4Tiff, const TextRecognition& recognition) {
    G4PageFile file(g4Tiff);
    std::vector<RecognizedPage> recognized(file.pages().size());
    PageRecognizer* recognizer = recognizerForThisThread(recognition.languages);
    std::vector<std::uint8_t> coded;
    for (std::size_t index = 0; index < recognized.size(); ++index) {
        const G4Page& page = file.pages()[index];
        if (recognizer && file.readCodedData(index, coded)) {
            const auto pixels =
                decodeForRecognition(coded, page.width, page.rows, page.xDpi, page.yDpi, page.blackIsZero);
            if (pixels) recognized[index] = recognizer->recognize(*pixels);
        }
        if (recognition.pageRecognized) recognition.pageRecognized();
    }
    return recognized;
}

std::string pagesText(const std::vector<RecognizedPage>& pages) {
    std::string text;
    for (std::size_t index = 0; index < pages.size(); ++index) {
        if (index > 0) text += '\f';
        text += pages[index].text;
    }
    return text;
}

}  // namespace quillon
