#include "run/convert/page_recognition.h"

#include <mutex>

#include "run/convert/loaded_modules.h"
#include "ocr/page_pixels.h"

namespace quillon {

std::vector<RecognizedPage> recognizePages(CodedPages& pages, const TextRecognition& recognition,
                                           PageSharing& sharing, std::vector<std::string>& problems) {
    std::vector<RecognizedPage> recognized(pages.pages().size());
    std::string error;
    const PageRecognition recognize = pageRecognition(error);
    if (!recognize) problems.push_back("text cannot be recognised: " + error);
    std::mutex reading;  // the pages may wait in one file
    sharing.workOnPages(recognized.size(), [&](std::size_t index) {
        const G4Page& page = pages.pages()[index];
        std::vector<std::uint8_t> coded;
        bool read = false;
        if (recognize) {
            const std::lock_guard lock(reading);
            read = pages.readCodedData(index, coded);
        }
        if (read) {
            const auto pixels = decodeForRecognition(coded, page.width, page.rows, page.xDpi, page.yDpi);
            coded = {};  // while the page is read, only its image is held
            if (pixels) recognized[index] = recognize(recognition.languages, recognition.orientation, *pixels);
        }
        if (recognition.pageRecognized) recognition.pageRecognized();
    });
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
