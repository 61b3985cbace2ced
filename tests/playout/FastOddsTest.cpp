// The fast answers against the poker library's own (a far larger sample than the decisions
// use) and against published equities.

#include "playout/FastOdds.h"

#include "pokerlib/Carrowby.h"
#include "tests/support/Cards.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::Cards;

constexpr int kNoBoard[5] = {-1, -1, -1, -1, -1};
constexpr int kReferenceTrials = 200000;
constexpr int kClassesChecked = 26;

double Library(const std::vector<int> &hole, const std::vector<int> &board, int players)
{
    PokerLogic logic;
    logic.trialCount = kReferenceTrials;
    int b[5] = {-1, -1, -1, -1, -1};
    for (std::size_t i = 0; i < board.size(); ++i)
        b[i] = board[i];
    return logic.getProbabilityOfWin(hole.data(), b, int(board.size()), players);
}

struct WinCase
{
    const char *hole;
    const char *board;
    int players;
    double tolerance; // the fast sample's noise, and on a flop its run-outs' and the
                      // independent-opponents approximation's
};
void PrintTo(const WinCase &c, std::ostream *os)
{
    *os << c.hole << " board " << c.board << " players " << c.players;
}

class FastWin : public ::testing::TestWithParam<WinCase>
{
};

TEST_P(FastWin, AgreesWithTheLibrary)
{
    SeedPokerLibrary(11);
    const WinCase &c = GetParam();
    const std::vector<int> hole = Cards(c.hole);
    const std::vector<int> board = Cards(c.board);
    int b[5] = {-1, -1, -1, -1, -1};
    for (std::size_t i = 0; i < board.size(); ++i)
        b[i] = board[i];
    playout::CFastOdds fast(3);
    // The board's table too.
    if (board.size() >= 3)
        fast.PrepareBoard(b, int(board.size()), c.players);
    const double answer = fast.ProbabilityOfWin(hole.data(), b, int(board.size()), c.players);
    EXPECT_NEAR(answer, Library(hole, board, c.players), c.tolerance)
        << c.hole << " | " << c.board << " | " << c.players;
}

INSTANTIATE_TEST_SUITE_P(
    PreflopAndAfter, FastWin,
    ::testing::Values(
        WinCase{"Ah As", "", 2, 0.012}, WinCase{"7c 2d", "", 2, 0.012},
        WinCase{"Kh Qh", "", 3, 0.012}, WinCase{"5s 5d", "", 6, 0.012},
        WinCase{"Ac Kd", "", 10, 0.012}, WinCase{"9h 8h", "", 4, 0.012},
        // river and turn: every run-out, exact heads-up
        WinCase{"Ah Kh", "Qh 7h 2c 9s 3d", 2, 0.008}, WinCase{"Tc 9c", "Jd 8s 2h Kc", 2, 0.008},
        WinCase{"4d 4s", "Ad Kd 4c 7h 9h", 3, 0.015}, WinCase{"Qs Js", "Ts 9d 2c 3h", 4, 0.02},
        // flop: sampled run-outs (a double draw's table errs most, 0.016 from seed to seed)
        WinCase{"Ah Qd", "Qc 7s 3h", 2, 0.025}, WinCase{"6h 5h", "7h 4c Kh", 2, 0.05},
        WinCase{"Kc Kd", "Ah 8d 8c", 5, 0.03}, WinCase{"4d 4s", "Ad Kd 4c", 8, 0.04}),
    support::PrintedName());

// A board's table built for two players answers for more once asked: built again, not read
// from entries it never filled.
TEST(FastOdds, BoardTableGrowsWithThePlayersAskedAbout)
{
    SeedPokerLibrary(17);
    const std::vector<int> hole = Cards("Kc Kd"), board = Cards("Ah 8d 8c 2s");
    playout::CFastOdds fast(5);
    fast.PrepareBoard(board.data(), 4, 2);
    const double headsUp = fast.ProbabilityOfWin(hole.data(), board.data(), 4, 2);
    EXPECT_NEAR(headsUp, Library(hole, board, 2), 0.008);
    EXPECT_NEAR(fast.ProbabilityOfWin(hole.data(), board.data(), 4, 5), Library(hole, board, 5),
                0.03);
    EXPECT_EQ(fast.ProbabilityOfWin(hole.data(), board.data(), 4, 2), headsUp);
}

