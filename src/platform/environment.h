#pragma once
// What the process learns from and sets in its environment: a display, the
// process's own set-up, the command line's words, variables.

#include <string>
#include <vector>

#include "platform/export.h"

namespace quillon::platform {

// True when a window can be shown: an X11 or Wayland display is named, or Qt
// is told to use a platform that needs none (such as offscreen).
bool displayAvailable();

// Sets the process up before anything else runs: on Windows, libraries are
// loaded only from the program's and the system's folders (never from the
// current folder or PATH) and the console shows UTF-8; nothing on POSIX
// systems.
QUILLON_EXPORT void setUpProcess();

// The words of the command line after the program's name, in UTF-8 (on
// Windows taken from the wide command line: argv holds them in the ANSI code
// page, which cannot spell every name).
QUILLON_EXPORT std::vector<std::string> commandLineWords(int argc, char** argv);

// The value of an environment variable; empty when it is not set.
std::string environmentValue(const char* name);
// Full path of the running executable, or an empty text.
QUILLON_EXPORT std::string programPath();

}  // namespace quillon::platform
