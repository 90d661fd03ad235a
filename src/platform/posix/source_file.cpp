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

}  // namespace

SourceFile::SourceFile(std::string path, const ByteWatcher& watcher) : path_(std::move(path)) {
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
        take(
            std::uint64_t(std::max<off_t>(info.st_size, 0)),
            [&](std::uint8_t* into, std::size_t size) {
                const std::int64_t got = readSome(fd, into, size);
                if (got < 0) readError_ = errno;
                return got;
            },
            watcher);
        // Taken again after reading, which may have renewed the access time:
        // an output given these times has those the source keeps.
        fstat(fd, &info);
    }
    times_ = statTimes(info);
    if (kind_ == PathKind::File && error_.empty() && !held_) {
        handle_ = fd;  // its reader reads it through the handle
    } else {
        close(fd);
    }
}

SourceFile::~SourceFile() {
    if (handle_ >= 0) close(int(handle_));
}

std::string SourceFile::reasonOf(WholeFileEnd end) const {
    switch (end) {
        case WholeFileEnd::Read: return {};
        case WholeFileEnd::Failed: return std::strerror(readError_);
        case WholeFileEnd::TooLarge: return kTooLargeReason;
        case WholeFileEnd::NoMemory: return std::strerror(ENOMEM);
    }
    return {};
}

std::size_t SourceFile::readKept(std::uint64_t position, std::uint8_t* into, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(int(handle_), into + done, size - done, off_t(position + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // the end, or a read error: the reader sees the file end there
        done += std::size_t(got);
    }
    return done;
}

}  // namespace quillon::platform
