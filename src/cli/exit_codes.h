#pragma once
// How a run of the program ends, as a script reads it from the exit code,
// and the version text.

#include "quillon_version.h"

namespace quillon {

constexpr const char* kVersionText = QUILLON_VERSION_TEXT;

// The outcomes that --help, the man page and the manual list under the exit
// codes. The window's own codes (1 OK, 2 Cancel) are the window's.
enum class ExitCode {
    Success = 0,      // every file was converted or skipped
    FilesFailed = 1,  // a file failed for what it is or holds; with /verify=, a file did not verify
    NoWindow = 2,     // no conversion described, and no window can be opened
    Refused = 2,      // a command-line value that cannot be carried out; nothing was done
    // The run could not do its work: an output, a folder or the report could
    // not be written, a source folder read, or no private temporary folder
    // made; running it again may succeed.
    CouldNotWork = 3,
};

// The number the process exits with.
constexpr int exitStatus(ExitCode code) { return static_cast<int>(code); }

}  // namespace quillon
