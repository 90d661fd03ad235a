#include "platform/private_temp_folder.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/stable_storage.h"
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

bool putInPlace(const std::string& path, const std::string& finalPath, bool syncFirst) {
    // Under the lock, as a termination removes what is in progress: either
    // the file is in place, whole, before it begins, or it never is (the
    // termination keeps the lock, and this waits for the end).
    std::lock_guard lock(folderMutex);
    if ((syncFirst && !syncFile(path)) || !renameFile(path, finalPath)) return false;
    filesInProgress.erase(path);
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
