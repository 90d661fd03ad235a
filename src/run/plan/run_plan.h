#pragma once
// What a run will do, decided before its first file: every source with its
// output, in walk order, and the sources that no output may replace.

#include <string>
#include <vector>

#include "run/request/batch_job.h"
#include "run/drive/run_sources.h"
#include "platform/export.h"

namespace quillon {

struct FileTask {
    std::string source;
    std::string output;
};

struct RunPlan {
    std::vector<FileTask> tasks;
    std::vector<std::string> unreadableFolders;  // met by the walk: their files are not listed
    RunSources sources;
};

// "/d=": the fax files of the request's folder (filter, "/formats=", "/i", shard)
// into its destination folder, named by "/ke" and "/kh".
RunPlan planFolderRun(const BatchJob& request);
// "/f=": the one file into the destination path.
RunPlan planFileRun(const BatchJob& request);
// The window's list: names relative to sourceFolder into destination.
QUILLON_EXPORT RunPlan planListedFiles(const std::string& sourceFolder, const std::vector<std::string>& names,
                        const std::string& destination, bool keepExtension, bool keepHierarchy, OutputFormat format);

}  // namespace quillon
