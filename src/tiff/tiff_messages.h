#pragma once
// Where libtiff's warnings and errors end up. libtiff writes the program's
// outputs (pages arrive coded) and reads TIFF sources, so its errors explain
// failed outputs and damaged sources: on standard error for the command
// line; the window names failed files in its own rows.

#include "platform/export.h"

namespace quillon {

enum class TiffMessageTarget {
    errorsToStandardError,  // errors printed as libtiff's own handler prints them, warnings dropped
    discard,
};

// Installs the routing handlers with TIFFSetWarningHandler and
// TIFFSetErrorHandler and sends every later message to target.
QUILLON_EXPORT void routeTiffMessages(TiffMessageTarget target);

}  // namespace quillon
