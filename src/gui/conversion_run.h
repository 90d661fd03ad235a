#pragma once
// One conversion run of the Convert page: the listed files planned as the
// command line plans them and run by the same driver, each outcome reported to
// an observer. The run works only on its own PageRun, a copy taken when it
// starts, so it shares no data with the page while it goes on.

#include <atomic>
#include <functional>
#include <string>

#include "run/request/batch_job.h"
#include "run/outcome/file_outcome.h"
#include "run/drive/run_driver.h"

namespace quillon {

// The Convert page's copies of the Options page values that shape a run.
struct PageOptions {
    int dirFile = 0;     // 0 folder mode; any other value files mode
    int subdir = 0;      // folder scans enter sub-folders
    int hiberarchy = 0;  // 1: outputs keep their sub-folder part
    int keepDate = 0;    // 1: outputs take the source's file times
    int keepExt = 0;     // non-zero: a.fxd becomes a.fxd.tif
    OutputFormat outputFormat = OutputFormat::Tiff;
    bool textLayer = false;  // recognise the text of PDF pages; PDF output then
    std::string textLanguages = "eng";
    bool turnPages = true;  // pages that read better turned are read and shown turned (off: /norotate)
    bool resume = false;  // skip faxes whose outputs carry this run's record (/resume)
    InputFormats formats = {};  // the formats a folder run lists and converts (/formats=)

    bool filesMode() const { return dirFile != 0; }
};

struct PageRun {
    BatchJob request;                // filter, skip existing, engine options
    std::vector<std::string> names;  // the files listed, relative to sourceFolder
    std::string sourceFolder;
    std::string destination;
    PageOptions options;
    FileConverter convert;  // convertFile unless a test puts in another
    unsigned workers = 0;   // files converted at once; 0: one per core
};

// How a row of the results list ended; each kind has its own icon.
enum class RowKind { Converted, Damaged, Skipped, Failed };

struct RowOutcome {
    std::string output;      // the converted file's path; empty when nothing was converted
    std::string resultText;  // the Results column's few words
    std::string details;     // the file's results lines, damage, warnings and reason (the tooltip)
    RowKind kind = RowKind::Failed;
};

struct RunEnd {
    int converted = 0;         // files converted, damaged ones included
    int damaged = 0;           // converted files with an empty, damaged, cut or left-out page
    std::size_t total = 0;     // files listed for the run
    bool cancelled = false;    // stopped before every listed file was converted
    std::string log;           // the run's log entry
};

// What a run tells its page. Rows are numbered from 0 in list order.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // The destination folder could not be made; returns once the user knows.
    virtual void saveFolderFailed() = 0;
    virtual void fileStarted(int row, const std::string& source) = 0;
    // Files finish in any order when several are converted at once.
    virtual void fileFinished(int row, const RowOutcome& outcome) = 0;
    virtual void runFinished(const RunEnd& end) = 0;
};

// A row as the file's outcome gives it; resultsLines are its results lines.
RowOutcome rowOutcome(const FileOutcome& outcome, const std::string& output, const std::string& resultsLines);
// The window's export of a fax it shows: every page, or the page alone,
// converted by the run's own writer to target (TIFF, or PDF for a name
// ending in .pdf), from any fax format the program reads.
FileOutcome exportPages(const std::string& source, const std::string& target, std::optional<std::uint16_t> page,
                        const ConvertOptions& options);
// "Done. 16 FAX files converted", with ", 3 with damaged pages" when some
// were, or "Cancelled. 166 of 600 FAX files converted".
std::string runEndStatus(const RunEnd& end);

// Converts the plan's files in order. Once stop is set it converts no further
// file but still finishes: runFinished reports the files converted until then.
// Returns the number of converted files.
int performRun(PageRun& run, RunObserver& observer, const std::atomic<bool>& stop);

}  // namespace quillon
