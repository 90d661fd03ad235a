#include "app/command_line_mode.h"

#include <optional>
#include <ostream>

#include "app/conversion_log.h"
#include "app/conversion_report.h"
#include "app/file_conversion.h"
#include "app/folder_conversion.h"
#include "app/startup.h"
#include "app/terminal_progress.h"
#include "platform/terminal.h"
#include "tiff/tiff_messages.h"

namespace quillon {

namespace {

std::string withUnixLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace

int runCommandLineMode(BatchJob& job, const std::string& logFile, std::ostream& out, std::ostream& err) {
    // libtiff's errors explain outputs that could not be written.
    routeTiffMessages(TiffMessageTarget::errorsToStandardError);

    bool anyFailed = false;
    if (job.mode == JobMode::Folder) {
        out << "Please Wait...\n" << std::flush;
        job.fileList.clear();
        job.unreadableFolders.clear();
        if (job.source.empty()) {
            err << "quillon: no source folder: give the folder to convert with /d=\n";
            anyFailed = true;
        } else {
            collectFiles(job, job.source, job.includeSubFolders);
        }
        // A folder that cannot be read is never an empty folder to a script.
        for (const std::string& folder : job.unreadableFolders)
            err << "quillon: the folder " << folder << " cannot be read; its files are not converted\n";
        anyFailed = anyFailed || !job.unreadableFolders.empty();
        job.runSources = std::make_shared<const RunSources>(taskSources(folderTasks(job)));
    } else {
        job.runSources = std::make_shared<const RunSources>(std::vector<std::string>{job.source});
    }
    // The log and the report are appended to: one that is a source would be
    // a fax with text written into it.
    for (const auto& [option, path] : {std::pair{"/log=", logFile}, std::pair{"/report=", job.reportPath}}) {
        if (job.runSources->contains(path)) {
            err << "quillon: " << option << path << " names a source of this run; nothing converted\n";
            return kExitRefused;
        }
    }

    ConversionReport report;
    if (!job.reportPath.empty() && !report.open(job.reportPath)) {
        err << "quillon: the report file " << job.reportPath << " cannot be opened for writing; nothing converted\n";
        return 1;
    }
    bool reportFailed = false;
    // Folder runs only, set up once their files are known.
    std::optional<TerminalProgress> progress;
    const FileDone fileDone = [&](const FileOutcome& outcome) {
        std::string notes;
        for (const std::string& line : describeDamage(outcome)) notes += "quillon: " + outcome.source + ": " + line + "\n";
        for (const std::string& line : describeRecognitionFailures(outcome))
            notes += "quillon: warning: " + outcome.source + ": " + line + "\n";
        for (const std::string& line : outcome.warnings) notes += "quillon: warning: " + outcome.source + ": " + line + "\n";
        if (outcome.problem != FileProblem::None)
            notes += "quillon: " + outcome.source + ": " + describeProblem(outcome) + "\n";
        if (progress) {
            progress->print(notes);
            progress->fileDone(outcome.pages.size());
        } else {
            err << notes;
        }
        if (!job.reportPath.empty() && !reportFailed && !report.append(outcome)) {
            reportFailed = true;
            err << "quillon: the report file " << job.reportPath << " cannot be written\n";
        }
    };

    if (job.mode == JobMode::Folder) {
        progress.emplace(err, !job.quiet && platform::standardErrorIsTerminal(), job.fileList.size(),
                         platform::terminalColumns());
        if (job.recognition.enabled) job.recognition.pageRecognized = [&] { progress->pageRecognized(); };
        FolderSummary summary;
        convertFolder(job, &summary, fileDone, [&](const std::string& source) { progress->fileStarted(source); });
        progress->clear();
        anyFailed = anyFailed || summary.failed > 0;
    } else {
        job.results = "Batch Quillon command line mode : convert file\r\n";
        if (job.source.empty()) err << "quillon: no source file: give the file to convert with /f=\n";
        const FileOutcome outcome = convertFile(job, job.source, job.destination);
        job.results += resultsLines(outcome);
        job.logText = job.results + logNotes(outcome);
        fileDone(outcome);
        anyFailed = resultCode(outcome.result) != 0 && outcome.result != FileResult::SkippedExisting;
    }
    switch (writeLog(logFile, job.logText)) {
        case LogResult::FolderMissing:
            err << "The log folder of " << logFile << " cannot be made; nothing was logged.\n";
            break;
        case LogResult::CannotOpen:
            err << "The log file " << logFile << " cannot be written; nothing was logged.\n";
            break;
        default:
            break;
    }
    if (!job.quiet) out << withUnixLineEnds(job.results) << std::flush;
    return anyFailed || reportFailed ? 1 : 0;
}

}  // namespace quillon
