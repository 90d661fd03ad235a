#include "run/convert/output_writing.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "ocr/text_documents.h"
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
              std::vector<RecognizedPage>& recognized, std::vector<PageImageSize>& images, FileOutcome& outcome) {
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
        recognized = recognizePages(spool, recognition, fax.pageSharing, problems);
        warnOnce(problems, outcome);
        for (const G4Page& page : spool.pages()) images.push_back({page.width, page.rows});
    }
    return writePdfFile(spool, info, file, recognition.enabled ? &recognized : nullptr) && file.finish();
}

// A PDF's recognised text in one of the forms of "/ocrtext=".
std::string textFileContent(TextFile form, const std::vector<RecognizedPage>& texts,
                            const std::vector<PageImageSize>& images, const std::string& pdf) {
    if (form == TextFile::Plain) return pagesText(texts);
    const TextDocumentPages document{texts, images, std::string(platform::fileNamePart(pdf)), QUILLON_VERSION_TEXT};
    return form == TextFile::Hocr ? hocrDocument(document) : altoDocument(document);
}

// One output of pages in the job's format, and with "/ocrtext" its text
// files: all complete or none.
bool writeOutput(const BatchJob& job, const FaxToWrite& fax, PageRange pages, const std::string& output,
                 FileOutcome& outcome) {
    OutputFile image(output, fax.pending);
    if (job.outputFormat == OutputFormat::Tiff) {
        if (!writeTiff(fax, pages, image) || !image.keep()) return false;
        noteWritten(job, image, output, outcome);
        return true;
    }
    std::vector<RecognizedPage> texts;
    std::vector<PageImageSize> images;
    if (!writePdf(job, fax, pages, image, texts, images, outcome)) return false;
    for (const RecognizedPage& text : texts)
        outcome.texts.push_back({text.recognized, text.wordCount(), text.meanConfidence(), text.rotation,
                                 text.orientationConfidence});
    const std::vector<TextFile>& forms = job.recognition.textFiles;
    std::vector<std::unique_ptr<OutputFile>> textFiles;
    for (const TextFile form : forms) {
        textFiles.push_back(std::make_unique<OutputFile>(textOutputName(output, form), fax.pending));
        OutputFile& text = *textFiles.back();
        if (!text.write(textFileContent(form, texts, images, output)) || !text.finish()) return false;
    }
    if (!image.keep()) return false;
    for (const auto& text : textFiles)
        if (!text->keep()) return false;
    noteWritten(job, image, output, outcome);
    for (std::size_t at = 0; at < forms.size(); ++at)
        noteWritten(job, *textFiles[at], textOutputName(output, forms[at]), outcome);
    return true;
}

}  // namespace

FileResult writePages(const BatchJob& job, const FaxToWrite& fax, const std::vector<std::string>& names,
                      FileOutcome& outcome) {
    const std::uint16_t pages = fax.engine.pageCount();
    bool written = true;
    if (job.onlyPage) {
        written = *job.onlyPage < pages && writeOutput(job, fax, {*job.onlyPage, 1}, names.front(), outcome);
    } else if (names.size() > 1) {
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
