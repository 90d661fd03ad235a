#pragma once
// The fax files of a folder tree (of the formats a run converts), and the
// output name each one gets.

#include <functional>
#include <string>
#include <vector>

#include "formats/format_set.h"
#include "run/plan/shard.h"
#include "platform/export.h"

namespace quillon {

struct FolderWalk {
    std::vector<std::string> files;       // paths relative to the folder, in walk order
    std::vector<std::string> unreadable;  // folders that could not be read (the folder itself included)
};

// The files of folder whose names match filter and whose format (told by
// their names) is one of formats; with includeSubFolders, also those of
// sub-folders whose names match it. Only the files of shard are listed. A folder that cannot be read is named and
// the rest of the tree is still walked.
QUILLON_EXPORT FolderWalk walkFolder(const std::string& folder, const std::string& filter, bool includeSubFolders,
                      const Shard& shard = {}, const InputFormats& formats = {});
// The same walk handing each file to found as it comes instead of listing
// it (a tree of many files need not be held); returns the folders that could
// not be read.
std::vector<std::string> walkFolder(const std::string& folder, const std::string& filter, bool includeSubFolders,
                                    const Shard& shard, const InputFormats& formats,
                                    const std::function<void(const std::string& relativePath)>& found);

// The output path of a source file: its extension replaced by extension (or
// extension appended with keepExtension), placed in destination, under its
// sub-folder path when keepHierarchy is set. Only the source folder at the
// start of the path is replaced.
QUILLON_EXPORT std::string folderOutputPath(const std::string& sourceFolder, const std::string& relativePath,
                             const std::string& destination, bool keepExtension, bool keepHierarchy,
                             const char* extension = ".tif");

}  // namespace quillon
