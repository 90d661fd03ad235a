#include "run/drive/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace quillon {
namespace {

// Items of uneven work on one and on several workers, run whole and stopped
// part-way: every item taken is worked once and delivered once, in item
// order, on the calling thread, in ranges that follow each other; and no
// item is delivered before its work has ended.
TEST(WorkerPool, DeliversEveryTakenItemOnceInOrderOnTheCallingThread) {
    constexpr std::size_t kItems = 3000;  // more than a worker may run ahead of delivery
    for (const unsigned workers : {1u, 3u})
        for (const std::size_t stopAt : {kItems, std::size_t(150)}) {
            SCOPED_TRACE(testing::Message() << workers << " workers, stop at " << stopAt);
            std::vector<std::atomic<int>> worked(kItems);
            std::atomic<std::size_t> taken{0};
            std::vector<std::size_t> delivered;
            bool workedFirst = true, onCaller = true;
            std::size_t ranges = 0;
            const std::thread::id caller = std::this_thread::get_id();
            WorkerPoolCalls calls;
            calls.stopRequested = [&] { return taken.load() >= stopAt; };
            calls.take = [&](std::size_t, unsigned) { ++taken; };
            calls.work = [&](std::size_t item, unsigned) {
                std::this_thread::sleep_for(std::chrono::microseconds(item % 97 == 0 ? 2000 : 20));
                ++worked[item];
            };
            calls.deliver = [&](std::size_t first, std::size_t end) {
                ++ranges;
                onCaller = onCaller && std::this_thread::get_id() == caller;
                EXPECT_LT(first, end);
                EXPECT_EQ(first, delivered.size());
                for (std::size_t item = first; item < end; ++item) {
                    workedFirst = workedFirst && worked[item] == 1;
                    delivered.push_back(item);
                }
            };
            runWorkers(kItems, workers, calls);
            ASSERT_EQ(delivered.size(), taken.load());
            for (std::size_t item = 0; item < delivered.size(); ++item) {
                EXPECT_EQ(delivered[item], item);
                EXPECT_EQ(worked[item], 1);
            }
            EXPECT_TRUE(workedFirst);
            EXPECT_TRUE(onCaller);
            if (stopAt == kItems) {
                EXPECT_EQ(delivered.size(), kItems);
                // Several workers finish items while one is delivered: some
                // ranges hold more than one.
                if (workers > 1) {
                    EXPECT_LT(ranges, kItems);
                }
            }
        }
}

}  // namespace
}  // namespace quillon
