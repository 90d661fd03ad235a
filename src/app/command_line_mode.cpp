#include "app/command_line_mode.h"

#include <ostream>

#include "app/conversion_log.h"
#include "app/file_conversion.h"
#include "app/folder_conversion.h"
#include "tiffcopy/tiff_messages.h"

namespace quillon {

namespace {

std::string withUnixLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace

int runCommandLineMode(BatchJob& job, const std::string& logFile, std::ostream& out, std::ostream& err) {
    // libtiff only ever reads the program's own intermediate files here; its
    // warnings about them would bury the results, its errors explain failures.
    routeTiffMessages(TiffMessageTarget::errorsToStandardError);
    bool anyFailed = false;
    if (job.mode == JobMode::Folder) {
        out << "Please Wait...\n" << std::flush;
        job.fileList.clear();
        collectFiles(job, job.source, job.includeSubFolders);
        FolderSummary summary;
        convertFolder(job, &summary);
        anyFailed = summary.failed > 0;
    } else {
        job.results = "Batch Quillon command line mode : convert file\r\n";
        const int result = convertFile(job, job.source, job.destination);
        anyFailed = result != kConverted && result != kSkippedExisting;
    }
    switch (writeLog(logFile, job.results)) {
        case LogResult::FolderMissing:
            err << "The log folder of " << logFile << " cannot be made; nothing was logged.\n";
            break;
        case LogResult::CannotOpen:
            err << "The log file " << logFile << " cannot be written; nothing was logged.\n";
            break;
        default:
            break;
    }
    if (!job.quiet) out << withUnixLineEnds(job.results) << std::flush;
    return anyFailed ? 1 : 0;
}

}  // namespace quillon
