#include "platform/module_loader.h"

#include <dlfcn.h>

#include <string_view>

#include "platform/environment.h"
#include "platform/files.h"

namespace quillon::platform {

void* moduleFunction(const std::string& name, const char* symbol, std::string& error) {
    const std::string program = programPath();
    const std::string folder = program.substr(0, program.rfind('/') + 1);
    const std::string file = name + ".so";
    std::string path = folder + file;
    if (!fileExists(path)) path = folder + "../" QUILLON_MODULE_DIR "/" + file;
    // Bound at once, so that a module that does not fit the program fails
    // here and not in the middle of a run.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        error = reason ? reason : path + ": cannot be loaded";
        return nullptr;
    }
    const auto* version = static_cast<const char*>(dlsym(module, "quillonModuleInterface"));
    if (!version || std::string_view(version) != kModuleInterface) {
        error = path + ": module of " + (version ? "version " + std::string(version) : "no known version") +
                ", but this program needs version " + kModuleInterface;
        dlclose(module);
        return nullptr;
    }
    void* function = dlsym(module, symbol);
    if (!function) error = path + ": no " + symbol;
    return function;
}

}  // namespace quillon::platform
