// The renderer's threads and the bands of rows they share a frame by.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "render/row_load.h"
#include "render/worker_pool.h"

using namespace verdel;

TEST(WorkerPool, EveryRunCallsEachThreadNumberOnceOnItsOwnThread)
{
    for (const int size : {1, 2, 3, 5}) {
        SCOPED_TRACE(size);
        TWorkerPool pool(size);
        ASSERT_EQ(pool.Size(), size);
        for (int round = 0; round < 200; ++round) {
            const int count = 1 + round % size;
            std::vector<int> calls(static_cast<size_t>(size), 0);
            std::vector<std::thread::id> ids(static_cast<size_t>(size));
            auto task = [&](int t) {
                ++calls[static_cast<size_t>(t)];
                ids[static_cast<size_t>(t)] = std::this_thread::get_id();
            };
            pool.Run(count, task);
            // Every call has returned by now, so plain ints can be read.
            for (int t = 0; t < size; ++t) ASSERT_EQ(calls[static_cast<size_t>(t)], t < count ? 1 : 0) << t;
            EXPECT_EQ(ids[0], std::this_thread::get_id());
            EXPECT_EQ(std::set<std::thread::id>(ids.begin(), ids.begin() + count).size(), static_cast<size_t>(count));
        }
    }
}

TEST(WorkerPool, CountsAreClampedToThePool)
{
    TWorkerPool pool(2);
    std::atomic<int> calls{0};
    auto task = [&](int) { ++calls; };
    pool.Run(0, task);
    EXPECT_EQ(calls, 1);
    pool.Run(9, task);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(TWorkerPool(0).Size(), 1);
    EXPECT_EQ(TWorkerPool(1000).Size(), TWorkerPool::MaxThreads);
    EXPECT_GE(TWorkerPool::MachineThreads(), 1);
    EXPECT_LE(TWorkerPool::MachineThreads(), TWorkerPool::MaxThreads);
}

namespace {

std::vector<int> Cut(const TRowLoad& load, int threads, int bands)
{
    std::vector<int> first(static_cast<size_t>(bands) + 1, -1);
    load.Split(threads, bands, first.data());
    return first;
}

} // namespace

TEST(RowLoad, BandsShareTheWorkEvenlyAndCoverEveryRowInOrder)
{
    TRowLoad load;
    load.SetSize(2, 100);
    load.Clear(0);
    load.Clear(1);
    // The same object on every row: equal bands of rows.
    for (int r = 0; r < 100; ++r) load.AddObject(r % 2, r, r, 3);
    EXPECT_EQ(Cut(load, 2, 4), (std::vector<int>{0, 25, 50, 75, 100}));
    EXPECT_EQ(Cut(load, 2, 1), (std::vector<int>{0, 100}));

    // All the work in rows 40..59: the bands cut that range, and the rest of
    // the rows go to the first and last band.
    load.Clear(0);
    load.Clear(1);
    load.AddObject(0, 40, 59, 10);
    load.AddObject(1, 40, 59, 10);
    EXPECT_EQ(Cut(load, 2, 2), (std::vector<int>{0, 50, 100}));
    const std::vector<int> four = Cut(load, 2, 4);
    EXPECT_EQ(four, (std::vector<int>{0, 45, 50, 55, 100}));

    // Only the counts of the threads asked for are summed.
    load.Clear(0);
    load.AddObject(0, 0, 9, 1);
    EXPECT_EQ(Cut(load, 1, 2), (std::vector<int>{0, 5, 100}));
}

TEST(RowLoad, AnEmptyFrameStillGivesOrderedBands)
{
    TRowLoad load;
    for (const int height : {0, 1, 7}) {
        SCOPED_TRACE(height);
        load.SetSize(3, height);
        for (int t = 0; t < 3; ++t) load.Clear(t);
        const std::vector<int> first = Cut(load, 3, 3);
        EXPECT_EQ(first.front(), 0);
        EXPECT_EQ(first.back(), height);
        EXPECT_TRUE(std::is_sorted(first.begin(), first.end()));
    }
}
