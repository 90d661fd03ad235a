#include "app/pdf_writer_module.h"

#include <atomic>
#include <mutex>

#include "platform/module_loader.h"

namespace quillon {

namespace {
std::atomic<FaxPdfWriter> handedOver{nullptr};
}  // namespace

void useFaxPdfWriter(FaxPdfWriter writer) { handedOver = writer; }

FaxPdfWriter faxPdfWriter(std::string& error) {
    if (FaxPdfWriter writer = handedOver) return writer;
    // Workers ask at once; the module is loaded once.
    static std::once_flag loading;
    static FaxPdfWriter loaded = nullptr;
    static std::string loadError;
    std::call_once(loading, [] {
        void* entry = platform::moduleFunction("quillon-pdf.so", "quillonFaxPdfWriter", loadError);
        if (entry) loaded = reinterpret_cast<FaxPdfWriter (*)()>(entry)();
    });
    error = loadError;
    return loaded;
}

}  // namespace quillon