// An answer after the flop is drawn for its question, not from a stream that earlier questions
// moved on: asked again, or after other questions (fewer than build a board's table), or by a
// new object with the same seed, it is the same; only another seed draws another sample.
TEST(FastOdds, AnAnswerAfterTheFlopDependsOnlyOnTheQuestionAndTheSeed)
{
    const std::vector<int> holes[] = {Cards("Ah Kd"), Cards("Ts 9s")};
    const std::vector<int> boards[] = {Cards("Qs Jh 3c"), Cards("Qs Jh 3c 8d"),
                                       Cards("2h 2d 5c Kc")};
    // Question k: board k / 4, hand k / 2 % 2, two or four players.
    const auto ask = [&](playout::CFastOdds &fast, int k) {
        const std::vector<int> &board = boards[k / 4];
        return fast.ProbabilityOfWin(holes[k / 2 % 2].data(), board.data(), int(board.size()),
                                     2 + 2 * (k % 2));
    };
    playout::CFastOdds first(7), reversed(7), other(8);
    std::vector<double> answers;
    for (int k = 0; k < 12; ++k) {
        answers.push_back(ask(first, k));
        EXPECT_EQ(ask(first, k), answers.back());
    }
    int differ = 0;
    for (int k = 11; k >= 0; --k) {
        EXPECT_EQ(ask(reversed, k), answers[size_t(k)]) << k;
        differ += ask(other, k) != answers[size_t(k)];
    }
    EXPECT_GT(differ, 0);
}

// Heads-up equities against one random hand, as published in equity tables.
struct PublishedCase
{
    const char *hole;
    double equity;
};
void PrintTo(const PublishedCase &c, std::ostream *os)
{
    *os << c.hole;
}

class PublishedPreflop : public ::testing::TestWithParam<PublishedCase>
{
};

TEST_P(PublishedPreflop, MatchesTheTables)
{
    playout::CFastOdds fast;
    const std::vector<int> hole = Cards(GetParam().hole);
    EXPECT_NEAR(fast.ProbabilityOfWin(hole.data(), kNoBoard, 0, 2), GetParam().equity, 0.01);
}

INSTANTIATE_TEST_SUITE_P(HeadsUp, PublishedPreflop,
                         ::testing::Values(PublishedCase{"Ac Ad", 0.8520},
                                           PublishedCase{"Kh Ks", 0.8240},
                                           PublishedCase{"As Ks", 0.6704},
                                           PublishedCase{"2c 2h", 0.5033},
                                           PublishedCase{"7d 2c", 0.3458}),
                         support::PrintedName());

TEST(FastOdds, SuitsAndOrderDoNotMatterBeforeTheFlop)
{
    playout::CFastOdds fast;
    const std::vector<int> a = Cards("Ah Kh"), b = Cards("Ks As"), c = Cards("Ad Kc");
    EXPECT_EQ(fast.ProbabilityOfWin(a.data(), kNoBoard, 0, 4),
              fast.ProbabilityOfWin(b.data(), kNoBoard, 0, 4));
    EXPECT_GT(fast.ProbabilityOfWin(a.data(), kNoBoard, 0, 4),
              fast.ProbabilityOfWin(c.data(), kNoBoard, 0, 4));
}

