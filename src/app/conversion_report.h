#pragma once
// The per-file conversion report for scripts: one JSON object per source
// file and line (JSON Lines), appended to a file as each file is done.

#include <fstream>
#include <string>

#include "app/file_outcome.h"

namespace quillon {

// The report line of one file, without its line end. Keys: source, outputs,
// result, status, pages (index from 1, width, rows as written, coding,
// state, badLines, and with text recognition words, confidence (the mean
// of the words' confidences from 0 to 100), rotation (degrees clockwise the
// page is shown turned) and, when the orientation was detected,
// orientationConfidence (the detector's, 15 being fairly sure)). Bytes of a path that are not UTF-8 become U+FFFD.
std::string reportLine(const FileOutcome& outcome);

class ConversionReport {
public:
    // Opens path for appending (made when missing); false when it cannot be.
    bool open(const std::string& path);
    // Appends the file's line and flushes it, so that a run that is killed
    // leaves whole lines; false when it could not be written.
    bool append(const FileOutcome& outcome);

private:
    std::ofstream out_;
};

}  // namespace quillon
