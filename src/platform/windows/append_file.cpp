#include "platform/append_file.h"

#include <windows.h>

#include "platform/windows/wide_text.h"

namespace quillon::platform {

// FILE_APPEND_DATA alone makes every write go to the file's end in one
// piece, as O_APPEND does.
AppendFile::~AppendFile() { close(); }

bool AppendFile::open(const std::string& path) {
    close();
    const HANDLE file = CreateFileW(widePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    file_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool AppendFile::append(const std::string& bytes) {
    if (file_ == kClosed) return false;
    DWORD written = 0;
    return WriteFile(reinterpret_cast<HANDLE>(file_), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool AppendFile::close() {
    if (file_ == kClosed) return true;
    const bool closed = CloseHandle(reinterpret_cast<HANDLE>(file_));
    file_ = kClosed;
    return closed;
}

}  // namespace quillon::platform
