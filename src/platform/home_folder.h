#pragma once
// Where the program keeps its settings, log and work files.

#include <string>

namespace quillon::platform {

// The folder that holds the settings file, the log folder and the work files:
// $QUILLON_HOME when set, else ${XDG_DATA_HOME:-$HOME/.local/share}/quillon.
// Made (with its parents) on first use; returned without a trailing '/'.
std::string homeFolder();

}  // namespace quillon::platform
