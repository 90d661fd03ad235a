#pragma once
// Why a file was not converted, as the report's word and in words for
// people: the source's problem, or what its result says.

#include <string>

#include "run/outcome/file_outcome.h"

namespace quillon {

// Whether the file has a reason not to be converted (it was neither converted nor skipped).
bool hasProblem(const FileOutcome& outcome);
// "no-such-file", "unreadable", "folder", ..., "exception"; empty when the
// file was converted or skipped.
const char* problemName(const FileOutcome& outcome);
// The same in words ("no such file", "cannot be read: Permission denied");
// empty when the file was converted or skipped.
std::string describeProblem(const FileOutcome& outcome);

}  // namespace quillon
