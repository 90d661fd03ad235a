#include "ocr/page_recognizer.h"

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <mutex>

#include "ocr/languages.h"
#include "ocr/page_turn.h"
#include "ocr/text_lines.h"

namespace quillon {

namespace {

// Below this confidence the detector's finding is not acted on: the page
// keeps the orientation it was faxed in. Tesseract rates an upright or
// upside-down page of text at 20 and more; pages with little text or
// drawings go as low as 1 to 5 whichever way they are read.
constexpr float kOrientationConfidence = 10;

// debug_file is one of Tesseract's global parameters, shared by every engine:
// engines that start at once set it and load their data one after the other.
std::mutex& startingEngines() {
    static std::mutex starting;
    return starting;
}

}  // namespace

PageRecognizer::PageRecognizer(const std::string& languages)
    : languages_(languages), api_(std::make_unique<tesseract::TessBaseAPI>()) {
    // Tesseract spreads one page over four OpenMP threads (a num_threads
    // clause, which omp_set_num_threads does not limit) that spin while they
    // wait: beside the workers' own threads that costs five times the
    // processor time per page. No active parallel level: each worker's
    // recognizer runs on its own thread only.
    omp_set_max_active_levels(0);
    // A name is part of a file path, and a missing language would only be
    // left out with a message of Tesseract's own.
    const auto names = splitLanguages(languages);
    if (!names || !missingLanguage(*names).empty()) return;
    const std::lock_guard<std::mutex> lock(startingEngines());
    // Its own messages would mix into the program's standard error.
    api_->SetVariable("debug_file", "/dev/null");
    ready_ = api_->Init(languageDataFolder().c_str(), languages.c_str(), tesseract::OEM_LSTM_ONLY) == 0;
    // Tesseract's own layout analysis, as its command line does: columns and
    // headings are read as such, and pictures and rules are found as what
    // they are instead of being read as letters.
    api_->SetPageSegMode(tesseract::PSM_AUTO);
}

PageRecognizer::~PageRecognizer() {
    if (api_) api_->End();
    if (orientation_) orientation_->End();
}

void PageRecognizer::detectOrientation(const PagePixels& pixels, RecognizedPage& page) {
    if (!orientationTried_) {
        orientationTried_ = true;
        if (missingLanguage({"osd"}).empty()) {
            orientation_ = std::make_unique<tesseract::TessBaseAPI>();
            const std::lock_guard<std::mutex> lock(startingEngines());
            orientation_->SetVariable("debug_file", "/dev/null");
            // The orientation data are a model of Tesseract's older engine.
            if (orientation_->Init(languageDataFolder().c_str(), "osd", tesseract::OEM_TESSERACT_ONLY) != 0)
                orientation_.reset();
        }
    }
    if (!orientation_) return;
    orientation_->SetPageSegMode(tesseract::PSM_OSD_ONLY);
    orientation_->SetImage(pixels.bits.data(), int(pixels.width), int(pixels.rows), 0, int(pixels.bytesPerRow));
    orientation_->SetSourceResolution(int(pixels.dpi));
    int turnedBy = 0;  // the page as faxed is turned that far clockwise from upright
    float confidence = 0;
    if (orientation_->DetectOrientationScript(&turnedBy, &confidence, nullptr, nullptr)) {
        page.orientationConfidence = confidence;
        if (confidence >= kOrientationConfidence) page.rotation = (360 - turnedBy) % 360;
    }
    orientation_->Clear();
}

RecognizedPage PageRecognizer::recognize(const PagePixels& pixels, PageOrientation orientation) {
    RecognizedPage page;
    if (!ready_ || pixels.bits.empty()) return page;
    if (orientation == PageOrientation::Detect) detectOrientation(pixels, page);
    const PagePixels upright = turnedClockwise(pixels, page.rotation);
    api_->SetImage(upright.bits.data(), int(upright.width), int(upright.rows), 0, int(upright.bytesPerRow));
    api_->SetSourceResolution(int(upright.dpi));
    if (api_->Recognize(nullptr) != 0) {
        api_->Clear();
        return page;
    }
    page.width = upright.width;
    page.rows = upright.rows;
    const std::unique_ptr<tesseract::ResultIterator> results(api_->GetIterator());
    if (results) readTextLines(*results, page);
    api_->Clear();
    page.recognized = true;
    return page;
}

PageRecognizer* recognizerForThisThread(const std::string& languages) {
    thread_local std::unique_ptr<PageRecognizer> recognizer;
    if (!recognizer || recognizer->languages() != languages) recognizer = std::make_unique<PageRecognizer>(languages);
    return recognizer->ready() ? recognizer.get() : nullptr;
}

}  // namespace quillon
