#include "app/pdf_output.h"

#include <atomic>

#include "app/page_recognition.h"
#include "app/startup.h"
#include "pdf/fax_pdf.h"
#include "platform/file_times.h"
#include "platform/files.h"
#include "platform/private_temp_folder.h"

namespace quillon {

bool writePdfOutput(ConversionEngine& engine, const std::string& source, std::uint16_t first, std::uint16_t count,
                    const std::string& pdfPath, const TextRecognition& recognition,
                    std::vector<RecognizedPage>* recognized) {
    platform::FileTimes times;
    if (!platform::readFileTimes(source, times)) return false;
    PdfDocumentInfo info;
    info.title = source.substr(source.rfind('/') + 1);
    info.producer = kVersionText;
    info.created = times.modification.tv_sec;

    // Workers convert at once: each page file gets a name of its own.
    static std::atomic<unsigned> pageFiles{0};
    const std::string& folder = platform::privateTempFolder();
    if (folder.empty()) return false;
    const std::string pages = folder + "pdf-pages-" + std::to_string(pageFiles++) + ".tif";
    bool written = engine.writeG4(pages, first, count, G4Layout{.stripPerPage = true, .msbFirst = true}) == 0;
    std::vector<RecognizedPage> texts;
    if (written && recognition.enabled) texts = recognizePages(pages, recognition);
    written = written && writeFaxPdf(pages, info, pdfPath, recognition.enabled ? &texts : nullptr);
    if (recognized) *recognized = std::move(texts);
    platform::removeFile(pages);
    return written;
}

}  // namespace quillon
