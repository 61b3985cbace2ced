#include "pokerlib/EquityTable.h"

#include "pokerlib/StoredTables.h"

#include <algorithm>

namespace brisquel::equity {

bool Fail(EquityResult &r, const std::string &message)
{
    r.ok = false;
    r.error = message;
    return false;
}

bool Prepare(const EquitySetup &s, bool exact, Table &t, EquityResult &r)
{
    const EvalTables &tables = Tables();
    t.players = int(s.players.size());
    if (t.players < 2 || t.players > kMaxEquityPlayers)
        return Fail(r, "equity needs 2 to 10 players");
    const auto n = s.board.size();
    if (n != 0 && n != 3 && n != 4 && n != 5)
        return Fail(r, "the board holds 0, 3, 4 or 5 cards");
    const auto valid = [](int c) { return c >= 0 && c < 52; };
    for (const int c : s.board) {
        if (!valid(c) || (t.known >> c & 1))
            return Fail(r, "a board card is not a card or is repeated");
        t.known |= 1ull << c;
        t.board += tables.cards[c];
    }
    t.boardCards = t.known;
    for (const int c : s.dead) {
        if (!valid(c) || (t.known >> c & 1))
            return Fail(r, "a dead card is not a card, is repeated or is on the board");
        t.known |= 1ull << c;
    }
    t.deadCards = t.known & ~t.boardCards;
    t.missing = 5 - int(n);
    // Known hands first, so that every range can drop what they hold.
    for (int p = 0; p < t.players; ++p) {
        const ComboList &list = s.players[p].combos;
        if (list.size() != 1)
            continue;
        const auto [a, b] = list[0];
        if (!valid(a) || !valid(b) || a == b || (t.known >> a & 1) || (t.known >> b & 1))
            return Fail(r, "player " + std::to_string(p + 1) + "'s hand clashes with known cards");
        t.known |= (1ull << a) | (1ull << b);
        t.fixedHands[p] = tables.cards[a] + tables.cards[b];
        t.fixedMasks[std::size_t(p)] = (1ull << a) | (1ull << b);
        t.fixed.push_back(p);
    }
    for (int c = 0; c < 52; ++c)
        if (!(t.known >> c & 1))
            t.deck.push_back(c);
    // The dealers draw from the deck without looking at its size: a deal that needs more cards
    // than are left would read past it, or count no deal at all.
    const std::size_t needed = std::size_t(t.missing) + 2 * (t.players - t.fixed.size());
    if (needed > t.deck.size())
        return Fail(r, "the deal needs " + std::to_string(needed) + " cards but only " +
                           std::to_string(t.deck.size()) + " are left");
    for (int p = 0; p < t.players; ++p) {
        ComboList list = s.players[p].combos;
        if (list.size() == 1)
            continue;
        if (list.empty()) {
            if (!exact) {
                t.random.push_back(p);
                continue;
            }
            for (std::size_t i = 0; i < t.deck.size(); ++i)
                for (std::size_t j = i + 1; j < t.deck.size(); ++j)
                    list.emplace_back(t.deck[j], t.deck[i]);
        }
        std::vector<Combo> live;
        std::uint64_t seen[52] = {};
        for (const auto &[a, b] : list) {
            if (!valid(a) || !valid(b) || a == b)
                return Fail(r, "player " + std::to_string(p + 1) + "'s range holds a bad card");
            const int hi = std::max(a, b), lo = std::min(a, b);
            const std::uint64_t mask = (1ull << hi) | (1ull << lo);
            if ((mask & t.known) || (seen[hi] >> lo & 1))
                continue;
            seen[hi] |= 1ull << lo;
            live.push_back({mask, tables.cards[hi] + tables.cards[lo]});
        }
        if (live.empty())
            return Fail(r, "every hand of player " + std::to_string(p + 1) +
                               "'s range clashes with known cards");
        t.ranged.push_back(p);
        t.combos.push_back(std::move(live));
    }
    for (int p = 1; p < t.players; ++p)
        if (std::find(t.random.begin(), t.random.end(), p) == t.random.end())
            t.holding.push_back(p);
    return true;
}

} // namespace brisquel::equity
