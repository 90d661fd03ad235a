#include "platform/private_temp_folder.h"

#include <windows.h>

#include <cstdio>
#include <random>

#include "platform/paths.h"
#include "platform/system_temp_folder.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

namespace {

// Ctrl+C, Ctrl+Break, a closed console, a log-off or shutdown: the private
// folder and the outputs in progress go, then the process ends as it would
// have (the handler runs in a thread of its own).
BOOL WINAPI onConsoleEvent(DWORD) {
    removeWhatTerminationLeaves();
    return FALSE;
}

}  // namespace

// A new folder of a random name under %TEMP%, which is the user's own (in
// the user's profile), so other users cannot look into it.
std::string makeSystemTempFolder() {
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

const char* privateTempFolderPlace() { return "%TEMP%"; }

void removeOnTermination() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

}  // namespace quillon::platform
