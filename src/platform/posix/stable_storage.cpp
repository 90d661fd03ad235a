#include "platform/stable_storage.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::platform {

bool syncStream(std::FILE* stream) { return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0; }

// fsync puts the file's data on disk whichever descriptor asks, a
// read-only one too.
bool syncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

// A syncfs puts every file of its file system on disk with one journal
// commit and one flush of the disk's cache, where an fsync a file costs one
// of each a file.
bool syncFiles(const std::vector<std::string>& paths) {
    std::vector<dev_t> synced;
    for (const std::string& path : paths) {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) return false;
        if (std::find(synced.begin(), synced.end(), status.st_dev) != synced.end()) continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        const bool done = syncfs(fd) == 0;
        if (::close(fd) != 0 || !done) return false;
        synced.push_back(status.st_dev);
    }
    return true;
}

bool syncFolder(const std::string& path) {
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

}  // namespace quillon::platform
