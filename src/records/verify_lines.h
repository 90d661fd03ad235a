#pragma once
// How the outcome of checking one file is told: its line for people and its
// JSON line for scripts.

#include <string>

#include "records/output_check.h"

namespace quillon {

// "Verified : in/a.fxd - 1 output, 3 pages", "Changed : in/b.fxd - out/b.pdf:
// page 2 differs", "Missing : in/c.fxd - out/c.tif", ...; no line end.
std::string verificationLine(const VerifyOutcome& outcome);

// Keys: source, verdict, outputs (path, state, sha256 when read,
// differingPages when any, detail when unreadable), source checked:
// sourceState; unverifiable: line and problem.
std::string verificationReportLine(const VerifyOutcome& outcome);

// "verified", "changed", "missing", "unverifiable".
const char* verdictName(FileVerdict verdict);

}  // namespace quillon
