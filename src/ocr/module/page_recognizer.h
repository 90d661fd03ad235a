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
    // The page's lines and text; recognized is false when it failed. With
    // orientation Detect, the page is read turned the right way up when the
    // detector is sure of its finding, or when it is fairly sure and the page
    // reads clearly better turned (see page_recognizer.cpp). A page whose ink
    // looks upside down (ink_orientation.h) is given to the detector before
    // it is read as faxed.
    RecognizedPage recognize(const PagePixels& pixels, PageOrientation orientation);

private:
    // What the orientation detector finds: the clockwise turn that puts the
    // page the right way up, and its confidence; negative when it found
    // nothing or its data (osd.traineddata) are not installed.
    struct Orientation {
        int turn = 0;
        float confidence = -1;
    };
    Orientation detectOrientation(const PagePixels& pixels);
    // The page read turned clockwise by turn; recognized false when it failed.
    RecognizedPage read(const PagePixels& pixels, int turn);

    std::string languages_;
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    // Tesseract's orientation detection, loaded with its own data on first use.
    std::unique_ptr<tesseract::TessBaseAPI> orientation_;
    bool orientationTried_ = false;
    bool ready_ = false;
};

// This thread's recognizer for these languages, made on first use and kept
// until the thread ends; nullptr when the languages cannot be loaded.
PageRecognizer* recognizerForThisThread(const std::string& languages);

}  // namespace quillon
