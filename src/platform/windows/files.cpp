#include "platform/files.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/paths.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

namespace {

DWORD attributes(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(widePath(path).c_str());
}

// A handle that only looks at the file (no read or write access), shared
// with every other user of it; folders too.
HANDLE openToExamine(const std::string& path) {
    return CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::FILE* openFile(const std::string& path, const char* mode) {
    // 'N': the handle is not inherited by programs the process starts.
    return _wfopen(widePath(path).c_str(), (wideText(mode) + L"N").c_str());
}

bool seekFile(std::FILE* file, std::uint64_t offset) {
    return offset <= std::uint64_t(INT64_MAX) && _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
}

std::size_t readFileStart(const std::string& path, std::uint8_t* into, std::size_t size) {
    const HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    std::size_t done = 0;
    // Only files on a disk: a pipe or a device could wait for data forever.
    if (GetFileType(file) == FILE_TYPE_DISK) {
        while (done < size) {
            DWORD got = 0;
            if (!ReadFile(file, into + done, DWORD(size - done), &got, nullptr) || got == 0) break;
            done += got;
        }
    }
    CloseHandle(file);
    return done;
}

bool fileExists(const std::string& path) { return attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool folderExists(const std::string& path) {
    const DWORD found = attributes(path);
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY);
}

std::int64_t fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (std::int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool makeFolder(const std::string& path) { return !path.empty() && CreateDirectoryW(widePath(path).c_str(), nullptr); }

bool removeFile(const std::string& path) { return !path.empty() && DeleteFileW(widePath(path).c_str()); }

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    const HANDLE file =
        CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
    return CloseHandle(file) && done == bytes.size();
}

bool renameFile(const std::string& from, const std::string& to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

PathKind pathKind(const std::string& path) {
    const DWORD found = attributes(path);
    if (found == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    if (found & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
    return found & FILE_ATTRIBUTE_DEVICE ? PathKind::Other : PathKind::File;
}

std::string readError(const std::string& path) {
    const HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return systemMessage(GetLastError());
    CloseHandle(file);
    return {};
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    if (path.empty()) return std::nullopt;
    const HANDLE file = openToExamine(path);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!known) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::string absolutePath(const std::string& path) {
    const std::wstring wide = wideText(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), length, full.data(), nullptr));
    std::string text = utf8Text(full);
    while (text.size() > pathRootLength(text) && isPathSeparator(text.back())) text.pop_back();
    return text;
}

}  // namespace quillon::platform
