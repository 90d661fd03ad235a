#include "cli/startup.h"
#include "cli/window_module.h"

int main(int argc, char** argv) {
#ifdef QUILLON_WITH_GUI
    return quillon::runProgram(argc, argv, quillon::mainWindowFromModule());
#else
    return quillon::runProgram(argc, argv, {});
#endif
}
