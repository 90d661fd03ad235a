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
        copy.results.clear();
        copy.logText.clear();
        copy.fileList.clear();
        workerJobs.push_back(std::move(copy));
    }
    const FileConverter convert = calls.convert ? calls.convert : FileConverter(convertFile);
    // What a finished file waits with until it is delivered in walk order.
    std::vector<std::optional<std::pair<FileOutcome, std::string>>> finished(tasks.size());
    int converted = 0;

    WorkerPoolCalls pool;
    pool.stopRequested = calls.stopRequested;
    pool.take = [&](std::size_t item, unsigned worker) {
        workerJobs[worker].runTicket = job.runOutputs->enter();  // tickets follow the walk
        if (calls.started) calls.started(item);
    };
    pool.work = [&](std::size_t item, unsigned worker) {
        BatchJob& own = workerJobs[worker];
        FileOutcome outcome;
        outcome.result = convert(own, tasks[item].source, tasks[item].output, &outcome);
        std::string lines;
        lines.swap(own.results);
        if (calls.finished) calls.finished(item, outcome, lines);
        finished[item].emplace(std::move(outcome), std::move(lines));
    };
    pool.deliver = [&](std::size_t item) {
        auto& [outcome, lines] = *finished[item];
        job.results += lines;
        job.logText += lines + logNotes(outcome);
        if (outcome.result == kConverted) ++converted;
        if (calls.delivered) calls.delivered(item, outcome);
        finished[item].reset();
    };
    runWorkers(tasks.size(), threads, pool);
    return converted;
}

}  // namespace quillon
