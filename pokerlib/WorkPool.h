#pragma once
// Numbered units of work shared out to threads as they come free, each thread with a state of
// its own (its counts), with progress reports and a stop.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace brisquel {

enum class RunEnd
{
    kDone,
    kStopped,
    kFailed
};

inline int ThreadCount(int requested, std::uint64_t units)
{
    int threads = requested > 0 ? requested : int(std::thread::hardware_concurrency());
    threads = std::max(threads, 1);
    return int(std::min<std::uint64_t>(std::uint64_t(threads), std::max<std::uint64_t>(units, 1)));
}

// Runs work(unit, states[thread]) for every unit on states.size() threads, the units handed
// out in order; a unit that returns false ends the run. progress gets the share done and
// stops the run by returning false; it is called by one thread at a time.
template <typename State, typename Work>
RunEnd RunUnits(std::uint64_t units, std::vector<State> &states,
                const std::function<bool(double)> &progress, Work work)
{
    std::atomic<std::uint64_t> next{0};
    std::atomic<bool> stop{false}, failed{false};
    std::mutex progressLock;
    const auto run = [&](State &state) {
        for (;;) {
            const std::uint64_t unit = next.fetch_add(1, std::memory_order_relaxed);
            if (unit >= units || stop.load(std::memory_order_relaxed))
                return;
            if (!work(unit, state)) {
                failed = true;
                stop = true;
                return;
            }
            if (progress) {
                std::lock_guard lock(progressLock);
                if (!progress(double(unit + 1) / double(units)))
                    stop = true;
            }
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t i = 1; i < states.size(); ++i)
        pool.emplace_back(run, std::ref(states[i]));
    run(states[0]);
    for (auto &thread : pool)
        thread.join();
    return failed ? RunEnd::kFailed : stop ? RunEnd::kStopped : RunEnd::kDone;
}

} // namespace brisquel
