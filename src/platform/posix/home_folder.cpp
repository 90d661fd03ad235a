#include "platform/home_folder.h"

#include <cstdlib>
#include <filesystem>

namespace quillon::platform {

namespace {

std::string envValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string homeFolder() {
    std::string folder = envValue("QUILLON_HOME");
    if (folder.empty()) {
        std::string data = envValue("XDG_DATA_HOME");
        if (data.empty()) {
            std::string home = envValue("HOME");
            data = (home.empty() ? std::string(".") : home) + "/.local/share";
        }
        folder = data + "/quillon";
    }
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

}  // namespace quillon::platform
