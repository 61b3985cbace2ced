#include "Sampler.h"
#include "Carrowby.h"
#include "Evaluator.h"
#include "HandValue.h"
#include "Rng.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace brisquel {

namespace {

constexpr int kMaxPlayers = 10;

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

// Draws cards uniformly from those not yet used: six random bits at a time, rejecting
// values above 51 and cards already out, so no card is favoured.
class CardDrawer
{
public:
    explicit CardDrawer(std::uint64_t *rng) : m_rng(rng) {}

    int Draw(std::uint64_t &used)
    {
        for (;;) {
            if (m_bitsLeft < 6) {
                m_bits = NextXoshiro(m_rng);
                m_bitsLeft = 64;
            }
            const int c = int(m_bits & 63);
            m_bits >>= 6;
            m_bitsLeft -= 6;
            if (c < 52 && !(used >> c & 1)) {
                used |= 1ull << c;
                return c;
            }
        }
    }

private:
    std::uint64_t *m_rng;
    std::uint64_t m_bits = 0;
    int m_bitsLeft = 0;
};

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

double EquityVsRandom(std::uint64_t rng[4], const int hole[2], const int board[5],
                      int boardCount, int players, int trials)
{
    std::uint64_t known = 0;
    if (trials <= 0 || !KnownCards(hole, board, boardCount, known))
        return 0.0;
    players = std::clamp(players, 1, kMaxPlayers);
    const int opponents = players - 1;

    const EvalTables &t = Tables();
    Hand fixedBoard;
    for (int i = 0; i < boardCount; ++i)
        fixedBoard += CardHand(t, board[i]);
    const Hand heroHole = CardHand(t, hole[0]) + CardHand(t, hole[1]);

    CardDrawer drawer(rng);
    double total = 0.0;
    for (int trial = 0; trial < trials; ++trial) {
        std::uint64_t used = known;
        Hand b = fixedBoard;
        for (int i = boardCount; i < 5; ++i)
            b += CardHand(t, drawer.Draw(used));
        const std::uint16_t hero = Evaluate(t, b + heroHole);
        int ties = 0;
        bool lost = false;
        for (int o = 0; o < opponents; ++o) {
            const int c1 = drawer.Draw(used);
            const int c2 = drawer.Draw(used);
            const std::uint16_t v = Evaluate(t, b + CardHand(t, c1) + CardHand(t, c2));
            if (v > hero) {
                lost = true;
                break;
            }
            ties += v == hero;
        }
        if (!lost)
            total += 1.0 / (1 + ties);
    }
    return total / trials;
}

double EquityVsRange(std::uint64_t rng[4], const int hole[2], const int board[5],
                     int boardCount, const Spec &spec, int trials)
{
    std::uint64_t known = 0;
    if (trials <= 0 || !KnownCards(hole, board, boardCount, known))
        return 0.0;
    std::vector<std::uint64_t> live; // each live combination as a two-card mask
    live.reserve(spec.combos.size());
    for (const auto &[a, b] : spec.combos) {
        if (a < 0 || a > 51 || b < 0 || b > 51 || a == b)
            continue;
        const std::uint64_t m = (1ull << a) | (1ull << b);
        if (!(m & known))
            live.push_back(m);
    }
    if (live.empty())
        return EquityVsRandom(rng, hole, board, boardCount, 2, trials);

    const EvalTables &t = Tables();
    Hand fixedBoard;
    for (int i = 0; i < boardCount; ++i)
        fixedBoard += CardHand(t, board[i]);
    const Hand heroHole = CardHand(t, hole[0]) + CardHand(t, hole[1]);

    CardDrawer drawer(rng);
    double total = 0.0;
    for (int trial = 0; trial < trials; ++trial) {
        const std::uint64_t m = live[UniformBelow(rng, live.size())];
        const int c1 = std::countr_zero(m);
        const int c2 = 63 - std::countl_zero(m);
        std::uint64_t used = known | m;
        Hand b = fixedBoard;
        for (int i = boardCount; i < 5; ++i)
            b += CardHand(t, drawer.Draw(used));
        const std::uint16_t hero = Evaluate(t, b + heroHole);
        const std::uint16_t villain = Evaluate(t, b + CardHand(t, c1) + CardHand(t, c2));
        total += hero > villain ? 1.0 : (hero == villain ? 0.5 : 0.0);
    }
    return total / trials;
}

} // namespace brisquel
