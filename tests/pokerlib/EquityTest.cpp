#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"
#include "pokerlib/HandValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using brisquel::ParseCard;

constexpr int kNoBoard[5] = {-1, -1, -1, -1, -1};

double Tolerance(double p, int trials)
{
    return 3.0 * std::sqrt(p * (1.0 - p) / trials) + 1e-9;
}

double Equity(const char *a, const char *b, int players, int trials)
{
    PokerLogic logic;
    logic.trialCount = trials;
    const int hole[2] = {ParseCard(a), ParseCard(b)};
    return logic.getProbabilityOfWin(hole, kNoBoard, 0, players);
}

// Heads-up equity of two fixed hands over every five-card board.
double ExactHeadsUp(const int hero[2], const int villain[2])
{
    std::vector<int> rest;
    for (int c = 0; c < 52; ++c)
        if (c != hero[0] && c != hero[1] && c != villain[0] && c != villain[1])
            rest.push_back(c);
    const int n = int(rest.size());
    double sum = 0;
    long long boards = 0;
    int h[7] = {hero[0], hero[1]}, v[7] = {villain[0], villain[1]};
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            for (int c = b + 1; c < n; ++c)
                for (int d = c + 1; d < n; ++d)
                    for (int e = d + 1; e < n; ++e) {
                        const int board[5] = {rest[a], rest[b], rest[c], rest[d], rest[e]};
                        for (int i = 0; i < 5; ++i)
                            h[2 + i] = v[2 + i] = board[i];
                        const auto hv = brisquel::EvaluateCards(h, 7);
                        const auto vv = brisquel::EvaluateCards(v, 7);
                        sum += hv > vv ? 1.0 : (hv == vv ? 0.5 : 0.0);
                        ++boards;
                    }
    return sum / double(boards);
}

TEST(EquityVsRandom, MatchesExactValues)
{
    SeedPokerLibrary(1);
    constexpr int kTrials = 400000;
    // Exact values over all opponent hands and boards.
    EXPECT_NEAR(Equity("Ah", "Ad", 2, kTrials), 0.852037, Tolerance(0.852, kTrials));
    EXPECT_NEAR(Equity("7h", "2d", 2, kTrials), 0.345836, Tolerance(0.346, kTrials));
    // Nine opponents: 0.3109 from forty million deals (standard error 0.0001).
    EXPECT_NEAR(Equity("Ah", "Ad", 10, 100000), 0.3109, Tolerance(0.3109, 100000) + 0.0003);
}

TEST(EquityVsRange, OneHandRangeMatchesExactHeadsUp)
{
    SeedPokerLibrary(2);
    const int hero[2] = {ParseCard("Ah"), ParseCard("As")};
    const int villain[2] = {ParseCard("Kd"), ParseCard("Kc")};
    const double exact = ExactHeadsUp(hero, villain);
    EXPECT_NEAR(exact, 0.8126, 0.001); // aces with no suit of the kings
    Spec spec;
    spec.combos = {{villain[0], villain[1]}};
    PokerLogic logic;
    logic.trialCount = 200000;
    EXPECT_NEAR(logic.getProbabilityOfWinBySpectr(hero, kNoBoard, 0, spec), exact,
                Tolerance(exact, 200000));
}

