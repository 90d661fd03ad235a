#pragma once
// The parts of the program that need large libraries (Qt for the window,
// qpdf for PDF files, Tesseract for text recognition) are modules that only
// the runs using them load, so that a run to TIFF never maps those libraries
// (Qt alone adds about 15 MB to every process that loads it).

#include <string>

#include "platform/export.h"
#include "quillon_version.h"

namespace quillon::platform {

// A module uses the program's own code (libquillon-core.so) through its
// internal declarations, which change from one version to the next: it works
// only with the program it was built with. Each module says which one in the
// constant quillonModuleInterface, defined by writing
//     QUILLON_MODULE_INTERFACE;
// in its entry file, and the loader refuses a module of any other version.
constexpr const char* kModuleInterface = QUILLON_VERSION;
#define QUILLON_MODULE_INTERFACE extern "C" QUILLON_EXPORT const char quillonModuleInterface[] = QUILLON_VERSION

// The function `symbol` of module `name`, whose file is the name and the
// system's suffix (quillon-pdf.so; quillon-pdf.dll on Windows), looked for
// beside the program (a build tree, and the Windows program's folder) and
// then in the program's module folder (QUILLON_MODULE_DIR relative to the
// program's prefix); always by its full path. The module stays loaded.
// nullptr when it cannot be loaded or is of another version than
// kModuleInterface; error then says why.
void* moduleFunction(const std::string& name, const char* symbol, std::string& error);

}  // namespace quillon::platform
