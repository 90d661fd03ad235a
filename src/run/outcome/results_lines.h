#pragma once
// A file's lines of the results text, in their fixed words.

#include <string>

#include "platform/export.h"
#include "run/outcome/file_outcome.h"

namespace quillon {

// The file's lines of the results text, each ending in CR LF; none for a
// file that is no WinFax file.
QUILLON_EXPORT std::string resultsLines(const FileOutcome& outcome);

}  // namespace quillon
