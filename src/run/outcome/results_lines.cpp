#include "run/outcome/results_lines.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

namespace {

constexpr char kWriteFailedLine[] = "Failed : Error in converting FAX to TIFF !\r\n";

std::string threeDigits(std::size_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "%03zu", number);
    return text;
}

// The lines of the pages written: one per page file in split mode, or the
// one file's outcome.
std::string writtenLines(const FileOutcome& outcome) {
    if (outcome.pageFiles.empty()) {
        if (outcome.result == FileResult::WriteFailed) return kWriteFailedLine;
        return outcome.result == FileResult::PagesLeftOut ? "" : "Success !\r\n";
    }
    std::string lines = "Multiple pages as following :\r\n";
    for (std::size_t page = 0; page < outcome.pageFiles.size(); ++page) {
        const PageFile& file = outcome.pageFiles[page];
        lines += file.written ? "        page " + threeDigits(page + 1) + " --> " + file.path + " : Success !\r\n"
                              : std::string(kWriteFailedLine);
    }
    return lines;
}

}  // namespace

std::string resultsLines(const FileOutcome& outcome) {
    const std::string& source = outcome.source;
    std::string lines = source + " --> " + outcome.destination + " : ";
    switch (outcome.result) {
        case FileResult::SourceIsTiff:
        case FileResult::NotWinFax: return {};
        case FileResult::SkippedExisting: return lines + "Skipped : " + outcome.destination + " already exist!\r\n";
        case FileResult::FolderNotMade: return lines + "Failed to create dir: " + outcome.detail + "\r\n";
        case FileResult::NotFax: return lines + "Failed : " + source + " - Not Fax\r\n";
        case FileResult::NotSupported:
            return lines + "Failed : " + source + " - Not supported (" + outcome.detail +
                   " files: no public description of their layout)\r\n";
        case FileResult::OutputIsSource:
            return lines + "Failed : " + source + " - the output " + outcome.detail +
                   " is a source of this run; nothing written\r\n";
        case FileResult::OutputTaken:
            return lines + "Failed : " + source + " - " + outcome.detail + " was already written from " +
                   outcome.earlierSource +
                   " in this run; keep sub-folders or extensions in the output names (/kh, /ke, or Keep "
                   "Hiberarchy and Include Source File Extention in the window)\r\n";
        case FileResult::Exception:
            return lines + (outcome.pageFiles.empty() ? "" : writtenLines(outcome)) +
                   "Exception : Failed in FAX to TIFF conversion\r\n";
        case FileResult::PagesLeftOut:
            return lines + writtenLines(outcome) + "Failed : " + source + " - Pages left out: only the first " +
                   std::to_string(std::count_if(outcome.pages.begin(), outcome.pages.end(),
                                                [](const PageSummary& page) { return page.state != PageState::LeftOut; })) +
                   " pages were converted\r\n";
        case FileResult::Converted:
        case FileResult::WriteFailed: break;
    }
    return lines + writtenLines(outcome);
}

}  // namespace quillon
