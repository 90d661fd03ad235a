#pragma once
#include <string>

namespace quillon {

// An output file written under a temporary name in its destination folder and
// renamed into place only when complete: a failed copy, a crash or a killed
// process never leaves a partial file under the output name, and an earlier
// good output stays until a complete new one replaces it.
class PendingOutput {
public:
    explicit PendingOutput(std::string finalPath);
    ~PendingOutput();
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    // Where to write; empty when no temporary name could be found.
    const std::string& path() const { return tempPath_; }
    // Renames the written file to its final name; false when that fails.
    bool commit();

private:
    std::string finalPath_;
    std::string tempPath_;
    bool committed_ = false;
};

}  // namespace quillon
