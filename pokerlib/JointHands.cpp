#include "pokerlib/JointHands.h"

#include <algorithm>
#include <bit>

namespace brisquel {

namespace detail {

std::vector<int> NarrowFirst(const HandMasks &players)
{
    std::vector<int> order(players.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return players[std::size_t(a)].size() < players[std::size_t(b)].size();
    });
    return order;
}

} // namespace detail

namespace {

constexpr int kNoSlot = -1;

// Players still to serve, each needing two distinct cards out of `cards[i]`; Kuhn's augmenting
// paths over the players' two slots each.
class CardMatching
{
public:
    explicit CardMatching(const std::vector<std::uint64_t> &cards)
        : m_cards(cards)
    {
        std::fill(std::begin(m_owner), std::end(m_owner), kNoSlot);
    }

    bool EverySlotServed()
    {
        const int slots = 2 * int(m_cards.size());
        if (slots > 52)
            return false;
        for (int slot = 0; slot < slots; ++slot) {
            m_seen = 0;
            if (!Augment(slot))
                return false;
        }
        return true;
    }

private:
    bool Augment(int slot)
    {
        std::uint64_t free = m_cards[std::size_t(slot / 2)] & ~m_seen;
        while (free) {
            const int card = std::countr_zero(free);
            free &= free - 1;
            m_seen |= 1ull << card;
            if (m_owner[card] == kNoSlot || Augment(m_owner[card])) {
                m_owner[card] = slot;
                return true;
            }
        }
        return false;
    }

    const std::vector<std::uint64_t> &m_cards;
    int m_owner[52];
    std::uint64_t m_seen = 0;
};

struct FitSearch
{
    const HandMasks &players;
    std::vector<int> order;
    std::uint64_t nodes = 0, nodeLimit;
    bool gaveUp = false;
    std::vector<std::uint64_t> cards; // scratch for the matching

    // The cards each player from `level` on could still use; false when one has no hand left.
    bool Reachable(std::size_t level, std::uint64_t used)
    {
        cards.clear();
        for (std::size_t l = level; l < order.size(); ++l) {
            std::uint64_t any = 0;
            for (const std::uint64_t hand : players[std::size_t(order[l])])
                if (!(hand & used))
                    any |= hand;
            if (!any)
                return false;
            cards.push_back(any);
        }
        return CardMatching(cards).EverySlotServed();
    }

    bool Search(std::size_t level, std::uint64_t used)
    {
        if (level == order.size())
            return true;
        if (!Reachable(level, used))
            return false;
        for (const std::uint64_t hand : players[std::size_t(order[level])]) {
            if (hand & used)
                continue;
            if (++nodes > nodeLimit) {
                gaveUp = true;
                return false;
            }
            if (Search(level + 1, used | hand))
                return true;
            if (gaveUp)
                return false;
        }
        return false;
    }
};

} // namespace

Fit CanDealTogether(const HandMasks &players, std::uint64_t nodeLimit)
{
    FitSearch search{players, detail::NarrowFirst(players), 0, nodeLimit, false, {}};
    if (search.Search(0, 0))
        return Fit::kFits;
    return search.gaveUp ? Fit::kUnknown : Fit::kCannot;
}

} // namespace brisquel
