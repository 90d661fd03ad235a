#pragma once
// Files and folders by their UTF-8 paths: opening, examining, writing whole,
// renaming and removing, and telling whether two paths name one file.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace quillon::platform {

// The line end of the text files written for people to read (the log):
// CR LF on Windows, LF elsewhere.
#ifdef _WIN32
inline constexpr const char* kTextLineEnd = "\r\n";
#else
inline constexpr const char* kTextLineEnd = "\n";
#endif

// Opens a file as std::fopen does (mode "rb", "wb", "ab", ...), by its
// UTF-8 path, not inherited by programs the process starts.
std::FILE* openFile(const std::string& path, const char* mode);
// Moves an open file's position to offset bytes from its start; offsets
// beyond 2 GiB too (std::fseek takes a long, 32 bits on Windows).
bool seekFile(std::FILE* file, std::uint64_t offset);

bool fileExists(const std::string& path);     // a file or folder of that name exists
bool folderExists(const std::string& path);
// Size in bytes of a regular file, or -1 when it cannot be examined.
std::int64_t fileSize(const std::string& path);
// Makes one folder level; true when it was made.
bool makeFolder(const std::string& path);
bool removeFile(const std::string& path);
// Writes bytes as the whole of a new or truncated file; false when any part fails.
bool writeWholeFile(const std::string& path, const std::string& bytes);
// Replaces `to` by `from` in one step (both in the same folder).
bool renameFile(const std::string& from, const std::string& to);
// A name in the same folder as `path` that does not exist yet, for writing a
// file completely before it is renamed into place. Empty when none is found.
std::string siblingTempName(const std::string& path);

// Reads up to size bytes from the start of a regular file into `into`;
// how many were read. Never waits: a named pipe or a device gives none.
std::size_t readFileStart(const std::string& path, std::uint8_t* into, std::size_t size);

enum class PathKind { Missing, File, Folder, Other };
// What a path names, following links; Missing also when it cannot be examined.
PathKind pathKind(const std::string& path);
// Empty when the file can be opened for reading, else the system's reason
// ("Permission denied").
std::string readError(const std::string& path);

// The device and inode (on Windows: the volume serial number and the file
// index) of the file a path names, links followed: two paths name one file
// when these are equal, however they are spelt (case, short names, hard
// links). Nothing when the path names nothing.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(const std::string& path);
// The path made absolute against the current folder (and drive), with "."
// and ".." parts and doubled separators resolved by the text alone (links
// are not).
std::string absolutePath(const std::string& path);

}  // namespace quillon::platform
