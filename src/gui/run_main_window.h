#pragma once
// The main window's entry: what the window module runs.

#include "cli/startup.h"

namespace quillon {

// Opens the main window and runs it until it ends; returns its exit code
// (1 OK or tray "E&xit", 2 Cancel or the close box).
int runMainWindow(ProgramContext& context);

}  // namespace quillon
