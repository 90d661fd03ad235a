#pragma once
// What became of one source file in a run: its result, the files written and
// how each of its pages went. The results text says the same in its fixed
// words; this is for the damage lines, the report and the window.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/page_summary.h"
#include "platform/export.h"

namespace quillon {

enum class FileStatus { Converted, Skipped, Failed, NotFax, NotWinFax };

// What became of a file, as its results line says it.
enum class FileResult : std::uint8_t {
    Converted,
    SkippedExisting,  // its output exists already (automatic runs of the window)
    SourceIsTiff,     // nothing done, no results line
    NotWinFax,        // nothing done, no results line
    FolderNotMade,
    NotFax,
    WriteFailed,      // an output (in split mode: a page's file) could not be written
    PagesLeftOut,     // pages beyond the page table: the others were written
    Exception,
    OutputTaken,      // an earlier file of the run wrote that output
    OutputIsSource,   // an output would replace a source of the run
    NotSupported,     // a fax format the program does not read
};

// The number a report, and anyone who kept one, knows the result by.
int resultCode(FileResult result);

// One page's own file in split mode.
struct PageFile {
    std::string path;
    bool written = false;
};

// Why a file was not converted, told on standard error, in the report, the
// log and the window's row; the results lines keep their fixed words.
enum class FileProblem : std::uint8_t {
    None,
    NoSuchFile,
    Unreadable,          // detail: the system's reason
    Folder,              // the source is a folder
    NotWinFaxExtension,  // not .fxd, .fxm, .fxr or .fxs
    TiffSource,          // a TIFF file already: nothing to do
    FormatNotTaken,      // detail: its format, which "/formats=" does not name
    NotSupported,        // detail: its format, one without a public description
    FormatRefused,       // detail: why its reader lists no page (a colour image, ...)
    NoSignature,         // no WinFax page header at the start
    NoFaxData,           // the first page with data holds no fax data
    OutputIsSource,      // detail: the output that is one of the run's sources
    OutputTaken,         // an earlier file of the run wrote that output
    FolderNotMade,       // the output folder could not be made
    WriteFailed,         // an output could not be written
    PagesLeftOut,        // pages beyond the page table
    Exception,           // something escaped the conversion
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
    std::string destination;           // the output asked for
    FileResult result = FileResult::Converted;
    std::vector<std::string> outputs;  // files written, in page order
    std::vector<PageFile> pageFiles;   // split mode with several pages: every page's file
    std::string folder;                // FolderNotMade: the folder
    std::string earlierSource;         // OutputTaken: the file that wrote problemDetail
    std::vector<PageSummary> pages;    // every page of the chain, in order
    std::vector<PageTextSummary> texts;  // with "/ocr": each page written, in order
    FileProblem problem = FileProblem::None;
    std::string problemDetail;
    // Things that went wrong without failing the file, such as file times
    // that could not be copied to an output (without a line end).
    std::vector<std::string> warnings;
    // With page fingerprints: the SHA-256 of the source's bytes and of each
    // output's bytes (in the order of outputs), lowercase hex.
    std::string sourceSha256;
    std::vector<std::string> outputSha256;

    QUILLON_EXPORT FileStatus status() const;
    // Converted with a page that is empty, damaged, cut or left out.
    QUILLON_EXPORT bool hasDamage() const;
};

// The file's lines of the results text, each ending in CR LF; none for a
// file that is no WinFax file.
QUILLON_EXPORT std::string resultsLines(const FileOutcome& outcome);

// "no-such-file", "unreadable", "folder", ... for the report.
const char* problemName(FileProblem problem);
// Why the file was not converted, in words ("no such file", "cannot be read:
// Permission denied"); empty when it was converted or skipped.
std::string describeProblem(const FileOutcome& outcome);
// The lines that the log keeps under a file's results lines: its damage,
// its warnings and why it was not converted, each ending in CR LF.
QUILLON_EXPORT std::string logNotes(const FileOutcome& outcome);

// "converted", "skipped", "failed", "not-fax", "not-winfax".
const char* statusName(FileStatus status);
// "ok", "empty", "damaged", "left-out", "cut".
const char* pageStateName(PageState state);
// "MH", "T.4-1D", "T.4-2D", "T.6", and for pages read as rows "none",
// "PackBits", "LZW", "other" (another TIFF compression) or "PCX-RLE".
const char* codingName(ImageCoding coding);

// One line, without a line end, for each page that recognition failed on
// (written without a text layer), such as "page 2 of 3: no text recognised ...".
std::vector<std::string> describeRecognitionFailures(const FileOutcome& outcome);

// One line, without a line end, for each page that was empty or damaged and
// one for the pages left out, such as
// "page 2 of 3: 131 of 2376 rows could not be decoded" (counted in the
// page's rows) or "page 2 of 2: the file ends inside this page (...)".
std::vector<std::string> describeDamage(const FileOutcome& outcome);

}  // namespace quillon
