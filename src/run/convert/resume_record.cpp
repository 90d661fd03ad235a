#include "run/convert/resume_record.h"

#include "run/convert/loaded_modules.h"
#include "platform/files.h"
#include "tiff/tiff_description.h"

namespace quillon {

namespace {

bool carries(OutputFormat format, const std::string& image, const std::string& record) {
    if (platform::pathKind(image) != platform::PathKind::File) return false;
    if (format == OutputFormat::Tiff) return tiffImageDescription(image) == record;
    std::string error;
    const PdfInfoTextReader read = pdfInfoTextReader(error);
    return read && read(image, kRunRecordKey) == record;
}

}  // namespace

namespace {

// "yes" for the plain text alone, as records said before the other forms:
// outputs of such runs stay done.
std::string textFilesWord(const TextRecognition& recognition) {
    if (!recognition.enabled || recognition.textFiles.empty()) return "no";
    if (recognition.textFiles == std::vector<TextFile>{TextFile::Plain}) return "yes";
    std::string word;
    for (const TextFile file : recognition.textFiles)
        word += std::string(word.empty() ? "" : ",") +
                (file == TextFile::Plain ? "txt" : file == TextFile::Hocr ? "hocr" : "alto");
    return word;
}

}  // namespace

std::string resumeRecord(const BatchJob& job, const std::string& sourceSha256) {
    const TextRecognition& recognition = job.recognition;
    return "quillon-run:1 source-sha256=" + sourceSha256 +
           " format=" + (job.outputFormat == OutputFormat::Pdf ? "pdf" : "tiff") +
           " pages=" + (job.convertOptions.splitPages() ? "one-per-page" : "one-file") +
           " ocr=" + (recognition.enabled ? recognition.languages : "off") +
           " text-file=" + textFilesWord(recognition) +
           " turn=" + (recognition.enabled && recognition.orientation == PageOrientation::Detect ? "detect" : "no") +
           " lines=" + (job.convertOptions.recountLines ? "recounted" : "recorded") +
           // "/v=": the lines per inch of raw Group 3 pages
           " lpi=" + (job.convertOptions.verticalResolution ? std::to_string(job.convertOptions.verticalResolution) : "auto");
}

bool outputsCarryRecord(OutputFormat format, const std::vector<std::string>& images,
                        const std::vector<std::string>& texts, const std::string& record) {
    for (const std::string& image : images)
        if (!carries(format, image, record)) return false;
    // A PDF's text is committed right after it: complete when it is there.
    for (const std::string& text : texts)
        if (platform::pathKind(text) != platform::PathKind::File) return false;
    return !images.empty();
}

}  // namespace quillon
