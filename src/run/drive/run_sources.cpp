#include "run/drive/run_sources.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/paths.h"
#include "run/plan/stable_hash.h"

namespace quillon {

namespace {

std::uint64_t pathHash(const std::string& path) { return stableHash(platform::pathKey(platform::absolutePath(path))); }

std::uint64_t identityHash(const platform::FileIdentity& identity) {
    return mixedBits(mixedBits(identity.device) ^ identity.inode);
}

}  // namespace

RunSources::RunSources(const std::vector<std::string>& sources) {
    for (const std::string& source : sources) add(source);
    seal();
}

void RunSources::add(const std::string& source) {
    if (source.empty()) return;
    const auto identity = platform::fileIdentity(source);
    hashes_.push_back(identity ? identityHash(*identity) : pathHash(source));
}

// No shrink_to_fit: the capacity beyond the hashes was never written, so it
// costs no memory, while a copy would for a moment cost as much again.
void RunSources::seal() {
    std::sort(hashes_.begin(), hashes_.end());
    hashes_.erase(std::unique(hashes_.begin(), hashes_.end()), hashes_.end());
}

bool RunSources::contains(const std::string& path) const {
    if (path.empty()) return false;
    if (std::binary_search(hashes_.begin(), hashes_.end(), pathHash(path))) return true;
    const auto identity = platform::fileIdentity(path);
    return identity && std::binary_search(hashes_.begin(), hashes_.end(), identityHash(*identity));
}

}  // namespace quillon
