// Bot games of every kind replayed from their files through a card-room referee that knows
// only the published rules of No-Limit Hold'em: no action of any hand may break them.
#include "tests/opponents/CardRoomReferee.h"
#include "opponents/BotGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

struct GameKind
{
    const char *name;
    int stack;
    int gameTypeId; // 0 fixed blinds 10/20, 3 "9 players", 4 "9 players Turbo"
    int lastHand;   // 0: to the end
};

class CardRoomRules : public ::testing::TestWithParam<GameKind>
{
};

TEST_P(CardRoomRules, EveryActionOfEveryHandIsLegal)
{
    const GameKind &kind = GetParam();
    const auto folder =
        std::filesystem::temp_directory_path() /
        ("brisquel_referee_" + std::string(kind.name) + "_" + std::to_string(::getpid()));
    referee::Referee referee;
    for (int seats = 2; seats <= 10; ++seats) {
        for (int seed = 1; seed <= 2; ++seed) {
            const auto out = folder / (std::to_string(seats) + "_" + std::to_string(seed));
            std::filesystem::create_directories(out);
            BotGameOptions o;
            o.names = DefaultBotNames(seats);
            o.stacks.assign(static_cast<size_t>(seats), kind.stack);
            o.gameTypeId = kind.gameTypeId;
            o.lastHand = kind.lastHand;
            o.seed = static_cast<std::uint64_t>(seed * 100 + seats);
            o.outputFolder = out.string();
            RunBotGame(o);
            std::filesystem::path history;
            for (const auto &entry : std::filesystem::directory_iterator(out / "HandHistory"))
                if (entry.path().extension() == ".txt") // not the game's own log beside it
                    history = entry.path();
            referee.ReadGame(history.string(), (out / "HistoryGame.log").string());
        }
    }
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(referee.m_illegal.empty())
        << referee.m_illegal.size() << " illegal, first: " << referee.m_illegal.front();
    // The games must reach the cases the rules are about.
    EXPECT_GT(referee.m_hands, 500);
    EXPECT_GT(referee.m_headsUpHands, 0);
    RecordProperty("hands", referee.m_hands);
    std::printf("%s: %d hands, %d actions, %d heads-up, %d short all-ins, %d closed turns\n",
                kind.name, referee.m_hands, referee.m_actions, referee.m_headsUpHands,
                referee.m_shortAllIns, referee.m_closedRaisers);
}

INSTANTIATE_TEST_SUITE_P(BotGames, CardRoomRules,
                         ::testing::Values(GameKind{"FixedShort", 300, 0, 60},
                                           GameKind{"FixedDeep", 5000, 0, 60},
                                           GameKind{"NinePlayers", 1500, 3, 0},
                                           GameKind{"Turbo", 1500, 4, 0}),
                         [](const auto &tc) { return tc.param.name; });

} // namespace
