#pragma once
// "/verify=REPORT": checks the outputs an earlier conversion report recorded
// (see output_check.h), one line per file on out, and with "/report=" a JSON
// line per file in a report of its own. Files are checked on request.workers
// workers and, with "/shard=K/N", only those of shard K (by the source path
// as the report gives it).

#include <iosfwd>

#include "cli/exit_codes.h"
#include "run/request/batch_job.h"

namespace quillon {

// Success when every file (of the shard) verified; FilesFailed when any did
// not, or the report lists no output at all; Refused when the report cannot
// be read or the run's own report would be it; CouldNotWork when the run's
// own report cannot be written.
ExitCode runVerifyMode(const BatchJob& request, std::ostream& out, std::ostream& err);

}  // namespace quillon
