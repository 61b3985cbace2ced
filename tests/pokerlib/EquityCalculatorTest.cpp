#include "pokerlib/EquityCalculator.h"
#include "pokerlib/CardNames.h"
#include "pokerlib/HandValue.h"
#include "pokerlib/JointHands.h"
#include "tests/support/Cards.h"
#include "tests/support/CaseNames.h"

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
void PrintTo(const PairCase &c, std::ostream *os)
{
    *os << c.hero << " v " << c.villain << " board " << c.board;
}

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
                                           PairCase{"4h 3h", "Ad Kd", "2h 5c 9h Qd 6s"}),
                         support::PrintedName());

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

// Brute force for any number of players: every pick of one hand per player that shares no
// card with the others, the board or the dead cards, times every way to finish the board, each
// seven-card hand valued by the direct evaluator. Shares in 1/2520 so that sums are exact.
struct Tallies
{
    std::vector<long long> wins, ties, shares;
    long long deals = 0;
};

void EnumerateBoards(const std::vector<std::vector<int>> &hands, int *seven, int cards,
                     const std::vector<int> &rest, std::size_t from, Tallies &out)
{
    if (cards == 5) {
        std::uint32_t values[10], best = 0;
        for (std::size_t p = 0; p < hands.size(); ++p) {
            seven[5] = hands[p][0];
            seven[6] = hands[p][1];
            values[p] = EvaluateCards(seven, 7);
            best = std::max(best, values[p]);
        }
        const long long k = std::count(values, values + hands.size(), best);
        for (std::size_t p = 0; p < hands.size(); ++p) {
            if (values[p] != best)
                continue;
            (k == 1 ? out.wins : out.ties)[p] += 1;
            out.shares[p] += 2520 / k;
        }
        ++out.deals;
        return;
    }
    for (std::size_t i = from; i < rest.size(); ++i) {
        seven[cards] = rest[i];
        EnumerateBoards(hands, seven, cards + 1, rest, i + 1, out);
    }
}

void EnumerateHands(const std::vector<std::vector<std::vector<int>>> &players,
                    std::vector<std::vector<int>> &hands, std::vector<int> &used,
                    const std::vector<int> &board, Tallies &out)
{
    if (hands.size() == players.size()) {
        std::vector<int> rest;
        for (int c = 0; c < 52; ++c)
            if (std::find(used.begin(), used.end(), c) == used.end())
                rest.push_back(c);
        int seven[7] = {};
        std::copy(board.begin(), board.end(), seven);
        EnumerateBoards(hands, seven, int(board.size()), rest, 0, out);
        return;
    }
    for (const auto &hand : players[hands.size()]) {
        if (std::find(used.begin(), used.end(), hand[0]) != used.end() ||
            std::find(used.begin(), used.end(), hand[1]) != used.end())
            continue;
        hands.push_back(hand);
        used.insert(used.end(), hand.begin(), hand.end());
        EnumerateHands(players, hands, used, board, out);
        used.resize(used.size() - 2);
        hands.pop_back();
    }
}

// A hand ("Ah Kh"), a range ("QQ, AKs"), or "*" for every hand.
std::vector<std::vector<int>> HandsOf(const std::string &text)
{
    std::vector<std::vector<int>> out;
    if (text == "*") {
        for (int a = 0; a < 52; ++a)
            for (int b = a + 1; b < 52; ++b)
                out.push_back({a, b});
    } else if (text.find(' ') != std::string::npos) {
        out.push_back(Cards(text));
    } else {
        for (const auto &[a, b] : Range(text).combos)
            out.push_back({a, b});
    }
    return out;
}

struct LayoutCase
{
    std::vector<std::string> players;
    const char *board;
    const char *dead;
};
void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << testing::PrintToString(c.players) << " board " << c.board << " dead " << c.dead;
}

