#pragma once
// The ranged players' hands dealt together: whether one hand per player can be picked with no
// card shared, and every such pick. Plain functions of the players' hand lists; any thread.

#include <cstdint>
#include <vector>

namespace brisquel {

// Each player's possible hands as 52-bit card masks, already free of the known cards.
using HandMasks = std::vector<std::vector<std::uint64_t>>;

enum class Fit
{
    kFits,
    kCannot,
    kUnknown // the search gave up
};

// A depth-first search over the players with the fewest hands first, which cuts every branch
// where the players still to serve cannot be matched to two free cards each (a bipartite
// matching of players to cards). Tangled ranges are therefore settled without visiting every
// combination; after nodeLimit branches it gives up.
Fit CanDealTogether(const HandMasks &players, std::uint64_t nodeLimit = 2'000'000);

// Calls visit(const int *picks) for every pick of one hand per player with no card shared,
// picks[i] indexing players[i]'s list. Stops and returns false after `limit` picks, or when
// dead branches outnumber them by far.
template <typename Visit>
bool ForEachJointHand(const HandMasks &players, std::uint64_t limit, Visit visit);

// ---------------------------------------------------------------------------------------

namespace detail {

// The players ordered by their number of hands: narrow ranges first keep dead branches few.
std::vector<int> NarrowFirst(const HandMasks &players);

template <typename Visit> struct JointWalk
{
    const HandMasks &players;
    std::vector<int> order;
    std::uint64_t limit, picks = 0, nodes = 0, nodeLimit;
    int chosen[16] = {};
    Visit &visit;

    bool Walk(std::size_t level, std::uint64_t used)
    {
        if (level == order.size()) {
            if (++picks > limit)
                return false;
            visit(static_cast<const int *>(chosen));
            return true;
        }
        const int p = order[level];
        const auto &list = players[std::size_t(p)];
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i] & used)
                continue;
            if (++nodes > nodeLimit)
                return false;
            chosen[p] = int(i);
            if (!Walk(level + 1, used | list[i]))
                return false;
        }
        return true;
    }
};

} // namespace detail

template <typename Visit>
bool ForEachJointHand(const HandMasks &players, std::uint64_t limit, Visit visit)
{
    detail::JointWalk<Visit> walk{players, detail::NarrowFirst(players), limit, 0,
                                  0,       64 * limit + 1'000'000,       {},    visit};
    return walk.Walk(0, 0);
}

} // namespace brisquel
