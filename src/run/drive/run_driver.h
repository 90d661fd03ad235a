#pragma once
// Runs the files of a plan on several workers at once and delivers their
// outcomes in walk order, so that the results text, the log, the report and
// the outputs are those of a sequential run. Workers share the request
// read-only; what a run shares between its files (the output names claimed,
// the sources) lives here, one per run. Nothing is kept of a file once it
// is delivered but what its outputs' names need (output_claims.h): the
// callers write its lines out as it is delivered.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "run/request/batch_job.h"
#include "run/convert/file_conversion.h"
#include "run/outcome/file_outcome.h"
#include "run/plan/run_plan.h"
#include "platform/export.h"

namespace quillon {

using FileConverter = std::function<FileOutcome(const BatchJob& request, const FileTask& task, const FileRun& run)>;

struct FileRunCalls {
    FileConverter convert;  // convertFile when empty
    // A worker starts on the file; in walk order, one call at a time.
    std::function<void(std::size_t item, const FileTask& task)> started;
    // The file is done, its outputs are in place, and so is every file
    // before it; in walk order, on the thread that called runFiles.
    std::function<void(std::size_t item, const FileTask& task, const FileOutcome& outcome)> delivered;
    // Once true no further file is started; files started are finished.
    std::function<bool()> stopRequested;
    // With "/resume" and a report: whether the report lists the source's
    // outputs; a file it does not is converted again.
    std::function<bool(const std::string& source, const std::string& firstOutput)> reportHolds;
};

// What the files of a run came to, in walk order.
struct RunTotals {
    int converted = 0;
    int failed = 0;              // files whose result is a failure
    int damaged = 0;             // converted files with an empty, damaged, cut or left-out page
    std::size_t delivered = 0;   // files done; fewer than planned when a stop came first
    // Folders whose new entries could not be put on stable storage (unless
    // the request skips syncing): outputs in them may not survive a power cut.
    std::vector<std::string> unsyncedFolders;
};

// Converts the plan's files with the request's options on request.workers
// workers (0: one per core), taking them from the plan's list as workers
// are free.
QUILLON_EXPORT RunTotals runFiles(const BatchJob& request, RunPlan& plan, const FileRunCalls& calls = {});

}  // namespace quillon