class ExactAnyLayout : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(ExactAnyLayout, MatchesBruteForceToTheLastDigit)
{
    const LayoutCase &c = GetParam();
    std::vector<std::vector<std::vector<int>>> lists;
    EquitySetup s;
    for (const std::string &text : c.players) {
        lists.push_back(HandsOf(text));
        s.players.push_back(text == "*"                           ? EquityPlayer{}
                            : text.find(' ') != std::string::npos ? Known(text)
                                                                  : Range(text));
    }
    s.board = Cards(c.board);
    s.dead = Cards(c.dead);
    s.exact = true;
    s.threads = 2;
    Tallies expected;
    expected.wins.assign(lists.size(), 0);
    expected.ties = expected.shares = expected.wins;
    std::vector<std::vector<int>> hands;
    std::vector<int> used = s.board;
    used.insert(used.end(), s.dead.begin(), s.dead.end());
    EnumerateHands(lists, hands, used, s.board, expected);
    ASSERT_GT(expected.deals, 0);

    const EquityResult r = CalculateEquity(s);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.exact);
    EXPECT_EQ(r.deals, std::uint64_t(expected.deals));
    EXPECT_LT(r.showdowns, r.deals);
    const double n = double(expected.deals);
    for (std::size_t p = 0; p < lists.size(); ++p) {
        const PlayerEquity &got = r.players[p];
        EXPECT_EQ(got.win, double(expected.wins[p]) / n) << p;
        EXPECT_EQ(got.tie, double(expected.ties[p]) / n) << p;
        EXPECT_EQ(Digits(got.equity), Digits(double(expected.shares[p]) / 2520.0 / n)) << p;
        EXPECT_NEAR(got.equity, double(expected.shares[p]) / 2520.0 / n, 1e-12) << p;
    }
}

// Boards of 0, 3 and 4 cards; a hand, a range or every hand per player; dead cards; suits that
// flush on the board, two-tone and rainbow boards; ranges that share cards with each other.
INSTANTIATE_TEST_SUITE_P(
    Layouts, ExactAnyLayout,
    ::testing::Values(LayoutCase{{"As Ah", "Kd Kc"}, "", "Qs Jh 2d"},
                      LayoutCase{{"As Kd", "QhQc,JsJh"}, "", ""},
                      LayoutCase{{"Ah Kh", "QQ,77,AKo,Qh7c"}, "Qh 7h 2c", ""},
                      LayoutCase{{"QQ+,AKs", "JJ-99,AQs+"}, "Td 7h 2c", ""},
                      LayoutCase{{"QQ+,AKs", "JJ-99,AQs+"}, "Ts 7s 2s", "As"},
                      LayoutCase{{"AK,KQs", "TT+"}, "Ks 9h 4h 2d", "Ac Th"},
                      LayoutCase{{"Ah Kh", "QQ-TT", "JTs,98s"}, "Qh 7h 2c", "3h"},
                      LayoutCase{{"Jc Tc", "*", "A2s-A5s"}, "9c 8d 2h 3s", ""},
                      LayoutCase{{"*", "Ad Ac"}, "Kh Qh 5h", "2h"},
                      LayoutCase{{"6c 6d", "7s 7h", "Ac 2c", "KK"}, "As Ks Qs Js", "Ts"},
                      LayoutCase{{"A2s,A3s", "A4s,A5s", "KQs"}, "6h 7h 8c 9d", ""}),
    support::PrintedName());

