#pragma once
// What is said of a file beside its results lines: its damage page by page,
// its warnings and why it was not converted, for standard error, the log and
// the window.

#include <string>
#include <vector>

#include "platform/export.h"
#include "run/outcome/file_outcome.h"

namespace quillon {

// One line, without a line end, for each page that was empty or damaged and
// one for the pages left out, such as
// "page 2 of 3: 131 of 2376 rows could not be decoded" (counted in the
// page's rows) or "page 2 of 2: the file ends inside this page (...)".
std::vector<std::string> describeDamage(const FileOutcome& outcome);
// One line, without a line end, for each page that recognition failed on
// (written without a text layer), such as "page 2 of 3: no text recognised ...".
std::vector<std::string> describeRecognitionFailures(const FileOutcome& outcome);
// The lines that the log keeps under a file's results lines: its damage,
// its warnings and why it was not converted, each ending in CR LF.
QUILLON_EXPORT std::string logNotes(const FileOutcome& outcome);

}  // namespace quillon
