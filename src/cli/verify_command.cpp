#include "cli/verify_command.h"

#include <fstream>
#include <optional>
#include <ostream>

#include "cli/exit_codes.h"
#include "records/output_check.h"
#include "records/report_reading.h"
#include "run/drive/run_sources.h"
#include "records/verify_lines.h"
#include "run/drive/worker_pool.h"
#include "tiff/tiff_messages.h"
#include "platform/paths.h"

namespace quillon {

ExitCode runVerifyMode(const BatchJob& request, std::ostream& out, std::ostream& err) {
    // A damaged output is named in its line; libtiff's own words would only repeat it.
    routeTiffMessages(TiffMessageTarget::discard);
    const std::string& reportRead = request.verifyReport;
    if (!request.reportPath.empty() && RunSources({reportRead}).contains(request.reportPath)) {
        err << "quillon: /report=" << request.reportPath << " names the report being verified; nothing verified\n";
        return ExitCode::Refused;
    }
    std::ifstream in(platform::fileSystemPath(reportRead), std::ios::binary);
    if (!in) {
        err << "quillon: the report " << reportRead << " cannot be read; nothing verified\n";
        return ExitCode::Refused;
    }
    std::vector<RecordedFile> files = readRecordedFiles(in);
    if (in.bad()) {
        err << "quillon: the report " << reportRead << " cannot be read to its end; nothing verified\n";
        return ExitCode::Refused;
    }
    if (files.empty()) {
        err << "quillon: the report " << reportRead << " lists no output to verify\n";
        return ExitCode::FilesFailed;
    }
    // A shard may hold none of the files: it has nothing to prove then.
    std::erase_if(files, [&](const RecordedFile& file) { return !inShard(file.source, request.shard); });

    std::ofstream report;
    if (!request.reportPath.empty()) {
        report.open(platform::fileSystemPath(request.reportPath), std::ios::binary | std::ios::app);
        if (!report) {
            err << "quillon: the report file " << request.reportPath << " cannot be opened for writing; nothing verified\n";
            return ExitCode::CouldNotWork;
        }
    }
    std::vector<std::optional<VerifyOutcome>> done(files.size());
    std::size_t verified = 0, changed = 0, missing = 0, unverifiable = 0;
    bool reportFailed = false;
    const auto deliver = [&](std::size_t item) {
        const VerifyOutcome& outcome = *done[item];
        switch (outcome.verdict) {
            case FileVerdict::Verified: ++verified; break;
            case FileVerdict::Changed: ++changed; break;
            case FileVerdict::Missing: ++missing; break;
            case FileVerdict::Unverifiable: ++unverifiable; break;
        }
        if (!request.quiet || outcome.verdict != FileVerdict::Verified) out << verificationLine(outcome) << '\n';
        if (report.is_open() && !reportFailed) {
            report << verificationReportLine(outcome) << '\n' << std::flush;
            if (!report) {
                reportFailed = true;
                err << "quillon: the report file " << request.reportPath << " cannot be written\n";
            }
        }
        done[item].reset();
    };
    WorkerPoolCalls calls;
    calls.work = [&](std::size_t item, unsigned) { done[item] = checkRecordedFile(files[item], request.verifySources); };
    calls.deliver = [&](std::size_t first, std::size_t end) {
        for (std::size_t item = first; item < end; ++item) deliver(item);
    };
    runWorkers(files.size(), workerCount(request.workers), calls);

    if (!request.quiet) {
        out << "\n---------\nVerified FAX files: " << verified << " of " << files.size();
        if (changed) out << ", " << changed << " changed";
        if (missing) out << ", " << missing << " missing";
        if (unverifiable) out << ", " << unverifiable << " unverifiable";
        out << "\n";
    }
    out.flush();
    if (reportFailed) return ExitCode::CouldNotWork;
    return verified != files.size() ? ExitCode::FilesFailed : ExitCode::Success;
}

}  // namespace quillon
