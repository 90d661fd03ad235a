#pragma once
#include <iosfwd>
#include <string>

#include "cli/exit_codes.h"
#include "run/request/batch_job.h"

namespace quillon {

// Runs the conversion a complete command line describes, appends the results
// to the log and, unless quiet, writes them to out (CR LF shown as LF). Pages
// that were empty, damaged or left out are named on err, also when quiet, and
// with "/report=" every file gets a line in the report.
// Returns Success when every file converted or was skipped; FilesFailed when
// any failed for what it holds (or is); Refused when the log or the report is
// a source of the run; CouldNotWork when the run could not do its work: an
// output or its folder could not be written, a source folder read, or the
// report written.
ExitCode runCommandLineMode(const BatchJob& request, const std::string& logFile, std::ostream& out, std::ostream& err);

}  // namespace quillon
