#include "platform/folder_search.h"

#include <windows.h>

#include <strings.h>

#include <algorithm>

#include "platform/paths.h"
#include "platform/wildcard.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

std::optional<std::vector<FolderEntry>> searchFolder(const std::string& folder, const std::string& pattern) {
    std::vector<FolderEntry> entries;
    // Every name, matched by the program's own rules: the system's matching
    // also takes a name whose 8.3 short name matches.
    const std::wstring search = widePath(joinPath(folder.empty() ? "." : folder, "*"));
    WIN32_FIND_DATAW found{};
    const HANDLE handle =
        FindFirstFileExW(search.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (handle == INVALID_HANDLE_VALUE) {
        // A drive root without entries has not even "." to find.
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
        return std::nullopt;
    }
    do {
        const std::string name = utf8Text(found.cFileName);
        if (!wildcardMatch(pattern, name)) continue;
        // A link or junction to a folder is a plain entry, so a walk cannot loop.
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                              !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        entries.push_back({name, isFolder});
    } while (FindNextFileW(handle, &found));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(handle);
    if (!complete) return std::nullopt;
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int order = strcasecmp(a.name.c_str(), b.name.c_str());
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return entries;
}

}  // namespace quillon::platform
