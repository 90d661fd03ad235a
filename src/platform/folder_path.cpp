#include "platform/folder_path.h"

#include "platform/files.h"
#include "platform/paths.h"

namespace quillon::platform {

bool makeFolderPath(const std::string& folder) {
    if (folderExists(folder)) return true;
    // Parents beyond the root ("/", or "C:\" on Windows) are made first.
    const std::string::size_type slash = lastPathSeparator(folder);
    if (slash != std::string::npos && slash > pathRootLength(folder)) makeFolderPath(folder.substr(0, slash));
    return makeFolder(folder) || folderExists(folder);
}

}  // namespace quillon::platform
