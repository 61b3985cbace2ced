// Bot games of every kind replayed from their files through a card-room referee that knows
// only the published rules of No-Limit Hold'em: no action of any hand may break them.
#include "tests/opponents/CardRoomReferee.h"
#include "tests/support/SeededBotGame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

namespace {

struct GameKind
{
    const char *name;
    int stack;
    int gameTypeId; // 0 fixed blinds 10/20, 3 "9 players", 4 "9 players Turbo"
    int lastHand;   // 0: to the end
};
void PrintTo(const GameKind &c, std::ostream *os)
{
    *os << c.name;
}

class CardRoomRules : public ::testing::TestWithParam<GameKind>
{
};

TEST_P(CardRoomRules, EveryActionOfEveryHandIsLegal)
{
    const GameKind &kind = GetParam();
    referee::Referee referee;
    for (int seats = 2; seats <= 10; ++seats) {
        for (int seed = 1; seed <= 2; ++seed) {
            const testsupport::SeededBotGame played(seats, kind.lastHand,
                                                    static_cast<std::uint64_t>(seed * 100 + seats),
                                                    kind.stack, kind.gameTypeId);
            ASSERT_TRUE(played.ok()) << played.error();
            referee.ReadGame(played.game().historyPath, played.logPath());
        }
    }
    EXPECT_TRUE(referee.faults.empty())
        << referee.faults.size() << " illegal, first: " << referee.faults.front();
    // The games must reach the cases the rules are about.
    EXPECT_GT(referee.hands, 500);
    EXPECT_GT(referee.headsUpHands, 0);
    EXPECT_GT(referee.nobodyToAnswer, 0);
    RecordProperty("hands", referee.hands);
    std::printf("%s: %d hands, %d actions, %d heads-up, %d short all-ins, %d closed turns, "
                "%d turns with nobody to answer a raise\n",
                kind.name, referee.hands, referee.actions, referee.headsUpHands,
                referee.shortAllIns, referee.closedTurns, referee.nobodyToAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    BotGames, CardRoomRules,
    ::testing::Values(GameKind{"FixedShort", 300, 0, 60}, GameKind{"FixedDeep", 5000, 0, 60},
                      GameKind{"NinePlayers", 1500, 3, 0}, GameKind{"Turbo", 1500, 4, 0},
                      GameKind{"NinePlayersShort", 300, 3, 0}, GameKind{"TurboDeep", 5000, 4, 0}),
    [](const auto &tc) { return tc.param.name; });

// The referee itself on hands written by hand: four seats, blinds 10/20, button 3, so seat 0
// posts the small blind, seat 1 the big one and seat 2 acts first.
struct RefereeCase
{
    const char *name;
    std::vector<long long> stacks;
    std::vector<std::tuple<int, referee::Move, long long>> acts; // seat, move, chips put in
    const char *fault;                                           // the first one named
    std::vector<long long> pots = {};                            // main and side, when given
};
void PrintTo(const RefereeCase &c, std::ostream *os)
{
    *os << c.name;
}

class RefereeNames : public ::testing::TestWithParam<RefereeCase>
{
};

TEST_P(RefereeNames, TheFirstBreakOfTheRules)
{
    const RefereeCase &c = GetParam();
    referee::Hand hand;
    hand.Begin("1", 20);
    for (size_t s = 0; s < c.stacks.size(); ++s)
        hand.Deal(static_cast<int>(s), c.stacks[s]);
    hand.Button(3);
    hand.Blind(0, 10, false);
    hand.Blind(1, 20, true);
    hand.Street(0);
    for (const auto &[seat, move, put] : c.acts)
        hand.Act(seat, move, put);
    hand.Finish();
    EXPECT_EQ(hand.faults.empty() ? "" : hand.faults.front(), c.fault);
    // The bet nobody called goes back first.
    EXPECT_EQ(c.pots.empty() ? c.pots : hand.Pots(), c.pots);
}

using enum referee::Move;
const std::vector<long long> kDeep = {1000, 1000, 1000, 1000};
INSTANTIATE_TEST_SUITE_P(
    Hands, RefereeNames,
    ::testing::Values(
        RefereeCase{"RaiseBelowTheLastFullRaise",
                    kDeep,
                    {{2, Raise, 60}, {3, Raise, 80}},
                    "hand 1: seat 3 raises to 80 below the minimum 100"},
        RefereeCase{"ShortAllInDoesNotReopen",
                    {1000, 1000, 1000, 80},
                    {{2, Raise, 60}, {3, Raise, 80}, {0, Call, 70}, {1, Fold, 0}, {2, Raise, 200}},
                    "hand 1: seat 2 raises where the betting was not reopened"},
        RefereeCase{"OutOfTurn",
                    kDeep,
                    {{3, Fold, 0}},
                    "hand 1: seat 3 acts out of turn (seat 2 was to act)"},
        RefereeCase{"CheckOwing", kDeep, {{2, Check, 0}}, "hand 1: seat 2 checks owing 20"},
        RefereeCase{"ShortCall", kDeep, {{2, Call, 10}}, "hand 1: seat 2 calls 10 owing 20"},
        RefereeCase{"RoundEndsUnanswered",
                    kDeep,
                    {{2, Raise, 60}, {3, Fold, 0}, {0, Fold, 0}},
                    "hand 1: round 0 ends before seat 1 has acted"},
        RefereeCase{"SidePots",
                    {50, 1000, 300, 1000},
                    {{2, Raise, 300}, {3, Raise, 1000}, {0, Call, 40}, {1, Fold, 0}},
                    "",
                    {170, 500}}),
    testing::PrintToStringParamName());

} // namespace
