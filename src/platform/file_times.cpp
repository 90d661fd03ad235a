#include "platform/file_times.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace quillon::platform {

bool readFileTimes(const std::string& path, FileTimes& times) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return false;
    times.access = info.st_atim;
    times.modification = info.st_mtim;
    return true;
}

bool writeFileTimes(const std::string& path, const FileTimes& times) {
    const timespec both[2] = {times.access, times.modification};
    return utimensat(AT_FDCWD, path.c_str(), both, 0) == 0;
}

}  // namespace quillon::platform
