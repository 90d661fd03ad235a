#pragma once
// Paths as the program holds them: UTF-8 text with the system's separators,
// '/' on POSIX systems and '\' or '/' on Windows (where '\' is written).
// Every name the program builds, prints or compares goes through these.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/export.h"

namespace quillon::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
#endif

inline bool isPathSeparator(char c) { return kPathSeparators.find(c) != std::string_view::npos; }
// The position of the last separator, or npos.
inline std::size_t lastPathSeparator(std::string_view path) { return path.find_last_of(kPathSeparators); }
// What follows the last separator (the whole path when there is none).
inline std::string_view fileNamePart(std::string_view path) {
    const std::size_t separator = lastPathSeparator(path);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}
// What comes before the last separator, the separator kept when it is the
// root's ("/a" gives "/"); empty when there is none (the current folder).
inline std::string folderPart(std::string_view path) {
    const std::size_t separator = lastPathSeparator(path);
    if (separator == std::string_view::npos) return {};
    return std::string(path.substr(0, separator == 0 ? 1 : separator));
}

// The folder and the name joined by one separator (none after an empty
// folder or one that ends in a separator).
QUILLON_EXPORT std::string joinPath(const std::string& folder, const std::string& name);

// The length of the path's root, which names no folder to make: "/" (1) on
// POSIX systems; "C:\" (3), "C:" (2), "\" (1) or "\\server\share\" on
// Windows; 0 for a relative path.
std::size_t pathRootLength(std::string_view path);

// One text for every spelling of a path that names one file by its text
// alone: "out//a.tif" and "out/./a.tif", and on Windows, whose names ignore
// case, "OUT\A.TIF" and "out/a.tif" too.
QUILLON_EXPORT std::string pathKey(const std::string& path);

// The path for the standard library's file streams and file system calls,
// and back: UTF-8 on both sides, whatever the system's code page.
QUILLON_EXPORT std::filesystem::path fileSystemPath(const std::string& path);
QUILLON_EXPORT std::string pathText(const std::filesystem::path& path);

}  // namespace quillon::platform
