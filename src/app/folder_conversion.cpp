#include "app/folder_conversion.h"

#include "app/file_conversion.h"
#include "app/parallel_conversion.h"
#include "engine/format_detection.h"
#include "platform/folder_search.h"

namespace quillon {

namespace {

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace

void collectFiles(BatchJob& job, const std::string& folder, bool includeSubFolders) {
    const std::size_t rootLength = joinPath(job.source, "").size();
    const auto entries = platform::searchFolder(folder, job.filter);
    if (!entries) {
        job.unreadableFolders.push_back(folder);
        return;
    }
    for (const platform::FolderEntry& entry : *entries) {
        if (entry.name == "." || entry.name == "..") continue;
        const std::string path = joinPath(folder, entry.name);
        if (entry.isFolder) {
            if (includeSubFolders) collectFiles(job, path, true);
            continue;
        }
        const std::string relative = path.substr(std::min(rootLength, path.size()));
        if (detectFormat(relative) == FaxFormat::WinFax && inShard(relative, job.shard)) job.fileList.push_back(relative);
    }
}

std::string folderOutputPath(const std::string& sourceFolder, const std::string& relativePath,
                             const std::string& destination, bool keepExtension, bool keepHierarchy,
                             const char* extension) {
    // Listed files always carry their extension, so the last dot of the whole
    // path lies in the relative part; it is not cut when it starts the path.
    std::string path = relativePath;
    const std::size_t dot = path.rfind('.');
    const bool dotStartsPath = dot == 0 && joinPath(sourceFolder, "").empty();
    if (!keepExtension && dot != std::string::npos && !dotStartsPath) path.resize(dot);
    path += extension;
    if (keepHierarchy) return joinPath(destination, path);
    const std::size_t slash = path.rfind('/');
    return joinPath(destination, slash == std::string::npos ? path : path.substr(slash + 1));
}

std::vector<FileTask> folderTasks(const BatchJob& job) {
    std::vector<FileTask> tasks;
    for (const std::string& entry : job.fileList)
        tasks.push_back({joinPath(job.source, entry),
                         folderOutputPath(job.source, entry, job.destination, job.keepExtension, job.keepHierarchy,
                                          outputExtension(job.outputFormat))});
    return tasks;
}

std::vector<std::string> taskSources(const std::vector<FileTask>& tasks) {
    std::vector<std::string> sources;
    for (const FileTask& task : tasks) sources.push_back(task.source);
    return sources;
}

int convertFolder(BatchJob& job, FolderSummary* summary, const FileDone& fileDone, const FileStarted& fileStarted) {
    if (job.destination.empty()) return -1;
    job.results = "Batch Quillon command line mode : convert folder\r\nSource Folder: " + job.source +
                  "\r\nSave Folder: " + job.destination + "\r\n";
    job.logText = job.results;
    job.skipExisting = false;  // a folder run converts every file again
    job.runOutputs = std::make_shared<RunOutputs>();  // earlier runs' outputs may be replaced
    const std::vector<FileTask> tasks = folderTasks(job);
    job.runSources = std::make_shared<const RunSources>(taskSources(tasks));
    FolderSummary counts;
    FileRunCalls calls;
    if (fileStarted) calls.started = [&](std::size_t item) { fileStarted(tasks[item].source); };
    calls.delivered = [&](std::size_t, const FileOutcome& outcome) {
        if (resultCode(outcome.result) < 0) ++counts.failed;
        if (fileDone) fileDone(outcome);
    };
    counts.converted = convertFiles(job, tasks, job.workers, calls);
    const std::string total = "\r\n---------\r\nTotal converted FAX files: " + std::to_string(counts.converted) + "\r\n";
    job.results += total;
    job.logText += total;
    if (summary) *summary = counts;
    return 0;
}

}  // namespace quillon
