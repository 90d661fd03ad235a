#pragma once
// Listing a folder's entries that match a wildcard.

#include <optional>
#include <string>
#include <vector>

namespace quillon::platform {

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// The entries of a folder whose names match a Windows wildcard pattern, sorted
// by name without regard to case; nothing (not an empty list) when the
// folder cannot be read, so that a walk can tell it from an empty folder. Links to folders are listed as plain entries, never as folders, so a
// walk that descends into folders cannot loop.
std::optional<std::vector<FolderEntry>> searchFolder(const std::string& folder, const std::string& pattern);

}  // namespace quillon::platform
