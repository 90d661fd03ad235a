#pragma once
// Converting the files of one run on several workers at once. Each worker
// has its own copy of the run's job; every
// file's results lines go into the run's results text in walk order, so the
// text, the log and the outputs are those of a sequential run.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/batch_job.h"
#include "app/file_outcome.h"
#include "platform/export.h"

namespace quillon {

struct FileTask {
    std::string source;
    std::string output;
};

using FileConverter =
    std::function<int(BatchJob& job, const std::string& source, const std::string& output, FileOutcome* outcome)>;

struct FileRunCalls {
    FileConverter convert;  // convertFile when empty
    // A worker starts on the file; in walk order, one call at a time.
    std::function<void(std::size_t item)> started;
    // The file is done, as files finish; lines are its results lines.
    std::function<void(std::size_t item, const FileOutcome& outcome, const std::string& lines)> finished;
    // The file is done and so is every file before it; in walk order.
    std::function<void(std::size_t item, const FileOutcome& outcome)> delivered;
    // Once true no further file is started; files started are finished.
    std::function<bool()> stopRequested;
};

// Converts the tasks with the job's options on `workers` workers (0: one
// per core). Returns the number of files converted (result 0); files not
// started because of a stop are not counted or reported.
QUILLON_EXPORT int convertFiles(BatchJob& job, const std::vector<FileTask>& tasks, unsigned workers, const FileRunCalls& calls);

}  // namespace quillon
