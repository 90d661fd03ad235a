#include "platform/append_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quillon::platform {

AppendFile::~AppendFile() { close(); }

bool AppendFile::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    file_ = fd;
    return true;
}

bool AppendFile::append(const std::string& bytes) {
    if (file_ == kClosed) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(int(file_), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

bool AppendFile::close() {
    if (file_ == kClosed) return true;
    const bool closed = ::close(int(file_)) == 0;
    file_ = kClosed;
    return closed;
}

}  // namespace quillon::platform
