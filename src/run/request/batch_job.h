#pragma once
// One conversion request: what to convert, where to and how, as the command
// line or the window asked. A run's plan, files and outcomes live apart
// (run_plan.h, run_driver.h); the request only ever is read by them.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formats/format_set.h"
#include "run/request/output_format.h"
#include "run/plan/shard.h"
#include "engine/convert_options.h"
#include "ocr/recognized_page.h"

namespace quillon {

// The files of a PDF's recognised text beside it ("/ocrtext=txt,hocr,alto").
enum class TextFile {
    Plain,  // NAME.txt, UTF-8, pages apart by a form feed
    Hocr,   // NAME.hocr
    Alto    // NAME.alto.xml
};

// "/ocr", "/lang=", "/ocrtext", "/norotate": a text layer of recognised words on PDF pages.
struct TextRecognition {
    bool enabled = false;
    std::string languages = "eng";  // Tesseract's names joined by '+'
    std::vector<TextFile> textFiles;  // written beside each PDF, in this order
    PageOrientation orientation = PageOrientation::Detect;
    // Told of every page recognised (or failed), on the worker's thread.
    std::function<void()> pageRecognized;
};

enum class JobMode { None = 0, Folder = 1, File = 2, Verify = 3 };

struct BatchJob {
    bool keepDate = false;           // "/l": outputs take the source's file times
    bool quiet = false;              // "/q": no results text at the end
    bool keepExtension = false;      // "/ke": a.fxd becomes a.fxd.tif
    bool includeSubFolders = false;  // "/i"
    bool keepHierarchy = false;      // "/kh": outputs keep the sub-folder part
    JobMode mode = JobMode::None;
    bool skipExisting = false;       // skip outputs that exist with a size above 0 (the window's timer)
    bool resume = false;             // "/resume": skip files whose outputs this run would write as they are
    bool skipSync = false;           // "/nosync": nothing is put on stable storage (scratch runs)
    bool singleRun = false;          // "/nolock": the report and log unlocked, for file systems without locks
    std::string filter = "*.*";
    InputFormats formats;  // "/formats=": the formats a run converts (WinFax unless widened)
    std::string source;
    std::string destination;
    std::string reportPath;             // "/report=": the per-file JSON Lines report
    unsigned workers = 0;               // "/j=": files converted at once; 0: one per core
    OutputFormat outputFormat = OutputFormat::Tiff;  // "/pdf", a /sf= name ending in .pdf
    TextRecognition recognition;
    // The window's export of the page shown: only this page (from 0) is
    // written, to the output's own name.
    std::optional<std::uint16_t> onlyPage;
    Shard shard;  // "/shard=K/N": a folder run converts only the files of shard K
    std::string verifyReport;   // "/verify=": the conversion report whose outputs are checked
    bool verifySources = false; // "/verifysources": the sources' checksums are checked too

    // The engine options in force for this request's conversions; each
    // engine takes its own copy.
    ConvertOptions convertOptions;
};

}  // namespace quillon
