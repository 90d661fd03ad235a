#include "cli/convert_command.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/terminal_progress.h"
#include "platform/private_temp_folder.h"
#include "platform/terminal.h"
#include "platform/text_spool.h"
#include "records/conversion_log.h"
#include "records/conversion_report.h"
#include "run/convert/file_conversion.h"
#include "run/drive/run_driver.h"
#include "run/outcome/file_problem.h"
#include "run/outcome/log_notes.h"
#include "run/outcome/results_lines.h"
#include "run/plan/run_plan.h"
#include "tiff/tiff_messages.h"

namespace quillon {

namespace {

// Standard output is text: the results lines' CR LF ends become LF, also
// where a CR ends one piece of the text and its LF starts the next.
class UnixLineEnds {
public:
    explicit UnixLineEnds(std::ostream& out) : out_(out) {}
    ~UnixLineEnds() {
        if (heldReturn_) out_ << '\r';
    }
    UnixLineEnds(const UnixLineEnds&) = delete;
    UnixLineEnds& operator=(const UnixLineEnds&) = delete;

    bool write(std::string_view piece) {
        for (std::size_t at = 0; at < piece.size();) {
            if (heldReturn_ && piece[at] != '\n') out_ << '\r';
            heldReturn_ = false;
            const std::size_t cr = std::min(piece.find('\r', at), piece.size());
            out_.write(piece.data() + at, std::streamsize(cr - at));
            heldReturn_ = cr < piece.size();
            at = cr + (heldReturn_ ? 1 : 0);
        }
        return bool(out_);
    }

private:
    std::ostream& out_;
    bool heldReturn_ = false;
};

}  // namespace

namespace {

// What a file's conversion says on standard error: its damage, its warnings
// and why it was not converted.
std::string fileNotes(const FileOutcome& outcome) {
    std::string notes;
    for (const std::string& line : describeDamage(outcome)) notes += "quillon: " + outcome.source + ": " + line + "\n";
    for (const std::string& line : describeRecognitionFailures(outcome))
        notes += "quillon: warning: " + outcome.source + ": " + line + "\n";
    for (const std::string& line : outcome.warnings) notes += "quillon: warning: " + outcome.source + ": " + line + "\n";
    if (hasProblem(outcome)) notes += "quillon: " + outcome.source + ": " + describeProblem(outcome) + "\n";
    return notes;
}

// What the results text and the log entry hold around the files' lines.
struct RunFrame {
    std::string header;
    std::string footer;
};

RunFrame runFrame(const BatchJob& request, const RunTotals& totals) {
    if (request.mode != JobMode::Folder) return {"Batch Quillon command line mode : convert file\r\n", ""};
    return {"Batch Quillon command line mode : convert folder\r\nSource Folder: " + request.source +
                "\r\nSave Folder: " + request.destination + "\r\n",
            "\r\n---------\r\nTotal converted FAX files: " + std::to_string(totals.converted) + "\r\n"};
}

platform::FileLocking recordLocking(const BatchJob& request) {
    return request.singleRun ? platform::FileLocking::SingleRun : platform::FileLocking::Locked;
}

void writeLogEntry(const BatchJob& request, const std::string& logFile, const RunFrame& frame,
                   const platform::TextSpool* lines, std::ostream& err) {
    switch (writeLog(logFile, frame.header, lines, frame.footer, recordLocking(request), !request.skipSync)) {
        case LogResult::FolderMissing:
            err << "The log folder of " << logFile << " cannot be made; nothing was logged.\n";
            break;
        case LogResult::CannotOpen:
            err << "The log file " << logFile << " cannot be written; nothing was logged.\n";
            break;
        default:
            break;
    }
}

// One run of the command line, as its steps: plan, refuse records that are
// sources, open the report, convert, close the report, write the results.
class ConvertCommand {
public:
    ConvertCommand(const BatchJob& request, const std::string& logFile, std::ostream& out, std::ostream& err)
        : request_(request), logFile_(logFile), out_(out), err_(err), folderRun_(request.mode == JobMode::Folder) {
        // Only the texts the run writes: none with "/q", no log without a log file.
        if (!request.quiet) resultsLines_.emplace();
        if (!logFile.empty()) logLines_.emplace();
    }

