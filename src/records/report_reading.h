#pragma once
// What a conversion report recorded of each file it converted: the outputs
// written, the checksum of each and the fingerprints of the pages each
// holds, read back so that a later run can check the outputs against them.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace quillon {

struct RecordedPage {
    std::uint32_t index = 0;  // in the source, from 1
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::string sha256;  // of its pixels as written
};

enum class OutputKind { Tiff, Pdf, Other };

struct RecordedOutput {
    std::string path;
    std::string sha256;  // of its bytes
    OutputKind kind = OutputKind::Other;
    std::vector<RecordedPage> pages;  // the pages it holds, in order; none for a text file
};

struct RecordedFile {
    std::string source;
    std::string sourceSha256;
    std::vector<RecordedOutput> outputs;
    std::size_t line = 0;  // in the reports read, from 1
    // Why the line cannot be checked (no checksums, outputs that do not
    // match its pages, no report line at all); empty when it can.
    std::string problem;
};

// The files of report lines that list outputs, in the order of their last
// lines: a file converted again to the same outputs (a report appended to
// twice, or reports joined) is checked as its last line recorded it; one
// converted to other outputs (TIFF and PDF) is checked for each. Lines of
// files that wrote nothing are left out; a line that is no report line is
// kept with its problem.
std::vector<RecordedFile> readRecordedFiles(std::istream& report);

}  // namespace quillon
