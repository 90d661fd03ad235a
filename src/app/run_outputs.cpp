#include "app/run_outputs.h"

#include <filesystem>

namespace quillon {

// "out//a.tif" and "out/./a.tif" are one file.
std::string RunOutputs::key(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

const std::string* RunOutputs::writerOf(const std::string& path) const {
    const auto found = written_.find(key(path));
    return found == written_.end() ? nullptr : &found->second;
}

void RunOutputs::record(const std::string& path, const std::string& source) { written_.emplace(key(path), source); }

}  // namespace quillon
