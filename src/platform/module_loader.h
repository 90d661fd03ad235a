#pragma once
// The parts of the program that need large libraries (Qt for the window,
// qpdf for PDF files) are modules that only the runs using them load, so
// that a run to TIFF never maps those libraries (Qt alone adds about 15 MB
// to every process that loads it).

#include <string>

namespace quillon::platform {

// The function `symbol` of module file `name`, looked for beside the program
// (a build tree) and then in the program's module folder (QUILLON_MODULE_DIR
// relative to the program's prefix). The module stays loaded. nullptr when it
// cannot be loaded; error then says why.
void* moduleFunction(const std::string& name, const char* symbol, std::string& error);

}  // namespace quillon::platform
