#pragma once
// What each system does to load a module (module_loader.h), which checks
// the module's version the same way on every system.

#include <string>

namespace quillon::platform {

// The full path of module `name`'s file.
std::string moduleFile(const std::string& name);
// The module loaded with every symbol bound; nullptr, with error, when it
// cannot be.
void* openModule(const std::string& path, std::string& error);
void* moduleSymbol(void* module, const char* symbol);
void closeModule(void* module);

}  // namespace quillon::platform
