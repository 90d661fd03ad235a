#include "app/startup.h"
#ifdef QUILLON_WITH_GUI
#include "gui/run_main_window.h"
#endif

int main(int argc, char** argv) {
#ifdef QUILLON_WITH_GUI
    return quillon::runProgram(argc, argv, quillon::runMainWindow);
#else
    return quillon::runProgram(argc, argv, {});
#endif
}
