#include <dlfcn.h>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/system_modules.h"

namespace quillon::platform {

std::string moduleFile(const std::string& name) {
    const std::string program = programPath();
    const std::string folder = program.substr(0, program.rfind('/') + 1);
    const std::string file = name + ".so";
    const std::string beside = folder + file;
    return fileExists(beside) ? beside : folder + "../" QUILLON_MODULE_DIR "/" + file;
}

void* openModule(const std::string& path, std::string& error) {
    // Bound at once, so that a module that does not fit the program fails
    // here and not in the middle of a run.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        error = reason ? reason : path + ": cannot be loaded";
    }
    return module;
}

void* moduleSymbol(void* module, const char* symbol) { return dlsym(module, symbol); }

void closeModule(void* module) { dlclose(module); }

}  // namespace quillon::platform
