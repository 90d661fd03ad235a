#include "run/convert/file_conversion.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "run/convert/page_recognition.h"
#include "run/convert/pdf_output.h"
#include "run/convert/resume_record.h"
#include "run/drive/file_claim.h"
#include "engine/conversion_engine.h"
#include "formats/format_detection.h"
#include "engine/page_fingerprint.h"
#include "formats/format_readers.h"
#include "formats/winfax_reader.h"
#include "platform/atomic_file.h"
#include "platform/file_times.h"
#include "platform/folder_path.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/source_file.h"

namespace quillon {

namespace {

// The recognised text's file beside a PDF: its extension replaced by ".txt".
std::string textOutputName(const std::string& output) {
    const std::size_t dot = output.rfind('.');
    const std::size_t slash = platform::lastPathSeparator(output);
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? output.substr(0, dot) : output) + ".txt";
}

// Writes pages [first, first + count) of the fax to an output, in the job's
// output format, through a temporary name; with "/ocrtext" their text too,
// both complete or neither. The pages' recognition joins outcome.texts.
// With /resume the output carries the run's record.
bool writeOutput(const BatchJob& job, ConversionEngine& engine, const platform::SourceFile& source, std::uint16_t first,
                 std::uint16_t count, const std::string& output, const std::string& record, FileOutcome& outcome) {
    platform::AtomicFile pending(output);
    if (pending.path().empty()) return false;
    if (job.outputFormat == OutputFormat::Tiff)
        return engine.writeG4(pending.path(), first, count, record) && pending.commit();

    std::vector<RecognizedPage> texts;
    std::vector<std::string> problems;
    const bool written =
        writePdfOutput(engine, source, first, count, pending.path(), job.recognition, texts, problems, record);
    // A module that cannot be loaded fails or weakens every file alike: said once a file.
    for (const std::string& problem : problems)
        if (std::find(outcome.warnings.begin(), outcome.warnings.end(), problem) == outcome.warnings.end())
            outcome.warnings.push_back(problem);
    if (!written) return false;
    for (const RecognizedPage& text : texts)
        outcome.texts.push_back({text.recognized, text.wordCount(), text.meanConfidence(), text.rotation,
                                 text.orientationConfidence});
    if (!job.recognition.writeText) return pending.commit();
    platform::AtomicFile pendingText(textOutputName(output));
    if (pendingText.path().empty() || !platform::writeWholeFile(pendingText.path(), pagesText(texts))) return false;
    return pending.commit() && pendingText.commit();
}

// The files a fax of `pages` pages is written to.
std::vector<std::string> outputNames(const BatchJob& job, int pages, const std::string& destination) {
    if (!job.convertOptions.splitPages() || pages <= 1) return {destination};
    std::vector<std::string> names;
    for (int page = 1; page <= pages; ++page)
        names.push_back(winFaxPageFileName(destination, page, outputExtension(job.outputFormat)));
    return names;
}

// Writes the pages of the open fax to their output(s): the written files go
// to outcome.outputs, and in split mode every page's file to pageFiles.
FileResult writePages(const BatchJob& job, ConversionEngine& engine, const platform::SourceFile& source,
                      const std::vector<std::string>& names, const std::string& record, FileOutcome& outcome) {
    const std::uint16_t pages = engine.pageCount();
    bool written = true;
    if (names.size() > 1) {
        for (std::uint16_t page = 0; page < pages; ++page) {
            const std::string& output = names[page];
            const bool pageWritten = writeOutput(job, engine, source, page, 1, output, record, outcome);
            outcome.pageFiles.push_back({output, pageWritten});
            written = written && pageWritten;  // one failed page fails the file
            if (!pageWritten) continue;
            outcome.outputs.push_back(output);
            if (job.recognition.writeText) outcome.outputs.push_back(textOutputName(output));
        }
    } else {
        written = writeOutput(job, engine, source, 0, pages, names.front(), record, outcome);
        if (written) {
            outcome.outputs.push_back(names.front());
            if (job.recognition.writeText) outcome.outputs.push_back(textOutputName(names.front()));
        }
    }
    if (!written) return FileResult::WriteFailed;
    return engine.pagesLeftOut() ? FileResult::PagesLeftOut : FileResult::Converted;
}

}  // namespace

