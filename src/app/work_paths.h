#pragma once
// The paths a process works with, formed once at start-up.

#include <string>

#include "engine/convert_options.h"

namespace quillon {

// In the home folder.
struct WorkPaths {
    std::string logFile;  // "/log=" replaces it
    std::string iniFile;
};

WorkPaths formWorkPaths(const std::string& homeFolder);

// The conversion options every process starts with.
ConvertOptions startupConvertOptions();

}  // namespace quillon
