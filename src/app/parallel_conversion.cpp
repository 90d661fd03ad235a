#include "app/parallel_conversion.h"

#include <memory>
#include <optional>

#include "app/file_conversion.h"
#include "app/worker_pool.h"

namespace quillon {

int convertFiles(BatchJob& job, const std::vector<FileTask>& tasks, unsigned workers, const FileRunCalls& calls) {
    const unsigned threads = workerCount(workers);
    std::vector<BatchJob> workerJobs;
    for (unsigned worker = 0; worker < threads && worker < std::max<std::size_t>(tasks.size(), 1); ++worker) {
        BatchJob copy = job;
        copy.fileList.clear();
        workerJobs.push_back(std::move(copy));
    }
    const FileConverter convert = calls.convert ? calls.convert : FileConverter(convertFile);
    // What a finished file waits with until it is delivered in walk order.
    std::vector<std::optional<FileOutcome>> finished(tasks.size());
    int converted = 0;

    WorkerPoolCalls pool;
    pool.stopRequested = calls.stopRequested;
    pool.take = [&](std::size_t item, unsigned worker) {
        workerJobs[worker].runTicket = job.runOutputs->enter();  // tickets follow the walk
        if (calls.started) calls.started(item);
    };
    pool.work = [&](std::size_t item, unsigned worker) {
        FileOutcome outcome = convert(workerJobs[worker], tasks[item].source, tasks[item].output);
        if (calls.finished) calls.finished(item, outcome);
        finished[item].emplace(std::move(outcome));
    };
    pool.deliver = [&](std::size_t item) {
        const FileOutcome& outcome = *finished[item];
        const std::string lines = resultsLines(outcome);
        job.results += lines;
        job.logText += lines + logNotes(outcome);
        if (outcome.result == FileResult::Converted) ++converted;
        if (calls.delivered) calls.delivered(item, outcome);
        finished[item].reset();
    };
    runWorkers(tasks.size(), threads, pool);
    return converted;
}

}  // namespace quillon
