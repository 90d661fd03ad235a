#include "platform/stable_storage.h"

#include <io.h>
#include <windows.h>

#include "platform/windows/wide_text.h"

namespace quillon::platform {

bool syncStream(std::FILE* stream) {
    if (std::fflush(stream) != 0) return false;
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    return file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
}

// FlushFileBuffers needs a handle that may write.
bool syncFile(const std::string& path) {
    const HANDLE file = CreateFileW(wideText(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool synced = FlushFileBuffers(file);
    return CloseHandle(file) && synced;
}

// Windows has no call that flushes a whole volume short of administrator
// rights: each file is flushed.
bool syncFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (!syncFile(path)) return false;
    return true;
}

// NTFS keeps a folder's entries in its journal, and renameFile waits for
// them (MOVEFILE_WRITE_THROUGH): nothing is left to sync.
bool syncFolder(const std::string&) { return true; }

}  // namespace quillon::platform
