#include "platform/shared_file.h"

#include <windows.h>

#include "platform/files.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

namespace {

HANDLE handleOf(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

// LockFileEx over every byte the file may ever have; it waits for the lock.
bool lockWhole(HANDLE file) {
    OVERLAPPED start{};
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &start);
}

void unlockWhole(HANDLE file) {
    OVERLAPPED start{};
    UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &start);
}

}  // namespace

SharedFile::~SharedFile() { close(); }

bool SharedFile::reopen() {
    if (file_ != kClosed) CloseHandle(handleOf(file_));
    // Shared for deleting too, so that another run can rename a compacted
    // report over this one while it is open here.
    const HANDLE file = CreateFileW(widePath(path_).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    file_ = file == INVALID_HANDLE_VALUE ? kClosed : reinterpret_cast<std::intptr_t>(file);
    return file_ != kClosed;
}

SharedOpen SharedFile::open(const std::string& path, FileLocking locking) {
    close();
    path_ = path;
    locking_ = locking;
    if (!reopen()) return SharedOpen::CannotOpen;
    if (locking_ == FileLocking::SingleRun) return SharedOpen::Opened;
    if (!lockWhole(handleOf(file_))) {
        const DWORD error = GetLastError();
        close();
        return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ? SharedOpen::LocksRefused
                                                                                : SharedOpen::CannotOpen;
    }
    unlockWhole(handleOf(file_));
    return SharedOpen::Opened;
}

bool SharedFile::isCurrent() const {
    BY_HANDLE_FILE_INFORMATION open{};
    if (!GetFileInformationByHandle(handleOf(file_), &open)) return false;
    const auto named = fileIdentity(path_);
    return named && named->device == open.dwVolumeSerialNumber &&
           named->inode == ((std::uint64_t(open.nFileIndexHigh) << 32) | open.nFileIndexLow);
}

bool SharedFile::lock() {
    if (file_ == kClosed && !reopen()) return false;
    for (;;) {
        if (locking_ == FileLocking::Locked && !lockWhole(handleOf(file_))) return false;
        if (isCurrent()) break;
        if (locking_ == FileLocking::Locked) unlockWhole(handleOf(file_));
        if (!reopen()) return false;
    }
    locked_ = true;
    return true;
}

void SharedFile::unlock() {
    if (locked_ && locking_ == FileLocking::Locked && file_ != kClosed) unlockWhole(handleOf(file_));
    locked_ = false;
}

std::int64_t SharedFile::size() const {
    LARGE_INTEGER size{};
    return file_ != kClosed && GetFileSizeEx(handleOf(file_), &size) ? std::int64_t(size.QuadPart) : -1;
}

std::int64_t SharedFile::readAt(std::int64_t offset, char* into, std::size_t size) const {
    OVERLAPPED at{};
    at.Offset = DWORD(std::uint64_t(offset));
    at.OffsetHigh = DWORD(std::uint64_t(offset) >> 32);
    DWORD got = 0;
    if (ReadFile(handleOf(file_), into, DWORD(size), &got, &at)) return got;
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

bool SharedFile::append(std::string_view bytes) {
    if (file_ == kClosed) return false;
    // Both offsets all ones: at the file's end, in one step, as O_APPEND does.
    OVERLAPPED end{};
    end.Offset = end.OffsetHigh = MAXDWORD;
    DWORD written = 0;
    return WriteFile(handleOf(file_), bytes.data(), DWORD(bytes.size()), &written, &end) && written == bytes.size();
}

bool SharedFile::truncate(std::int64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    return file_ != kClosed && SetFileInformationByHandle(handleOf(file_), FileEndOfFileInfo, &end, sizeof end);
}

bool SharedFile::sync() { return file_ != kClosed && FlushFileBuffers(handleOf(file_)); }

// Copied in holding the lock, so no run appends in between; a power cut
// while it copies leaves the whole of it in `completed`.
bool SharedFile::replaceWith(const std::string& completed) {
    const HANDLE from = CreateFileW(widePath(completed).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (from == INVALID_HANDLE_VALUE) return false;
    bool copied = truncate(0);
    char chunk[1 << 16];
    for (DWORD got = 0; copied && ReadFile(from, chunk, sizeof chunk, &got, nullptr) && got > 0;)
        copied = append(std::string_view(chunk, got));
    CloseHandle(from);
    return copied && sync() && DeleteFileW(widePath(completed).c_str());
}

bool SharedFile::close() {
    locked_ = false;
    if (file_ == kClosed) return true;
    const bool closed = CloseHandle(handleOf(file_));
    file_ = kClosed;
    return closed;
}

}  // namespace quillon::platform
