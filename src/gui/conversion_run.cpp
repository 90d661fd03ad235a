#include "gui/conversion_run.h"

#include "app/file_conversion.h"
#include "app/folder_conversion.h"

namespace quillon {

std::string rowResultText(int convertResult) {
    if (convertResult == kConverted) return "Converted!";
    if (convertResult == kSkippedExisting) return "Already exist, skipped!";
    return "Not WinFax File!";
}

int performRun(RunPlan& plan, RunObserver& observer, const std::atomic<bool>& stop) {
    BatchJob& job = plan.job;
    job.keepDate = plan.options.keepDate == 1;
    job.runOutputs = std::make_shared<RunOutputs>();  // earlier runs' outputs may be replaced
    job.destination = plan.destination;
    if (!makeFolderPath(plan.destination)) observer.saveFolderFailed();
    job.results = "Batch Quillon in GUI mode : convert folder\r\nSource Folder: " + plan.sourceFolder +
                  "\r\nDestination Folder: " + plan.destination + "\r\n";
    const FileConverter convert =
        plan.convert ? plan.convert
                     : [](BatchJob& job, const std::string& source, const std::string& output) {
                           return convertFile(job, source, output);
                       };

    int converted = 0;
    for (std::size_t i = 0; i < job.fileList.size(); ++i) {
        if (stop) break;
        const int row = static_cast<int>(i);
        const std::string& name = job.fileList[i];
        const std::string source = plan.sourceFolder + (plan.sourceFolder.ends_with('/') ? "" : "/") + name;
        const std::string output = folderOutputPath(plan.sourceFolder, name, plan.destination,
                                                    plan.options.keepExt != 0, plan.options.hiberarchy == 1);
        observer.fileStarted(row, source);
        const int result = convert(job, source, output);
        if (result == kConverted) ++converted;
        observer.fileFinished(row, result == kConverted ? output : std::string(), rowResultText(result));
    }
    observer.runFinished(converted, job.results);
    return converted;
}

}  // namespace quillon
