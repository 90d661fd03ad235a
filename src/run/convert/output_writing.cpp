#include "run/convert/output_writing.h"

#include <algorithm>
#include <atomic>

#include "pdf/g4_page_spool.h"
#include "platform/paths.h"
#include "platform/private_temp_folder.h"
#include "quillon_version.h"
#include "run/convert/loaded_modules.h"
#include "run/convert/output_file.h"
#include "run/convert/output_names.h"
#include "run/convert/page_recognition.h"
#include "tiff/g4_tiff_output.h"

namespace quillon {

namespace {

using PageRange = std::pair<std::uint16_t, std::uint16_t>;  // first page and count

// A file the outcome lists as written, with its checksum when pages are fingerprinted.
void noteWritten(const BatchJob& job, const OutputFile& file, const std::string& path, FileOutcome& outcome) {
    outcome.outputs.push_back(path);
    if (job.convertOptions.fingerprintPages) outcome.outputSha256.push_back(file.sha256());
}

// A module that cannot be loaded fails or weakens every file alike: said once a file.
void warnOnce(const std::vector<std::string>& problems, FileOutcome& outcome) {
    for (const std::string& problem : problems)
        if (std::find(outcome.warnings.begin(), outcome.warnings.end(), problem) == outcome.warnings.end())
            outcome.warnings.push_back(problem);
}

// The pages as one Group 4 TIFF file.
bool writeTiff(const FaxToWrite& fax, PageRange pages, OutputFile& file) {
    G4TiffOutput tiff;
    if (!tiff.open(file, fax.record)) return false;
    const bool coded = fax.engine.writeG4(tiff, pages.first, pages.second, G4Layout{});
    return tiff.close() && coded && file.finish();
}

// The pages as one PDF, titled with the source's name and dated with its
// modification time. The coded pages wait in memory, or for long faxes in a
// file of the private temporary folder, until the PDF is written; with
// "/ocr" they are recognised first and recognized gets their words.
bool writePdf(const BatchJob& job, const FaxToWrite& fax, PageRange pages, OutputFile& file,
              std::vector<RecognizedPage>& recognized, FileOutcome& outcome) {
    if (!fax.source.times()) return false;
    PdfDocumentInfo info;
    info.title = std::string(platform::fileNamePart(fax.source.path()));
    info.producer = QUILLON_VERSION_TEXT;
    info.created = fax.source.times()->modificationSeconds();
    info.runRecord = fax.record;

    // Workers convert at once: each spill file gets a name of its own.
    static std::atomic<unsigned> spillFiles{0};
    const std::string& folder = platform::privateTempFolder();
    if (folder.empty()) return false;
    std::string error;
    const FaxPdfWriter writePdfFile = faxPdfWriter(error);
    if (!writePdfFile) {
        warnOnce({"PDF files cannot be written: " + error}, outcome);
        return false;
    }
    G4PageSpool spool(folder + "pdf-pages-" + std::to_string(spillFiles++) + ".g4");
    if (!fax.engine.writeG4(spool, pages.first, pages.second, G4Layout{.stripPerPage = true, .msbFirst = true}))
        return false;
    const TextRecognition& recognition = job.recognition;
    if (recognition.enabled) {
        std::vector<std::string> problems;
        recognized = recognizePages(spool, recognition, problems);
        warnOnce(problems, outcome);
    }
    return writePdfFile(spool, info, file, recognition.enabled ? &recognized : nullptr) && file.finish();
}

// One output of pages in the job's format, and with "/ocrtext" its text
// file: both complete or neither.
bool writeOutput(const BatchJob& job, const FaxToWrite& fax, PageRange pages, const std::string& output,
                 FileOutcome& outcome) {
    OutputFile image(output, fax.pending);
    if (job.outputFormat == OutputFormat::Tiff) {
        if (!writeTiff(fax, pages, image) || !image.keep()) return false;
        noteWritten(job, image, output, outcome);
        return true;
    }
    std::vector<RecognizedPage> texts;
    if (!writePdf(job, fax, pages, image, texts, outcome)) return false;
    for (const RecognizedPage& text : texts)
        outcome.texts.push_back({text.recognized, text.wordCount(), text.meanConfidence(), text.rotation,
                                 text.orientationConfidence});
    if (!job.recognition.writeText) {
        if (!image.keep()) return false;
        noteWritten(job, image, output, outcome);
        return true;
    }
    const std::string textName = textOutputName(output);
    OutputFile text(textName, fax.pending);
    if (!text.write(pagesText(texts)) || !text.finish() || !image.keep() || !text.keep()) return false;
    noteWritten(job, image, output, outcome);
    noteWritten(job, text, textName, outcome);
    return true;
}

}  // namespace

FileResult writePages(const BatchJob& job, const FaxToWrite& fax, const std::vector<std::string>& names,
                      FileOutcome& outcome) {
    const std::uint16_t pages = fax.engine.pageCount();
    bool written = true;
    if (names.size() > 1) {
        for (std::uint16_t page = 0; page < pages; ++page) {
            const bool pageWritten = writeOutput(job, fax, {page, 1}, names[page], outcome);
            outcome.pageFiles.push_back({names[page], pageWritten});
            written = written && pageWritten;  // one failed page fails the file
        }
    } else {
        written = writeOutput(job, fax, {0, pages}, names.front(), outcome);
    }
    if (!written) return FileResult::WriteFailed;
    return fax.engine.pagesLeftOut() ? FileResult::PagesLeftOut : FileResult::Converted;
}

}  // namespace quillon
