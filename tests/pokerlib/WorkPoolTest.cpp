#include "pokerlib/WorkPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace brisquel;

// A thread's state that notices two threads using it at once.
struct Slot
{
    std::atomic<bool> busy{false};
    std::uint64_t sum = 0, units = 0;
    bool shared = false;
};

// Runs units 0..units-1 on `threads` slots; each unit adds unit + 1 to its slot's sum.
RunEnd SumUnits(std::uint64_t units, int threads, std::vector<Slot> &slots,
                const std::function<bool(double)> &progress = {})
{
    slots = std::vector<Slot>(std::size_t(threads));
    return RunUnits(units, slots, progress, [](std::uint64_t unit, Slot &slot) {
        slot.shared |= slot.busy.exchange(true);
        slot.sum += unit + 1;
        ++slot.units;
        slot.busy = false;
        return true;
    });
}

std::uint64_t Sum(const std::vector<Slot> &slots, std::uint64_t Slot::*field)
{
    std::uint64_t total = 0;
    for (const Slot &slot : slots) {
        EXPECT_FALSE(slot.shared);
        total += slot.*field;
    }
    return total;
}

// Many small jobs in a row reuse the same workers and each runs every unit once.
TEST(WorkPool, ManySmallJobsOnTheSameWorkers)
{
    std::vector<Slot> slots;
    ASSERT_EQ(SumUnits(4, 3, slots), RunEnd::kDone);
    const std::size_t workers = PoolWorkers();
    EXPECT_GE(workers, 2u);
    for (int job = 0; job < 2000; ++job) {
        const std::uint64_t units = 1 + std::uint64_t(job % 9);
        ASSERT_EQ(SumUnits(units, 1 + job % 3, slots), RunEnd::kDone);
        ASSERT_EQ(Sum(slots, &Slot::sum), units * (units + 1) / 2) << job;
        ASSERT_EQ(Sum(slots, &Slot::units), units) << job;
    }
    EXPECT_EQ(PoolWorkers(), workers);
    EXPECT_EQ(SumUnits(0, 2, slots), RunEnd::kDone);
    EXPECT_EQ(Sum(slots, &Slot::units), 0u);
}

// Threads are offered as asked, up to one per unit and the pool's ceiling; states beyond the
// workers there are simply stay unused.
TEST(WorkPool, ThreadCountsAndSpareStates)
{
    EXPECT_EQ(ThreadCount(3, 2), 2);
    EXPECT_EQ(ThreadCount(3, 0), 1);
    EXPECT_EQ(ThreadCount(1024, 1'000'000), kMaxPoolThreads);
    EXPECT_GE(ThreadCount(0, 1'000'000), 1);
    std::vector<Slot> slots;
    ASSERT_EQ(SumUnits(5000, 3 * kMaxPoolThreads, slots), RunEnd::kDone);
    EXPECT_EQ(Sum(slots, &Slot::sum), 5000u * 5001 / 2);
    EXPECT_LE(PoolWorkers(), std::size_t(kMaxPoolThreads - 1));
}

