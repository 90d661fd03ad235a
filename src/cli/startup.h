#pragma once
// The process entry: work paths, command line, and the choice between the
// command-line mode and the main window.

#include <functional>
#include <string>
#include <vector>

#include "run/request/batch_job.h"
#include "cli/home_paths.h"
#include "platform/export.h"
#include "quillon_version.h"

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

// Runs the main window and returns the process exit code.
using MainWindowRunner = std::function<int(ProgramContext&)>;

constexpr const char* kVersionText = QUILLON_VERSION_TEXT;

// Exit codes of the program.
constexpr int kExitSuccess = 0;
constexpr int kExitFilesFailed = 1;
constexpr int kExitNoWindow = 2;
constexpr int kExitRefused = 2;  // a command-line value that cannot be carried out
// The run could not do its work: an output, a folder or the report could not
// be written, or a source folder read; running it again may succeed.
constexpr int kExitCouldNotWork = 3;

// Runs the program; mainWindow may be empty in a build without the window.
QUILLON_EXPORT int runProgram(int argc, char** argv, const MainWindowRunner& mainWindow);

}  // namespace quillon