TEST(EquityVsRange, SkipsCombinationsThatHitKnownCards)
{
    SeedPokerLibrary(3);
    const int hero[2] = {ParseCard("Ah"), ParseCard("As")};
    const int villain[2] = {ParseCard("Kd"), ParseCard("Kc")};
    Spec spec;
    // Aces that share a card with the hero cannot be dealt; only the kings remain.
    spec.combos = {{ParseCard("Ah"), ParseCard("Ad")},
                   {villain[0], villain[1]},
                   {ParseCard("As"), ParseCard("Ac")}};
    PokerLogic logic;
    logic.trialCount = 100000;
    EXPECT_NEAR(logic.getProbabilityOfWinBySpectr(hero, kNoBoard, 0, spec), 0.8126,
                Tolerance(0.8126, 100000) + 0.001);
    // Listing a combination twice does not weight it twice: kings and aces-of-clubs-diamonds
    // count once each, so the result is the mean of the two heads-up equities.
    Spec doubled;
    const int acesLeft[2] = {ParseCard("Ac"), ParseCard("Ad")};
    doubled.combos = {
        {villain[0], villain[1]}, {villain[1], villain[0]}, {acesLeft[0], acesLeft[1]}};
    const double mean = (ExactHeadsUp(hero, villain) + ExactHeadsUp(hero, acesLeft)) / 2;
    EXPECT_NEAR(logic.getProbabilityOfWinBySpectr(hero, kNoBoard, 0, doubled), mean,
                Tolerance(mean, 100000));
    // A range of nothing live plays a random hand.
    Spec dead;
    dead.combos = {{ParseCard("Ah"), ParseCard("Ad")}};
    EXPECT_NEAR(logic.getProbabilityOfWinBySpectr(hero, kNoBoard, 0, dead), 0.852,
                Tolerance(0.852, 100000) + 0.001);
}

TEST(EquityWithBoard, DecidedAndTiedRivers)
{
    PokerLogic logic;
    logic.trialCount = 2000;
    const int hole[2] = {ParseCard("Ah"), ParseCard("Kh")};
    // A royal flush on the river cannot lose.
    const int royal[5] = {ParseCard("Qh"), ParseCard("Jh"), ParseCard("Th"), ParseCard("2c"),
                          ParseCard("3d")};
    EXPECT_DOUBLE_EQ(logic.getProbabilityOfWin(hole, royal, 5, 6), 1.0);
    // A royal flush on the board ties everyone: three players, one third each.
    const int low[2] = {ParseCard("2c"), ParseCard("3d")};
    const int board[5] = {ParseCard("As"), ParseCard("Ks"), ParseCard("Qs"), ParseCard("Js"),
                          ParseCard("Ts")};
    EXPECT_NEAR(logic.getProbabilityOfWin(low, board, 5, 3), 1.0 / 3.0, 1e-12);
    // On the flop the missing cards are dealt: a set against one random hand.
    const int sets[2] = {ParseCard("9h"), ParseCard("9d")};
    const int flop[5] = {ParseCard("9c"), ParseCard("4s"), ParseCard("2h"), -1, -1};
    logic.trialCount = 50000;
    const double p = logic.getProbabilityOfWin(sets, flop, 3, 2);
    EXPECT_GT(p, 0.93);
    EXPECT_LT(p, 0.99);
}

TEST(EquityInput, BadCardsGiveZero)
{
    PokerLogic logic;
    logic.trialCount = 100;
    const int same[2] = {5, 5};
    EXPECT_EQ(logic.getProbabilityOfWin(same, kNoBoard, 0, 2), 0.0);
    const int outside[2] = {5, 52};
    EXPECT_EQ(logic.getProbabilityOfWin(outside, kNoBoard, 0, 2), 0.0);
    const int hole[2] = {5, 6};
    const int clash[5] = {6, 7, 8, -1, -1};
    EXPECT_EQ(logic.getProbabilityOfWin(hole, clash, 3, 2), 0.0);
    EXPECT_EQ(logic.getProbabilityOfWin(hole, kNoBoard, 6, 2), 0.0);
    logic.trialCount = 0;
    EXPECT_EQ(logic.getProbabilityOfWin(hole, kNoBoard, 0, 2), 0.0);
}

TEST(EquitySeeding, SeededLibraryRepeats)
{
    const int hole[2] = {ParseCard("Ah"), ParseCard("7d")};
    SeedPokerLibrary(42);
    PokerLogic a;
    a.trialCount = 3000;
    const double first = a.getProbabilityOfWin(hole, kNoBoard, 0, 4);
    SeedPokerLibrary(42);
    PokerLogic b;
    b.trialCount = 3000;
    EXPECT_EQ(b.getProbabilityOfWin(hole, kNoBoard, 0, 4), first);
    EXPECT_EQ(PokerLogic().trialCount, 100000);
}

} // namespace