namespace {

// The source, opened and read once, when its format by its name is taken or
// its first bytes tell its format: a file left out by its name is not opened.
std::optional<platform::SourceFile> openedSource(const std::string& source, const InputFormats& formats) {
    if (!firstBytesDecide(source) && !formats.takes(inputFormat(source))) return std::nullopt;
    return std::optional<platform::SourceFile>(std::in_place, source);
}

// Why a source that is not converted by its name or its bytes is no fax:
// told apart so that "Not Fax" never hides a missing or unreadable file.
FileProblem sourceProblem(const std::string& source, const std::optional<platform::SourceFile>& file,
                          FaxFormat format, const InputFormats& formats, std::string& detail) {
    switch (file ? file->kind() : platform::pathKind(source)) {
        case platform::PathKind::Missing: return FileProblem::NoSuchFile;
        case platform::PathKind::Folder: return FileProblem::Folder;
        case platform::PathKind::File:
        case platform::PathKind::Other: break;
    }
    if (!formats.takes(format)) {
        // A run of WinFax files alone says what it always said.
        if (formats == InputFormats{} || format == FaxFormat::Unknown || format == FaxFormat::NeverFax)
            return format == FaxFormat::Tiff ? FileProblem::TiffSource : FileProblem::NotWinFaxExtension;
        detail = formatName(format);
        return FileProblem::FormatNotTaken;
    }
    detail = file->error();  // a source whose format is taken is always opened
    return detail.empty() ? FileProblem::None : FileProblem::Unreadable;
}

// The output among names that is a source of the run, or empty.
std::string outputThatIsSource(const RunSources& sources, const std::string& source,
                               const std::vector<std::string>& names) {
    const RunSources own({source});
    for (const std::string& name : names)
        if (own.contains(name) || sources.contains(name)) return name;
    return {};
}

FileResult convertChecked(const BatchJob& job, const std::string& source, const std::string& destination,
                          const FileRun& run, FileOutcome& outcome) {
    FileClaim ticket(run.outputs, run.ticket, source, outcome.outputs);
    const std::optional<platform::SourceFile> file = openedSource(source, job.formats);
    const std::span<const std::uint8_t> bytes = file ? file->bytes() : std::span<const std::uint8_t>();
    const FaxFormat format = inputFormat(source, bytes);
    outcome.problem = sourceProblem(source, file, format, job.formats, outcome.problemDetail);
    if (!job.formats.takes(format)) return format == FaxFormat::Tiff ? FileResult::SourceIsTiff : FileResult::NotWinFax;
    std::unique_ptr<FaxPages> reader = readerFor(format, job.convertOptions, source, bytes);
    if (!reader && outcome.problem == FileProblem::None) {
        outcome.problem = FileProblem::NotSupported;
        outcome.problemDetail = formatName(format);
        return FileResult::NotSupported;
    }

    if (job.skipExisting && platform::fileSize(destination) > 0) {
        outcome.problem = FileProblem::None;
        return FileResult::SkippedExisting;
    }
    if (outcome.problem != FileProblem::None) return FileResult::NotFax;
    const std::string::size_type slash = platform::lastPathSeparator(destination);
    if (slash != std::string::npos && slash > 0) {
        outcome.folder = destination.substr(0, slash);
        if (!platform::makeFolderPath(outcome.folder)) {
            outcome.problem = FileProblem::FolderNotMade;
            return FileResult::FolderNotMade;
        }
    }

    FileResult result = FileResult::Converted;
    std::string sourceSha256;  // read once, for the resume record and the report
    try {
        ConversionEngine engine(job.convertOptions, std::move(reader));
        engine.openSource(file->contents());
        if (!engine.hasImage()) {
            outcome.problem = engine.pageCount() > 0       ? FileProblem::NoFaxData
                              : engine.refusal().empty() ? FileProblem::NoSignature
                                                         : FileProblem::FormatRefused;
            if (outcome.problem == FileProblem::FormatRefused) outcome.problemDetail = engine.refusal();
            return FileResult::NotFax;
        }
        const std::vector<std::string> planned = outputNames(job, engine.pageCount(), destination);
        std::vector<std::string> texts;
        if (job.recognition.writeText)
            for (const std::string& output : planned) texts.push_back(textOutputName(output));
        std::vector<std::string> written = planned;
        written.insert(written.end(), texts.begin(), texts.end());
        if (const std::string taken = outputThatIsSource(run.sources, source, written); !taken.empty()) {
            outcome.problem = FileProblem::OutputIsSource;
            outcome.problemDetail = taken;
            return FileResult::OutputIsSource;
        }
        if (const std::optional<EarlierOutput> earlier = ticket.claim(planned)) {
            outcome.problem = FileProblem::OutputTaken;
            outcome.problemDetail = earlier->path;
            outcome.earlierSource = earlier->source;
            return FileResult::OutputTaken;
        }
        std::string record;
        if (job.resume) {
            sourceSha256 = sha256Hex(bytes);
            record = resumeRecord(job, sourceSha256);
            if (outputsCarryRecord(job.outputFormat, planned, texts, record)) return FileResult::SkippedExisting;
        }
        result = writePages(job, engine, *file, planned, record, outcome);
        outcome.pages = engine.pages();
        for (std::string& note : engine.readerNotes()) outcome.warnings.push_back(std::move(note));
        if (result == FileResult::WriteFailed) outcome.problem = FileProblem::WriteFailed;
        if (result == FileResult::PagesLeftOut) outcome.problem = FileProblem::PagesLeftOut;
    } catch (...) {
        // Whatever escaped (not only std::exception) costs this file only.
        outcome.problem = FileProblem::Exception;
        result = FileResult::Exception;
    }

    if (job.convertOptions.fingerprintPages && !outcome.outputs.empty()) {
        outcome.sourceSha256 = sourceSha256.empty() ? sha256Hex(bytes) : sourceSha256;
        for (const std::string& output : outcome.outputs) outcome.outputSha256.push_back(fileSha256(output));
    }

    // The date copy never changes the file's result: a failed conversion
    // stays failed, and a converted file whose times could not be copied is
    // still converted, with a warning.
    if (job.keepDate) {
        for (const std::string& output : outcome.outputs)
            if (!file->times() || !platform::writeFileTimes(output, *file->times()))
                outcome.warnings.push_back("the date and time of the source could not be given to " + output);
    }
    return result;
}

}  // namespace

FileOutcome convertFile(const BatchJob& request, const FileTask& task, const FileRun& run) {
    FileOutcome outcome;
    outcome.source = task.source;
    outcome.destination = task.output;
    outcome.result = convertChecked(request, task.source, task.output, run, outcome);
    return outcome;
}

FileOutcome convertFile(const BatchJob& request, const std::string& source, const std::string& destination) {
    OutputClaims outputs;
    const RunSources sources({source});
    return convertFile(request, FileTask{source, destination}, FileRun{outputs, outputs.enter(), sources});
}

}  // namespace quillon
