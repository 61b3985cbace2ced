#pragma once
// Exact counting of every deal, done with far fewer showdowns than deals:
// - a deal's hands before the board (a layout) that differs from another only by a relabelling
//   of suits that keeps the board, the dead cards and the known hands has the same answer, so
//   each class of layouts is counted once with its number of members;
// - the board is counted by its ranks: while no suit can make a flush for anyone, every way
//   to give those ranks suits is one showdown weighted by their number; only the boards where
//   one suit holds enough cards for a flush are told apart, by that suit's ranks alone;
// - one counter per set of winners.
// Thread use: any thread; Run shares its work with the pool of WorkPool.h.

#include "pokerlib/EquityCalculator.h"
#include "pokerlib/JointHands.h"
#include "pokerlib/WorkPool.h"

#include <array>
#include <cstdint>
#include <vector>

namespace brisquel {

struct ExactJob
{
    int players = 0;
    std::uint64_t board = 0; // the known board cards
    int boardCards = 0;
    std::uint64_t dead = 0;
    std::array<std::uint64_t, kMaxEquityPlayers> hands{}; // known hands; 0 for a ranged player
    std::vector<int> rangedSeats;
    HandMasks ranged; // per ranged seat, free of the known cards
};

struct ExactCount
{
    std::vector<std::uint64_t> byWinners; // deals per set of winners, bit p for player p
    std::uint64_t deals = 0;
    std::uint64_t showdowns = 0; // evaluated
    int threads = 0;             // that ran
};

class ExactCounter
{
public:
    explicit ExactCounter(ExactJob job);

    // What Plan's answer is for: the figure of showdowns, or only whether the count stays
    // within the limit (an answer at most the limit is then an upper bound of the work).
    enum class PlanFor
    {
        kEstimate,
        kCount,
    };
    // Finds the classes of layouts and returns the showdowns the count will evaluate, as
    // estimated from one layout (the board's rank patterns when there is only one layout), or
    // limit + 1 as soon as it would be more; 0 when the hands cannot be dealt together.
    // progress, when given, is asked now and then whether to go on (its share is 0).
    std::uint64_t Plan(std::uint64_t limit, const std::function<bool(double)> &progress = {},
                       PlanFor purpose = PlanFor::kEstimate);
    // Plan gave up because progress asked it to.
    bool Stopped() const { return m_stopped; }

    std::uint64_t Layouts() const { return m_layouts.size(); }
    // Counts on `threads` threads (after Plan).
    RunEnd Run(int threads, const std::function<bool(double)> &progress, ExactCount &out);

private:
    struct Layout
    {
        std::array<std::uint64_t, kMaxEquityPlayers> hands{};
        std::uint64_t members = 0;
    };

    // The classes of layouts, given the showdowns of one; as Plan answers.
    std::uint64_t FindLayouts(std::uint64_t limit, std::uint64_t perLayout,
                              const std::function<bool(double)> &progress);

    ExactJob m_job;
    std::vector<Layout> m_layouts;
    bool m_stopped = false;
};

} // namespace brisquel