    ExitCode run() {
        plan();
        if (const auto refused = refuseRecordsThatAreSources()) return *refused;
        if (!openReport()) return ExitCode::CouldNotWork;
        const RunTotals totals = convert();
        if (!request_.reportPath.empty() && !report_.close()) reportCannotBeWritten();
        for (const std::string& folder : totals.unsyncedFolders)
            err_ << "quillon: the folder " << folder
                 << " cannot be synced to disk; its new outputs may not survive a power cut\n";
        couldNotWork_ = couldNotWork_ || !totals.unsyncedFolders.empty();
        anyFailed_ = anyFailed_ || totals.failed > 0;
        const RunFrame frame = runFrame(request_, totals);
        writeLogEntry(request_, logFile_, frame, logLines_ ? &*logLines_ : nullptr, err_);
        if (resultsLines_) printResults(frame);
        if (couldNotWork_ || reportFailed_ || linesLost()) return ExitCode::CouldNotWork;
        return anyFailed_ ? ExitCode::FilesFailed : ExitCode::Success;
    }

private:
    void plan() {
        if (!folderRun_) {
            if (request_.source.empty()) err_ << "quillon: no source file: give the file to convert with /f=\n";
            plan_ = planFileRun(request_);
            return;
        }
        out_ << "Please Wait...\n" << std::flush;
        if (request_.source.empty()) {
            err_ << "quillon: no source folder: give the folder to convert with /d=\n";
            anyFailed_ = true;
        } else {
            plan_ = planFolderRun(request_);
        }
        if (plan_.listLost) {
            err_ << "quillon: the list of files to convert cannot be kept in " << platform::privateTempFolder()
                 << "; nothing converted\n";
            plan_ = RunPlan();
            couldNotWork_ = true;
        }
        // A folder that cannot be read is never an empty folder to a script.
        for (const std::string& folder : plan_.unreadableFolders)
            err_ << "quillon: the folder " << folder << " cannot be read; its files are not converted\n";
        couldNotWork_ = couldNotWork_ || !plan_.unreadableFolders.empty();
    }

    // The log and the report are appended to: one that is a source would be
    // a fax with text written into it.
    std::optional<ExitCode> refuseRecordsThatAreSources() {
        for (const auto& [option, path] : {std::pair{"/log=", logFile_}, std::pair{"/report=", request_.reportPath}}) {
            if (!plan_.sources.contains(path)) continue;
            err_ << "quillon: " << option << path << " names a source of this run; nothing converted\n";
            return ExitCode::Refused;
        }
        return std::nullopt;
    }

    bool openReport() {
        if (request_.reportPath.empty()) return true;
        switch (report_.open(request_.reportPath, recordLocking(request_), !request_.skipSync, request_.resume)) {
            case ReportOpen::Opened: return true;
            case ReportOpen::LocksRefused:
                err_ << "quillon: the report file " << request_.reportPath
                     << " cannot be locked (its file system refuses locks), so runs at once could not share it;"
                        " nothing converted. Give /nolock when no other run writes it\n";
                return false;
            case ReportOpen::CannotOpen: break;
        }
        err_ << "quillon: the report file " << request_.reportPath << " cannot be opened for writing; nothing converted\n";
        return false;
    }

