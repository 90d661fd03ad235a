#pragma once
// The source files of one run, so that nothing the run writes is one of them:
// "/sf=" naming the fax itself, a "./" path to it, a link to it, or "/log="
// and "/report=" pointing at a source would otherwise replace the fax.
//
// A folder run may have hundreds of thousands of sources: each is kept as
// one 64-bit hash, of the file it is (device and inode) when that can be
// told, else of its absolute path. Two names that differ could share a hash
// (about once in 2^64 / files² runs): an output is then refused, never a
// source replaced.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/export.h"

namespace quillon {

class RunSources {
public:
    RunSources() = default;
    QUILLON_EXPORT explicit RunSources(const std::vector<std::string>& sources);

    // A source of the run, added as the walk finds it; sealed once all are.
    void add(const std::string& source);
    void seal();

    // True when path names one of the sources: the same path once made
    // absolute (on Windows, in any case), or the same file (device and
    // inode), so links count.
    bool contains(const std::string& path) const;

private:
    std::vector<std::uint64_t> hashes_;  // sorted once sealed
};

}  // namespace quillon
