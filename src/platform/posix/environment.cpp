#include "platform/environment.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace quillon::platform {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

void setUpProcess() {}

std::vector<std::string> commandLineWords(int argc, char** argv) { return {argv + std::min(argc, 1), argv + argc}; }

bool displayAvailable() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string programPath() {
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length)) : std::string();
}

}  // namespace quillon::platform
