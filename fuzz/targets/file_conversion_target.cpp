// Bytes as a fax file through the whole conversion: format detection, the
// reader, the engine and the Group 4 page pipeline into the final TIFF
// file(s) or PDF files. Every output the program reports must open in libtiff
// (or qpdf) with the pages it reports, and nothing but the source and those outputs may be left
// in the temporary folder.

#include <algorithm>
#include <filesystem>

#include "run/convert/file_conversion.h"
#include "run/outcome/results_lines.h"
#include "run/convert/loaded_modules.h"
#include "conversion_check.h"
#include "fuzz_targets.h"
#include "oracle.h"
#include "pdf_oracle.h"
#include "tiff/tiff_messages.h"

namespace quillon::fuzz {

namespace {

bool documentedResult(FileResult result) {
    switch (result) {
        case FileResult::Converted: case FileResult::SourceIsTiff: case FileResult::NotWinFax:
        case FileResult::NotFax: case FileResult::WriteFailed: case FileResult::PagesLeftOut: return true;
        default: return false;  // nothing to skip, the folder exists and no exception may escape
    }
}

void expectOutputs(const FileOutcome& outcome, bool split, bool pdf) {
    const auto written = std::count_if(outcome.pages.begin(), outcome.pages.end(),
                                       [](const PageSummary& page) { return page.state != PageState::LeftOut; });
    if (outcome.result == FileResult::Converted || outcome.result == FileResult::PagesLeftOut)
        expect(!outcome.outputs.empty(), "a converted file without an output");
    // In split mode a fax of one page goes to the output's own name.
    const std::size_t most = split ? std::max<std::size_t>(written, 1) : 1;
    expect(outcome.outputs.size() <= most, std::to_string(outcome.outputs.size()) + " output files");
    for (const std::string& output : outcome.outputs) {
        const int images = pdf ? pdfPageCount(output) : tiffImageCount(output);
        const int expected = split ? 1 : int(written);
        expect(images == expected, output + " holds " + std::to_string(images) + " images, the program reports " +
                                       std::to_string(expected));
    }
}

// Removes the outputs after checking that they are all the folder holds
// besides the source.
void expectNothingElseLeft(const std::string& folder, const std::string& source, const FileOutcome& outcome) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_directory()) continue;
        const std::string path = entry.path().string();
        const bool reported = std::find(outcome.outputs.begin(), outcome.outputs.end(), path) != outcome.outputs.end();
        expect(path == source || reported, "left in the temporary folder: " + path);
    }
    for (const std::string& output : outcome.outputs) std::filesystem::remove(output);
}

}  // namespace

FileOutcome convertChecked(const std::uint8_t* data, std::size_t size, const std::string& sourceName,
                           const InputFormats& formats) {
    static const bool ready = (routeTiffMessages(TiffMessageTarget::discard), useFaxPdfWriter(writeFaxPdf), true);
    (void)ready;
    const std::string& folder = scratchFolder();
    const std::string source = folder + sourceName;
    writeBytes(source, data + 1, size - 1);

    BatchJob job;
    job.formats = formats;
    job.convertOptions.recountLines = data[0] & 1;
    job.convertOptions.pageMode = (data[0] >> 1) & 1;
    const bool pdf = data[0] & 4;
    job.outputFormat = pdf ? OutputFormat::Pdf : OutputFormat::Tiff;
    const FileOutcome outcome = convertFile(job, source, folder + (pdf ? "out/in.pdf" : "out/in.tif"));
    expect(documentedResult(outcome.result),
           "result " + std::to_string(resultCode(outcome.result)) + ": " + resultsLines(outcome));
    expectOutputs(outcome, job.convertOptions.splitPages(), pdf);
    return outcome;
}

void removeOutputs(const FileOutcome& outcome) {
    const std::string& folder = scratchFolder();
    expectNothingElseLeft(folder, outcome.source, outcome);
    std::filesystem::remove(outcome.source);
}

int fileConversion(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    removeOutputs(convertChecked(data, size, "in.fxd", InputFormats{}));
    return 0;
}

}  // namespace quillon::fuzz
