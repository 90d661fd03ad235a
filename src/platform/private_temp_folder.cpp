#include "platform/private_temp_folder.h"

#include <atomic>
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
std::atomic<bool> terminating = false;

// Not after a termination, which removed it and holds the lock (on Windows
// the process then exits through here).
void removeAtExit() {
    if (!terminating) removePrivateTempFolder();
}

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

bool removeOnTerminationToo(const std::string& path) {
    // Made holding the lock, which a termination keeps once it has removed
    // what it found: no file can appear between its removal and the end.
    std::lock_guard lock(folderMutex);
    if (!writeWholeFile(path, {})) return false;
    filesInProgress.insert(path);
    return true;
}

void keepOnTermination(const std::string& path) {
    std::lock_guard lock(folderMutex);
    filesInProgress.erase(path);
}

void removeWhatTerminationLeaves() {
    removePrivateTempFolder();
    // Never unlocked: the process ends holding it (see removeOnTerminationToo).
    terminating = true;
    folderMutex.lock();
    for (const std::string& path : filesInProgress) removeFile(path);
}

}  // namespace quillon::platform
