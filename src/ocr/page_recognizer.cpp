#include "ocr/page_recognizer.h"

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <mutex>

#include "ocr/languages.h"

namespace quillon {

namespace {

// Tesseract hands out text it allocated with new[].
std::string takeText(char* text) {
    std::string copy = text ? text : "";
    delete[] text;
    return copy;
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
    // debug_file is one of Tesseract's global parameters, shared by every
    // engine: workers that start at once set it and load their languages one
    // after the other.
    static std::mutex starting;
    const std::lock_guard<std::mutex> lock(starting);
    // Its own messages would mix into the program's standard error.
    api_->SetVariable("debug_file", "/dev/null");
    ready_ = api_->Init(languageDataFolder().c_str(), languages.c_str(), tesseract::OEM_LSTM_ONLY) == 0;
}

PageRecognizer::~PageRecognizer() {
    if (api_) api_->End();
}

RecognizedPage PageRecognizer::recognize(const PagePixels& pixels) {
    RecognizedPage page;
    if (!ready_ || pixels.bits.empty()) return page;
    api_->SetImage(pixels.bits.data(), int(pixels.width), int(pixels.rows), 0, int(pixels.bytesPerRow));
    api_->SetSourceResolution(int(pixels.dpi));
    if (api_->Recognize(nullptr) != 0) {
        api_->Clear();
        return page;
    }
    page.text = takeText(api_->GetUTF8Text());
    const std::unique_ptr<tesseract::ResultIterator> words(api_->GetIterator());
    const auto repeat = std::int32_t(pixels.rowRepeat);
    if (words) {
        do {
            RecognizedWord word;
            word.text = takeText(words->GetUTF8Text(tesseract::RIL_WORD));
            if (word.text.empty() ||
                !words->BoundingBox(tesseract::RIL_WORD, &word.left, &word.top, &word.right, &word.bottom))
                continue;
            word.top /= repeat;
            word.bottom = (word.bottom + repeat - 1) / repeat;
            word.confidence = words->Confidence(tesseract::RIL_WORD);
            page.words.push_back(std::move(word));
        } while (words->Next(tesseract::RIL_WORD));
    }
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
