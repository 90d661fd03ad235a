#pragma once
// Writing a fax's outputs, TIFF and PDF alike: every page coded once to
// Group 4 by the engine, into a TIFF file or into the pages of a PDF (with
// their recognised text, "/ocr"), and the text file beside a PDF
// ("/ocrtext"). Each output is complete or not there (output_file.h); the
// written files, their checksums and the pages' text join the file's outcome,
// and the files wait among the pending outputs to be put in place.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/conversion_engine.h"
#include "platform/source_file.h"
#include "run/convert/pending_outputs.h"
#include "run/drive/page_sharing.h"
#include "run/outcome/file_outcome.h"
#include "run/request/batch_job.h"

namespace quillon {

// The open fax whose pages are written, and what its outputs say of it.
struct FaxToWrite {
    ConversionEngine& engine;
    const platform::SourceFile& source;  // a PDF is named and dated by it
    const std::string& record;           // "/resume"'s run record (resume_record.h), or empty
    PendingOutputs& pending;             // where the written outputs wait to be put in place
    PageSharing& pageSharing;            // who recognises the pages of a PDF with "/ocr"
};

// Writes every page of the fax to its outputs: one file, or in split mode
// (several names) one file a page, each noted in outcome.pageFiles. The
// result is Converted, PagesLeftOut (pages beyond the page table were not
// listed) or WriteFailed (one failed output fails the file).
FileResult writePages(const BatchJob& job, const FaxToWrite& fax, const std::vector<std::string>& names,
                      FileOutcome& outcome);

}  // namespace quillon
