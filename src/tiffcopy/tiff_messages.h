#pragma once
// One place that decides where libtiff's warnings and errors, and the
// copier's own messages, end up: on standard error for the command line, or
// kept away from the console for the window.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/export.h"

namespace quillon {

enum class TiffMessageTarget {
    standardError,          // printed as libtiff's own handlers print them
    errorsToStandardError,  // errors printed, warnings dropped
    // Errors printed, except those of libtiff's fax decoders: they are about
    // the program's own intermediate pages, whose damage the program names
    // itself, page by page.
    errorsButFaxDecodingToStandardError,
    collect,                // kept for takeTiffMessages()
    discard,
};

// Installs the routing handlers with TIFFSetWarningHandler and
// TIFFSetErrorHandler and sends every later message to target. Until this is
// called, libtiff prints on standard error itself, as the standardError
// target does.
QUILLON_EXPORT void routeTiffMessages(TiffMessageTarget target);

// The lines gathered while the target was collect, oldest first, each ending
// in a newline; the store is emptied. At most maxCollectedTiffMessages lines
// are kept, so a file that warns on every row cannot fill the memory.
std::vector<std::string> takeTiffMessages();
inline constexpr std::size_t maxCollectedTiffMessages = 1000;

// Sends one complete line of the copier's own to the current target.
void reportTiffMessage(const std::string& line);

}  // namespace quillon
