#include "run/drive/synced_folders.h"

#include "platform/paths.h"
#include "platform/stable_storage.h"

namespace quillon {

SyncedFolders::SyncedFolders(std::string destination) : destination_(std::move(destination)) {
    // The destination may have been made by the run.
    folders_.insert(platform::folderPart(destination_));
}

void SyncedFolders::add(const std::string& output) {
    for (std::string folder = platform::folderPart(output);; folder = platform::folderPart(folder)) {
        if (!folders_.insert(folder).second) return;  // and so are the ones above it
        if (folder.size() <= destination_.size() || platform::lastPathSeparator(folder) == std::string::npos) return;
    }
}

std::vector<std::string> SyncedFolders::sync() const {
    std::vector<std::string> failed;
    for (const std::string& folder : folders_)
        if (!platform::syncFolder(folder)) failed.push_back(folder.empty() ? "." : folder);
    return failed;
}

}  // namespace quillon
