#include "run/plan/run_plan.h"

#include "run/plan/folder_walk.h"
#include "platform/paths.h"

namespace quillon {

namespace {

RunSources sourcesOf(const std::vector<FileTask>& tasks) {
    std::vector<std::string> sources;
    for (const FileTask& task : tasks) sources.push_back(task.source);
    return RunSources(sources);
}

}  // namespace

RunPlan planListedFiles(const std::string& sourceFolder, const std::vector<std::string>& names,
                        const std::string& destination, bool keepExtension, bool keepHierarchy, OutputFormat format) {
    RunPlan plan;
    for (const std::string& name : names)
        plan.tasks.push_back({platform::joinPath(sourceFolder, name), folderOutputPath(sourceFolder, name, destination, keepExtension,
                                                                            keepHierarchy, outputExtension(format))});
    plan.sources = sourcesOf(plan.tasks);
    return plan;
}

RunPlan planFolderRun(const BatchJob& request) {
    const FolderWalk walk = walkFolder(request.source, request.filter, request.includeSubFolders, request.shard, request.formats);
    RunPlan plan = planListedFiles(request.source, walk.files, request.destination, request.keepExtension,
                                   request.keepHierarchy, request.outputFormat);
    plan.unreadableFolders = walk.unreadable;
    return plan;
}

RunPlan planFileRun(const BatchJob& request) {
    RunPlan plan;
    plan.tasks.push_back({request.source, request.destination});
    plan.sources = RunSources({request.source});
    return plan;
}

}  // namespace quillon
