#include "platform/private_temp_folder.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>

#include "platform/paths.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

namespace {

std::mutex folderMutex;
std::string folder;  // empty until made, and again after removal
bool made = false;
std::set<std::string> filesInProgress;

// A new folder of a random name under %TEMP%, which is the user's own (in
// the user's profile), so other users cannot look into it.
std::string makeFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) return {};
    std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "quillon-%012llx", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        const std::string path = joinPath(utf8Text(base), name);
        if (CreateDirectoryW(widePath(path).c_str(), nullptr)) return path + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

void removeAtExit() { removePrivateTempFolder(); }

// Ctrl+C, Ctrl+Break, a closed console, a log-off or shutdown: the private
// folder and the outputs in progress go, then the process ends as it would
// have (the handler runs in a thread of its own).
BOOL WINAPI onConsoleEvent(DWORD) {
    removePrivateTempFolder();
    {
        std::lock_guard lock(folderMutex);
        for (const std::string& path : filesInProgress) DeleteFileW(widePath(path).c_str());
    }
    return FALSE;
}

}  // namespace

const char* privateTempFolderPlace() { return "%TEMP%"; }

const std::string& privateTempFolder() {
    std::lock_guard lock(folderMutex);
    if (!made) {
        made = true;
        folder = makeFolder();
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

void removeOnTermination() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

}  // namespace quillon::platform
