#pragma once
// Works through the items of a run on several threads at once while handing
// their results on in the items' own order, so that a parallel run reports
// exactly what a sequential one would.

#include <chrono>
#include <cstddef>
#include <functional>

namespace quillon {

struct WorkerPoolCalls {
    // Called for each item as a worker takes it, in item order and one at a
    // time, before work: the place to do what must follow the walk order.
    std::function<void(std::size_t item, unsigned worker)> take;
    // The work on one item, on the worker's thread.
    std::function<void(std::size_t item, unsigned worker)> work;
    // Called on the calling thread with the items from first to end - 1,
    // once they and every item before them are done: every item once, in
    // item order. Each call gets all the items in order that are done when
    // it is made, so that what each call costs whatever its number of items
    // (a sync of the disk) is paid once for them, while the workers go on.
    std::function<void(std::size_t first, std::size_t end)> deliver;
    // Once an item is ready to deliver, how long to wait for up to
    // gatherItems in order before the call, when one call costs more than
    // waiting does (none: each call takes what is ready).
    std::chrono::milliseconds gatherFor{0};
    std::size_t gatherItems = 1;
    // Once true, no further item is taken; items taken are still finished.
    std::function<bool()> stopRequested;
    // Called on a worker that finds no item left to take, before it stops:
    // what it can do for the items other workers still work on. With it,
    // every worker runs however few the items are.
    std::function<void(unsigned worker)> idle;
};

// Runs items 0 to count - 1 on `workers` threads of their own (without
// calls.idle, at most one per item) while the calling thread delivers. No
// item is taken more than a fixed number of items after the first one not
// yet delivered: behind one slow file, the others' outcomes wait in memory,
// and that must not grow with the number of items.
void runWorkers(std::size_t count, unsigned workers, const WorkerPoolCalls& calls);

// One worker per core when `requested` is 0.
unsigned workerCount(unsigned requested);

}  // namespace quillon
