#include "platform/stable_storage.h"

#include <fcntl.h>
#include <unistd.h>

namespace quillon::platform {

bool syncStream(std::FILE* stream) { return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0; }

bool syncFolder(const std::string& path) {
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

}  // namespace quillon::platform
