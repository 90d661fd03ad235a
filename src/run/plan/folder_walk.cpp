#include "run/plan/folder_walk.h"

#include <algorithm>

#include "formats/format_detection.h"
#include "platform/folder_search.h"
#include "platform/paths.h"

namespace quillon {

using platform::joinPath;

namespace {

struct Walk {
    const std::function<void(const std::string&)>& found;
    std::vector<std::string> unreadable;
};

void walk(const std::string& root, const std::string& folder, const std::string& filter, bool includeSubFolders,
          const Shard& shard, const InputFormats& formats, Walk& walked) {
    const std::size_t rootLength = joinPath(root, "").size();
    const auto entries = platform::searchFolder(folder, filter);
    if (!entries) {
        walked.unreadable.push_back(folder);
        return;
    }
    for (const platform::FolderEntry& entry : *entries) {
        if (entry.name == "." || entry.name == "..") continue;
        const std::string path = joinPath(folder, entry.name);
        if (entry.isFolder) {
            if (includeSubFolders) walk(root, path, filter, true, shard, formats, walked);
            continue;
        }
        const std::string relative = path.substr(std::min(rootLength, path.size()));
        // Only ".g3f" files are opened, for their first bytes.
        if (formats.takes(inputFormatAt(relative, path)) && inShard(relative, shard)) walked.found(relative);
    }
}

}  // namespace

std::vector<std::string> walkFolder(const std::string& folder, const std::string& filter, bool includeSubFolders,
                                    const Shard& shard, const InputFormats& formats,
                                    const std::function<void(const std::string& relativePath)>& found) {
    Walk state{found, {}};
    walk(folder, folder, filter, includeSubFolders, shard, formats, state);
    return std::move(state.unreadable);
}

FolderWalk walkFolder(const std::string& folder, const std::string& filter, bool includeSubFolders, const Shard& shard,
                      const InputFormats& formats) {
    FolderWalk listed;
    listed.unreadable = walkFolder(folder, filter, includeSubFolders, shard, formats,
                                   [&](const std::string& relative) { listed.files.push_back(relative); });
    return listed;
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
