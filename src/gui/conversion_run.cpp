#include "gui/conversion_run.h"

#include "run/outcome/log_notes.h"
#include "run/outcome/results_lines.h"
#include "run/convert/file_conversion.h"
#include "platform/folder_path.h"
#include "run/plan/run_plan.h"

namespace quillon {

namespace {

// The Results column's words: "Not WinFax File!" only for files that are not
// WinFax files; other failures say what happened.
std::string failureText(const FileOutcome& outcome) {
    switch (outcome.result) {
        case FileResult::NotSupported: return "Not supported!";
        case FileResult::OutputIsSource: return "Output is a source!";
        case FileResult::OutputTaken: return "Output name used twice!";
        case FileResult::FolderNotMade: return "Folder not made!";
        case FileResult::WriteFailed: return "Output not written!";
        case FileResult::PagesLeftOut: return "Pages left out!";
        default: break;
    }
    switch (outcome.sourceProblem) {
        case SourceProblem::NotWinFaxExtension:
        case SourceProblem::TiffSource:
        case SourceProblem::NoSignature: return "Not WinFax File!";
        case SourceProblem::NoSuchFile: return "No such file!";
        case SourceProblem::Unreadable: return "Cannot be read!";
        case SourceProblem::Folder: return "A folder, not a file!";
        case SourceProblem::NoFaxData: return "No fax data!";
        case SourceProblem::FormatNotTaken: return "Format not selected!";
        case SourceProblem::FormatRefused: return "Not a fax page!";
        case SourceProblem::None: break;
    }
    return "Failed!";
}

}  // namespace

FileOutcome exportPages(const std::string& source, const std::string& target, std::optional<std::uint16_t> page,
                        const ConvertOptions& options) {
    BatchJob request;
    request.mode = JobMode::File;
    request.source = source;
    request.destination = target;
    request.formats = *InputFormats::parse("all");
    request.outputFormat = namesPdf(target) ? OutputFormat::Pdf : OutputFormat::Tiff;
    request.convertOptions = options;
    request.convertOptions.pageMode = 0;  // one file, whatever the Options tab names
    request.onlyPage = page;
    return convertFile(request, source, target);
}

RowOutcome rowOutcome(const FileOutcome& outcome, const std::string& output, const std::string& resultsLines) {
    RowOutcome row;
    switch (outcome.result) {
        case FileResult::Converted:
            row.output = output;
            row.kind = outcome.hasDamage() ? RowKind::Damaged : RowKind::Converted;
            row.resultText = outcome.hasDamage() ? "Converted, with damaged pages!" : "Converted!";
            break;
        case FileResult::SkippedExisting:
            row.kind = RowKind::Skipped;
            row.resultText = "Already exist, skipped!";
            break;
        default:
            row.kind = RowKind::Failed;
            row.resultText = failureText(outcome);
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

int performRun(PageRun& run, RunObserver& observer, const std::atomic<bool>& stop) {
    BatchJob& request = run.request;
    request.keepDate = run.options.keepDate == 1;
    request.resume = run.options.resume;
    request.formats = run.options.formats;
    request.recognition.enabled = run.options.textLayer;
    request.recognition.languages = run.options.textLanguages;
    request.recognition.orientation = run.options.turnPages ? PageOrientation::Detect : PageOrientation::AsFaxed;
    request.outputFormat = run.options.textLayer ? OutputFormat::Pdf : run.options.outputFormat;
    request.destination = run.destination;
    request.workers = run.workers;
    if (!platform::makeFolderPath(run.destination)) observer.saveFolderFailed();
    RunPlan plan = planListedFiles(run.sourceFolder, run.names, run.destination, run.options.keepExt != 0,
                                   run.options.hiberarchy == 1, request.outputFormat);
    // The window lists every file anyway: its log entry is held too.
    std::string logLines;
    FileRunCalls calls;
    calls.convert = run.convert;
    calls.stopRequested = [&stop] { return stop.load(); };
    calls.started = [&](std::size_t item, const FileTask& task) { observer.fileStarted(static_cast<int>(item), task.source); };
    calls.delivered = [&](std::size_t item, const FileTask& task, const FileOutcome& outcome) {
        const std::string lines = resultsLines(outcome);
        observer.fileFinished(static_cast<int>(item), rowOutcome(outcome, task.output, lines));
        logLines += lines + logNotes(outcome);
    };
    const RunTotals totals = runFiles(request, plan, calls);

    RunEnd end;
    end.converted = totals.converted;
    end.damaged = totals.damaged;
    end.total = plan.tasks->count();
    end.cancelled = totals.delivered < end.total;
    end.log = "Batch Quillon in GUI mode : convert folder\r\nSource Folder: " + run.sourceFolder +
              "\r\nDestination Folder: " + run.destination + "\r\n" + logLines;
    if (end.cancelled)
        end.log += "Cancelled by the user: " + std::to_string(end.converted) + " of " + std::to_string(end.total) +
                   " FAX files converted\r\n";
    observer.runFinished(end);
    return end.converted;
}

}  // namespace quillon
