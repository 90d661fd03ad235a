#include "run/drive/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace quillon {
namespace {

// Items of uneven work on several workers, with and without a committer,
// and a stop part-way: every item taken is worked, committed (when there is
// a committer) before it is delivered, and delivered once, in item order.
TEST(WorkerPool, DeliversEveryTakenItemInOrderAndOnlyOnceCommitted) {
    constexpr std::size_t kItems = 400;
    for (const unsigned workers : {1u, 3u})
        for (const bool committing : {false, true})
            for (const std::size_t stopAt : {kItems, std::size_t(150)}) {
                SCOPED_TRACE(testing::Message() << workers << " workers, commit " << committing << ", stop " << stopAt);
                std::vector<std::atomic<int>> worked(kItems), committed(kItems);
                std::atomic<std::size_t> taken{0};
                std::vector<std::size_t> delivered;
                bool committedFirst = true;
                WorkerPoolCalls calls;
                calls.stopRequested = [&] { return taken.load() >= stopAt; };
                calls.take = [&](std::size_t, unsigned) { ++taken; };
                calls.work = [&](std::size_t item, unsigned) {
                    std::this_thread::sleep_for(std::chrono::microseconds(item % 7 == 0 ? 300 : 10));
                    ++worked[item];
                };
                if (committing)
                    calls.commit = [&](const std::vector<std::size_t>& items) {
                        for (const std::size_t item : items) committed[item] += worked[item].load();
                    };
                calls.deliver = [&](std::size_t item) {
                    committedFirst = committedFirst && (!committing || committed[item] == 1);
                    delivered.push_back(item);
                };
                runWorkers(kItems, workers, calls);
                ASSERT_EQ(delivered.size(), taken.load());
                for (std::size_t item = 0; item < delivered.size(); ++item) {
                    EXPECT_EQ(delivered[item], item);
                    EXPECT_EQ(worked[item], 1);
                }
                EXPECT_TRUE(committedFirst);
                if (stopAt == kItems) {
                    EXPECT_EQ(delivered.size(), kItems);
                }
            }
}

}  // namespace
}  // namespace quillon
