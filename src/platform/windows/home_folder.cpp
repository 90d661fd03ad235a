#include "platform/home_folder.h"

#include <windows.h>

#include <filesystem>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

namespace {

// Whether the program may keep its files in folder: a file can be made there
// (a portable copy on a USB stick; not C:\Program Files for a plain user).
bool writable(const std::string& folder) {
    const std::string probe = siblingTempName(joinPath(folder, "quillon-write-test"));
    if (probe.empty()) return false;
    const HANDLE file = CreateFileW(widePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

std::string homeFolder() {
    std::string folder = environmentValue("QUILLON_HOME");
    if (folder.empty()) {
        const std::string program = programPath();
        const std::size_t separator = lastPathSeparator(program);
        folder = separator == std::string::npos ? std::string() : program.substr(0, separator);
        if (folder.empty() || !writable(folder)) {
            const std::string local = environmentValue("LOCALAPPDATA");
            folder = joinPath(local.empty() ? environmentValue("USERPROFILE") : local, "Batch Quillon");
        }
    }
    while (folder.size() > pathRootLength(folder) && isPathSeparator(folder.back())) folder.pop_back();
    std::error_code ignored;
    std::filesystem::create_directories(fileSystemPath(folder), ignored);
    return folder;
}

}  // namespace quillon::platform
