#pragma once
// Numbered units of work shared out to threads as they come free, each thread with a state of
// its own (its counts), with progress reports and a stop.
//
// The threads are a pool kept for the life of the process: started on first use (more when a
// job asks for more), parked between jobs, and joined at exit. The caller's thread works on
// its own job too, so a job never waits for a worker to start it: jobs from several threads
// at once, or from inside another job's work, share the idle workers and always finish.
// Thread use: RunUnits may be called from any thread, and from inside a unit of work. Once
// the process exits, or in a child made by fork, jobs run on their callers' threads alone.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace brisquel {

enum class RunEnd
{
    kDone,
    kStopped,
    kFailed
};

// Threads a job runs on at most, the caller's included.
constexpr int kMaxPoolThreads = 64;

// The threads a job of `units` units runs on when `requested` (0: one per core).
inline int ThreadCount(int requested, std::uint64_t units)
{
    int threads = requested > 0 ? requested : int(std::thread::hardware_concurrency());
    threads = std::clamp(threads, 1, kMaxPoolThreads);
    return int(std::min<std::uint64_t>(std::uint64_t(threads), std::max<std::uint64_t>(units, 1)));
}

// One unit of a job: work(context, unit, slot), slot naming the state of the thread that runs
// it. False ends the job as failed.
using UnitWork = bool (*)(void *context, std::uint64_t unit, std::size_t slot);

// Runs every unit on up to `slots` threads (the caller's among them, as slot 0), each slot
// used by one thread at a time. An exception thrown by the work stops the job and is thrown
// again here once every thread has left it.
RunEnd RunPooled(std::uint64_t units, std::size_t slots,
                 const std::function<bool(double)> &progress, UnitWork work, void *context);

// Workers the pool has started so far.
std::size_t PoolWorkers();

// Runs work(unit, states[slot]) for every unit on states.size() threads, the units handed
// out in order; a unit that returns false ends the run. progress gets the share done and
// stops the run by returning false; it is called by one thread at a time, on any of them,
// with shares that only grow, and not again once it has stopped the run.
// Counts summed over the states in their order are the same whatever the number of threads.
template <typename State, typename Work>
RunEnd RunUnits(std::uint64_t units, std::vector<State> &states,
                const std::function<bool(double)> &progress, Work work)
{
    struct Context
    {
        std::vector<State> *states;
        Work *work;
    } context{&states, &work};
    if (states.empty()) // no thread to run anything
        return units == 0 ? RunEnd::kDone : RunEnd::kFailed;
    return RunPooled(
        units, states.size(), progress,
        [](void *c, std::uint64_t unit, std::size_t slot) {
            const Context &ctx = *static_cast<const Context *>(c);
            return bool((*ctx.work)(unit, (*ctx.states)[slot]));
        },
        &context);
}

} // namespace brisquel
