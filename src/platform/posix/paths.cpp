#include "platform/paths.h"

namespace quillon::platform {

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::size_t pathRootLength(std::string_view path) { return !path.empty() && path[0] == '/' ? 1 : 0; }

std::string pathKey(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

std::filesystem::path fileSystemPath(const std::string& path) { return std::filesystem::path(path); }

std::string pathText(const std::filesystem::path& path) { return path.string(); }

}  // namespace quillon::platform
