#include "gui/conversion_run.h"

#include "app/file_conversion.h"
#include "app/folder_conversion.h"

namespace quillon {

namespace {

// The Results column's words: "Not WinFax File!" only for files that are not
// WinFax files; other failures say what happened.
std::string failureText(FileProblem problem) {
    switch (problem) {
        case FileProblem::NotWinFaxExtension:
        case FileProblem::TiffSource:
        case FileProblem::NoSignature: return "Not WinFax File!";
        case FileProblem::NoSuchFile: return "No such file!";
        case FileProblem::Unreadable: return "Cannot be read!";
        case FileProblem::Folder: return "A folder, not a file!";
        case FileProblem::NoFaxData: return "No fax data!";
        case FileProblem::OutputIsSource: return "Output is a source!";
        case FileProblem::OutputTaken: return "Output name used twice!";
        case FileProblem::FolderNotMade: return "Folder not made!";
        case FileProblem::WriteFailed: return "Output not written!";
        case FileProblem::PagesLeftOut: return "Pages left out!";
        case FileProblem::None:
        case FileProblem::Exception: break;
    }
    return "Failed!";
}

}  // namespace

RowOutcome rowOutcome(const FileOutcome& outcome, const std::string& output, const std::string& resultsLines) {
    RowOutcome row;
    switch (outcome.status()) {
        case FileStatus::Converted:
            row.output = output;
            row.kind = outcome.hasDamage() ? RowKind::Damaged : RowKind::Converted;
            row.resultText = outcome.hasDamage() ? "Converted, with damaged pages!" : "Converted!";
            break;
        case FileStatus::Skipped:
            row.kind = RowKind::Skipped;
            row.resultText = "Already exist, skipped!";
            break;
        default:
            row.kind = RowKind::Failed;
            row.resultText = failureText(outcome.problem);
            break;
    }
    for (char c : resultsLines + logNotes(outcome))
        if (c != '\r') row.details += c;
    while (!row.details.empty() && row.details.back() == '\n') row.details.pop_back();
    return row;
}

std::string runEndStatus(const RunEnd& end) {
    if (end.cancelled)
        return "Cancelled. " + std::to_string(end.converted) + " of " + std::to_string(end.total) +
               " FAX files converted";
    std::string status = "Done. " + std::to_string(end.converted) + " FAX files converted";
    if (end.damaged > 0) status += ", " + std::to_string(end.damaged) + " with damaged pages";
    return status;
}

int performRun(RunPlan& plan, RunObserver& observer, const std::atomic<bool>& stop) {
    BatchJob& job = plan.job;
    job.keepDate = plan.options.keepDate == 1;
    job.recognition.enabled = plan.options.textLayer;
    job.recognition.languages = plan.options.textLanguages;
    job.outputFormat = plan.options.textLayer ? OutputFormat::Pdf : plan.options.outputFormat;
    job.runOutputs = std::make_shared<RunOutputs>();  // earlier runs' outputs may be replaced
    job.destination = plan.destination;
    if (!makeFolderPath(plan.destination)) observer.saveFolderFailed();
    job.results = "Batch Quillon in GUI mode : convert folder\r\nSource Folder: " + plan.sourceFolder +
                  "\r\nDestination Folder: " + plan.destination + "\r\n";
    job.logText = job.results;

    std::vector<FileTask> tasks;
    for (const std::string& name : job.fileList)
        tasks.push_back({plan.sourceFolder + (plan.sourceFolder.ends_with('/') ? "" : "/") + name,
                         folderOutputPath(plan.sourceFolder, name, plan.destination, plan.options.keepExt != 0,
                                          plan.options.hiberarchy == 1, outputExtension(job.outputFormat))});
    job.runSources = std::make_shared<const RunSources>(taskSources(tasks));
    RunEnd end;
    end.total = tasks.size();
    std::size_t delivered = 0;
    FileRunCalls calls;
    calls.convert = plan.convert;
    calls.stopRequested = [&stop] { return stop.load(); };
    calls.started = [&](std::size_t item) { observer.fileStarted(static_cast<int>(item), tasks[item].source); };
    calls.finished = [&](std::size_t item, const FileOutcome& outcome) {
        observer.fileFinished(static_cast<int>(item), rowOutcome(outcome, tasks[item].output, resultsLines(outcome)));
    };
    calls.delivered = [&](std::size_t, const FileOutcome& outcome) {
        ++delivered;
        if (outcome.status() == FileStatus::Converted && outcome.hasDamage()) ++end.damaged;
    };
    end.converted = convertFiles(job, tasks, plan.workers, calls);
    end.cancelled = delivered < tasks.size();
    end.log = job.logText;
    if (end.cancelled)
        end.log += "Cancelled by the user: " + std::to_string(end.converted) + " of " + std::to_string(end.total) +
                   " FAX files converted\r\n";
    observer.runFinished(end);
    return end.converted;
}

}  // namespace quillon
