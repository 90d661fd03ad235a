#include "run/outcome/file_problem.h"

namespace quillon {

namespace {

// The results whose reason is what the source is.
bool endsOnSource(FileResult result) {
    return result == FileResult::SourceIsTiff || result == FileResult::NotWinFax || result == FileResult::NotFax;
}

const char* sourceProblemName(SourceProblem problem) {
    switch (problem) {
        case SourceProblem::None: return "";
        case SourceProblem::NoSuchFile: return "no-such-file";
        case SourceProblem::Unreadable: return "unreadable";
        case SourceProblem::Folder: return "folder";
        case SourceProblem::NotWinFaxExtension: return "not-winfax-extension";
        case SourceProblem::TiffSource: return "tiff-source";
        case SourceProblem::FormatNotTaken: return "format-not-taken";
        case SourceProblem::FormatRefused: return "format-refused";
        case SourceProblem::NoSignature: return "no-signature";
        case SourceProblem::NoFaxData: break;
    }
    return "no-fax-data";
}

std::string describeSourceProblem(const FileOutcome& outcome) {
    switch (outcome.sourceProblem) {
        case SourceProblem::None: return {};
        case SourceProblem::NoSuchFile: return "no such file";
        case SourceProblem::Unreadable: return "cannot be read: " + outcome.detail;
        case SourceProblem::Folder: return "a folder, not a file";
        case SourceProblem::NotWinFaxExtension:
            return "not a WinFax file by its extension (.fxd, .fxm, .fxr or .fxs, matched by their first letters)";
        case SourceProblem::TiffSource: return "a TIFF file already; nothing to do";
        case SourceProblem::FormatNotTaken: return "a " + outcome.detail + " file; /formats= does not name its format";
        case SourceProblem::FormatRefused: return "not converted: " + outcome.detail;
        case SourceProblem::NoSignature:
            return "no WinFax signature: the file does not start with a WinFax page header";
        case SourceProblem::NoFaxData: break;
    }
    return "the first page holds no fax data";
}

}  // namespace

bool hasProblem(const FileOutcome& outcome) { return *problemName(outcome) != '\0'; }

const char* problemName(const FileOutcome& outcome) {
    if (endsOnSource(outcome.result)) return sourceProblemName(outcome.sourceProblem);
    switch (outcome.result) {
        case FileResult::FolderNotMade: return "folder-not-made";
        case FileResult::WriteFailed: return "write-failed";
        case FileResult::PagesLeftOut: return "pages-left-out";
        case FileResult::Exception: return "exception";
        case FileResult::OutputTaken: return "output-taken";
        case FileResult::OutputIsSource: return "output-is-source";
        case FileResult::NotSupported: return "not-supported";
        default: break;
    }
    return "";
}

std::string describeProblem(const FileOutcome& outcome) {
    if (endsOnSource(outcome.result)) return describeSourceProblem(outcome);
    switch (outcome.result) {
        case FileResult::FolderNotMade: return "the output folder could not be made";
        case FileResult::WriteFailed: return "an output could not be written";
        case FileResult::PagesLeftOut: return "pages beyond the first 1024 were left out";
        case FileResult::Exception: return "the conversion failed unexpectedly";
        case FileResult::OutputTaken: return "its output name was already used by an earlier file of this run";
        case FileResult::OutputIsSource: return "its output " + outcome.detail + " is a source of this run; nothing written";
        case FileResult::NotSupported:
            return outcome.detail + " files are not supported: their layout has no public description";
        default: break;
    }
    return {};
}

}  // namespace quillon
