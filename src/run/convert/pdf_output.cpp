#include "run/convert/pdf_output.h"

#include <atomic>

#include "run/convert/page_recognition.h"
#include "run/convert/loaded_modules.h"
#include "quillon_version.h"
#include "pdf/g4_page_spool.h"
#include "platform/paths.h"
#include "platform/private_temp_folder.h"

namespace quillon {

bool writePdfOutput(ConversionEngine& engine, const platform::SourceFile& source, std::uint16_t first,
                    std::uint16_t count, const std::string& pdfPath, const TextRecognition& recognition,
                    std::vector<RecognizedPage>& recognized, std::vector<std::string>& problems,
                    const std::string& runRecord) {
    if (!source.times()) return false;
    PdfDocumentInfo info;
    info.title = std::string(platform::fileNamePart(source.path()));
    info.producer = QUILLON_VERSION_TEXT;
    info.created = source.times()->modificationSeconds();
    info.runRecord = runRecord;

    // Workers convert at once: each spill file gets a name of its own.
    static std::atomic<unsigned> spillFiles{0};
    const std::string& folder = platform::privateTempFolder();
    if (folder.empty()) return false;
    std::string error;
    const FaxPdfWriter writePdf = faxPdfWriter(error);
    if (!writePdf) {
        problems.push_back("PDF files cannot be written: " + error);
        return false;
    }
    G4PageSpool pages(folder + "pdf-pages-" + std::to_string(spillFiles++) + ".g4");
    bool written = engine.writeG4(pages, first, count, G4Layout{.stripPerPage = true, .msbFirst = true});
    if (written && recognition.enabled) recognized = recognizePages(pages, recognition, problems);
    return written && writePdf(pages, info, pdfPath, recognition.enabled ? &recognized : nullptr);
}

}  // namespace quillon
