#pragma once
// Works through the items of a run on several threads at once while handing
// their results on in the items' own order, so that a parallel run reports
// exactly what a sequential one would.

#include <cstddef>
#include <functional>

namespace quillon {

struct WorkerPoolCalls {
    // Called for each item as a worker takes it, in item order and one at a
    // time, before work: the place to do what must follow the walk order.
    std::function<void(std::size_t item, unsigned worker)> take;
    // The work on one item, on the worker's thread.
    std::function<void(std::size_t item, unsigned worker)> work;
    // Called for each item in item order, one at a time, once it and every
    // item before it are done.
    std::function<void(std::size_t item)> deliver;
    // Once true, no further item is taken; items taken are still finished.
    std::function<bool()> stopRequested;
};

// Runs items 0 to count - 1 on `workers` threads (the calling thread is one
// of them; at most one thread per item). No item is taken more than a fixed
// number of items after the first one not yet delivered: behind one slow
// file, the others' outcomes wait in memory, and that must not grow with the
// number of items.
void runWorkers(std::size_t count, unsigned workers, const WorkerPoolCalls& calls);

// One worker per core when `requested` is 0.
unsigned workerCount(unsigned requested);

}  // namespace quillon
