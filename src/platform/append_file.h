#pragma once
// A file that lines are appended to, each in one write at the file's end
// (O_APPEND; FILE_APPEND_DATA on Windows), so that a reader, or a process killed in between, never leaves
// a line mixed with another.

#include <cstdint>
#include <string>

namespace quillon::platform {

class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens path for appending, made when missing; false when it cannot be.
    bool open(const std::string& path);
    // False when not all of bytes could be written (a full disk, say).
    bool append(const std::string& bytes);
    bool close();
    bool isOpen() const { return file_ != kClosed; }

private:
    // The open file: a descriptor on POSIX systems, a HANDLE on Windows.
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t file_ = kClosed;
};

}  // namespace quillon::platform
