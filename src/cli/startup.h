#pragma once
// The process entry: work paths, command line, and the choice between the
// command-line mode and the main window.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "cli/home_paths.h"
#include "platform/export.h"
#include "run/request/batch_job.h"

namespace quillon {

// What the main window starts from.
struct ProgramContext {
    HomePaths paths;
    ConvertOptions options;  // the start-up values with the command line's changes
    std::string logFile;
    std::vector<std::string> openPaths;  // files or a folder for the window's source
    bool saveFolderMissing = false;      // "/sd=" or "/sf=" without a value: the window says so first
    int argc = 0;
    char** argv = nullptr;
};

// Runs the main window and returns the process exit code; nothing when the
// window cannot be opened (it has said why on standard error).
using MainWindowRunner = std::function<std::optional<int>(ProgramContext&)>;

// Runs the program; mainWindow may be empty in a build without the window.
QUILLON_EXPORT int runProgram(int argc, char** argv, const MainWindowRunner& mainWindow);

}  // namespace quillon
