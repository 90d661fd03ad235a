#include "platform/module_loader.h"

#include <windows.h>

#include <string_view>

#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/windows/wide_text.h"

namespace quillon::platform {

void* moduleFunction(const std::string& name, const char* symbol, std::string& error) {
    const std::string program = programPath();
    const std::string path = program.substr(0, lastPathSeparator(program) + 1) + name + ".dll";
    // By its full path; what it needs from the module's own folder and
    // System32 alone, never from the current folder or PATH.
    const HMODULE module = LoadLibraryExW(widePath(path).c_str(), nullptr,
                                          LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        error = path + ": cannot be loaded: " + systemMessage(GetLastError());
        return nullptr;
    }
    const auto* version = reinterpret_cast<const char*>(GetProcAddress(module, "quillonModuleInterface"));
    if (!version || std::string_view(version) != kModuleInterface) {
        error = path + ": module of " + (version ? "version " + std::string(version) : "no known version") +
                ", but this program needs version " + kModuleInterface;
        FreeLibrary(module);
        return nullptr;
    }
    void* function = reinterpret_cast<void*>(GetProcAddress(module, symbol));
    if (!function) error = path + ": no " + symbol;
    return function;
}

}  // namespace quillon::platform
