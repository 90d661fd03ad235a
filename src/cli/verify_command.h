#pragma once
// "/verify=REPORT": checks the outputs an earlier conversion report recorded
// (see output_check.h), one line per file on out, and with "/report=" a JSON
// line per file in a report of its own. Files are checked on request.workers
// workers and, with "/shard=K/N", only those of shard K (by the source path
// as the report gives it).

#include <iosfwd>

#include "run/request/batch_job.h"

namespace quillon {

// 0 when every file (of the shard) verified; 1 when any did not, or the
// report lists no output at all;
// 2 when the report cannot be read or the run's own report would be it.
int runVerifyMode(const BatchJob& request, std::ostream& out, std::ostream& err);

}  // namespace quillon
