#pragma once
// A file's access, modification and creation times, read and set.

#include <cstdint>
#include <optional>
#include <string>

namespace quillon::platform {

// The times of a file, in nanoseconds since 1970-01-01 UTC, as exactly as
// the system keeps them, so that a copy gets the very same times.
struct FileTimes {
    std::int64_t access = 0;
    std::int64_t modification = 0;
    // Where the system keeps a creation time that a program can set
    // (Windows); Linux keeps none.
    std::optional<std::int64_t> creation;

    std::int64_t modificationSeconds() const {
        return modification >= 0 ? modification / 1'000'000'000 : -((-modification + 999'999'999) / 1'000'000'000);
    }
};

// Gives the file at path these times; those of a source come from its open
// handle (source_file.h).
bool writeFileTimes(const std::string& path, const FileTimes& times);

}  // namespace quillon::platform
