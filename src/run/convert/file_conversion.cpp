#include "run/convert/file_conversion.h"

#include <memory>
#include <optional>
#include <vector>

#include "engine/conversion_engine.h"
#include "engine/sha256.h"
#include "formats/format_detection.h"
#include "formats/format_readers.h"
#include "platform/files.h"
#include "platform/folder_path.h"
#include "platform/paths.h"
#include "platform/source_file.h"
#include "run/convert/output_names.h"
#include "run/convert/output_writing.h"
#include "run/convert/resume_record.h"
#include "run/drive/file_claim.h"

namespace quillon {

namespace {

// One file's conversion as the steps it takes, in order. Each step either
// lets the file go on (nothing) or ends it with its result; the outcome is
// built as the steps go.
class FileConversion {
public:
    FileConversion(const BatchJob& job, const FileTask& task, const FileRun& run, FileOutcome& outcome)
        : job_(job), source_(task.source), destination_(task.output), run_(run), outcome_(outcome),
          claim_(run.outputs, run.ticket, outcome.outputs) {}

    FileResult run() {
        if (const auto end = checkSource()) return *end;
        if (const auto end = pickReader()) return *end;
        if (const auto end = skipWhenOutputExists()) return *end;
        if (outcome_.sourceProblem != SourceProblem::None) return FileResult::NotFax;
        if (const auto end = makeOutputFolder()) return *end;
        const FileResult result = convertPages();
        recordSourceChecksum();
        keepSourceDates();
        return result;
    }

private:
    using Step = std::optional<FileResult>;

    // The source's first bytes, which tell the format of some names.
    std::span<const std::uint8_t> head() const { return file_ ? file_->head() : std::span<const std::uint8_t>(); }

    // The format by the source's name (and for ".g3f" its first bytes), and
    // what the source is. The source is opened and read once, here, when
    // its name does not already leave it out: the format check, the reader,
    // the checksums and the dates all take it from that one read.
    Step checkSource() {
        if (firstBytesDecide(source_) || job_.formats.takes(inputFormat(source_))) openSource();
        format_ = inputFormat(source_, head());
        switch (file_ ? file_->kind() : platform::pathKind(source_)) {
            case platform::PathKind::Missing: outcome_.sourceProblem = SourceProblem::NoSuchFile; break;
            case platform::PathKind::Folder: outcome_.sourceProblem = SourceProblem::Folder; break;
            case platform::PathKind::File:
            case platform::PathKind::Other: break;
        }
        if (!job_.formats.takes(format_)) {
            if (outcome_.sourceProblem == SourceProblem::None) outcome_.sourceProblem = notTakenProblem();
            return format_ == FaxFormat::Tiff ? FileResult::SourceIsTiff : FileResult::NotWinFax;
        }
        if (outcome_.sourceProblem != SourceProblem::None) return {};
        outcome_.detail = file_->error();  // a source whose format is taken is always opened
        if (!outcome_.detail.empty()) outcome_.sourceProblem = SourceProblem::Unreadable;
        return {};
    }

    // The one open and read of the source. Its checksum, when a report or
    // "/resume" needs it, is taken from the bytes as they are read.
    void openSource() {
        const bool checksummed = job_.resume || job_.convertOptions.fingerprintPages;
        file_.emplace(source_, checksummed ? platform::SourceFile::ByteWatcher(
                                                 [this](std::span<const std::uint8_t> bytes) {
                                                     sourceDigest_.update(bytes.data(), bytes.size());
                                                 })
                                           : platform::SourceFile::ByteWatcher());
    }

    // Why the run does not take the source's format: a run of WinFax files
    // alone says what it always said.
    SourceProblem notTakenProblem() {
        if (job_.formats == InputFormats{} || format_ == FaxFormat::Unknown || format_ == FaxFormat::NeverFax)
            return format_ == FaxFormat::Tiff ? SourceProblem::TiffSource : SourceProblem::NotWinFaxExtension;
        outcome_.detail = formatName(format_);
        return SourceProblem::FormatNotTaken;
    }

    Step pickReader() {
        reader_ = readerFor(format_, job_.convertOptions, source_, head());
        if (reader_ || outcome_.sourceProblem != SourceProblem::None) return {};
        outcome_.detail = formatName(format_);
        return FileResult::NotSupported;
    }

    // The window's automatic runs leave outputs that exist alone.
    Step skipWhenOutputExists() {
        if (!job_.skipExisting || platform::fileSize(destination_) <= 0) return {};
        outcome_.sourceProblem = SourceProblem::None;
        outcome_.detail.clear();
        return FileResult::SkippedExisting;
    }

    Step makeOutputFolder() {
        const std::string::size_type slash = platform::lastPathSeparator(destination_);
        if (slash == std::string::npos || slash == 0) return {};
        const std::string folder = destination_.substr(0, slash);
        if (platform::makeFolderPath(folder)) return {};
        outcome_.detail = folder;
        return FileResult::FolderNotMade;
    }

