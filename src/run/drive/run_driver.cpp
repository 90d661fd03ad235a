#include "run/drive/run_driver.h"

#include <map>
#include <mutex>

#include "platform/paths.h"
#include "platform/stable_storage.h"
#include "run/drive/output_claims.h"
#include "run/drive/page_sharing.h"
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
    // What a finished file waits with until it is delivered in walk order:
    // its outputs, written whole under their temporary names.
    std::mutex finishedTurn;
    struct Finished {
        FileTask task;
        FileOutcome outcome;
        PendingOutputs pending;
    };
    std::map<std::size_t, Finished> finished;
    RunTotals totals;
    SyncedFolders folders(request.mode == JobMode::File ? platform::folderPart(request.destination) : request.destination);

    PageSharing pages(threads);
    WorkerPoolCalls pool;
    pool.stopRequested = calls.stopRequested;
    // A worker with no file left recognises pages of the files in progress
    // rather than stop: on one long fax, and at the end of every run, the
    // other cores would idle.
    if (request.recognition.enabled) pool.idle = [&pages](unsigned) { pages.helpUntilDone(); };
    pool.take = [&](std::size_t item, unsigned worker) {
        current[worker] = {outputs.enter(), tasks.next()};
        if (calls.started) calls.started(item, current[worker].task);
    };
    pool.work = [&](std::size_t item, unsigned worker) {
        const Current& file = current[worker];
        Finished done{file.task, {}, {}};
        done.outcome = convert(request, file.task,
                               FileRun{outputs, file.ticket, plan.sources, calls.reportHolds, done.pending, pages});
        std::lock_guard lock(finishedTurn);
        finished.emplace(item, std::move(done));
    };
    // The outputs of the files done in walk order are synced at once, while
    // the workers go on converting; then each file's outputs are put in
    // place and its outcome handed on before the next file's, so that a run
    // ended at any moment leaves at most one file's outputs without its
    // lines. Each sync costs the disk about as much for one file as for
    // many: a few milliseconds' wait gathers the files of a sync.
    if (!request.skipSync) {
        pool.gatherFor = std::chrono::milliseconds(10);
        pool.gatherItems = 32;
    }
    pool.deliver = [&](std::size_t first, std::size_t end) {
        std::vector<Finished> done;
        {
            std::lock_guard lock(finishedTurn);
            for (std::size_t item = first; item < end; ++item) {
                const auto found = finished.find(item);
                done.push_back(std::move(found->second));
                finished.erase(found);
            }
        }
        std::vector<std::string> written;
        for (const Finished& file : done) file.pending.addTemporaryPaths(written);
        // Should the sync of them all fail, each is synced on its own, so
        // that only the files it fails for fail.
        const bool synced = request.skipSync || written.empty() || platform::syncFiles(written);
        for (std::size_t at = 0; at < done.size(); ++at) {
            FileOutcome& outcome = done[at].outcome;
            outcome.result = done[at].pending.commit(!synced, outcome.result, outcome);
            ++totals.delivered;
            if (outcome.result == FileResult::Converted) ++totals.converted;
            if (outcome.result == FileResult::Converted && outcome.hasDamage()) ++totals.damaged;
            if (resultCode(outcome.result) < 0) ++totals.failed;
            for (const std::string& output : outcome.outputs) folders.add(output);
            if (calls.delivered) calls.delivered(first + at, done[at].task, outcome);
        }
    };
    runWorkers(tasks.count(), threads, pool);
    if (!request.skipSync) totals.unsyncedFolders = folders.sync();
    return totals;
}

}  // namespace quillon
