#include "run/drive/run_driver.h"

#include <optional>

#include "platform/paths.h"
#include "run/outcome/log_notes.h"
#include "run/outcome/results_lines.h"
#include "run/drive/output_claims.h"
#include "run/drive/synced_folders.h"
#include "run/drive/worker_pool.h"

namespace quillon {

RunTotals runFiles(const BatchJob& request, const RunPlan& plan, const FileRunCalls& calls) {
    const std::vector<FileTask>& tasks = plan.tasks;
    const unsigned threads = workerCount(request.workers);
    const FileConverter convert = calls.convert ? calls.convert : FileConverter([](const BatchJob& job, const FileTask& task, const FileRun& run) {
        return convertFile(job, task, run);
    });
    OutputClaims outputs;  // earlier runs' outputs may be replaced, this run's not
    std::vector<std::size_t> tickets(threads);
    // What a finished file waits with until it is delivered in walk order.
    std::vector<std::optional<FileOutcome>> finished(tasks.size());
    RunTotals totals;
    SyncedFolders folders(request.mode == JobMode::File ? platform::folderPart(request.destination) : request.destination);

    WorkerPoolCalls pool;
    pool.stopRequested = calls.stopRequested;
    pool.take = [&](std::size_t item, unsigned worker) {
        tickets[worker] = outputs.enter();  // tickets follow the walk
        if (calls.started) calls.started(item);
    };
    pool.work = [&](std::size_t item, unsigned worker) {
        FileOutcome outcome = convert(request, tasks[item], FileRun{outputs, tickets[worker], plan.sources, calls.reportHolds});
        if (calls.finished) calls.finished(item, outcome);
        finished[item].emplace(std::move(outcome));
    };
    pool.deliver = [&](std::size_t item) {
        const FileOutcome& outcome = *finished[item];
        const std::string lines = resultsLines(outcome);
        totals.results += lines;
        totals.log += lines + logNotes(outcome);
        ++totals.delivered;
        if (outcome.result == FileResult::Converted) ++totals.converted;
        if (outcome.result == FileResult::Converted && outcome.hasDamage()) ++totals.damaged;
        if (resultCode(outcome.result) < 0) ++totals.failed;
        for (const std::string& output : outcome.outputs) folders.add(output);
        if (calls.delivered) calls.delivered(item, outcome);
        finished[item].reset();
    };
    runWorkers(tasks.size(), threads, pool);
    if (!request.skipSync) totals.unsyncedFolders = folders.sync();
    return totals;
}

}  // namespace quillon