// The showdowns evaluated for jobs of 1.7 million to 884 million deals stay at a small share
// of the deals; the bounds are the counts of a fast public calculator.
TEST(ExactEquity, FewShowdownsForManyDeals)
{
    struct Job
    {
        EquityPlayer first, second;
        std::uint64_t deals, maxShowdowns;
    };
    const Job jobs[] = {
        {Known("As Ah"), Known("Kd Kc"), 1'712'304, 217'844},
        {Known("As Ks"), Known("Qd Qc"), 1'712'304, 283'859},
        {Known("As Kd"), Range("QQ+,AKs"), 14 * 1'712'304ull, 1'760'000},
        {Range("QQ+,AKs"), Range("JJ-99,AQs+"), 883'548'864, 11'600'000},
    };
    for (const Job &job : jobs) {
        EquitySetup s;
        s.players = {job.first, job.second};
        s.exact = true;
        EXPECT_LE(CountExactShowdowns(s), job.maxShowdowns);
        const EquityResult r = CalculateEquity(s);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.deals, job.deals);
        EXPECT_LE(r.showdowns, job.maxShowdowns);
        EXPECT_NEAR(r.players[0].equity + r.players[1].equity, 1.0, 1e-12);
    }
}

TEST(ExactEquity, LimitAndImpossibleDeals)
{
    EquitySetup s;
    s.players = {Known("Ah Kh"), EquityPlayer{}, EquityPlayer{}, EquityPlayer{}};
    s.exact = true;
    EXPECT_GT(CountExactShowdowns(s), kMaxExactShowdowns);
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
    s.players = {Known("As Ah"), Known("Kd Kc")};
    s.dead = Cards("Kd");
    EXPECT_FALSE(CalculateEquity(s).ok);

    // Sorting a billion deals on the river into classes can be stopped while it plans.
    s.players = {Known("As Ah"), EquityPlayer{}, EquityPlayer{}, EquityPlayer{}};
    s.dead.clear();
    s.board = Cards("Kd 7c 2h 9s 3d");
    int asked = 0;
    s.progress = [&asked](double) { return ++asked < 3; };
    const EquityResult stopped = CalculateEquity(s);
    EXPECT_EQ(stopped.error, "the calculation was stopped");
    EXPECT_EQ(asked, 3);
}

// Ranges that can never be dealt together are told at once, however many combinations they
// have; ranges that fit only in a few ways are sampled without endless redraws.
TEST(TangledRanges, AnsweredWithoutSearchingEveryCombination)
{
    const auto setup = [](std::vector<EquityPlayer> players) {
        EquitySetup s;
        s.players = std::move(players);
        s.trials = 20000;
        s.seed = 3;
        return s;
    };
    EquitySetup wide = setup({Known("Ah Kd"), Range("top100%"), Range("top100%"), Range("top100%"),
                              Range("top100%"), Range("AA"), Range("AA")});
    const EquityResult r = CalculateEquity(wide);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "the players' hands cannot all be dealt at once");
    wide.exact = true;
    EXPECT_EQ(CalculateEquity(wide).error, r.error);
    // Settled within a thousand branches, where a search of every combination takes 10^12.
    HandMasks masks;
    const auto [a0, b0] = wide.players[0].combos[0];
    for (const EquityPlayer &p : wide.players) {
        if (p.combos.size() == 1)
            continue;
        masks.emplace_back();
        for (const auto &[a, b] : DropClashing(p.combos, (1ull << a0) | (1ull << b0)))
            masks.back().push_back((1ull << a) | (1ull << b));
    }
    EXPECT_EQ(CanDealTogether(masks, 1000), Fit::kCannot);

    // Every one of the 16 cards is dealt: one joint deal in 34,000 draws fits.
    EquitySetup tight = setup(std::vector<EquityPlayer>(8, Range("AA,KK,QQ,JJ")));
    const EquityResult t = CalculateEquity(tight);
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_EQ(t.redraws, 0u); // one draw among the joint deals per trial
    double sum = 0;
    for (const PlayerEquity &p : t.players) {
        sum += p.equity;
        EXPECT_NEAR(p.equity, 1.0 / 8, 4 * p.stdError + 1e-9);
    }
    EXPECT_NEAR(sum, 1.0, 1e-9);
    // Ranges too wide to list are drawn hand by hand; clashes are then rare.
    const EquityResult loose =
        CalculateEquity(setup(std::vector<EquityPlayer>(4, Range("top100%"))));
    ASSERT_TRUE(loose.ok) << loose.error;
    EXPECT_GT(loose.redraws, 0u);
    EXPECT_LT(loose.redraws, loose.deals);
    EXPECT_EQ(CanDealTogether({{0b11, 0b101}, {0b110}, {0b11}}), Fit::kCannot);
    EXPECT_EQ(CanDealTogether({{0b11, 0b1100}, {0b11}}), Fit::kFits);
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
        {{Range("QQ+,AKs"), Range("JJ-99,AQs+"), Range("KQs,JTs")}, "Td 7h 2c"},
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