TEST(FastOdds, AgainstTheTopOfTheSpectrumAgreesWithTheLibrary)
{
    SeedPokerLibrary(5);
    CStatSpectr spectrum;
    spectrum.Init();
    playout::CFastOdds fast;
    for (const char *text : {"Qh Qs", "Ah 5h", "Jc Td", "7s 2d"}) {
        for (double pct : {4.0, 12.5, 30.0, 100.0}) {
            const std::vector<int> hole = Cards(text);
            Spec spec;
            std::wstring unused;
            spectrum.GetSpecByPercent(pct, spec, unused, 1);
            PokerLogic logic;
            logic.trialCount = kReferenceTrials;
            const double expected =
                logic.getProbabilityOfWinBySpectr(hole.data(), kNoBoard, 0, spec);
            EXPECT_NEAR(fast.ProbabilityAgainstTop(hole.data(), pct, spectrum), expected, 0.012)
                << text << " against the top " << pct << " %";
        }
    }
}

// Threads filling the same entries at once store the same numbers: every entry has a seed of its
// own, whoever fills it.
TEST(FastOdds, TablesFilledFromTwoThreadsAgree)
{
    std::vector<double> first(kClassesChecked), second(kClassesChecked);
    const auto fill = [](std::vector<double> &out) {
        playout::CFastOdds fast;
        for (int i = 0; i < kClassesChecked; ++i) {
            const int hole[2] = {i % 13, 13 + (i * 5) % 13}; // a club and a diamond
            out[std::size_t(i)] = fast.ProbabilityOfWin(hole, kNoBoard, 0, 9);
        }
    };
    std::thread a(fill, std::ref(first));
    std::thread b(fill, std::ref(second));
    a.join();
    b.join();
    EXPECT_EQ(first, second);
    playout::WarmFastOdds();
    std::vector<double> after(kClassesChecked);
    fill(after);
    EXPECT_EQ(first, after);
}

TEST(FastOdds, NutsAndBoardTiesOnTheRiver)
{
    playout::CFastOdds fast;
    const std::vector<int> royal = Cards("Th Jh Qh Kh Ah");
    const std::vector<int> any = Cards("2c 3d");
    const std::vector<int> nuts = Cards("Ah Kh"), board = Cards("Qh Jh Th 2c 3d");
    for (int i = 0; i < playout::kBoardTableAfter + 1; ++i) {
        // Everyone plays the board's royal flush: one opponent splits every pot.
        EXPECT_DOUBLE_EQ(fast.ProbabilityOfWin(any.data(), royal.data(), 5, 2), 0.5);
        EXPECT_DOUBLE_EQ(fast.ProbabilityOfWin(nuts.data(), board.data(), 5, 2), 1.0);
    }
}

TEST(FastOdds, CodesAndGroupsAreTheLibrarys)
{
    playout::CFastOdds fast;
    PokerLogic logic;
    for (const char *text : {"Ah Kh Qh 7d 2c", "7s 7d 7c 2h 2d", "9c 8d Kh Kd 3s 3h 4c"}) {
        const std::vector<int> cards = Cards(text);
        const int count = int(cards.size()) - 2;
        EXPECT_EQ(fast.Combination(cards.data(), cards.data() + 2, count),
                  logic.getCombination(cards.data(), cards.data() + 2, count));
    }
    for (int a = 0; a < 52; ++a)
        for (int b = 0; b < 52; ++b)
            if (a != b) {
                ASSERT_EQ(fast.Group(a, b), SklanskyGroup(CCard(a), CCard(b)));
            }
}

TEST(FastOdds, UnusableCardsGiveZero)
{
    playout::CFastOdds fast;
    const int same[2] = {5, 5}, outside[2] = {-1, 60};
    const std::vector<int> hole = Cards("Ah Kh"), board = Cards("Ah 2c 3d");
    EXPECT_EQ(fast.ProbabilityOfWin(same, kNoBoard, 0, 2), 0.0);
    EXPECT_EQ(fast.ProbabilityOfWin(outside, kNoBoard, 0, 2), 0.0);
    EXPECT_EQ(fast.ProbabilityOfWin(hole.data(), board.data(), 3, 2), 0.0);
}

} // namespace
