#include "run/drive/worker_pool.h"

#include <algorithm>
#include <condition_variable>
#include <set>
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
    Pool(std::size_t count, const WorkerPoolCalls& calls) : count_(count), calls_(calls) {}

    void runWorker(unsigned worker) {
        for (;;) {
            std::size_t item;
            {
                std::unique_lock lock(mutex_);
                deliveredChanged_.wait(lock, [this] { return next_ == count_ || next_ - delivered_ < kLead; });
                if (next_ == count_ || (calls_.stopRequested && calls_.stopRequested())) return;
                item = next_++;
                if (calls_.take) calls_.take(item, worker);
            }
            calls_.work(item, worker);
            finish(item);
        }
    }

private:
    // Whichever thread finds the next item in order done delivers it, and
    // the ones after it that are done too; one thread delivers at a time.
    void finish(std::size_t item) {
        std::unique_lock lock(mutex_);
        done_.insert(item);
        if (delivering_) return;
        delivering_ = true;
        while (done_.count(delivered_)) {
            done_.erase(delivered_);
            const std::size_t next = delivered_;
            lock.unlock();
            if (calls_.deliver) calls_.deliver(next);
            lock.lock();
            ++delivered_;
            deliveredChanged_.notify_all();
        }
        delivering_ = false;
    }

    const std::size_t count_;
    const WorkerPoolCalls& calls_;
    std::mutex mutex_;
    std::condition_variable deliveredChanged_;
    std::size_t next_ = 0;
    std::size_t delivered_ = 0;
    bool delivering_ = false;
    std::set<std::size_t> done_;
};

}  // namespace

void runWorkers(std::size_t count, unsigned workers, const WorkerPoolCalls& calls) {
    Pool pool(count, calls);
    const unsigned threads = unsigned(std::clamp<std::size_t>(count, 1, std::max(1u, workers)));
    std::vector<std::thread> helpers;
    for (unsigned worker = 1; worker < threads; ++worker) helpers.emplace_back([&pool, worker] { pool.runWorker(worker); });
    pool.runWorker(0);
    for (std::thread& helper : helpers) helper.join();
}

unsigned workerCount(unsigned requested) {
    if (requested > 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace quillon
