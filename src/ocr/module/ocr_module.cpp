// The entry of the module quillon-ocr.so (platform/module_loader.h).

#include "ocr/module/page_recognizer.h"
#include "platform/module_loader.h"

QUILLON_MODULE_INTERFACE;

namespace {

quillon::RecognizedPage recognizeOnThisThread(const std::string& languages, quillon::PageOrientation orientation,
                                              const quillon::PagePixels& pixels) {
    quillon::PageRecognizer* recognizer = quillon::recognizerForThisThread(languages);
    return recognizer ? recognizer->recognize(pixels, orientation) : quillon::RecognizedPage{};
}

}  // namespace

extern "C" QUILLON_EXPORT quillon::PageRecognition quillonPageRecognition() { return &recognizeOnThisThread; }
