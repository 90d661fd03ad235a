#include "platform/private_temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/system_temp_folder.h"

namespace quillon::platform {

namespace {

std::mutex folderMutex;
std::string folder;  // empty until made, and again after removal
bool made = false;
std::set<std::string> filesInProgress;

void removeAtExit() { removePrivateTempFolder(); }

}  // namespace

const std::string& privateTempFolder() {
    std::lock_guard lock(folderMutex);
    if (!made) {
        made = true;
        folder = makeSystemTempFolder();
        if (!folder.empty()) std::atexit(removeAtExit);
    }
    return folder;
}

void removePrivateTempFolder() {
    std::lock_guard lock(folderMutex);
    if (folder.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(fileSystemPath(folder), ignored);
    folder.clear();
}

void removeOnTerminationToo(const std::string& path) {
    std::lock_guard lock(folderMutex);
    filesInProgress.insert(path);
}

void keepOnTermination(const std::string& path) {
    std::lock_guard lock(folderMutex);
    filesInProgress.erase(path);
}

void removeWhatTerminationLeaves() {
    removePrivateTempFolder();
    std::lock_guard lock(folderMutex);
    for (const std::string& path : filesInProgress) removeFile(path);
}

}  // namespace quillon::platform
