#include "gui/conversion_run.h"

#include "app/file_conversion.h"
#include "app/folder_conversion.h"

namespace quillon {

std::string rowResultText(int convertResult) {
    if (convertResult == kConverted) return "Converted!";
    if (convertResult == kSkippedExisting) return "Already exist, skipped!";
    return "Not WinFax File!";
}

std::string rowDetails(const FileOutcome& outcome, const std::string& resultsLines) {
    std::string details;
    for (char c : resultsLines)
        if (c != '\r') details += c;
    for (const std::string& line : describeDamage(outcome)) details += line + "\n";
    for (const std::string& line : describeRecognitionFailures(outcome)) details += line + "\n";
    while (!details.empty() && details.back() == '\n') details.pop_back();
    return details;
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

    std::vector<FileTask> tasks;
    for (const std::string& name : job.fileList)
        tasks.push_back({plan.sourceFolder + (plan.sourceFolder.ends_with('/') ? "" : "/") + name,
                         folderOutputPath(plan.sourceFolder, name, plan.destination, plan.options.keepExt != 0,
                                          plan.options.hiberarchy == 1, outputExtension(job.outputFormat))});
    FileRunCalls calls;
    calls.convert = plan.convert;
    calls.stopRequested = [&stop] { return stop.load(); };
    calls.started = [&](std::size_t item) { observer.fileStarted(static_cast<int>(item), tasks[item].source); };
    calls.finished = [&](std::size_t item, const FileOutcome& outcome, const std::string& lines) {
        observer.fileFinished(static_cast<int>(item), outcome.result == kConverted ? tasks[item].output : std::string(),
                              rowResultText(outcome.result), rowDetails(outcome, lines));
    };
    const int converted = convertFiles(job, tasks, plan.workers, calls);
    observer.runFinished(converted, job.results);
    return converted;
}

}  // namespace quillon
