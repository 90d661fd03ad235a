#include "run/outcome/file_outcome.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

FileStatus FileOutcome::status() const {
    switch (result) {
        case FileResult::Converted: return FileStatus::Converted;
        case FileResult::SkippedExisting: return FileStatus::Skipped;
        case FileResult::SourceIsTiff:
        case FileResult::NotWinFax: return FileStatus::NotWinFax;
        case FileResult::NotFax: return FileStatus::NotFax;
        default: return FileStatus::Failed;
    }
}

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
        case FileResult::FolderNotMade: return lines + "Failed to create dir: " + outcome.folder + "\r\n";
        case FileResult::NotFax: return lines + "Failed : " + source + " - Not Fax\r\n";
        case FileResult::NotSupported:
            return lines + "Failed : " + source + " - Not supported (" + outcome.problemDetail +
                   " files: no public description of their layout)\r\n";
        case FileResult::OutputIsSource:
            return lines + "Failed : " + source + " - the output " + outcome.problemDetail +
                   " is a source of this run; nothing written\r\n";
        case FileResult::OutputTaken:
            return lines + "Failed : " + source + " - " + outcome.problemDetail + " was already written from " +
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
        case ImageCoding::Lzw: return "LZW";
        case ImageCoding::OtherTiff: return "other";
        case ImageCoding::PcxRunLength: return "PCX-RLE";
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
        case FileProblem::FormatNotTaken: return "format-not-taken";
        case FileProblem::NotSupported: return "not-supported";
        case FileProblem::FormatRefused: return "format-refused";
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
        case FileProblem::FormatNotTaken:
            return "a " + outcome.problemDetail + " file; /formats= does not name its format";
        case FileProblem::NotSupported:
            return outcome.problemDetail + " files are not supported: their layout has no public description";
        case FileProblem::FormatRefused: return "not converted: " + outcome.problemDetail;
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
