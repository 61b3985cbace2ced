#include "pokerlib/Sampler.h"
#include "pokerlib/CardCodes.h"
#include "pokerlib/Carrowby.h"
#include "pokerlib/Dealer.h"
#include "pokerlib/Evaluator.h"
#include "pokerlib/HandValue.h"
#include "pokerlib/Rng.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace brisquel {

namespace {

// Known cards as a 52-bit mask; false when a card is out of range or repeated.
bool KnownCards(const int hole[2], const int board[5], int boardCount, std::uint64_t &used)
{
    used = 0;
    if (!hole || boardCount < 0 || boardCount > 5 || (boardCount > 0 && !board))
        return false;
    for (int i = 0; i < 2 + boardCount; ++i) {
        const int c = i < 2 ? hole[i] : board[i - 2];
        if (c < 0 || c > 51 || (used >> c & 1))
            return false;
        used |= 1ull << c;
    }
    return true;
}

} // namespace

int CombinationCode(std::uint32_t value)
{
    switch (CategoryOf(value)) {
    case kHighCard:
        return 1 + RankNibble(value, 0);
    case kOnePair:
        return 14 + RankNibble(value, 0);
    default:
        return 27 + CategoryOf(value) - kTwoPair;
    }
}

int CombinationOfCards(const int hole[2], const int board[5], int boardCount)
{
    int cards[7];
    int n = 0;
    if (hole)
        for (int i = 0; i < 2; ++i)
            if (hole[i] >= 0 && hole[i] < 52)
                cards[n++] = hole[i];
    if (board)
        for (int i = 0; i < std::clamp(boardCount, 0, 5); ++i)
            if (board[i] >= 0 && board[i] < 52)
                cards[n++] = board[i];
    return CombinationCode(EvaluateCards(cards, n));
}

double EquityVsRandom(std::uint64_t rng[4], const int hole[2], const int board[5], int boardCount,
                      int players, int trials)
{
    std::uint64_t known = 0;
    if (trials <= 0 || !KnownCards(hole, board, boardCount, known))
        return 0.0;
    players = std::clamp(players, 1, kMaxSeats);
    const int opponents = players - 1;

    const EvalTables &t = Tables();
    Hand fixedBoard;
    for (int i = 0; i < boardCount; ++i)
        fixedBoard += CardHand(t, board[i]);
    const Hand heroHole = CardHand(t, hole[0]) + CardHand(t, hole[1]);

    Dealer dealer(rng, known);
    const int missing = 5 - boardCount;
    // Shares counted in units of 1/2520, which every tie of up to ten players divides.
    constexpr std::int64_t kWhole = 2520;
    static constexpr std::int64_t kShare[kMaxSeats] = {
        kWhole,     kWhole / 2, kWhole / 3, kWhole / 4, kWhole / 5,
        kWhole / 6, kWhole / 7, kWhole / 8, kWhole / 9, kWhole / 10};
    std::int64_t total = 0;
    for (int trial = 0; trial < trials; ++trial) {
        dealer.Restart();
        Hand b = fixedBoard;
        for (int i = 0; i < missing; ++i)
            b += CardHand(t, dealer.Deal());
        const std::uint16_t hero = Evaluate(t, b + heroHole);
        if (opponents == 1) {
            // Heads-up without branches: the outcome is a coin flip to the predictor.
            const int c1 = dealer.Deal();
            const int c2 = dealer.Deal();
            const std::uint16_t v = Evaluate(t, b + CardHand(t, c1) + CardHand(t, c2));
            total += kShare[1] * (2 * (hero > v) + (hero == v));
            continue;
        }
        int ties = 0;
        bool lost = false;
        for (int o = 0; o < opponents; ++o) {
            const int c1 = dealer.Deal();
            const int c2 = dealer.Deal();
            const std::uint16_t v = Evaluate(t, b + CardHand(t, c1) + CardHand(t, c2));
            if (v > hero) {
                lost = true;
                break;
            }
            ties += v == hero;
        }
        if (!lost)
            total += kShare[ties];
    }
    return double(total) / double(kWhole) / trials;
}

double EquityVsRange(std::uint64_t rng[4], const int hole[2], const int board[5], int boardCount,
                     const Spec &spec, int trials)
{
    std::uint64_t known = 0;
    if (trials <= 0 || !KnownCards(hole, board, boardCount, known))
        return 0.0;
    struct LiveCombo
    {
        std::uint64_t mask; // its two cards
        Hand hand;
    };
    const EvalTables &t = Tables();
    std::vector<LiveCombo> live;
    live.reserve(spec.combos.size());
    // A combination listed twice (say in both card orders) is still one combination.
    std::uint64_t seen[52] = {};
    for (const auto &[a, b] : spec.combos) {
        if (a < 0 || a > 51 || b < 0 || b > 51 || a == b)
            continue;
        const int lo = std::min(a, b), hi = std::max(a, b);
        const std::uint64_t m = (1ull << lo) | (1ull << hi);
        if ((m & known) || (seen[lo] >> hi & 1))
            continue;
        seen[lo] |= 1ull << hi;
        live.push_back({m, CardHand(t, lo) + CardHand(t, hi)});
    }
    if (live.empty())
        return EquityVsRandom(rng, hole, board, boardCount, 2, trials);

    Hand fixedBoard;
    for (int i = 0; i < boardCount; ++i)
        fixedBoard += CardHand(t, board[i]);
    const Hand heroHole = CardHand(t, hole[0]) + CardHand(t, hole[1]);

    Dealer dealer(rng, known);
    const int missing = 5 - boardCount;
    std::int64_t halves = 0; // a win counts two, a tie one
    for (int trial = 0; trial < trials; ++trial) {
        const LiveCombo &villainCards = live[dealer.Below(std::uint32_t(live.size()))];
        dealer.Restart();
        Hand b = fixedBoard;
        for (int i = 0; i < missing; ++i)
            b += CardHand(t, dealer.DealExcept(villainCards.mask));
        const std::uint16_t hero = Evaluate(t, b + heroHole);
        const std::uint16_t villain = Evaluate(t, b + villainCards.hand);
        halves += 2 * (hero > villain) + (hero == villain);
    }
    return double(halves) / 2.0 / trials;
}

} // namespace brisquel