// Progress reports only grow and end at 1; a false answer stops the job soon.
TEST(WorkPool, ProgressAndStopMidJob)
{
    std::vector<Slot> slots;
    std::vector<double> shares;
    ASSERT_EQ(SumUnits(500, 2, slots,
                       [&shares](double done) {
                           shares.push_back(done);
                           return true;
                       }),
              RunEnd::kDone);
    ASSERT_EQ(shares.size(), 500u);
    for (std::size_t i = 1; i < shares.size(); ++i)
        EXPECT_LT(shares[i - 1], shares[i]);
    EXPECT_EQ(shares.back(), 1.0);

    int calls = 0;
    const RunEnd end = SumUnits(100'000, 2, slots, [&calls](double) { return ++calls < 10; });
    EXPECT_EQ(end, RunEnd::kStopped);
    EXPECT_EQ(calls, 10); // none after the stop
    const std::uint64_t ran = Sum(slots, &Slot::units);
    EXPECT_GE(ran, 10u);
    EXPECT_LE(ran, 11u); // the other thread may finish the unit it holds
}

// A unit that fails, or work or a progress report that throws, ends the job; the pool goes on
// serving the next one.
TEST(WorkPool, FailingAndThrowingWork)
{
    for (const int threads : {1, 2, 3}) {
        std::vector<int> states(static_cast<std::size_t>(threads));
        std::atomic<bool> over{false};
        std::atomic<int> late{0};
        constexpr std::uint64_t kUnits = 100'000;
        const RunEnd failed =
            RunUnits(kUnits, states, {}, [&over, &late](std::uint64_t unit, int &) {
                late += over.load();
                if (unit != 7)
                    return true;
                over = true;
                return false;
            });
        EXPECT_EQ(failed, RunEnd::kFailed) << threads;
        // The others take units until the failing thread has marked the job stopped, which a
        // thread that loses its core in between does late: a few units, not the job's rest.
        EXPECT_LT(late.load(), int(kUnits / 2));
        EXPECT_THROW(RunUnits(1000, states, {},
                              [](std::uint64_t unit, int &) {
                                  if (unit == 5)
                                      throw std::runtime_error("bad unit");
                                  return true;
                              }),
                     std::runtime_error);
        std::vector<Slot> slots;
        EXPECT_THROW(SumUnits(1000, threads, slots,
                              [](double done) {
                                  if (done > 0.5)
                                      throw std::runtime_error("bad report");
                                  return true;
                              }),
                     std::runtime_error);
        EXPECT_EQ(SumUnits(100, threads, slots), RunEnd::kDone);
        EXPECT_EQ(Sum(slots, &Slot::sum), 5050u);
    }
}

// Jobs from two threads at once, and a job started from inside a unit of another, all finish
// with every unit run once.
TEST(WorkPool, JobsFromSeveralThreadsAndNested)
{
    std::atomic<int> wrong{0};
    const auto caller = [&wrong] {
        std::vector<Slot> slots;
        for (int job = 0; job < 300; ++job)
            if (SumUnits(40, 2 + job % 2, slots) != RunEnd::kDone ||
                Sum(slots, &Slot::sum) != 40 * 41 / 2)
                ++wrong;
    };
    std::thread first(caller), second(caller);
    caller();
    first.join();
    second.join();
    EXPECT_EQ(wrong.load(), 0);

    std::vector<std::uint64_t> outer(3);
    const RunEnd end = RunUnits(12, outer, {}, [](std::uint64_t unit, std::uint64_t &sum) {
        std::vector<Slot> inner;
        if (SumUnits(unit + 1, 2, inner) != RunEnd::kDone)
            return false;
        sum += Sum(inner, &Slot::sum);
        return true;
    });
    EXPECT_EQ(end, RunEnd::kDone);
    std::uint64_t total = 0;
    for (const std::uint64_t sum : outer)
        total += sum;
    EXPECT_EQ(total, 364u); // the sums of 1..n for n = 1..12
}

// The parked workers are joined when the process exits, without a crash or a hang.
TEST(WorkPoolDeathTest, ExitsCleanlyWithParkedWorkers)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::vector<Slot> slots;
            for (int job = 0; job < 10; ++job)
                SumUnits(50, 4, slots);
            std::exit(Sum(slots, &Slot::sum) == 1275 ? 7 : 1);
        },
        ::testing::ExitedWithCode(7), "");
}

// A child made by fork has none of the workers: its jobs run on its own thread, and its exit
// does not wait for threads it does not have.
TEST(WorkPoolDeathTest, ForkedChildRunsJobsAndExits)
{
    std::vector<Slot> slots;
    ASSERT_EQ(SumUnits(50, 3, slots), RunEnd::kDone);
    GTEST_FLAG_SET(death_test_style, "fast"); // a plain fork, workers and all
    EXPECT_EXIT(
        {
            const bool done = SumUnits(50, 3, slots) == RunEnd::kDone;
            std::exit(done && Sum(slots, &Slot::sum) == 1275 && PoolWorkers() == 0 ? 7 : 1);
        },
        ::testing::ExitedWithCode(7), "");
}

} // namespace