    // The pages read, checked, claimed and written; whatever escapes (not
    // only std::exception) costs this file only.
    FileResult convertPages() {
        try {
            ConversionEngine engine(job_.convertOptions, std::move(reader_));
            if (const auto end = openPages(engine)) return *end;
            const std::vector<std::string> planned = outputNames(job_, engine.pageCount(), destination_);
            if (const auto end = guardOutputs(planned)) return *end;
            if (const auto end = skipWhenDone(planned)) return *end;
            const FaxToWrite fax{engine, *file_, record_, run_.pending, run_.pageSharing};
            const FileResult result = writePages(job_, fax, planned, outcome_);
            outcome_.pages = engine.pages();
            for (std::string& note : engine.readerNotes()) outcome_.warnings.push_back(std::move(note));
            return result;
        } catch (...) {
            return FileResult::Exception;
        }
    }

    // A file that lists pages but whose first page with data holds no fax
    // is no fax; one that lists none says why when its reader can.
    Step openPages(ConversionEngine& engine) {
        // A source with no bytes to read (a named pipe, a device) lists no
        // page, as a file of another format does: its reader says why when it can.
        if (engine.openSource(file_->contents()) && engine.hasImage()) return {};
        if (engine.pageCount() > 0) {
            outcome_.sourceProblem = SourceProblem::NoFaxData;
        } else if (engine.refusal().empty()) {
            outcome_.sourceProblem = SourceProblem::NoSignature;
        } else {
            outcome_.sourceProblem = SourceProblem::FormatRefused;
            outcome_.detail = engine.refusal();
        }
        return FileResult::NotFax;
    }

    // No output may replace one an earlier file of the run wrote, nor a
    // source of the run; the names are the file's once claimed. The claim
    // comes first: it waits for an earlier file writing the same names, so
    // that no look at an output here meets its rename there (on Windows a
    // file being looked at cannot be replaced).
    Step guardOutputs(const std::vector<std::string>& planned) {
        if (const std::optional<EarlierOutput> earlier = claim_.claim(planned)) {
            outcome_.detail = earlier->path;
            outcome_.earlierSource = earlier->source;
            return FileResult::OutputTaken;
        }
        const RunSources own({source_});
        for (const std::string& name : filesWritten(job_, planned)) {
            if (!own.contains(name) && !run_.sources.contains(name)) continue;
            outcome_.detail = name;
            return FileResult::OutputIsSource;
        }
        return {};
    }

    // "/resume": outputs that carry the record this run would write are done.
    Step skipWhenDone(const std::vector<std::string>& planned) {
        if (!job_.resume) return {};
        sourceSha256_ = sourceDigest_.hex();
        record_ = resumeRecord(job_, sourceSha256_);
        // Its outputs are done, but a report without their line would not prove them.
        if (run_.reportHolds && !run_.reportHolds(outcome_.source, planned.front())) return {};
        std::vector<std::string> texts;
        for (const std::string& output : planned)
            for (const TextFile text : job_.recognition.textFiles) texts.push_back(textOutputName(output, text));
        if (outputsCarryRecord(job_.outputFormat, planned, texts, record_)) return FileResult::SkippedExisting;
        return {};
    }

    // With page fingerprints, the source's checksum beside its outputs'.
    void recordSourceChecksum() {
        if (!job_.convertOptions.fingerprintPages || outcome_.outputs.empty()) return;
        outcome_.sourceSha256 = sourceSha256_.empty() ? sourceDigest_.hex() : sourceSha256_;
    }

    // "/l": the outputs take the source's times once they are in place. The
    // copy never changes the file's result, and a converted file whose times
    // could not be copied is still converted, with a warning.
    void keepSourceDates() {
        if (job_.keepDate && file_) run_.pending.keepTimes(file_->times());
    }

    const BatchJob& job_;
    const std::string& source_;
    const std::string& destination_;
    const FileRun& run_;
    FileOutcome& outcome_;
    FileClaim claim_;
    std::optional<platform::SourceFile> file_;  // the source, once opened
    FaxFormat format_ = FaxFormat::Unknown;
    std::unique_ptr<FaxPages> reader_;
    Sha256 sourceDigest_;       // of the source's bytes, as they were read
    std::string sourceSha256_;  // for the resume record and the report
    std::string record_;
};

}  // namespace

FileOutcome convertFile(const BatchJob& request, const FileTask& task, const FileRun& run) {
    FileOutcome outcome;
    outcome.source = task.source;
    outcome.destination = task.output;
    outcome.result = FileConversion(request, task, run, outcome).run();
    return outcome;
}

FileOutcome convertFile(const BatchJob& request, const std::string& source, const std::string& destination) {
    OutputClaims outputs;
    const RunSources sources({source});
    const std::function<bool(const std::string&, const std::string&)> noReport;
    PendingOutputs pending;
    PageSharing alone(1);
    FileOutcome outcome = convertFile(request, FileTask{source, destination},
                                      FileRun{outputs, outputs.enter(), sources, noReport, pending, alone});
    outcome.result = pending.commit(!request.skipSync, outcome.result, outcome);
    return outcome;
}

}  // namespace quillon
