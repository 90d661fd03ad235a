#pragma once
// What became of one source file in a run: one record, built as the file's
// conversion goes, from which its results lines (results_lines.h), the log's
// notes and the report's reason (file_problem.h), the window's row and the
// exit code are rendered.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/page_summary.h"
#include "platform/export.h"

namespace quillon {

// How a file's conversion ended: one value per ending, as its results line says it.
enum class FileResult : std::uint8_t {
    Converted,
    SkippedExisting,  // its output exists already (automatic runs of the window, /resume)
    SourceIsTiff,     // nothing done, no results line
    NotWinFax,        // nothing done, no results line
    FolderNotMade,    // detail: the folder
    NotFax,
    WriteFailed,      // an output (in split mode: a page's file) could not be written
    PagesLeftOut,     // pages beyond the page table: the others were written
    Exception,
    OutputTaken,      // detail: the output an earlier file of the run wrote (earlierSource)
    OutputIsSource,   // detail: the output that would replace a source of the run
    NotSupported,     // detail: a fax format the program does not read
};

// What the source itself is, when that is why it was not converted (the
// results SourceIsTiff, NotWinFax and NotFax): told apart so that "Not Fax"
// never hides a missing or unreadable file.
enum class SourceProblem : std::uint8_t {
    None,
    NoSuchFile,
    Unreadable,          // detail: the system's reason
    Folder,              // the source is a folder
    NotWinFaxExtension,  // not .fxd, .fxm, .fxr or .fxs
    TiffSource,          // a TIFF file already: nothing to do
    FormatNotTaken,      // detail: its format, which "/formats=" does not name
    FormatRefused,       // detail: why its reader lists no page (a colour image, ...)
    NoSignature,         // no WinFax page header at the start
    NoFaxData,           // the first page with data holds no fax data
};

// One page's own file in split mode.
struct PageFile {
    std::string path;
    bool written = false;
};

// What text recognition found on a page (with "/ocr").
struct PageTextSummary {
    bool recognized = false;
    std::size_t words = 0;
    double meanConfidence = 0;  // 0 to 100
    int rotation = 0;           // degrees clockwise the page is shown turned (its /Rotate)
    float orientationConfidence = -1;  // the orientation detector's; negative when not detected
};

struct FileOutcome {
    std::string source;
    std::string destination;  // the output asked for
    FileResult result = FileResult::Converted;
    SourceProblem sourceProblem = SourceProblem::None;
    std::string detail;                  // what the result or the source problem names (see their values)
    std::string earlierSource;           // OutputTaken: the file that wrote detail
    std::vector<std::string> outputs;    // files written, in page order
    std::vector<PageFile> pageFiles;     // split mode with several pages: every page's file
    std::vector<PageSummary> pages;      // every page of the chain, in order
    std::vector<PageTextSummary> texts;  // with "/ocr": each page written, in order
    // Things that went wrong without failing the file, such as file times
    // that could not be copied to an output (without a line end).
    std::vector<std::string> warnings;
    // With page fingerprints: the SHA-256 of the source's bytes and of each
    // output's bytes (in the order of outputs), lowercase hex.
    std::string sourceSha256;
    std::vector<std::string> outputSha256;

    // Converted with a page that is empty, damaged, cut or left out.
    QUILLON_EXPORT bool hasDamage() const;
};

// The number a report, and anyone who kept one, knows the result by.
int resultCode(FileResult result);
// The report's status word: "converted", "skipped", "failed", "not-fax", "not-winfax".
const char* statusName(FileResult result);

}  // namespace quillon
