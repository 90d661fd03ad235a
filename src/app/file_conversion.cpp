#include "app/file_conversion.h"

#include <cstdio>
#include <vector>

#include "app/pdf_output.h"
#include "app/pending_output.h"
#include "engine/conversion_engine.h"
#include "engine/format_detection.h"
#include "formats/winfax_reader.h"
#include "platform/file_times.h"
#include "platform/files.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon {

namespace {

const char* kCopyFailedLine = "Failed : Error in converting FAX to TIFF !\r\n";

// Copies an intermediate file of source to its output, in the job's output
// format, through a temporary name.
bool copyToOutput(const BatchJob& job, const std::string& source, const std::string& intermediate,
                  const std::string& output) {
    if (!platform::fileExists(intermediate)) return false;
    PendingOutput pending(output);
    if (pending.path().empty()) return false;
    const bool written = job.outputFormat == OutputFormat::Pdf
                             ? writePdfOutput(job, source, intermediate, pending.path())
                             : copyTiff(intermediate, pending.path(), job.copyOptions) == 0;
    return written && pending.commit();
}

std::string threeDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

void removeIntermediates(const std::string& intermediate, int pageCount) {
    platform::removeFile(intermediate);
    for (int page = 1; page <= pageCount; ++page) platform::removeFile(winFaxPageFileName(intermediate, page));
}

// The files a fax of `pages` pages is written to.
std::vector<std::string> outputNames(const BatchJob& job, int pages, const std::string& destination) {
    if (!job.convertOptions.splitPages() || pages <= 1) return {destination};
    std::vector<std::string> names;
    for (int page = 1; page <= pages; ++page)
        names.push_back(winFaxPageFileName(destination, page, outputExtension(job.outputFormat)));
    return names;
}

// Takes the file's place among the run's outputs and leaves it with what
// was written, however the conversion ends.
class RunTicket {
public:
    RunTicket(BatchJob& job, const std::string& source, const std::vector<std::string>& written)
        : outputs_(*job.runOutputs), ticket_(job.runTicket ? *job.runTicket : outputs_.enter()), source_(source),
          written_(written) {}
    ~RunTicket() { outputs_.leave(ticket_, written_, source_); }
    RunTicket(const RunTicket&) = delete;
    RunTicket& operator=(const RunTicket&) = delete;

    // The results line of a file whose output an earlier file of the run
    // wrote; empty when none did, and the names are then the file's.
    std::string claim(const std::vector<std::string>& names) {
        const std::optional<EarlierOutput> earlier = outputs_.claim(ticket_, names);
        if (!earlier) return {};
        return "Failed : " + source_ + " - " + earlier->path + " was already written from " + earlier->source +
               " in this run; keep sub-folders or extensions in the output names (/kh, /ke, or Keep "
               "Hiberarchy and Include Source File Extention in the window)\r\n";
    }

private:
    RunOutputs& outputs_;
    std::size_t ticket_;
    const std::string& source_;
    const std::vector<std::string>& written_;
};

// Steps that run once the engine has written the intermediate file(s).
// Returns the result and fills `outputs` with the files that were written.
int copyPages(BatchJob& job, const ConversionEngine& engine, const std::string& source,
              const std::string& destination, std::vector<std::string>& outputs) {
    const int pages = engine.pageCount();
    const std::string& intermediate = job.intermediatePageFile;
    int result = kConverted;
    if (job.convertOptions.splitPages() && pages > 1) {
        job.results += "Multiple pages as following :\r\n";
        const std::vector<std::string> names = outputNames(job, pages, destination);
        for (int page = 1; page <= pages; ++page) {
            const std::string& output = names[std::size_t(page - 1)];
            if (!copyToOutput(job, source, winFaxPageFileName(intermediate, page), output)) {
                job.results += kCopyFailedLine;
                result = kCopyFailed;  // one failed page fails the file
                continue;
            }
            outputs.push_back(output);
            job.results += "        page " + threeDigits(page) + " --> " + output + " : Success !\r\n";
        }
    } else {
        // In split mode a one-page fax was written to the page file of page 1.
        const std::string& written = job.convertOptions.splitPages() ? winFaxPageFileName(intermediate, 1) : intermediate;
        if (!copyToOutput(job, source, written, destination)) {
            job.results += kCopyFailedLine;
            return kCopyFailed;
        }
        outputs.push_back(destination);
        if (!engine.pagesLeftOut()) job.results += "Success !\r\n";
    }
    if (engine.pagesLeftOut()) {
        job.results += "Failed : " + source + " - Pages left out: only the first " + std::to_string(pages) +
                       " pages were converted\r\n";
        return kPagesLeftOut;
    }
    return result;
}

}  // namespace

