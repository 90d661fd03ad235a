#pragma once
#include <string>

#include <time.h>

namespace quillon::platform {

// Last access and last modification time of a file (Linux keeps no creation
// time that a program could set).
struct FileTimes {
    timespec access{};
    timespec modification{};
};

bool readFileTimes(const std::string& path, FileTimes& times);
bool writeFileTimes(const std::string& path, const FileTimes& times);

}  // namespace quillon::platform
