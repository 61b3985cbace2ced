#include "pokerlib/EquityCalculator.h"
#include "pokerlib/CardNames.h"
#include "tests/support/Cards.h"
#include "pokerlib/HandValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace brisquel;
using testsupport::Cards;

EquityPlayer Known(const std::string &text)
{
    const auto c = Cards(text);
    return EquityPlayer{{{c[0], c[1]}}};
}

EquityPlayer Range(const std::string &text)
{
    EquityPlayer p;
    std::string error;
    EXPECT_TRUE(ParseRange(text, p.combos, error)) << error;
    return p;
}

std::string Digits(double v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.4f", v);
    return text;
}

// Brute force, independent of the library's enumeration and of its table evaluator: every
// hand of the villain's list that misses the known cards, with every way to finish the board,
// each seven-card hand valued by the direct evaluator.
struct Exact
{
    double win = 0, tie = 0, equity = 0;
};

Exact BruteForce(const std::vector<int> &hero, const std::vector<std::vector<int>> &villains,
                 const std::vector<int> &board)
{
    long long wins = 0, ties = 0, deals = 0;
    for (const auto &villain : villains) {
        std::vector<int> known = hero;
        known.insert(known.end(), villain.begin(), villain.end());
        known.insert(known.end(), board.begin(), board.end());
        std::vector<int> rest;
        for (int c = 0; c < 52; ++c)
            if (std::find(known.begin(), known.end(), c) == known.end())
                rest.push_back(c);
        if (rest.size() != std::size_t(52 - known.size()))
            continue; // the villain's hand clashes
        const int missing = 5 - int(board.size());
        std::vector<int> pick(static_cast<std::size_t>(missing));
        for (int i = 0; i < missing; ++i)
            pick[std::size_t(i)] = i;
        const int n = int(rest.size());
        for (;;) {
            int h[7], v[7];
            int k = 0;
            for (int c : board)
                h[k] = v[k] = c, ++k;
            for (int i : pick)
                h[k] = v[k] = rest[std::size_t(i)], ++k;
            h[5] = hero[0], h[6] = hero[1], v[5] = villain[0], v[6] = villain[1];
            const auto hv = EvaluateCards(h, 7), vv = EvaluateCards(v, 7);
            wins += hv > vv;
            ties += hv == vv;
            ++deals;
            // Next combination of `missing` indices out of n, in lexicographic order.
            int i = missing - 1;
            while (i >= 0 && pick[std::size_t(i)] == n - missing + i)
                --i;
            if (i < 0)
                break;
            ++pick[std::size_t(i)];
            for (int j = i + 1; j < missing; ++j)
                pick[std::size_t(j)] = pick[std::size_t(j - 1)] + 1;
        }
    }
    return {double(wins) / deals, double(ties) / deals, (wins + ties / 2.0) / deals};
}

EquityResult Calculate(std::vector<EquityPlayer> players, const std::string &board, bool exact,
                       std::uint64_t trials = 0, std::uint64_t seed = 1, int threads = 2)
{
    EquitySetup s;
    s.players = std::move(players);
    s.board = Cards(board);
    s.exact = exact;
    s.trials = trials;
    s.seed = seed;
    s.threads = threads;
    return CalculateEquity(s);
}

struct PairCase
{
    const char *hero;
    const char *villain;
    const char *board;
};

class ExactHeadsUp : public ::testing::TestWithParam<PairCase>
{
};

TEST_P(ExactHeadsUp, MatchesBruteForce)
{
    const PairCase &c = GetParam();
    const EquityResult r = Calculate({Known(c.hero), Known(c.villain)}, c.board, true);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.exact);
    const Exact expected = BruteForce(Cards(c.hero), {Cards(c.villain)}, Cards(c.board));
    EXPECT_NEAR(r.players[0].win, expected.win, 1e-12);
    EXPECT_NEAR(r.players[0].tie, expected.tie, 1e-12);
    EXPECT_NEAR(r.players[0].equity, expected.equity, 1e-12);
    EXPECT_NEAR(r.players[1].equity, 1.0 - expected.equity, 1e-12);
    EXPECT_EQ(r.players[0].stdError, 0.0);
}

