#pragma once
// The source files of one run, so that nothing the run writes is one of them:
// "/sf=" naming the fax itself, a "./" path to it, a link to it, or "/log="
// and "/report=" pointing at a source would otherwise replace the fax.

#include <set>
#include <string>
#include <vector>

#include "platform/export.h"
#include "platform/files.h"

namespace quillon {

class RunSources {
public:
    RunSources() = default;
    QUILLON_EXPORT explicit RunSources(const std::vector<std::string>& sources);

    // True when path names one of the sources: the same path once made
    // absolute, or the same file (device and inode), so links count.
    bool contains(const std::string& path) const;

private:
    struct IdentityLess {
        bool operator()(const platform::FileIdentity& a, const platform::FileIdentity& b) const {
            return a.device != b.device ? a.device < b.device : a.inode < b.inode;
        }
    };
    std::set<std::string> paths_;
    std::set<platform::FileIdentity, IdentityLess> files_;
};

}  // namespace quillon
