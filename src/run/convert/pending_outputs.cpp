#include "run/convert/pending_outputs.h"

#include <algorithm>

#include "platform/file_times.h"

namespace quillon {

void PendingOutputs::add(platform::AtomicFile file, std::string path) {
    outputs_.push_back({std::move(file), std::move(path)});
}

void PendingOutputs::keepTimes(const std::optional<platform::FileTimes>& times) {
    keepTimes_ = true;
    times_ = times;
}

void PendingOutputs::addTemporaryPaths(std::vector<std::string>& paths) const {
    for (const Output& output : outputs_) paths.push_back(output.file.path());
}

namespace {

// An output that is not in place is not the file's: it leaves the outputs
// (and their checksums), and its page, in split mode, is not written.
void forget(const std::string& path, FileOutcome& outcome) {
    const auto listed = std::find(outcome.outputs.begin(), outcome.outputs.end(), path);
    if (listed != outcome.outputs.end()) {
        const auto at = listed - outcome.outputs.begin();
        if (std::size_t(at) < outcome.outputSha256.size()) outcome.outputSha256.erase(outcome.outputSha256.begin() + at);
        outcome.outputs.erase(listed);
    }
    for (PageFile& page : outcome.pageFiles)
        if (page.path == path) page.written = false;
}

}  // namespace

FileResult PendingOutputs::commit(bool sync, FileResult result, FileOutcome& outcome) {
    bool failed = false;
    for (Output& output : outputs_) {
        // Synced before the rename: no power cut leaves an empty or partial
        // file under an output's name. After one failure the rest of the
        // file's outputs stay out too (a PDF's text is never left without it).
        failed = failed || !output.file.commit(sync);
        if (failed) {
            forget(output.path, outcome);
            continue;
        }
        // The copy of the dates never changes the file's result.
        if (keepTimes_ && (!times_ || !platform::writeFileTimes(output.path, *times_)))
            outcome.warnings.push_back("the date and time of the source could not be given to " + output.path);
    }
    return failed ? FileResult::WriteFailed : result;
}

}  // namespace quillon
