#include "app/pdf_output.h"

#include <tiffio.h>

#include "app/startup.h"
#include "pdf/fax_pdf.h"
#include "platform/file_times.h"
#include "platform/files.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon {

bool writePdfOutput(const BatchJob& job, const std::string& source, const std::string& intermediate,
                    const std::string& pdfPath) {
    platform::FileTimes times;
    if (!platform::readFileTimes(source, times)) return false;
    PdfDocumentInfo info;
    info.title = source.substr(source.rfind('/') + 1);
    info.producer = kVersionText;
    info.created = times.modification.tv_sec;

    CopyOptions g4 = job.copyOptions;
    g4.compressionChoice = 6;  // Group 4, the one coding a PDF page takes here
    g4.fillOrder = FILLORDER_MSB2LSB;
    g4.stripPerImage = true;
    g4.append = 0;
    const std::string pages = job.intermediatePageFile + ".g4";
    const bool written = copyTiff(intermediate, pages, g4) == copyTiffDone && writeFaxPdf(pages, info, pdfPath);
    platform::removeFile(pages);
    return written;
}

}  // namespace quillon
