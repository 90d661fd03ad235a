#pragma once
// One conversion request: what to convert, where to, how, and what happened.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/output_format.h"
#include "app/run_outputs.h"
#include "app/run_sources.h"
#include "app/shard.h"
#include "engine/convert_options.h"

namespace quillon {

// "/ocr", "/lang=", "/ocrtext": a text layer of recognised words on PDF pages.
struct TextRecognition {
    bool enabled = false;
    std::string languages = "eng";  // Tesseract's names joined by '+'
    bool writeText = false;         // a UTF-8 .txt beside each PDF
    // Told of every page recognised (or failed), on the worker's thread.
    std::function<void()> pageRecognized;
};

enum class JobMode { None = 0, Folder = 1, File = 2 };

struct BatchJob {
    bool keepDate = false;           // "/l": outputs take the source's file times
    bool quiet = false;              // "/q": no results text at the end
    bool keepExtension = false;      // "/ke": a.fxd becomes a.fxd.tif
    bool includeSubFolders = false;  // "/i"
    bool keepHierarchy = false;      // "/kh": outputs keep the sub-folder part
    JobMode mode = JobMode::None;
    bool skipExisting = false;       // skip outputs that exist with a size above 0
    std::string filter = "*.*";
    std::string source;
    std::string destination;
    std::string results;                // one line per file, each ending in CR LF
    std::string logText;                // the results with each file's damage, warnings and reasons
    std::vector<std::string> fileList;  // paths relative to the source folder
    std::vector<std::string> unreadableFolders;  // met by collectFiles, not listed
    std::string reportPath;             // "/report=": the per-file JSON Lines report
    unsigned workers = 0;               // "/j=": files converted at once; 0: one per core
    // What this run has written so far; shared by the jobs of its workers.
    std::shared_ptr<RunOutputs> runOutputs = std::make_shared<RunOutputs>();
    // Every source of the run: no output may replace one. Without it, only
    // the file's own source is kept safe.
    std::shared_ptr<const RunSources> runSources;
    // The walk-order ticket of the file at hand when a worker converts it;
    // without one, convertFile takes the next ticket itself.
    std::optional<std::size_t> runTicket;
    OutputFormat outputFormat = OutputFormat::Tiff;  // "/pdf", a /sf= name ending in .pdf
    TextRecognition recognition;
    Shard shard;  // "/shard=K/N": a folder run converts only the files of shard K

    // The engine options in force for this job's conversions (a copy, so a
    // worker thread never shares them).
    ConvertOptions convertOptions;
};

}  // namespace quillon
