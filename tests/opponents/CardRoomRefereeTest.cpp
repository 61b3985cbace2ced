// Bot games of every kind replayed from their files through a card-room referee that knows
// only the published rules of No-Limit Hold'em: no action of any hand may break them.
#include "tests/opponents/CardRoomReferee.h"
#include "tests/support/SeededBotGame.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

struct GameKind
{
    const char *name;
    int stack;
    int gameTypeId; // 0 fixed blinds 10/20, 3 "9 players", 4 "9 players Turbo"
    int lastHand;   // 0: to the end
};
void PrintTo(const GameKind &c, std::ostream *os) { *os << c.name; }

class CardRoomRules : public ::testing::TestWithParam<GameKind>
{
};

TEST_P(CardRoomRules, EveryActionOfEveryHandIsLegal)
{
    const GameKind &kind = GetParam();
    referee::Referee referee;
    for (int seats = 2; seats <= 10; ++seats) {
        for (int seed = 1; seed <= 2; ++seed) {
            const testsupport::SeededBotGame played(
                seats, kind.lastHand, static_cast<std::uint64_t>(seed * 100 + seats), kind.stack,
                kind.gameTypeId);
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

INSTANTIATE_TEST_SUITE_P(BotGames, CardRoomRules,
                         ::testing::Values(GameKind{"FixedShort", 300, 0, 60},
                                           GameKind{"FixedDeep", 5000, 0, 60},
                                           GameKind{"NinePlayers", 1500, 3, 0},
                                           GameKind{"Turbo", 1500, 4, 0},
                                           GameKind{"NinePlayersShort", 300, 3, 0},
                                           GameKind{"TurboDeep", 5000, 4, 0}),
                         [](const auto &tc) { return tc.param.name; });

} // namespace
