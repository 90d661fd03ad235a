#include "run/plan/folder_walk.h"

#include <algorithm>

#include "formats/format_detection.h"
#include "platform/folder_search.h"
#include "platform/paths.h"

namespace quillon {

using platform::joinPath;

namespace {

void walk(const std::string& root, const std::string& folder, const std::string& filter, bool includeSubFolders,
          const Shard& shard, const InputFormats& formats, FolderWalk& found) {
    const std::size_t rootLength = joinPath(root, "").size();
    const auto entries = platform::searchFolder(folder, filter);
    if (!entries) {
        found.unreadable.push_back(folder);
        return;
    }
    for (const platform::FolderEntry& entry : *entries) {
        if (entry.name == "." || entry.name == "..") continue;
        const std::string path = joinPath(folder, entry.name);
        if (entry.isFolder) {
            if (includeSubFolders) walk(root, path, filter, true, shard, formats, found);
            continue;
        }
        const std::string relative = path.substr(std::min(rootLength, path.size()));
        // Only ".g3f" files are opened, for their first bytes.
        if (formats.takes(inputFormatAt(relative, path)) && inShard(relative, shard)) found.files.push_back(relative);
    }
}

}  // namespace

FolderWalk walkFolder(const std::string& folder, const std::string& filter, bool includeSubFolders, const Shard& shard,
                      const InputFormats& formats) {
    FolderWalk found;
    walk(folder, folder, filter, includeSubFolders, shard, formats, found);
    return found;
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
    const std::size_t slash = platform::lastPathSeparator(path);
    return joinPath(destination, slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace quillon
