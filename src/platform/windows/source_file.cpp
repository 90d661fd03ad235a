#include "platform/source_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/whole_file.h"
#include "platform/windows/handle_times.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

namespace {

// Shared with every other user of the file, as a viewer would open it;
// folders open too (backup semantics), to be told apart by the handle.
HANDLE openToRead(const std::string& path) {
    return CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Only files on a disk are read: a pipe or a device (CON, a serial port)
// could wait for data forever.
PathKind kindOf(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info) {
    if (GetFileType(file) != FILE_TYPE_DISK) return PathKind::Other;
    return info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder : PathKind::File;
}

std::int64_t readSome(HANDLE file, std::uint8_t* into, std::size_t size) {
    DWORD got = 0;
    const DWORD chunk = DWORD(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(file, into, chunk, &got, nullptr)) return -1;
    return got;
}

}  // namespace

SourceFile::SourceFile(std::string path, const ByteWatcher& watcher) : path_(std::move(path)) {
    const HANDLE file = path_.empty() ? INVALID_HANDLE_VALUE : openToRead(path_);
    if (file == INVALID_HANDLE_VALUE) {
        error_ = systemMessage(path_.empty() ? ERROR_FILE_NOT_FOUND : GetLastError());
        kind_ = pathKind(path_);
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = GetFileType(file) == FILE_TYPE_DISK;
    if (disk && !GetFileInformationByHandle(file, &info)) {
        error_ = systemMessage(GetLastError());
        kind_ = pathKind(path_);
        CloseHandle(file);
        return;
    }
    kind_ = kindOf(file, info);
    if (kind_ == PathKind::File) {
        const std::uint64_t size = (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        take(
            size,
            [&](std::uint8_t* into, std::size_t count) {
                const std::int64_t got = readSome(file, into, count);
                if (got < 0) readError_ = int(GetLastError());
                return got;
            },
            watcher);
    }
    // Taken after reading, like the times a path gives afterwards.
    times_ = handleTimes(file);
    if (kind_ == PathKind::File && error_.empty() && !held_) {
        handle_ = reinterpret_cast<std::intptr_t>(file);  // its reader reads it through the handle
    } else {
        CloseHandle(file);
    }
}

SourceFile::~SourceFile() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::string SourceFile::reasonOf(WholeFileEnd end) const {
    switch (end) {
        case WholeFileEnd::Read: return {};
        case WholeFileEnd::Failed: return systemMessage(DWORD(readError_));
        case WholeFileEnd::TooLarge: return kTooLargeReason;
        case WholeFileEnd::NoMemory: return systemMessage(ERROR_NOT_ENOUGH_MEMORY);
    }
    return {};
}

std::size_t SourceFile::readKept(std::uint64_t position, std::uint8_t* into, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        const std::uint64_t offset = position + done;
        at.Offset = DWORD(offset & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD got = 0;
        const DWORD chunk = DWORD(std::min<std::size_t>(size - done, 1u << 30));
        // The end, or a read error: the reader sees the file end there.
        if (!ReadFile(reinterpret_cast<HANDLE>(handle_), into + done, chunk, &got, &at) || got == 0) break;
        done += got;
    }
    return done;
}

}  // namespace quillon::platform
