#include "platform/file_times.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/stat_times.h"

namespace quillon::platform {

namespace {

constexpr std::int64_t kNanoseconds = 1'000'000'000;

std::int64_t nanoseconds(const timespec& time) { return std::int64_t(time.tv_sec) * kNanoseconds + time.tv_nsec; }

timespec timeOf(std::int64_t nanoseconds) {
    std::int64_t seconds = nanoseconds / kNanoseconds, rest = nanoseconds % kNanoseconds;
    if (rest < 0) {
        rest += kNanoseconds;
        --seconds;
    }
    return timespec{static_cast<time_t>(seconds), static_cast<long>(rest)};
}

}  // namespace

FileTimes statTimes(const struct stat& info) {
    return FileTimes{nanoseconds(info.st_atim), nanoseconds(info.st_mtim), std::nullopt};
}

bool writeFileTimes(const std::string& path, const FileTimes& times) {
    const timespec both[2] = {timeOf(times.access), timeOf(times.modification)};
    return utimensat(AT_FDCWD, path.c_str(), both, 0) == 0;
}

}  // namespace quillon::platform
