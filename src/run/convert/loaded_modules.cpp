#include "run/convert/loaded_modules.h"

#include <atomic>
#include <mutex>

#include "platform/module_loader.h"

namespace quillon {

namespace {

// A module's part: the function its entry gives. Workers ask at once; the
// module is loaded once.
template <typename Function>
class ModulePart {
public:
    // `absent`: why the module is not there, for a part not in this build.
    ModulePart(const char* file, const char* entry, const char* absent = nullptr)
        : file_(file), entry_(entry), absent_(absent) {}
    void handOver(Function function) { handedOver_ = function; }
    Function get(std::string& error) {
        if (Function function = handedOver_) return function;
        std::call_once(loading_, [this] {
            if (absent_) {
                error_ = absent_;
                return;
            }
            void* entry = platform::moduleFunction(file_, entry_, error_);
            if (entry) loaded_ = reinterpret_cast<Function (*)()>(entry)();
        });
        error = error_;
        return loaded_;
    }

private:
    const char* file_;
    const char* entry_;
    const char* absent_;
    std::atomic<Function> handedOver_{nullptr};
    std::once_flag loading_;
    Function loaded_ = nullptr;
    std::string error_;
};

ModulePart<FaxPdfWriter>& pdfWriter() {
    static ModulePart<FaxPdfWriter> part("quillon-pdf", "quillonFaxPdfWriter");
    return part;
}

ModulePart<PdfPageImageReader>& pdfReader() {
    static ModulePart<PdfPageImageReader> part("quillon-pdf", "quillonPdfPageImages");
    return part;
}

ModulePart<PdfInfoTextReader>& pdfInfo() {
    static ModulePart<PdfInfoTextReader> part("quillon-pdf", "quillonPdfInfoText");
    return part;
}

ModulePart<PageRecognition>& recognition() {
#ifdef QUILLON_WITH_OCR
    static ModulePart<PageRecognition> part("quillon-ocr", "quillonPageRecognition");
#else
    static ModulePart<PageRecognition> part("quillon-ocr", "quillonPageRecognition",
                                            "text recognition (/ocr) is not in this build of quillon");
#endif
    return part;
}

}  // namespace

void useFaxPdfWriter(FaxPdfWriter writer) { pdfWriter().handOver(writer); }
FaxPdfWriter faxPdfWriter(std::string& error) { return pdfWriter().get(error); }
PdfPageImageReader pdfPageImageReader(std::string& error) { return pdfReader().get(error); }
PdfInfoTextReader pdfInfoTextReader(std::string& error) { return pdfInfo().get(error); }

void usePageRecognition(PageRecognition function) { recognition().handOver(function); }
PageRecognition pageRecognition(std::string& error) { return recognition().get(error); }

}  // namespace quillon
