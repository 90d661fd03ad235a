#pragma once
// The main window lives in the module quillon-window.so, so that runs of the
// command line never load Qt.

#include "cli/startup.h"
#include "platform/export.h"

namespace quillon {

// Runs the window from its module; when the module cannot be loaded, says
// why on standard error and returns nothing.
QUILLON_EXPORT MainWindowRunner mainWindowFromModule();

}  // namespace quillon
