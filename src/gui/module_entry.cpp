// The entry of the module quillon-window.so (platform/module_loader.h).

#include "gui/run_main_window.h"

extern "C" int quillonRunMainWindow(quillon::ProgramContext& context) { return quillon::runMainWindow(context); }
