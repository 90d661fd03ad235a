#include <cstdio>
#include <random>

#include "platform/files.h"
#include "platform/paths.h"

namespace quillon::platform {

std::string siblingTempName(const std::string& path) {
    const std::string::size_type slash = lastPathSeparator(path);
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // One generator per thread: workers name their outputs at the same time.
    thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%012llx.part", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        std::string candidate = folder + "." + name + suffix;
        if (!fileExists(candidate)) return candidate;
    }
    return {};
}

}  // namespace quillon::platform
