#include "run/drive/worker_pool.h"

#include <algorithm>
#include <chrono>
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

// How long the committer waits for more items, and how many need no wait.
constexpr std::chrono::milliseconds kCommitWindow{10};
constexpr std::size_t kCommitBatch = 32;

class Pool {
public:
    Pool(std::size_t count, const WorkerPoolCalls& calls) : count_(count), calls_(calls) {}

    void runWorker(unsigned worker) {
        for (;;) {
            std::size_t item;
            {
                std::unique_lock lock(mutex_);
                for (;;) {
                    deliverDone(lock);
                    if (next_ == count_ || (calls_.stopRequested && calls_.stopRequested())) return;
                    if (next_ - delivered_ < kLead) break;
                    changed_.wait(lock);
                }
                item = next_++;
                if (calls_.take) calls_.take(item, worker);
            }
            calls_.work(item, worker);
            std::lock_guard lock(mutex_);
            if (calls_.commit) {
                toCommit_.push_back(item);
                if (toCommit_.size() == 1 || toCommit_.size() >= kCommitBatch) commitWaiting_.notify_one();
            } else {
                done_.insert(item);
            }
        }
    }

    // Until the workers have stopped and every item they worked is
    // committed. The committer only commits: the workers deliver, so that
    // what delivering allocates stays with their threads.
    void runCommitter() {
        std::vector<std::size_t> items;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                commitWaiting_.wait(lock, [this] { return !toCommit_.empty() || workersDone_; });
                if (toCommit_.empty()) return;
                // A little wait gathers more items for the one sync: each
                // sync costs the disk (and the processors) about the same
                // for one file as for many.
                commitWaiting_.wait_for(lock, kCommitWindow,
                                        [this] { return toCommit_.size() >= kCommitBatch || workersDone_; });
                items.swap(toCommit_);
            }
            calls_.commit(items);
            std::lock_guard lock(mutex_);
            done_.insert(items.begin(), items.end());
            items.clear();
            changed_.notify_all();  // a worker waiting for room delivers them
        }
    }

    void workersStopped() {
        std::lock_guard lock(mutex_);
        workersDone_ = true;
        commitWaiting_.notify_one();
    }

    // What is done once every worker has stopped.
    void deliverRest() {
        std::unique_lock lock(mutex_);
        deliverDone(lock);
    }

private:
    // Whichever thread finds the next item in order done delivers it, and
    // the ones after it that are done too; one thread delivers at a time.
    void deliverDone(std::unique_lock<std::mutex>& lock) {
        if (delivering_) return;
        delivering_ = true;
        while (done_.count(delivered_)) {
            done_.erase(delivered_);
            const std::size_t next = delivered_;
            lock.unlock();
            if (calls_.deliver) calls_.deliver(next);
            lock.lock();
            ++delivered_;
            changed_.notify_all();
        }
        delivering_ = false;
    }

    const std::size_t count_;
    const WorkerPoolCalls& calls_;
    std::mutex mutex_;
    std::condition_variable changed_;  // an item delivered, or committed
    std::size_t next_ = 0;
    std::size_t delivered_ = 0;
    bool delivering_ = false;
    std::set<std::size_t> done_;
    std::condition_variable commitWaiting_;
    std::vector<std::size_t> toCommit_;  // worked, in the order their work ended
    bool workersDone_ = false;
};

}  // namespace

void runWorkers(std::size_t count, unsigned workers, const WorkerPoolCalls& calls) {
    Pool pool(count, calls);
    const unsigned threads = unsigned(std::clamp<std::size_t>(count, 1, std::max(1u, workers)));
    std::thread committer;
    if (calls.commit) committer = std::thread([&pool] { pool.runCommitter(); });
    std::vector<std::thread> helpers;
    for (unsigned worker = 1; worker < threads; ++worker) helpers.emplace_back([&pool, worker] { pool.runWorker(worker); });
    pool.runWorker(0);
    for (std::thread& helper : helpers) helper.join();
    if (committer.joinable()) {
        pool.workersStopped();
        committer.join();
    }
    pool.deliverRest();
}

unsigned workerCount(unsigned requested) {
    if (requested > 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace quillon
