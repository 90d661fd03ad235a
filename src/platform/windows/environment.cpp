#include "platform/environment.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/windows/wide_text.h"

namespace quillon::platform {

void setUpProcess() {
    // Libraries loaded later (modules, and what libraries load themselves)
    // come from the program's folder and System32, never from the current
    // folder or PATH, where a planted DLL would run as the user.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
    // The program writes UTF-8; a console shows it so.
    SetConsoleOutputCP(CP_UTF8);
}

std::vector<std::string> commandLineWords(int, char**) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; words && i < count; ++i) result.push_back(utf8Text(words[i]));
    LocalFree(words);
    return result;
}

bool displayAvailable() { return true; }  // a Windows session always has its desktop

std::string environmentValue(const char* name) {
    const std::wstring wide = wideText(name);
    const DWORD length = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(wide.c_str(), value.data(), length));
    return utf8Text(value);
}

std::string programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return utf8Text(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace quillon::platform
