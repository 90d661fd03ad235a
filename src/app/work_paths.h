#pragma once
// The paths a process works with, formed once at start-up.

#include <string>

#include "engine/convert_options.h"

namespace quillon {

struct WorkPaths {
    std::string programFolder;         // the home folder: settings, log, work files
    std::string bitmapWorkFile;        // deleted when the process ends
    std::string segmentIndexWorkFile;  // deleted when the process ends
    std::string logFile;               // "/log=" replaces it
    std::string iniFile;
    std::string tempFolder;            // the private temporary folder, with its trailing '/'
    std::string intermediateTiffPath;  // deleted when the process ends
};

WorkPaths formWorkPaths(const std::string& programFolder, const std::string& tempFolder);

// The conversion options every process starts with.
ConvertOptions startupConvertOptions(const WorkPaths& paths);

// Deletes the bitmap work file, the segment index work file and the
// intermediate TIFF path; failures are ignored.
void deleteWorkFiles(const WorkPaths& paths);

}  // namespace quillon
