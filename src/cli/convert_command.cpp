#include "cli/convert_command.h"

#include <optional>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/terminal_progress.h"
#include "platform/terminal.h"
#include "records/conversion_log.h"
#include "records/conversion_report.h"
#include "run/convert/file_conversion.h"
#include "run/drive/run_driver.h"
#include "run/outcome/file_problem.h"
#include "run/outcome/log_notes.h"
#include "run/plan/run_plan.h"
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

ExitCode runCommandLineMode(const BatchJob& request, const std::string& logFile, std::ostream& out, std::ostream& err) {
    // libtiff's errors explain outputs that could not be written.
    routeTiffMessages(TiffMessageTarget::errorsToStandardError);
    const bool folderRun = request.mode == JobMode::Folder;

    bool anyFailed = false;
    // The run could not do its work where it had to write: worth another try,
    // unlike files that failed for what they hold.
    bool couldNotWork = false;
    RunPlan plan;
    if (folderRun) {
        out << "Please Wait...\n" << std::flush;
        if (request.source.empty()) {
            err << "quillon: no source folder: give the folder to convert with /d=\n";
            anyFailed = true;
        } else {
            plan = planFolderRun(request);
        }
        // A folder that cannot be read is never an empty folder to a script.
        for (const std::string& folder : plan.unreadableFolders)
            err << "quillon: the folder " << folder << " cannot be read; its files are not converted\n";
        couldNotWork = couldNotWork || !plan.unreadableFolders.empty();
    } else {
        if (request.source.empty()) err << "quillon: no source file: give the file to convert with /f=\n";
        plan = planFileRun(request);
    }
    // The log and the report are appended to: one that is a source would be
    // a fax with text written into it.
    for (const auto& [option, path] : {std::pair{"/log=", logFile}, std::pair{"/report=", request.reportPath}}) {
        if (plan.sources.contains(path)) {
            err << "quillon: " << option << path << " names a source of this run; nothing converted\n";
            return ExitCode::Refused;
        }
    }

    ConversionReport report;
    if (!request.reportPath.empty() && !report.open(request.reportPath)) {
        err << "quillon: the report file " << request.reportPath << " cannot be opened for writing; nothing converted\n";
        return ExitCode::CouldNotWork;
    }
    bool reportFailed = false;
    // Folder runs only: a progress line on a terminal.
    std::optional<TerminalProgress> progress;
    BatchJob job = request;
    // A report proves what was converted: every page's fingerprint and the
    // files' checksums go into it.
    job.convertOptions.fingerprintPages = !request.reportPath.empty();
    if (folderRun) {
        progress.emplace(err, !request.quiet && platform::standardErrorIsTerminal(), plan.tasks.size(),
                         platform::terminalColumns());
        if (job.recognition.enabled) job.recognition.pageRecognized = [&] { progress->pageRecognized(); };
    }
    FileRunCalls calls;
    calls.started = [&](std::size_t item) {
        if (progress) progress->fileStarted(plan.tasks[item].source);
    };
    calls.delivered = [&](std::size_t, const FileOutcome& outcome) {
        std::string notes;
        for (const std::string& line : describeDamage(outcome)) notes += "quillon: " + outcome.source + ": " + line + "\n";
        for (const std::string& line : describeRecognitionFailures(outcome))
            notes += "quillon: warning: " + outcome.source + ": " + line + "\n";
        for (const std::string& line : outcome.warnings) notes += "quillon: warning: " + outcome.source + ": " + line + "\n";
        if (hasProblem(outcome))
            notes += "quillon: " + outcome.source + ": " + describeProblem(outcome) + "\n";
        if (progress) {
            progress->print(notes);
            progress->fileDone(outcome.pages.size());
        } else {
            err << notes;
        }
        if (!request.reportPath.empty() && !reportFailed && !report.append(outcome)) {
            reportFailed = true;
            err << "quillon: the report file " << request.reportPath << " cannot be written\n";
        }
        couldNotWork = couldNotWork || outcome.result == FileResult::WriteFailed ||
                       outcome.result == FileResult::FolderNotMade;
        // A file run fails with its file, also one that is no WinFax file.
        if (!folderRun) anyFailed = anyFailed || (outcome.result != FileResult::Converted &&
                                                  outcome.result != FileResult::SkippedExisting);
    };
    const RunTotals totals = runFiles(job, plan, calls);
    if (progress) progress->clear();
    if (!request.reportPath.empty() && !report.close() && !reportFailed) {
        reportFailed = true;
        err << "quillon: the report file " << request.reportPath << " cannot be written\n";
    }
    anyFailed = anyFailed || totals.failed > 0;

    std::string results, log;
    if (folderRun) {
        const std::string header = "Batch Quillon command line mode : convert folder\r\nSource Folder: " +
                                   request.source + "\r\nSave Folder: " + request.destination + "\r\n";
        const std::string total =
            "\r\n---------\r\nTotal converted FAX files: " + std::to_string(totals.converted) + "\r\n";
        results = header + totals.results + total;
        log = header + totals.log + total;
    } else {
        const std::string header = "Batch Quillon command line mode : convert file\r\n";
        results = header + totals.results;
        log = header + totals.log;
    }
    switch (writeLog(logFile, log)) {
        case LogResult::FolderMissing:
            err << "The log folder of " << logFile << " cannot be made; nothing was logged.\n";
            break;
        case LogResult::CannotOpen:
            err << "The log file " << logFile << " cannot be written; nothing was logged.\n";
            break;
        default:
            break;
    }
    if (!request.quiet) out << withUnixLineEnds(results) << std::flush;
    if (couldNotWork || reportFailed) return ExitCode::CouldNotWork;
    return anyFailed ? ExitCode::FilesFailed : ExitCode::Success;
}

}  // namespace quillon
