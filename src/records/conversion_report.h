#pragma once
// The per-file conversion report for scripts: one JSON object per source
// file and line (JSON Lines), appended to a file as each file is done.
//
// A report holds one line per source file, describing its last outcome, also
// when the run that writes it is a rerun, follows one that was killed, or
// shares the report with other runs at once: the lines of earlier runs are
// kept, a file converted again replaces its line, and a file skipped (its
// outputs complete already) keeps the line of the run that converted it.
//
// Every run appends its lines as its files are done, each in one write
// holding the report's lock (platform/shared_file.h), so lines of runs at
// once never mix. A line that replaces an earlier one is appended too, and
// the report is compacted, holding the lock, when a run opens and closes it:
// read through twice, keeping each source's last line, written whole under a
// temporary name and renamed into place. A run that was killed leaves at
// most half a line at the end, which the next writer cuts off; a reader of a
// report between compactions takes each source's last line, as compaction
// does. Memory stays small: compaction keeps 12 bytes a line.

#include <cstdint>
#include <string>
#include <vector>

#include "run/outcome/file_outcome.h"
#include "platform/shared_file.h"

namespace quillon {

// The report line of one file, without its line end. Keys: source, outputs,
// result, status, pages (index from 1, width, rows as written, coding,
// state, badLines, and with text recognition words, confidence (the mean
// of the words' confidences from 0 to 100), rotation (degrees clockwise the
// page is shown turned) and, when the orientation was detected,
// orientationConfidence (the detector's, 15 being fairly sure)). Bytes of a path that are not UTF-8 become U+FFFD.
std::string reportLine(const FileOutcome& outcome);

enum class ReportOpen { Opened, CannotOpen, LocksRefused };

class ConversionReport {
public:
    // Opens path for appending (made when missing) and folds in what
    // earlier runs left; LocksRefused when its file system refuses locks.
    // With knowSources, it keeps which sources have lines listing their
    // outputs (8 bytes each, with the first output) for holdsOutputsOf.
    ReportOpen open(const std::string& path, platform::FileLocking locking, bool syncToDisk, bool knowSources = false);
    // Whether the report held, when opened, a line of the source listing
    // outputs from firstOutput on: "/resume" converts again a file whose
    // outputs are done but whose line a power cut took (or whose line still
    // names an earlier run's outputs), so that the report proves every file.
    bool holdsOutputsOf(const std::string& source, const std::string& firstOutput) const;
    // Appends the file's line; false when it could not be written.
    bool append(const FileOutcome& outcome);
    // Leaves one line per file in the report, on stable storage unless
    // syncing was left out; false when it cannot.
    bool close();

private:
    bool appendLocked(const std::string& line);
    bool compact();

    platform::SharedFile file_;
    bool syncToDisk_ = true;
    std::vector<std::uint64_t> sourcesWithOutputs_;  // their keys, sorted
};

}  // namespace quillon
