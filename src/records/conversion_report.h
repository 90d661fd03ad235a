#pragma once
// The per-file conversion report for scripts: one JSON object per source
// file and line (JSON Lines), appended to a file as each file is done.
//
// A report holds one line per source file, describing its last outcome, also
// when the run that writes it is a rerun or follows one that was killed: the
// lines of earlier runs are kept, a file converted again replaces its line,
// and a file skipped (its outputs complete already) keeps the line of the run
// that converted it. Lines are appended in one write each, and the file is
// only ever rewritten whole by a rename, so no reader sees half a line; the
// lines a killed run appended are folded in when the report is next opened.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "run/outcome/file_outcome.h"
#include "platform/append_file.h"

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
    // Opens path for appending (made when missing), after reading the lines
    // it holds; false when it cannot be read or written.
    bool open(const std::string& path);
    // Appends the file's line, unless it is a skip that an earlier line
    // describes better; false when it could not be written.
    bool append(const FileOutcome& outcome);
    // Leaves one line per file in the report; false when it cannot.
    bool close();

private:
    struct Line {
        std::string source;  // empty for a line that is no report line (kept as it is)
        std::string text;
        bool replaced = false;
    };
    // Takes a line in; false when it adds nothing (a skip after an earlier line).
    bool take(std::string text, std::string source, bool skipped);
    bool rewrite();

    std::string path_;
    std::vector<Line> lines_;
    std::map<std::string, std::size_t> lastLine_;  // source: index in lines_
    bool fileHoldsReplacedLines_ = false;
    platform::AppendFile file_;
};

}  // namespace quillon
