#pragma once
// A file that several runs append to at once, on one machine or on several
// over a shared file system, and that one of them now and then replaces
// whole by a rename: the report and the log. Each change is made holding
// the file's exclusive lock (a POSIX record lock over the whole file;
// LockFileEx on Windows), and a run that takes the lock on a file that
// another run has meanwhile replaced reopens it by its name first, so that
// nothing is ever appended to a file that is no longer the one named.
//
// Record locks belong to the process and go with any descriptor of the file
// that it closes: every read and write of the file goes through this one.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::platform {

enum class FileLocking {
    Locked,      // runs may share the file
    SingleRun,   // no locks (for file systems that refuse them): one run at a time
};

enum class SharedOpen { Opened, CannotOpen, LocksRefused };

class SharedFile {
public:
    SharedFile() = default;
    ~SharedFile();
    SharedFile(const SharedFile&) = delete;
    SharedFile& operator=(const SharedFile&) = delete;

    // Opens path for reading and appending, made when missing, and tries
    // its lock once; LocksRefused when the file system refuses locks.
    SharedOpen open(const std::string& path, FileLocking locking);
    // Takes the lock on the file the path names now; false when it cannot.
    bool lock();
    void unlock();
    // Of the file as it is now; -1 when it cannot be examined.
    std::int64_t size() const;
    // Reads up to size bytes at offset; how many were read (0 at the end),
    // -1 on an error.
    std::int64_t readAt(std::int64_t offset, char* into, std::size_t size) const;
    // Appends at the file's end (O_APPEND; FILE_APPEND_DATA on Windows).
    bool append(std::string_view bytes);
    bool truncate(std::int64_t size);
    // Its bytes and size on stable storage.
    bool sync();
    // Makes the complete file at `completed` (in the same folder) the
    // file's content, holding the lock: a rename over it on POSIX systems
    // (the next lock() opens the new file); on Windows, where no file open
    // here can be renamed over, its bytes copied in and `completed` removed.
    bool replaceWith(const std::string& completed);
    bool close();
    const std::string& path() const { return path_; }

private:
    bool reopen();
    bool isCurrent() const;  // the open file is still the one the path names

    // The open file: a descriptor on POSIX systems, a HANDLE on Windows.
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t file_ = kClosed;
    std::string path_;
    FileLocking locking_ = FileLocking::Locked;
    bool locked_ = false;
};

}  // namespace quillon::platform
