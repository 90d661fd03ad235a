#pragma once
// Converting every WinFax file of a folder tree.

#include <functional>
#include <string>

#include "app/batch_job.h"
#include "app/file_outcome.h"
#include "app/parallel_conversion.h"
#include "platform/export.h"

namespace quillon {

// Appends to job.fileList the WinFax files of folder (a path below or equal to
// job.source) whose names match job.filter, as paths relative to job.source;
// with includeSubFolders, also those of sub-folders whose names match the filter.
// Only the files of job.shard are listed.
// Folders that cannot be read (folder itself included) go to
// job.unreadableFolders; the rest of the tree is still walked.
QUILLON_EXPORT void collectFiles(BatchJob& job, const std::string& folder, bool includeSubFolders);

struct FolderSummary {
    int converted = 0;
    int failed = 0;
};

using FileDone = std::function<void(const FileOutcome&)>;
using FileStarted = std::function<void(const std::string& source)>;

// Converts the listed files into job.destination, job.workers at once, and
// writes the header and total lines around their results lines; fileStarted
// and fileDone hear of each file in walk order. Returns 0, or -1 when the
// destination is empty (nothing done).
int convertFolder(BatchJob& job, FolderSummary* summary = nullptr, const FileDone& fileDone = {},
                  const FileStarted& fileStarted = {});

// The listed files of job with their output paths, in walk order.
std::vector<FileTask> folderTasks(const BatchJob& job);
// The source paths of tasks.
QUILLON_EXPORT std::vector<std::string> taskSources(const std::vector<FileTask>& tasks);

// The output path of a source file: its extension replaced by extension (or
// extension appended with keepExtension), placed in destination, under its
// sub-folder path when keepHierarchy is set. Only the source folder at the
// start of the path is replaced.
QUILLON_EXPORT std::string folderOutputPath(const std::string& sourceFolder, const std::string& relativePath,
                             const std::string& destination, bool keepExtension, bool keepHierarchy,
                             const char* extension = ".tif");

}  // namespace quillon
