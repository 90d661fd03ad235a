#include "platform/shared_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quillon::platform {

namespace {

// F_SETLKW over the whole file; errno tells why it failed.
bool setLock(int fd, short type) {
    struct flock whole {};
    whole.l_type = type;
    whole.l_whence = SEEK_SET;
    while (fcntl(fd, F_SETLKW, &whole) != 0)
        if (errno != EINTR) return false;
    return true;
}

// What a file system without working locks answers (NFS without its lock
// service: ENOLCK; some FUSE file systems: ENOSYS or EOPNOTSUPP).
bool locksRefused(int error) { return error == ENOLCK || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL; }

}  // namespace

SharedFile::~SharedFile() { close(); }

bool SharedFile::reopen() {
    if (file_ != kClosed) ::close(int(file_));
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    file_ = fd < 0 ? kClosed : fd;
    return fd >= 0;
}

SharedOpen SharedFile::open(const std::string& path, FileLocking locking) {
    close();
    path_ = path;
    locking_ = locking;
    if (!reopen()) return SharedOpen::CannotOpen;
    if (locking_ == FileLocking::SingleRun) return SharedOpen::Opened;
    if (!setLock(int(file_), F_WRLCK)) {
        const int error = errno;
        close();
        return locksRefused(error) ? SharedOpen::LocksRefused : SharedOpen::CannotOpen;
    }
    setLock(int(file_), F_UNLCK);
    return SharedOpen::Opened;
}

bool SharedFile::isCurrent() const {
    struct stat open {}, named {};
    return fstat(int(file_), &open) == 0 && stat(path_.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

bool SharedFile::lock() {
    if (file_ == kClosed && !reopen()) return false;
    for (;;) {
        if (locking_ == FileLocking::Locked && !setLock(int(file_), F_WRLCK)) return false;
        // Replaced (or removed) while this run waited: the lock is on a file
        // no one reads any more.
        if (isCurrent()) break;
        if (!reopen()) return false;
    }
    locked_ = true;
    return true;
}

void SharedFile::unlock() {
    if (locked_ && locking_ == FileLocking::Locked && file_ != kClosed) setLock(int(file_), F_UNLCK);
    locked_ = false;
}

std::int64_t SharedFile::size() const {
    struct stat info {};
    return file_ != kClosed && fstat(int(file_), &info) == 0 ? std::int64_t(info.st_size) : -1;
}

std::int64_t SharedFile::readAt(std::int64_t offset, char* into, std::size_t size) const {
    for (;;) {
        const ssize_t got = pread(int(file_), into, size, off_t(offset));
        if (got >= 0 || errno != EINTR) return got;
    }
}

bool SharedFile::append(std::string_view bytes) {
    if (file_ == kClosed) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(int(file_), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

bool SharedFile::truncate(std::int64_t size) { return file_ != kClosed && ftruncate(int(file_), off_t(size)) == 0; }

bool SharedFile::sync() { return file_ != kClosed && fsync(int(file_)) == 0; }

bool SharedFile::replaceWith(const std::string& completed) { return ::rename(completed.c_str(), path_.c_str()) == 0; }

bool SharedFile::close() {
    locked_ = false;
    if (file_ == kClosed) return true;
    const bool closed = ::close(int(file_)) == 0;
    file_ = kClosed;
    return closed;
}

}  // namespace quillon::platform
