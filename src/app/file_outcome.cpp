#include "app/file_outcome.h"

#include "app/file_conversion.h"

namespace quillon {

FileStatus FileOutcome::status() const {
    switch (result) {
        case kConverted: return FileStatus::Converted;
        case kSkippedExisting: return FileStatus::Skipped;
        case kSourceIsTiff:
        case kNotWinFax: return FileStatus::NotWinFax;
        case kNotFax: return FileStatus::NotFax;
        default: return FileStatus::Failed;
    }
}

const char* statusName(FileStatus status) {
    switch (status) {
        case FileStatus::Converted: return "converted";
        case FileStatus::Skipped: return "skipped";
        case FileStatus::NotFax: return "not-fax";
        case FileStatus::NotWinFax: return "not-winfax";
        case FileStatus::Failed: break;
    }
    return "failed";
}

const char* pageStateName(PageState state) {
    switch (state) {
        case PageState::Ok: return "ok";
        case PageState::Empty: return "empty";
        case PageState::Damaged: return "damaged";
        case PageState::LeftOut: break;
    }
    return "left-out";
}

const char* codingName(ImageCoding coding) {
    switch (coding) {
        case ImageCoding::ModifiedHuffman:
        case ImageCoding::ModifiedHuffmanWord: return "MH";
        case ImageCoding::T4OneDimensional: return "T.4-1D";
        case ImageCoding::T4TwoDimensional: return "T.4-2D";
        case ImageCoding::T6: return "T.6";
        case ImageCoding::Uncompressed: return "none";
        case ImageCoding::PackBits: break;
    }
    return "PackBits";
}

std::vector<std::string> describeDamage(const FileOutcome& outcome) {
    std::vector<std::string> lines;
    const std::string total = std::to_string(outcome.pages.size());
    std::size_t firstLeftOut = 0;
    for (std::size_t i = 0; i < outcome.pages.size(); ++i) {
        const PageSummary& page = outcome.pages[i];
        const std::string which = "page " + std::to_string(i + 1) + " of " + total + ": ";
        if (page.state == PageState::Empty) {
            lines.push_back(which + "no data; written as a white page");
        } else if (page.state == PageState::Damaged && page.linesMet == page.badLines) {
            lines.push_back(which + "no line could be decoded whole; what did not decode is white");
        } else if (page.state == PageState::Damaged) {
            lines.push_back(which + std::to_string(page.badLines) + " of " + std::to_string(page.linesMet) +
                            " lines could not be decoded");
        } else if (page.state == PageState::LeftOut && firstLeftOut == 0) {
            firstLeftOut = i + 1;
        }
    }
    if (firstLeftOut != 0)
        lines.push_back("pages " + std::to_string(firstLeftOut) + " to " + total + " of " + total +
                        ": left out; only the first " + std::to_string(firstLeftOut - 1) + " pages are converted");
    return lines;
}

}  // namespace quillon

namespace quillon {

std::vector<std::string> describeRecognitionFailures(const FileOutcome& outcome) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < outcome.texts.size(); ++i)
        if (!outcome.texts[i].recognized)
            lines.push_back("page " + std::to_string(i + 1) + " of " + std::to_string(outcome.pages.size()) +
                            ": no text recognised (the page is too large or recognition failed); it has no text layer");
    return lines;
}

}  // namespace quillon
