#pragma once
// Text recognition of fax pages with the Tesseract library. An engine loads
// its languages once and reads page after page; it is not thread-safe, so
// each worker thread has its own (see recognizerForThisThread).

#include <memory>
#include <string>

#include "ocr/page_pixels.h"
#include "ocr/recognized_page.h"

namespace tesseract {
class TessBaseAPI;
}

namespace quillon {

class PageRecognizer {
public:
    // Loads the languages ("eng+deu") from languageDataFolder(); not ready
    // when a name is invalid or a language is not installed.
    explicit PageRecognizer(const std::string& languages);
    ~PageRecognizer();
    PageRecognizer(const PageRecognizer&) = delete;
    PageRecognizer& operator=(const PageRecognizer&) = delete;

    bool ready() const { return ready_; }
    const std::string& languages() const { return languages_; }
    // The words and text of a page, in the page's own pixels (rows as the
    // page has them, not as repeated); recognized is false when it failed.
    RecognizedPage recognize(const PagePixels& pixels);

private:
    std::string languages_;
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    bool ready_ = false;
};

// This thread's recognizer for these languages, made on first use and kept
// until the thread ends; nullptr when the languages cannot be loaded.
PageRecognizer* recognizerForThisThread(const std::string& languages);

}  // namespace quillon
