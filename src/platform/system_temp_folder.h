#pragma once
// What each system does for the private temporary folder
// (private_temp_folder.h), which keeps the folder and the files in progress.

#include <string>

namespace quillon::platform {

// A new folder that only this user can read, with a trailing separator;
// empty when none can be made.
std::string makeSystemTempFolder();

// Called by the system's handler of an ending signal or console event: the
// private folder and the outputs still being written go.
void removeWhatTerminationLeaves();

}  // namespace quillon::platform
