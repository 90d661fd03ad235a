#include "platform/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/posix/stat_times.h"
#include "platform/whole_file.h"

namespace quillon::platform {

namespace {

PathKind kindOf(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return PathKind::Folder;
    return S_ISREG(info.st_mode) ? PathKind::File : PathKind::Other;
}

std::int64_t readSome(int fd, std::uint8_t* into, std::size_t size) {
    for (;;) {
        const ssize_t got = read(fd, into, size);
        if (got >= 0 || errno != EINTR) return got;
    }
}

// The reason a whole read ended short, or empty when it did not.
std::string readReason(WholeFileEnd end, int error) {
    switch (end) {
        case WholeFileEnd::Read: return {};
        case WholeFileEnd::Failed: return std::strerror(error);
        case WholeFileEnd::TooLarge: return kTooLargeReason;
        case WholeFileEnd::NoMemory: return std::strerror(ENOMEM);
    }
    return {};
}

}  // namespace

SourceFile::SourceFile(std::string path) : path_(std::move(path)) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer.
    const int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = std::strerror(errno);
        kind_ = pathKind(path_);
        return;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        error_ = std::strerror(errno);
        kind_ = pathKind(path_);
        close(fd);
        return;
    }
    kind_ = kindOf(info);
    if (kind_ == PathKind::File) {
        int readError = 0;
        const WholeFileEnd end = readWholeFile(
            std::uint64_t(std::max<off_t>(info.st_size, 0)), kMostBytes,
            [&](std::uint8_t* into, std::size_t size) {
                const std::int64_t got = readSome(fd, into, size);
                if (got < 0) readError = errno;
                return got;
            },
            bytes_);
        error_ = readReason(end, readError);
        // Taken again after reading, which may have renewed the access time:
        // an output given these times has those the source keeps.
        fstat(fd, &info);
    }
    times_ = statTimes(info);
    close(fd);
}

}  // namespace quillon::platform
