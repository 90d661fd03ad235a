#pragma once
// A file written whole or not at all: written under a temporary name in its
// destination folder and renamed into place only when complete, so that a
// failed write, a crash or a killed process never leaves a partial file under
// its name, and an earlier good file stays until a complete new one replaces
// it. Outputs and the rewritten report are written this way.

#include <string>

namespace quillon::platform {

class AtomicFile {
public:
    explicit AtomicFile(std::string finalPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Handed on whole: the written file waits to be committed elsewhere.
    AtomicFile(AtomicFile&& other) noexcept;

    // Where to write, made empty (open it without creating it: "r+b"); empty
    // when no temporary file could be made.
    const std::string& path() const { return tempPath_; }
    // Renames the written file to its final name (synced first when asked);
    // false when that fails.
    bool commit(bool syncFirst = false);

private:
    std::string finalPath_;
    std::string tempPath_;
    bool committed_ = false;
};

}  // namespace quillon::platform
