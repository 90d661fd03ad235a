// The entry of the module quillon-window.so (platform/module_loader.h).

#include "gui/run_main_window.h"
#include "platform/module_loader.h"

QUILLON_MODULE_INTERFACE;

extern "C" QUILLON_EXPORT int quillonRunMainWindow(quillon::ProgramContext& context) { return quillon::runMainWindow(context); }
