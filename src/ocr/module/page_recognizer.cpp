#include "ocr/module/page_recognizer.h"

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <mutex>
#include <optional>

#include "ocr/module/ink_orientation.h"
#include "ocr/languages.h"
#include "ocr/module/page_turn.h"
#include "ocr/module/text_lines.h"

namespace quillon {

namespace {

// From this confidence on, the detector's finding is taken as it is.
// Tesseract rates a full page of text, upright or upside down, at 15 to 30;
// pages with little text or drawings go as low as 1 to 5 whichever way they
// are read.
constexpr float kSureOrientation = 10;
// A finding between this and kSureOrientation is tried: the page is read
// both as faxed and turned, and turned wins only when Tesseract reads its
// words with clearly more confidence (kClearlyBetter more of 100, on
// average). A letter with a few paragraphs upside down gets 5 to 10.
constexpr float kPossibleOrientation = 4;
constexpr double kClearlyBetter = 10;
// A page read as faxed with this many words at this mean confidence is
// upright: the detector (a fifth of a page's time) is not asked. Text read
// upside down or sideways gives Tesseract's words a confidence of 30 to 50.
constexpr std::size_t kUprightWords = 20;
constexpr double kUprightConfidence = 80;

// Engines that start at once load their data one after the other.
std::mutex& startingEngines() {
    static std::mutex starting;
    return starting;
}

// Tesseract's own messages would mix into the program's standard error. The
// file they go to, debug_file, is one of its global parameters, read by
// every engine as it prints: it is set once, before the first engine starts,
// never while another engine reads it.
void silenceTesseract(tesseract::TessBaseAPI& api) {
    static std::once_flag silenced;
    std::call_once(silenced, [&api] { api.SetVariable("debug_file", "/dev/null"); });
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
    silenceTesseract(*api_);
    const std::lock_guard<std::mutex> lock(startingEngines());
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

PageRecognizer::Orientation PageRecognizer::detectOrientation(const PagePixels& pixels) {
    if (!orientationTried_) {
        orientationTried_ = true;
        if (missingLanguage({"osd"}).empty()) {
            orientation_ = std::make_unique<tesseract::TessBaseAPI>();
            const std::lock_guard<std::mutex> lock(startingEngines());
            // The orientation data are a model of Tesseract's older engine.
            if (orientation_->Init(languageDataFolder().c_str(), "osd", tesseract::OEM_TESSERACT_ONLY) != 0)
                orientation_.reset();
        }
    }
    Orientation found;
    if (!orientation_) return found;
    orientation_->SetPageSegMode(tesseract::PSM_OSD_ONLY);
    orientation_->SetImage(pixels.bits.data(), int(pixels.width), int(pixels.rows), 0, int(pixels.bytesPerRow));
    orientation_->SetSourceResolution(int(pixels.dpi));
    int turnedBy = 0;  // the page as faxed is turned that far clockwise from upright
    if (orientation_->DetectOrientationScript(&turnedBy, &found.confidence, nullptr, nullptr))
        found.turn = (360 - turnedBy) % 360;
    else
        found.confidence = -1;
    orientation_->Clear();
    return found;
}

RecognizedPage PageRecognizer::read(const PagePixels& pixels, int turn) {
    RecognizedPage page;
    const PagePixels upright = turnedClockwise(pixels, turn);
    api_->SetImage(upright.bits.data(), int(upright.width), int(upright.rows), 0, int(upright.bytesPerRow));
    api_->SetSourceResolution(int(upright.dpi));
    if (api_->Recognize(nullptr) != 0) {
        api_->Clear();
        return page;
    }
    page.rotation = turn;
    page.width = upright.width;
    page.rows = upright.rows;
    const std::unique_ptr<tesseract::ResultIterator> results(api_->GetIterator());
    if (results) readTextLines(*results, page);
    api_->Clear();
    page.recognized = true;
    return page;
}

RecognizedPage PageRecognizer::recognize(const PagePixels& pixels, PageOrientation orientation) {
    if (!ready_ || pixels.bits.empty()) return {};
    if (orientation == PageOrientation::AsFaxed) return read(pixels, 0);
    const auto readsClearly = [](const RecognizedPage& page) {
        return page.recognized && page.wordCount() >= kUprightWords && page.meanConfidence() >= kUprightConfidence;
    };
    // A page whose ink says it was fed upside down goes to the detector first:
    // when the detector is sure and the page reads clearly turned, it is read
    // once instead of twice.
    std::optional<Orientation> found;
    std::optional<RecognizedPage> turned;
    if (inkLooksUpsideDown(pixels)) {
        found = detectOrientation(pixels);
        if (found->turn != 0 && found->confidence >= kSureOrientation) {
            turned = read(pixels, found->turn);
            if (readsClearly(*turned)) {
                turned->orientationConfidence = found->confidence;
                return std::move(*turned);
            }
        }
    }
    RecognizedPage page = read(pixels, 0);
    if (!readsClearly(page)) {
        if (!found) found = detectOrientation(pixels);
        if (found->turn != 0 && (found->confidence >= kSureOrientation ||
                                 (found->confidence >= kPossibleOrientation && page.recognized))) {
            if (!turned) turned = read(pixels, found->turn);
            const bool sure = found->confidence >= kSureOrientation;
            if (turned->recognized && (sure || turned->meanConfidence() >= page.meanConfidence() + kClearlyBetter))
                page = std::move(*turned);
        }
    }
    // Only a page the detector was asked about has its confidence.
    if (found) page.orientationConfidence = found->confidence;
    return page;
}

PageRecognizer* recognizerForThisThread(const std::string& languages) {
    thread_local std::unique_ptr<PageRecognizer> recognizer;
    if (!recognizer || recognizer->languages() != languages) recognizer = std::make_unique<PageRecognizer>(languages);
    return recognizer->ready() ? recognizer.get() : nullptr;
}

}  // namespace quillon
