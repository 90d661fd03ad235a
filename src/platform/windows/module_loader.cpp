#include <windows.h>

#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/system_modules.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

std::string moduleFile(const std::string& name) {
    const std::string program = programPath();
    return program.substr(0, lastPathSeparator(program) + 1) + name + ".dll";
}

void* openModule(const std::string& path, std::string& error) {
    // By its full path; what it needs from the module's own folder and
    // System32 alone, never from the current folder or PATH.
    const HMODULE module = LoadLibraryExW(widePath(path).c_str(), nullptr,
                                          LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) error = path + ": cannot be loaded: " + systemMessage(GetLastError());
    return module;
}

void* moduleSymbol(void* module, const char* symbol) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), symbol));
}

void closeModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

}  // namespace quillon::platform
