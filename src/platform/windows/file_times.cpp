#include "platform/file_times.h"

#include <windows.h>

#include "platform/windows/handle_times.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

namespace {

// FILETIME counts 100 ns from 1601-01-01 UTC.
constexpr std::int64_t kFrom1601 = 116444736000000000;

std::int64_t nanoseconds(const FILETIME& time) {
    const std::int64_t ticks = (std::int64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (ticks - kFrom1601) * 100;
}

FILETIME fileTime(std::int64_t nanoseconds) {
    const std::uint64_t ticks = std::uint64_t(nanoseconds / 100 + kFrom1601);
    return FILETIME{DWORD(ticks & 0xFFFFFFFF), DWORD(ticks >> 32)};
}

HANDLE openForTimes(const std::string& path, DWORD access) {
    return CreateFileW(widePath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::optional<FileTimes> handleTimes(HANDLE file) {
    FILETIME creation{}, access{}, write{};
    if (!GetFileTime(file, &creation, &access, &write)) return std::nullopt;
    return FileTimes{nanoseconds(access), nanoseconds(write), nanoseconds(creation)};
}

bool writeFileTimes(const std::string& path, const FileTimes& times) {
    const HANDLE file = openForTimes(path, FILE_WRITE_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE) return false;
    const FILETIME access = fileTime(times.access), write = fileTime(times.modification);
    FILETIME creation{};
    if (times.creation) creation = fileTime(*times.creation);
    const bool set = SetFileTime(file, times.creation ? &creation : nullptr, &access, &write);
    return CloseHandle(file) && set;
}

}  // namespace quillon::platform
