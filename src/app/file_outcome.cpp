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
        case PageState::Cut: return "cut";
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

namespace {

// 45678 as "45,678": byte counts are read at a glance.
std::string grouped(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

}  // namespace

bool FileOutcome::hasDamage() const {
    for (const PageSummary& page : pages)
        if (page.state != PageState::Ok) return true;
    return false;
}

std::vector<std::string> describeDamage(const FileOutcome& outcome) {
    std::vector<std::string> lines;
    const std::string total = std::to_string(outcome.pages.size());
    std::size_t firstLeftOut = 0;
    for (std::size_t i = 0; i < outcome.pages.size(); ++i) {
        const PageSummary& page = outcome.pages[i];
        const std::string which = "page " + std::to_string(i + 1) + " of " + total + ": ";
        const std::string rows = std::to_string(page.damagedRows()) + " of " + std::to_string(page.rows) + " rows";
        switch (page.state) {
            case PageState::Ok: break;
            case PageState::Empty: lines.push_back(which + "no data; written as a white page"); break;
            case PageState::Cut:
                lines.push_back(which + "the file ends inside this page (" + grouped(page.bytesPresent) + " of " +
                                grouped(page.bytesAnnounced) + " data bytes); whatever followed is missing" +
                                (page.damagedRows() > 0 ? " (" + rows + " did not decode)" : ""));
                break;
            case PageState::Damaged:
                if (page.goodRows == 0)
                    lines.push_back(which + "no line could be decoded whole; what did not decode is white");
                else if (page.damagedRows() == 0)
                    lines.push_back(which + "damaged data after the last of its " + std::to_string(page.rows) +
                                    " rows; every row decoded");
                else
                    lines.push_back(which + rows + " could not be decoded");
                break;
            case PageState::LeftOut:
                if (firstLeftOut == 0) firstLeftOut = i + 1;
                break;
        }
    }
    if (firstLeftOut != 0)
        lines.push_back("pages " + std::to_string(firstLeftOut) + " to " + total + " of " + total +
                        ": left out; only the first " + std::to_string(firstLeftOut - 1) + " pages are converted");
    return lines;
}

const char* problemName(FileProblem problem) {
    switch (problem) {
        case FileProblem::None: return "";
        case FileProblem::NoSuchFile: return "no-such-file";
        case FileProblem::Unreadable: return "unreadable";
        case FileProblem::Folder: return "folder";
        case FileProblem::NotWinFaxExtension: return "not-winfax-extension";
        case FileProblem::TiffSource: return "tiff-source";
        case FileProblem::NoSignature: return "no-signature";
        case FileProblem::NoFaxData: return "no-fax-data";
        case FileProblem::OutputIsSource: return "output-is-source";
        case FileProblem::OutputTaken: return "output-taken";
        case FileProblem::FolderNotMade: return "folder-not-made";
        case FileProblem::WriteFailed: return "write-failed";
        case FileProblem::PagesLeftOut: return "pages-left-out";
        case FileProblem::Exception: break;
    }
    return "exception";
}

std::string describeProblem(const FileOutcome& outcome) {
    switch (outcome.problem) {
        case FileProblem::None: return {};
        case FileProblem::NoSuchFile: return "no such file";
        case FileProblem::Unreadable: return "cannot be read: " + outcome.problemDetail;
        case FileProblem::Folder: return "a folder, not a file";
        case FileProblem::NotWinFaxExtension:
            return "not a WinFax file by its extension (.fxd, .fxm, .fxr or .fxs, matched by their first letters)";
        case FileProblem::TiffSource: return "a TIFF file already; nothing to do";
        case FileProblem::NoSignature: return "no WinFax signature: the file does not start with a WinFax page header";
        case FileProblem::NoFaxData: return "the first page holds no fax data";
        case FileProblem::OutputIsSource:
            return "its output " + outcome.problemDetail + " is a source of this run; nothing written";
        case FileProblem::OutputTaken: return "its output name was already used by an earlier file of this run";
        case FileProblem::FolderNotMade: return "the output folder could not be made";
        case FileProblem::WriteFailed: return "an output could not be written";
        case FileProblem::PagesLeftOut: return "pages beyond the first 1024 were left out";
        case FileProblem::Exception: break;
    }
    return "the conversion failed unexpectedly";
}

std::string logNotes(const FileOutcome& outcome) {
    std::string notes;
    for (const std::string& line : describeDamage(outcome)) notes += "    Damaged : " + line + "\r\n";
    for (const std::string& line : describeRecognitionFailures(outcome)) notes += "    Warning : " + line + "\r\n";
    for (const std::string& line : outcome.warnings) notes += "    Warning : " + line + "\r\n";
    if (outcome.problem != FileProblem::None) notes += "    Reason : " + describeProblem(outcome) + "\r\n";
    return notes;
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
