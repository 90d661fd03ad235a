#include "app/file_conversion.h"

#include <cstdio>
#include <vector>

#include "app/page_recognition.h"
#include "app/pdf_output.h"
#include "app/pending_output.h"
#include "app/run_ticket.h"
#include "engine/conversion_engine.h"
#include "engine/format_detection.h"
#include "formats/winfax_reader.h"
#include "platform/file_times.h"
#include "platform/files.h"

namespace quillon {

namespace {

const char* kCopyFailedLine = "Failed : Error in converting FAX to TIFF !\r\n";

// The recognised text's file beside a PDF: its extension replaced by ".txt".
std::string textOutputName(const std::string& output) {
    const std::size_t dot = output.rfind('.');
    const std::size_t slash = output.rfind('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? output.substr(0, dot) : output) + ".txt";
}

// Writes pages [first, first + count) of the fax to an output, in the job's
// output format, through a temporary name; with "/ocrtext" their text too,
// both complete or neither. The pages' recognition joins outcome.texts.
bool writeOutput(const BatchJob& job, ConversionEngine& engine, const std::string& source, std::uint16_t first,
                 std::uint16_t count, const std::string& output, FileOutcome& outcome) {
    PendingOutput pending(output);
    if (pending.path().empty()) return false;
    if (job.outputFormat == OutputFormat::Tiff)
        return engine.writeG4(pending.path(), first, count) && pending.commit();

    std::vector<RecognizedPage> texts;
    if (!writePdfOutput(engine, source, first, count, pending.path(), job.recognition, &texts)) return false;
    for (const RecognizedPage& text : texts)
        outcome.texts.push_back({text.recognized, text.words.size(), text.meanConfidence()});
    if (!job.recognition.writeText) return pending.commit();
    PendingOutput pendingText(textOutputName(output));
    if (pendingText.path().empty() || !platform::writeWholeFile(pendingText.path(), pagesText(texts))) return false;
    return pending.commit() && pendingText.commit();
}

std::string threeDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

// The files a fax of `pages` pages is written to.
std::vector<std::string> outputNames(const BatchJob& job, int pages, const std::string& destination) {
    if (!job.convertOptions.splitPages() || pages <= 1) return {destination};
    std::vector<std::string> names;
    for (int page = 1; page <= pages; ++page)
        names.push_back(winFaxPageFileName(destination, page, outputExtension(job.outputFormat)));
    return names;
}

// Writes the pages of the open fax to their output(s). Returns the result
// and fills `outputs` with the files that were written.
int writePages(BatchJob& job, ConversionEngine& engine, const std::string& source, const std::string& destination,
               FileOutcome& outcome) {
    std::vector<std::string>& outputs = outcome.outputs;
    const int pages = engine.pageCount();
    int result = kConverted;
    if (job.convertOptions.splitPages() && pages > 1) {
        job.results += "Multiple pages as following :\r\n";
        const std::vector<std::string> names = outputNames(job, pages, destination);
        for (int page = 1; page <= pages; ++page) {
            const std::string& output = names[std::size_t(page - 1)];
            if (!writeOutput(job, engine, source, std::uint16_t(page - 1), 1, output, outcome)) {
                job.results += kCopyFailedLine;
                result = kCopyFailed;  // one failed page fails the file
                continue;
            }
            outputs.push_back(output);
            if (job.recognition.writeText) outputs.push_back(textOutputName(output));
            job.results += "        page " + threeDigits(page) + " --> " + output + " : Success !\r\n";
        }
    } else {
        if (!writeOutput(job, engine, source, 0, std::uint16_t(pages), destination, outcome)) {
            job.results += kCopyFailedLine;
            return kCopyFailed;
        }
        outputs.push_back(destination);
        if (job.recognition.writeText) outputs.push_back(textOutputName(destination));
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

// Why a source that is not converted by its name or its bytes is no fax:
// told apart so that "Not Fax" never hides a missing or unreadable file.
FileProblem sourceProblem(const std::string& source, FaxFormat format, std::string& detail) {
    switch (platform::pathKind(source)) {
        case platform::PathKind::Missing: return FileProblem::NoSuchFile;
        case platform::PathKind::Folder: return FileProblem::Folder;
        case platform::PathKind::File:
        case platform::PathKind::Other: break;
    }
    if (format == FaxFormat::Tiff) return FileProblem::TiffSource;
    if (format != FaxFormat::WinFax) return FileProblem::NotWinFaxExtension;
    detail = platform::readError(source);
    return detail.empty() ? FileProblem::None : FileProblem::Unreadable;
}

// The output among names that is a source of the run, or empty.
std::string outputThatIsSource(const BatchJob& job, const std::string& source, const std::vector<std::string>& names) {
    const RunSources own({source});
    for (const std::string& name : names)
        if (own.contains(name) || (job.runSources && job.runSources->contains(name))) return name;
    return {};
}

int convertChecked(BatchJob& job, const std::string& source, const std::string& destination, FileOutcome& outcome) {
    RunTicket ticket(job, source, outcome.outputs);
    const FaxFormat format = detectFormat(source);
    outcome.problem = sourceProblem(source, format, outcome.problemDetail);
    if (format == FaxFormat::Tiff) return kSourceIsTiff;
    if (format != FaxFormat::WinFax) return kNotWinFax;
    job.results += source + " --> " + destination + " : ";

    if (job.skipExisting && platform::fileSize(destination) > 0) {
        outcome.problem = FileProblem::None;
        job.results += "Skipped : " + destination + " already exist!\r\n";
        return kSkippedExisting;
    }
    if (outcome.problem != FileProblem::None) {
        job.results += "Failed : " + source + " - Not Fax\r\n";
        return kNotFax;
    }
    const std::string::size_type slash = destination.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = destination.substr(0, slash);
        if (!makeFolderPath(folder)) {
            outcome.problem = FileProblem::FolderNotMade;
            job.results += "Failed to create dir: " + folder + "\r\n";
            return kCannotMakeFolder;
        }
    }

    int pages = 0;
    int result = kConverted;
    try {
        ConversionEngine engine(job.convertOptions, std::make_unique<WinFaxReader>());
        engine.openSource(source);
        if (!engine.hasImage()) {
            outcome.problem = engine.pageCount() == 0 ? FileProblem::NoSignature : FileProblem::NoFaxData;
            job.results += "Failed : " + source + " - Not Fax\r\n";
            return kNotFax;
        }
        pages = engine.pageCount();
        const std::vector<std::string> planned = outputNames(job, pages, destination);
        std::vector<std::string> written = planned;
        if (job.recognition.writeText)
            for (const std::string& output : planned) written.push_back(textOutputName(output));
        if (const std::string taken = outputThatIsSource(job, source, written); !taken.empty()) {
            outcome.problem = FileProblem::OutputIsSource;
            outcome.problemDetail = taken;
            job.results += "Failed : " + source + " - the output " + taken +
                           " is a source of this run; nothing written\r\n";
            return kOutputIsSource;
        }
        if (const std::string taken = ticket.claim(planned); !taken.empty()) {
            outcome.problem = FileProblem::OutputTaken;
            job.results += taken;
            return kOutputTakenInRun;
        }
        result = writePages(job, engine, source, destination, outcome);
        outcome.pages = engine.pages();
        if (result == kCopyFailed) outcome.problem = FileProblem::WriteFailed;
        if (result == kPagesLeftOut) outcome.problem = FileProblem::PagesLeftOut;
    } catch (...) {
        // Whatever escaped (not only std::exception) costs this file only.
        job.results += "Exception : Failed in FAX to TIFF conversion\r\n";
        outcome.problem = FileProblem::Exception;
        result = kException;
    }

    // The date copy never changes the file's result: a failed conversion
    // stays failed, and a converted file whose times could not be copied is
    // still converted, with a warning.
    if (job.keepDate) {
        for (const std::string& output : outcome.outputs)
            if (copyFileTimes(source, output) != 0)
                outcome.warnings.push_back("the date and time of the source could not be given to " + output);
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
