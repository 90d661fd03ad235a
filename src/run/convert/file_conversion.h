#pragma once
// Converting one fax file into its outputs (a TIFF or PDF file, or one a
// page), as the steps of file_conversion.cpp.

#include <functional>
#include <string>

#include "platform/export.h"
#include "run/convert/pending_outputs.h"
#include "run/drive/output_claims.h"
#include "run/drive/page_sharing.h"
#include "run/drive/run_sources.h"
#include "run/outcome/file_outcome.h"
#include "run/plan/task_list.h"
#include "run/request/batch_job.h"

namespace quillon {

// The run a file is converted in: the output names its files claimed (the
// file's ticket gives its place in walk order) and the sources no output may
// replace.
struct FileRun {
    OutputClaims& outputs;
    std::size_t ticket;
    const RunSources& sources;
    // "/resume" with a report: whether it lists the source's outputs, from
    // the first on (empty: no report).
    const std::function<bool(const std::string& source, const std::string& firstOutput)>& reportHolds;
    // Where the file's written outputs wait to be synced and put in place,
    // after convertFile returns.
    PendingOutputs& pending;
    // Where the pages to recognise are shared with the run's idle workers.
    PageSharing& pageSharing;
};

// Converts the task's source into its output with the request's options and
// tells what became of it: the result, the files written, every page and,
// when the file was not converted, why (resultsLines renders its results
// text). No output may be one of the run's sources. No exception leaves it:
// one that escapes the conversion is the Exception result.
FileOutcome convertFile(const BatchJob& request, const FileTask& task, const FileRun& run);
// The same for a file converted alone.
QUILLON_EXPORT FileOutcome convertFile(const BatchJob& request, const std::string& source,
                                      const std::string& destination);

}  // namespace quillon
