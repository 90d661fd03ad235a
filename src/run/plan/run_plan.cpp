#include "run/plan/run_plan.h"

#include "run/plan/folder_walk.h"
#include "run/plan/spooled_tasks.h"
#include "platform/paths.h"

namespace quillon {

RunPlan planListedFiles(const std::string& sourceFolder, const std::vector<std::string>& names,
                        const std::string& destination, bool keepExtension, bool keepHierarchy, OutputFormat format) {
    RunPlan plan;
    std::vector<FileTask> tasks;
    for (const std::string& name : names) {
        tasks.push_back({platform::joinPath(sourceFolder, name),
                         folderOutputPath(sourceFolder, name, destination, keepExtension, keepHierarchy,
                                          outputExtension(format))});
        plan.sources.add(tasks.back().source);
    }
    plan.sources.seal();
    plan.tasks = std::make_unique<ListedTasks>(std::move(tasks));
    return plan;
}

RunPlan planFolderRun(const BatchJob& request) {
    RunPlan plan;
    auto tasks = std::make_unique<SpooledTasks>(FolderNaming{request.source, request.destination, request.keepExtension,
                                                             request.keepHierarchy, request.outputFormat});
    plan.unreadableFolders =
        walkFolder(request.source, request.filter, request.includeSubFolders, request.shard, request.formats,
                   [&](const std::string& relative) {
                       tasks->add(relative);
                       plan.sources.add(platform::joinPath(request.source, relative));
                   });
    plan.sources.seal();
    plan.outputFolders = OutputFolders::TreeOrder;
    plan.listLost = !tasks->whole();
    plan.tasks = std::move(tasks);
    return plan;
}

RunPlan planFileRun(const BatchJob& request) {
    RunPlan plan;
    plan.tasks = std::make_unique<ListedTasks>(std::vector<FileTask>{{request.source, request.destination}});
    plan.sources = RunSources({request.source});
    return plan;
}

}  // namespace quillon
