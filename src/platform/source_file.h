#pragma once
// A source file opened once, for reading, without ever waiting (a named pipe
// with no writer does not hold the program up): what it is and its times
// come from that one handle, and a regular file is read whole into memory
// through it, so that every later look at the source sees the same bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_times.h"
#include "platform/files.h"

namespace quillon::platform {

class SourceFile {
public:
    // The largest file read, so that no file can make the program take all
    // its memory: a larger one is refused, by the size the system gives
    // before anything is allocated.
    static constexpr std::uint64_t kMostBytes = std::uint64_t(1) << 30;

    // Opens, examines and (a regular file) reads the path, then closes it.
    explicit SourceFile(std::string path);

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
    // The whole file for a regular file read without error; nothing for a
    // file that is not read (a named pipe, a device, a folder) or could not be.
    std::optional<std::span<const std::uint8_t>> contents() const;
    // contents(), or no bytes.
    std::span<const std::uint8_t> bytes() const { return bytes_; }

private:
    std::string path_;
    PathKind kind_ = PathKind::Missing;
    std::string error_;
    std::optional<FileTimes> times_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace quillon::platform
