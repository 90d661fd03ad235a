#pragma once
// A source file opened once, for reading, without ever waiting (a named pipe
// with no writer does not hold the program up): what it is and its times
// come from that one handle, and a regular file is read whole through it,
// once, so that every later look at the source sees the same bytes.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_times.h"
#include "platform/files.h"
#include "platform/source_bytes.h"
#include "platform/whole_file.h"

namespace quillon::platform {

class SourceFile {
public:
    // The largest file read, so that no file can make the program take all
    // its memory: a larger one is refused, by the size the system gives
    // before anything is allocated.
    static constexpr std::uint64_t kMostBytes = std::uint64_t(1) << 30;
    // Files up to this size (nearly every fax) are held in memory after their
    // one read. A larger one is read once from start to end, to check it and
    // tell the watcher its bytes, and then its reader reads it through the
    // handle, which stays open: memory stays flat whatever the file's size.
    static constexpr std::uint64_t kMostHeldBytes = std::uint64_t(8) << 20;
    // Told every byte of a regular file, in order, as it is read (for its
    // checksum); not told of a file whose reading fails.
    using ByteWatcher = std::function<void(std::span<const std::uint8_t>)>;

    // Opens, examines and (a regular file) reads the path; the handle is
    // closed then, but for a file too large to hold.
    explicit SourceFile(std::string path, const ByteWatcher& watcher = {});
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    const std::string& path() const { return path_; }
    // What the path names: from the open handle, or, when it cannot be
    // opened, from the path (Missing for one that names nothing).
    PathKind kind() const { return kind_; }
    // Empty when the file was opened and, a regular file, read whole; else
    // the system's reason ("Permission denied", "Input/output error"), or
    // that it holds more than kMostBytes.
    const std::string& error() const { return error_; }
    // Its times, once it was opened; after its reading, which may renew
    // its access time.
    const std::optional<FileTimes>& times() const { return times_; }
    // The file's bytes for its reader, for a regular file read without
    // error; none for a file that is not read (a named pipe, a device, a
    // folder) or could not be.
    SourceBytes contents() const;
    // Its first bytes (at most kHeadBytes): what tells the format of a name
    // that needs them.
    static constexpr std::size_t kHeadBytes = 32;
    std::span<const std::uint8_t> head() const { return {head_.data(), headSize_}; }

private:
    // Takes what a read of the whole file gives: held (up to kMostHeldBytes)
    // or passed to the watcher chunk by chunk; the reason when it fails.
    void take(std::uint64_t expectedSize, const ReadSome& readSome, const ByteWatcher& watcher);
    std::string reasonOf(WholeFileEnd end) const;
    // Reads through the kept handle (a file too large to hold).
    std::size_t readKept(std::uint64_t position, std::uint8_t* into, std::size_t size) const;

    std::string path_;
    PathKind kind_ = PathKind::Missing;
    std::string error_;
    std::optional<FileTimes> times_;
    std::vector<std::uint8_t> bytes_;  // a held file
    std::uint64_t size_ = 0;
    bool held_ = true;
    std::array<std::uint8_t, kHeadBytes> head_{};
    std::size_t headSize_ = 0;
    std::intptr_t handle_ = -1;  // kept open for a file too large to hold
    int readError_ = 0;          // the system's number of a failed read
};

}  // namespace quillon::platform
