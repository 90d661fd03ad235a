#include "platform/module_loader.h"

#include <string_view>

#include "platform/system_modules.h"

namespace quillon::platform {

void* moduleFunction(const std::string& name, const char* symbol, std::string& error) {
    const std::string path = moduleFile(name);
    void* module = openModule(path, error);
    if (!module) return nullptr;
    const auto* version = static_cast<const char*>(moduleSymbol(module, "quillonModuleInterface"));
    if (!version || std::string_view(version) != kModuleInterface) {
        error = path + ": module of " + (version ? "version " + std::string(version) : "no known version") +
                ", but this program needs version " + kModuleInterface;
        closeModule(module);
        return nullptr;
    }
    void* function = moduleSymbol(module, symbol);
    if (!function) error = path + ": no " + symbol;
    return function;
}

}  // namespace quillon::platform
