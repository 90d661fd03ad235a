#pragma once

namespace quillon {

// Runs the program: command-line mode or the main window. Returns the exit code.
int runProgram(int argc, char** argv);

}  // namespace quillon
