#include "platform/paths.h"

#include <windows.h>

#include "platform/windows/wide_text.h"

namespace quillon::platform {

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || isPathSeparator(folder.back()) || (folder.size() == 2 && folder[1] == ':'))
        return folder + name;
    return folder + kPathSeparator + name;
}

std::size_t pathRootLength(std::string_view path) {
    const auto letter = [&](std::size_t i) {
        return i < path.size() && ((path[i] >= 'A' && path[i] <= 'Z') || (path[i] >= 'a' && path[i] <= 'z'));
    };
    const auto separator = [&](std::size_t i) { return i < path.size() && isPathSeparator(path[i]); };
    if (letter(0) && path.size() >= 2 && path[1] == ':') return separator(2) ? 3 : 2;
    if (separator(0) && separator(1)) {
        // \\server\share\ (or \\?\C:\): the server and the share.
        std::size_t at = path.find_first_of(kPathSeparators, 2);
        if (at == std::string_view::npos) return path.size();
        at = path.find_first_of(kPathSeparators, at + 1);
        return at == std::string_view::npos ? path.size() : at + 1;
    }
    return separator(0) ? 1 : 0;
}

std::string pathKey(const std::string& path) {
    std::wstring key = std::filesystem::path(wideText(path)).lexically_normal().wstring();
    // Names that differ only in case are one name on Windows file systems.
    if (!key.empty()) CharUpperBuffW(key.data(), DWORD(key.size()));
    return utf8Text(key);
}

std::filesystem::path fileSystemPath(const std::string& path) { return std::filesystem::path(wideText(path)); }

std::string pathText(const std::filesystem::path& path) { return utf8Text(path.wstring()); }

}  // namespace quillon::platform
