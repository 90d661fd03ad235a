#include "run/drive/run_driver.h"

#include <map>
#include <mutex>

#include "platform/paths.h"
#include "run/drive/output_claims.h"
#include "run/drive/synced_folders.h"
#include "run/drive/worker_pool.h"

namespace quillon {

RunTotals runFiles(const BatchJob& request, RunPlan& plan, const FileRunCalls& calls) {
    TaskList& tasks = *plan.tasks;
    const unsigned threads = workerCount(request.workers);
    const FileConverter convert = calls.convert ? calls.convert : FileConverter([](const BatchJob& job, const FileTask& task, const FileRun& run) {
        return convertFile(job, task, run);
    });
    // Earlier runs' outputs may be replaced, this run's not. Tickets are
    // taken in walk order from 0, so a ticket is the file's item.
    OutputClaims outputs([&tasks](std::size_t ticket) { return tasks.sourceOf(ticket); }, tasks.count(),
                         plan.outputFolders);
    struct Current {
        std::size_t ticket = 0;
        FileTask task;
    };
    std::vector<Current> current(threads);
    // What a finished file waits with until it is delivered in walk order.
    std::mutex finishedTurn;
    std::map<std::size_t, FileOutcome> finished;
    RunTotals totals;
    SyncedFolders folders(request.mode == JobMode::File ? platform::folderPart(request.destination) : request.destination);

    WorkerPoolCalls pool;
    pool.stopRequested = calls.stopRequested;
    pool.take = [&](std::size_t item, unsigned worker) {
        current[worker] = {outputs.enter(), tasks.next()};
        if (calls.started) calls.started(item, current[worker].task);
    };
    pool.work = [&](std::size_t item, unsigned worker) {
        const Current& file = current[worker];
        FileOutcome outcome = convert(request, file.task, FileRun{outputs, file.ticket, plan.sources, calls.reportHolds});
        if (calls.finished) calls.finished(item, file.task, outcome);
        std::lock_guard lock(finishedTurn);
        finished.emplace(item, std::move(outcome));
    };
    pool.deliver = [&](std::size_t item) {
        FileOutcome outcome;
        {
            std::lock_guard lock(finishedTurn);
            const auto found = finished.find(item);
            outcome = std::move(found->second);
            finished.erase(found);
        }
        ++totals.delivered;
        if (outcome.result == FileResult::Converted) ++totals.converted;
        if (outcome.result == FileResult::Converted && outcome.hasDamage()) ++totals.damaged;
        if (resultCode(outcome.result) < 0) ++totals.failed;
        for (const std::string& output : outcome.outputs) folders.add(output);
        if (calls.delivered) calls.delivered(item, outcome);
    };
    runWorkers(tasks.count(), threads, pool);
    if (!request.skipSync) totals.unsyncedFolders = folders.sync();
    return totals;
}

}  // namespace quillon
