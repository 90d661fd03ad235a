#include "run/drive/worker_pool.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace quillon {

namespace {

// Far more than workers ever are, so that a slow file holds nobody up
// until hundreds of files have finished behind it.
constexpr std::size_t kLead = 1024;

class Pool {
public:
    Pool(std::size_t count, unsigned workers, const WorkerPoolCalls& calls)
        : count_(count), calls_(calls), working_(workers), done_(kLead, false) {}

    void runWorker(unsigned worker) {
        for (;;) {
            std::size_t item;
            {
                std::unique_lock lock(mutex_);
                roomChanged_.wait(lock, [this] { return next_ == count_ || next_ - delivered_ < kLead; });
                if (next_ == count_ || (calls_.stopRequested && calls_.stopRequested())) break;
                item = next_++;
                if (calls_.take) calls_.take(item, worker);
            }
            calls_.work(item, worker);
            std::lock_guard lock(mutex_);
            done_[item % kLead] = true;
            doneChanged_.notify_one();
        }
        if (calls_.idle) calls_.idle(worker);
        std::lock_guard lock(mutex_);
        --working_;
        doneChanged_.notify_one();
    }

    // Until every worker has stopped and every item taken is delivered. The
    // items taken are those before next_, so once the workers have stopped
    // all of them are done.
    void deliverAll() {
        std::unique_lock lock(mutex_);
        for (;;) {
            doneChanged_.wait(lock, [this] { return done_[delivered_ % kLead] || working_ == 0; });
            if (calls_.gatherFor.count() > 0)
                doneChanged_.wait_for(lock, calls_.gatherFor, [this] {
                    return working_ == 0 || doneInOrder() >= std::min(calls_.gatherItems, kLead);
                });
            // A slot is free again once its item is delivered: no item is
            // taken kLead or more items after delivered_.
            const std::size_t end = delivered_ + doneInOrder();
            for (std::size_t item = delivered_; item < end; ++item) done_[item % kLead] = false;
            if (end == delivered_) return;
            lock.unlock();
            if (calls_.deliver) calls_.deliver(delivered_, end);
            lock.lock();
            delivered_ = end;
            roomChanged_.notify_all();
        }
    }

private:
    std::size_t doneInOrder() const {
        std::size_t end = delivered_;
        while (end < next_ && done_[end % kLead]) ++end;
        return end - delivered_;
    }

    const std::size_t count_;
    const WorkerPoolCalls& calls_;
    std::mutex mutex_;
    std::condition_variable roomChanged_;  // items delivered: workers may take more
    std::condition_variable doneChanged_;  // an item done, or a worker stopped
    std::size_t next_ = 0;
    std::size_t delivered_ = 0;
    unsigned working_;
    std::vector<bool> done_;  // item % kLead: done and not yet delivered
};

}  // namespace

void runWorkers(std::size_t count, unsigned workers, const WorkerPoolCalls& calls) {
    const unsigned threads =
        calls.idle ? std::max(1u, workers) : unsigned(std::clamp<std::size_t>(count, 1, std::max(1u, workers)));
    Pool pool(count, threads, calls);
    std::vector<std::thread> helpers;
    for (unsigned worker = 0; worker < threads; ++worker) helpers.emplace_back([&pool, worker] { pool.runWorker(worker); });
    pool.deliverAll();
    for (std::thread& helper : helpers) helper.join();
}

unsigned workerCount(unsigned requested) {
    if (requested > 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace quillon