// Three deals before the flop (1,712,304 boards each), the others on later streets.
INSTANTIATE_TEST_SUITE_P(Pairs, ExactHeadsUp,
                         ::testing::Values(PairCase{"As Ah", "Kd Kc", ""},
                                           PairCase{"As Ks", "Qd Qc", ""},
                                           PairCase{"7h 2d", "8c 9c", ""},
                                           PairCase{"Ah Kh", "Qs Qd", "Qh 7h 2c"},
                                           PairCase{"Jc Tc", "As Ad", "9c 8d 2h"},
                                           PairCase{"5s 5d", "Ac Kc", "Kd 5c 9c"},
                                           PairCase{"Ah 2h", "Ad 3d", "4c 5s Kh"},
                                           PairCase{"Ts 9s", "Ks Kh", "8s 7d 2s Kd"},
                                           PairCase{"Ac Qd", "Ah Qs", "Kc Jd 3h 2s"},
                                           PairCase{"6c 6d", "7s 7h", "As Ks Qs Js"},
                                           PairCase{"4h 3h", "Ad Kd", "2h 5c 9h Qd 6s"}));

TEST(ExactEquity, PrintedDigitsOfKnownPairs)
{
    const EquityResult aces = Calculate({Known("As Ah"), Known("Kd Kc")}, "", true);
    ASSERT_TRUE(aces.ok);
    EXPECT_EQ(aces.deals, 1712304u);
    EXPECT_EQ(Digits(aces.players[0].equity), "0.8126");
    EXPECT_EQ(Digits(aces.players[0].win), "0.8106");
    EXPECT_EQ(Digits(aces.players[0].tie), "0.0038");
    const EquityResult flip = Calculate({Known("As Ks"), Known("Qd Qc")}, "", true, 0, 0, 1);
    EXPECT_EQ(Digits(flip.players[0].equity), "0.4621");
}

TEST(ExactEquity, RangesAndMoreThanTwoPlayers)
{
    // A hand against a range on the flop: the range's hands that hold a known card are dropped.
    const std::string flop = "Qh 7h 2c";
    const EquityResult r = Calculate({Known("Ah Kh"), Range("QQ, 77, AKo, Qh7c")}, flop, true);
    ASSERT_TRUE(r.ok) << r.error;
    std::vector<std::vector<int>> villains;
    for (const char *hand : {"Qs Qd", "Qs Qc", "Qd Qc", "7s 7d", "7s 7c", "7d 7c"})
        villains.push_back(Cards(hand));
    for (const char *a : {"As", "Ad", "Ac"})
        for (const char *k : {"Ks", "Kd", "Kc"})
            if (a[1] != k[1])
                villains.push_back(Cards(std::string(a) + " " + k));
    const Exact expected = BruteForce(Cards("Ah Kh"), villains, Cards(flop));
    EXPECT_NEAR(r.players[0].equity, expected.equity, 1e-12);
    EXPECT_NEAR(r.players[0].win, expected.win, 1e-12);

    // Three players on the turn: equities add up to one, wins and ties are consistent.
    const EquityResult three =
        Calculate({Known("Ah Kh"), Known("Qs Qd"), Range("JTs")}, "Qh 7h 2c 9d", true);
    ASSERT_TRUE(three.ok) << three.error;
    double sum = 0;
    for (const PlayerEquity &p : three.players) {
        sum += p.equity;
        EXPECT_LE(p.win, p.equity + 1e-12);
        EXPECT_LE(p.equity, p.win + p.tie + 1e-12);
    }
    EXPECT_NEAR(sum, 1.0, 1e-12);
    // A random player is every hand that misses the known cards.
    const EquityResult random = Calculate({Known("Ah Kh"), EquityPlayer{}}, flop, true);
    const EquityResult all = Calculate({Known("Ah Kh"), Range("top100%")}, flop, true);
    ASSERT_TRUE(random.ok && all.ok);
    EXPECT_EQ(random.players[0].equity, all.players[0].equity);
    EXPECT_EQ(random.deals, 1081u * 990u);
}

TEST(ExactEquity, LimitAndImpossibleDeals)
{
    EquitySetup s;
    s.players = {Known("Ah Kh"), EquityPlayer{}};
    s.exact = true;
    EXPECT_GT(CountExactDeals(s), kMaxExactDeals);
    const EquityResult tooMany = CalculateEquity(s);
    EXPECT_FALSE(tooMany.ok);
    EXPECT_NE(tooMany.error.find("more than"), std::string::npos);
    s.players = {Known("Ah Kh"), Known("Qs Qd")};
    EXPECT_EQ(CountExactDeals(s), 1712304u);

    // Three aces are left for two players who both hold aces.
    for (const bool exact : {true, false}) {
        const EquityResult r =
            Calculate({Known("As Kd"), Range("AA"), Range("AA")}, "", exact, 1000);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, "the players' hands cannot all be dealt at once");
    }
    const EquityResult dead = Calculate({Known("As Ah"), Range("AA")}, "Ad", false, 1000);
    EXPECT_FALSE(dead.ok); // a one-card board is refused first
    const EquityResult empty = Calculate({Known("As Ah"), Range("AA")}, "Ad 7c 2d", false, 1000);
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.error, "every hand of player 2's range clashes with known cards");
    EXPECT_FALSE(Calculate({Known("As Ah"), Known("As Kd")}, "", false, 1000).ok);
    EXPECT_FALSE(Calculate({Known("As Ah")}, "", false, 1000).ok);
}