    RunTotals convert() {
        BatchJob job = request_;
        // A report proves what was converted: every page's fingerprint and the
        // files' checksums go into it.
        job.convertOptions.fingerprintPages = !request_.reportPath.empty();
        // Folder runs only: a progress line on a terminal.
        if (folderRun_) {
            progress_.emplace(err_, !request_.quiet && platform::standardErrorIsTerminal(), plan_.tasks->count(),
                              platform::terminalColumns());
            if (job.recognition.enabled) job.recognition.pageRecognized = [this] { progress_->pageRecognized(); };
        }
        FileRunCalls calls;
        calls.started = [this](std::size_t, const FileTask& task) {
            if (progress_) progress_->fileStarted(task.source);
        };
        calls.delivered = [this](std::size_t, const FileTask&, const FileOutcome& outcome) { delivered(outcome); };
        if (request_.resume && !request_.reportPath.empty())
            calls.reportHolds = [this](const std::string& source, const std::string& firstOutput) {
                return report_.holdsOutputsOf(source, firstOutput);
            };
        const RunTotals totals = runFiles(job, plan_, calls);
        // Every file is done: the sources no output may replace need not be
        // held while the report is compacted at its close.
        plan_.sources = RunSources();
        if (progress_) progress_->clear();
        return totals;
    }

    // A file's outcome, in walk order: its notes, its report line, and what
    // it makes of the exit code.
    void delivered(const FileOutcome& outcome) {
        keepLines(outcome);
        const std::string notes = fileNotes(outcome);
        if (progress_) {
            progress_->print(notes);
            progress_->fileDone(outcome.pages.size());
        } else {
            err_ << notes;
        }
        if (!request_.reportPath.empty() && !reportFailed_ && !report_.append(outcome)) reportCannotBeWritten();
        // The run could not do its work where it had to write: worth another
        // try, unlike files that failed for what they hold.
        couldNotWork_ = couldNotWork_ || outcome.result == FileResult::WriteFailed ||
                        outcome.result == FileResult::FolderNotMade;
        // A file run fails with its file, also one that is no WinFax file.
        if (!folderRun_)
            anyFailed_ = anyFailed_ ||
                         (outcome.result != FileResult::Converted && outcome.result != FileResult::SkippedExisting);
    }

    // The file's lines of the results text and of the log entry, written
    // out as they come: a run of many files would otherwise hold them all.
    void keepLines(const FileOutcome& outcome) {
        const std::string lines = resultsLines(outcome);
        if (resultsLines_) resultsLines_->append(lines);
        if (logLines_) logLines_->append(lines + logNotes(outcome));
    }

    // A full temporary folder: the texts miss lines, which is said.
    bool linesLost() {
        bool lost = false;
        for (const auto& [spool, text] : {std::pair{&resultsLines_, "results text"}, std::pair{&logLines_, "log entry"}}) {
            if (!*spool || !(*spool)->failed()) continue;
            err_ << "quillon: the " << text << " lacks lines: they cannot be kept in " << platform::privateTempFolder()
                 << "\n";
            lost = true;
        }
        return lost;
    }

    void printResults(const RunFrame& frame) {
        {
            UnixLineEnds out(out_);
            out.write(frame.header);
            resultsLines_->copyTo([&](std::string_view piece) { return out.write(piece); });
            out.write(frame.footer);
        }
        out_ << std::flush;
    }

    // Said once, however many lines were lost.
    void reportCannotBeWritten() {
        if (reportFailed_) return;
        reportFailed_ = true;
        err_ << "quillon: the report file " << request_.reportPath << " cannot be written\n";
    }

    const BatchJob& request_;
    const std::string& logFile_;
    std::ostream& out_;
    std::ostream& err_;
    const bool folderRun_;
    RunPlan plan_;
    // Made only for the texts the run writes: none with "/q", no log without a log file.
    std::optional<platform::TextSpool> resultsLines_;
    std::optional<platform::TextSpool> logLines_;
    ConversionReport report_;
    std::optional<TerminalProgress> progress_;
    bool anyFailed_ = false;
    bool couldNotWork_ = false;
    bool reportFailed_ = false;
};

}  // namespace

ExitCode runCommandLineMode(const BatchJob& request, const std::string& logFile, std::ostream& out, std::ostream& err) {
    // libtiff's errors explain outputs that could not be written.
    routeTiffMessages(TiffMessageTarget::errorsToStandardError);
    return ConvertCommand(request, logFile, out, err).run();
}

}  // namespace quillon
