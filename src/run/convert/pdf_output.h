#pragma once
// The PDF road of a conversion: the fax's Group 4 pages, coded by the direct
// road as one stream per page, most significant bit first, go into a PDF
// unchanged (held in memory, or for long faxes in a file of the private
// temporary folder, until the PDF is written).

#include <cstdint>
#include <string>
#include <vector>

#include "run/request/batch_job.h"
#include "engine/conversion_engine.h"
#include "ocr/recognized_page.h"
#include "platform/source_file.h"

namespace quillon {

// Writes pages [first, first + count) of the open fax as the PDF pdfPath,
// titled with source's name and dated with its modification time, as its
// open handle gave it. False when the pages cannot be coded, the PDF cannot
// be written or the source's times are not known. With recognition
// enabled, the pages get text layers and recognized their text. Why a part
// of the program could not be used (its module not loaded) goes to
// problems, for the file's outcome. A run record (resume_record.h), when
// given, goes into the document information.
bool writePdfOutput(ConversionEngine& engine, const platform::SourceFile& source, std::uint16_t first,
                    std::uint16_t count, const std::string& pdfPath, const TextRecognition& recognition,
                    std::vector<RecognizedPage>& recognized, std::vector<std::string>& problems,
                    const std::string& runRecord = {});

}  // namespace quillon
