#pragma once
// Bytes written out as they grow and read back in pieces: what a folder run
// holds of every file (the names the walk found, the results lines, the log
// entry) would otherwise grow with the number of files. The bytes go to a
// file of the process's private temporary folder, removed with the spool;
// when no such file can be made they are held in memory instead, so a run
// still works, only without that saving.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace quillon::platform {

class TextSpool {
public:
    TextSpool();
    ~TextSpool();
    TextSpool(const TextSpool&) = delete;
    TextSpool& operator=(const TextSpool&) = delete;

    // False once a write failed (a full disk): the spool then misses bytes.
    bool append(std::string_view bytes);
    bool failed() const;
    std::uint64_t size() const;
    // Up to size bytes from offset into `into`; how many there were.
    std::size_t read(std::uint64_t offset, char* into, std::size_t size) const;
    // Hands every byte to take, in order, in pieces of up to 64 KiB; false
    // when a piece could not be read or take returned false.
    bool copyTo(const std::function<bool(std::string_view piece)>& take) const;

private:
    // Reads and appends take turns: a run's workers look names up while
    // the spool is read in walk order.
    mutable std::mutex turn_;
    std::string path_;
    std::FILE* file_ = nullptr;
    std::string memory_;  // the bytes, when no file could be made
    std::uint64_t size_ = 0;
    bool failed_ = false;
    mutable bool readSinceWrite_ = false;  // a stream must be positioned between reads and writes
};

}  // namespace quillon::platform
