#include "run/outcome/file_outcome.h"

namespace quillon {

bool FileOutcome::hasDamage() const {
    for (const PageSummary& page : pages)
        if (page.state != PageState::Ok) return true;
    return false;
}

// Numbers and words kept by stored reports: never renumber them.
int resultCode(FileResult result) {
    switch (result) {
        case FileResult::Converted: return 0;
        case FileResult::SkippedExisting: return 1;
        case FileResult::SourceIsTiff: return 2;
        case FileResult::NotWinFax: return -1;
        case FileResult::FolderNotMade: return -2;
        case FileResult::NotFax: return -5;
        case FileResult::WriteFailed: return -7;
        case FileResult::PagesLeftOut: return -8;
        case FileResult::Exception: return -9;
        case FileResult::OutputTaken: return -10;
        case FileResult::OutputIsSource: return -11;
        case FileResult::NotSupported: break;
    }
    return -12;
}

const char* statusName(FileResult result) {
    switch (result) {
        case FileResult::Converted: return "converted";
        case FileResult::SkippedExisting: return "skipped";
        case FileResult::SourceIsTiff:
        case FileResult::NotWinFax: return "not-winfax";
        case FileResult::NotFax: return "not-fax";
        default: break;
    }
    return "failed";
}

}  // namespace quillon
