#include "run/drive/run_sources.h"

namespace quillon {

RunSources::RunSources(const std::vector<std::string>& sources) {
    for (const std::string& source : sources) {
        if (source.empty()) continue;
        paths_.insert(platform::absolutePath(source));
        if (const auto identity = platform::fileIdentity(source)) files_.insert(*identity);
    }
}

bool RunSources::contains(const std::string& path) const {
    if (path.empty()) return false;
    if (paths_.contains(platform::absolutePath(path))) return true;
    const auto identity = platform::fileIdentity(path);
    return identity && files_.contains(*identity);
}

}  // namespace quillon
