#pragma once
// What a run will do, decided before its first file: its sources with their
// outputs, in walk order, and the sources that no output may replace.

#include <memory>
#include <string>
#include <vector>

#include "run/request/batch_job.h"
#include "run/drive/output_claims.h"
#include "run/drive/run_sources.h"
#include "run/plan/task_list.h"
#include "platform/export.h"

namespace quillon {

struct RunPlan {
    std::unique_ptr<TaskList> tasks = std::make_unique<ListedTasks>();
    std::vector<std::string> unreadableFolders;  // met by the walk: their files are not listed
    RunSources sources;
    // A walk's files write folder by folder, so a folder left need not be remembered.
    OutputFolders outputFolders = OutputFolders::AnyOrder;
    // The list of a folder run's files could not be written out whole (a
    // full temporary folder): nothing may be converted from it.
    bool listLost = false;
};

// "/d=": the fax files of the request's folder (filter, "/formats=", "/i", shard)
// into its destination folder, named by "/ke" and "/kh". The walk's names are
// spooled, not held (spooled_tasks.h).
RunPlan planFolderRun(const BatchJob& request);
// "/f=": the one file into the destination path.
RunPlan planFileRun(const BatchJob& request);
// The window's list: names relative to sourceFolder into destination.
QUILLON_EXPORT RunPlan planListedFiles(const std::string& sourceFolder, const std::vector<std::string>& names,
                        const std::string& destination, bool keepExtension, bool keepHierarchy, OutputFormat format);

}  // namespace quillon