namespace {

int convertChecked(BatchJob& job, const std::string& source, const std::string& destination, FileOutcome& outcome) {
    RunTicket ticket(job, source, outcome.outputs);
    const FaxFormat format = detectFormat(source);
    if (format == kFormatTiff) return kSourceIsTiff;
    if (format != kFormatWinFax) return kNotWinFax;
    job.results += source + " --> " + destination + " : ";

    if (job.skipExisting && platform::fileSize(destination) > 0) {
        job.results += "Skipped : " + destination + " already exist!\r\n";
        return kSkippedExisting;
    }
    const std::string::size_type slash = destination.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = destination.substr(0, slash);
        if (!makeFolderPath(folder)) {
            job.results += "Failed to create dir: " + folder + "\r\n";
            return kCannotMakeFolder;
        }
    }

    int pages = 0;
    int result = kConverted;
    try {
        ConversionEngine engine(job.convertOptions);
        engine.openSource(source, kFormatWinFax);
        if (!engine.hasImage()) {
            job.results += "Failed : " + source + " - Not Fax\r\n";
            return kNotFax;
        }
        pages = engine.pageCount();
        const std::vector<std::string> planned = outputNames(job, pages, destination);
        if (const std::string taken = ticket.claim(planned); !taken.empty()) {
            job.results += taken;
            return kOutputTakenInRun;
        }
        removeIntermediates(job.intermediatePageFile, pages);  // never copy a left-over file
        if (engine.convert(job.intermediatePageFile, kFormatWinFax) != 0) {
            job.results += "Failed : " + source + " - Error Fax\r\n";
            removeIntermediates(job.intermediatePageFile, pages);
            return kEngineFailed;
        }
        outcome.pages = engine.pages();
        result = copyPages(job, engine, source, destination, outcome.outputs);
    } catch (...) {
        // Whatever escaped (not only std::exception) costs this file only.
        job.results += "Exception : Failed in FAX to TIFF conversion\r\n";
        result = kException;
    }
    removeIntermediates(job.intermediatePageFile, pages);

    // A failed conversion stays failed: the date copy only decides for files
    // that were converted.
    if (job.keepDate) {
        for (const std::string& output : outcome.outputs) {
            const int copied = copyFileTimes(source, output);
            if (result == kConverted) result = copied;
        }
    }
    return result;
}

}  // namespace

int convertFile(BatchJob& job, const std::string& source, const std::string& destination, FileOutcome* outcome) {
    FileOutcome local;
    FileOutcome& filled = outcome ? *outcome : local;
    filled = FileOutcome{};
    filled.source = source;
    filled.result = convertChecked(job, source, destination, filled);
    return filled.result;
}

bool makeFolderPath(const std::string& folder) {
    if (platform::folderExists(folder)) return true;
    const std::string::size_type slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0) makeFolderPath(folder.substr(0, slash));
    return platform::makeFolder(folder) || platform::folderExists(folder);
}

int copyFileTimes(const std::string& from, const std::string& to) {
    platform::FileTimes times;
    if (!platform::readFileTimes(from, times)) return -1;
    return platform::writeFileTimes(to, times) ? 0 : -2;
}

}  // namespace quillon
