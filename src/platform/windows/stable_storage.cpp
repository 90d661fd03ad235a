#include "platform/stable_storage.h"

#include <io.h>
#include <windows.h>

namespace quillon::platform {

bool syncStream(std::FILE* stream) {
    if (std::fflush(stream) != 0) return false;
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    return file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
}

// NTFS keeps a folder's entries in its journal, and renameFile waits for
// them (MOVEFILE_WRITE_THROUGH): nothing is left to sync.
bool syncFolder(const std::string&) { return true; }

}  // namespace quillon::platform
