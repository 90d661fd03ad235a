#pragma once
// A file's outputs once written whole under their temporary names, waiting
// to be synced and put in place. A run does that as it hands the files'
// outcomes on in walk order, while its workers convert the next files,
// since each sync waits on the disk; a file converted alone commits its own
// at its end.
// The outcome already lists the outputs; one that cannot be put in place
// leaves it, and fails its file.

#include <optional>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/file_times.h"
#include "run/outcome/file_outcome.h"

namespace quillon {

class PendingOutputs {
public:
    void add(platform::AtomicFile file, std::string path);
    // "/l": the outputs take these times once in place; none: a warning each.
    void keepTimes(const std::optional<platform::FileTimes>& times);
    // Where the outputs wait: the files to sync before they are put in place.
    void addTemporaryPaths(std::vector<std::string>& paths) const;

    // Every output synced (unless sync is false) and renamed into place, in
    // the order written, each given the source's times with "/l"; from the
    // first that fails on, none is, and the result is WriteFailed. Their
    // temporary files go when this goes: a run's committer frees nothing
    // here, so what the workers allocate stays with them.
    FileResult commit(bool sync, FileResult result, FileOutcome& outcome);

private:
    struct Output {
        platform::AtomicFile file;
        std::string path;
    };
    std::vector<Output> outputs_;
    bool keepTimes_ = false;
    std::optional<platform::FileTimes> times_;
};

}  // namespace quillon