TEST(SampledEquity, SameSeedSameResultOnAnyThreadCount)
{
    const auto run = [](int threads) {
        return Calculate({Known("Ah Kd"), Range("22+,A2s+,KTo+"), EquityPlayer{}}, "", false,
                         5 * kTrialsPerBlock + 123, 77, threads);
    };
    const EquityResult one = run(1);
    ASSERT_TRUE(one.ok) << one.error;
    EXPECT_EQ(one.deals, 5 * kTrialsPerBlock + 123);
    for (const int threads : {2, 3, 8}) {
        const EquityResult r = run(threads);
        EXPECT_EQ(r.threads, std::min(threads, 6));
        for (std::size_t p = 0; p < 3; ++p) {
            EXPECT_EQ(r.players[p].equity, one.players[p].equity) << threads;
            EXPECT_EQ(r.players[p].win, one.players[p].win) << threads;
            EXPECT_EQ(r.players[p].stdError, one.players[p].stdError) << threads;
        }
    }
    EXPECT_NE(Calculate({Known("Ah Kd"), EquityPlayer{}}, "", false, 1000, 78).players[0].equity,
              Calculate({Known("Ah Kd"), EquityPlayer{}}, "", false, 1000, 79).players[0].equity);
}

TEST(SampledEquity, AgreesWithExactWithinThreeStandardErrors)
{
    const std::vector<std::pair<std::vector<EquityPlayer>, std::string>> cases = {
        {{Known("As Ah"), Known("Kd Kc")}, ""},
        {{Known("Ah Kh"), Range("QQ, 77, AKo, Qh7c")}, "Qh 7h 2c"},
        {{Known("Ah Kh"), Known("Qs Qd"), Range("JTs")}, "Qh 7h 2c 9d"},
        {{Known("Jc Tc"), EquityPlayer{}, EquityPlayer{}}, "9c 8d 2h 3s"},
    };
    for (const auto &[players, board] : cases) {
        const EquityResult exact = Calculate(players, board, true);
        const EquityResult sampled = Calculate(players, board, false, 200000, 5);
        ASSERT_TRUE(exact.ok && sampled.ok) << exact.error << sampled.error;
        for (std::size_t p = 0; p < players.size(); ++p) {
            const PlayerEquity &s = sampled.players[p];
            EXPECT_GT(s.stdError, 0.0);
            EXPECT_LT(s.stdError, 0.002);
            EXPECT_NEAR(s.equity, exact.players[p].equity, 3 * s.stdError) << board << " " << p;
        }
        // Deals cut short once the first player has lost still count that player right.
        EquitySetup first;
        first.players = players;
        first.board = Cards(board);
        first.trials = 200000;
        first.seed = 6;
        first.firstPlayerOnly = true;
        const EquityResult alone = CalculateEquity(first);
        ASSERT_EQ(alone.players.size(), 1u);
        const PlayerEquity &a = alone.players[0];
        EXPECT_NEAR(a.equity, exact.players[0].equity, 3 * a.stdError) << board;
        EXPECT_NEAR(a.win, exact.players[0].win, 3 * std::sqrt(a.win * (1 - a.win) / 200000));
    }
}

TEST(SampledEquity, ProgressAndStop)
{
    EquitySetup s;
    s.players = {Known("Ah Kd"), EquityPlayer{}};
    s.trials = 4 * kTrialsPerBlock;
    s.threads = 2;
    int calls = 0;
    s.progress = [&calls](double done) {
        EXPECT_GT(done, 0.0);
        EXPECT_LE(done, 1.0);
        return ++calls < 2;
    };
    const EquityResult r = CalculateEquity(s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "the calculation was stopped");
    EXPECT_GE(calls, 2);
    EXPECT_LE(calls, 3);
}

} // namespace
