#pragma once
// The files a process keeps in the user's home folder, named once at start-up.

#include <string>

namespace quillon {

struct HomePaths {
    std::string logFile;  // "/log=" replaces it
    std::string iniFile;
};

HomePaths formHomePaths(const std::string& homeFolder);

}  // namespace quillon
