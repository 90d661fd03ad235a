#pragma once
#include <string>
#include <vector>

namespace quillon::platform {

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// The entries of a folder whose names match a Windows wildcard pattern, sorted
// by name without regard to case. A folder that cannot be read gives an empty
// list. Links to folders are listed as plain entries, never as folders, so a
// walk that descends into folders cannot loop.
std::vector<FolderEntry> searchFolder(const std::string& folder, const std::string& pattern);

}  // namespace quillon::platform
