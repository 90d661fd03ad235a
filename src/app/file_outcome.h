#pragma once
// What became of one source file in a run: its result, the files written and
// how each of its pages went. The results text says the same in its fixed
// words; this is for the damage lines, the report and the window.

#include <string>
#include <vector>

#include "engine/page_summary.h"

namespace quillon {

enum class FileStatus { Converted, Skipped, Failed, NotFax, NotWinFax };

// What text recognition found on a page (with "/ocr").
struct PageTextSummary {
    bool recognized = false;
    std::size_t words = 0;
    double meanConfidence = 0;  // 0 to 100
};

struct FileOutcome {
    std::string source;
    std::vector<std::string> outputs;  // files written, in page order
    int result = 0;                    // the convertFile result
    std::vector<PageSummary> pages;    // every page of the chain, in order
    std::vector<PageTextSummary> texts;  // with "/ocr": each page written, in order

    FileStatus status() const;
};

// "converted", "skipped", "failed", "not-fax", "not-winfax".
const char* statusName(FileStatus status);
// "ok", "empty", "damaged", "left-out".
const char* pageStateName(PageState state);
// "MH", "T.4-1D", "T.4-2D", "T.6" (the TIFF compression of other codings).
const char* codingName(ImageCoding coding);

// One line, without a line end, for each page that recognition failed on
// (written without a text layer), such as "page 2 of 3: no text recognised ...".
std::vector<std::string> describeRecognitionFailures(const FileOutcome& outcome);

// One line, without a line end, for each page that was empty or damaged and
// one for the pages left out, such as
// "page 2 of 3: 131 of 2376 lines could not be decoded".
std::vector<std::string> describeDamage(const FileOutcome& outcome);

}  // namespace quillon
