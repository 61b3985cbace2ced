// Whole games: chips conservation over many random hands, the end of a game, the add-chips
// offer, shutdown while the game waits, and the files.
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/RoundAudit.h"

#include <random>

using namespace enginetest;

namespace {

int TotalStacks(const CGameTable &t)
{
    int total = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        total += t.m_stack[s];
    return total;
}

// Any amount from 0 to the seat's whole stack.
class RandomDecider : public IDecider
{
public:
    explicit RandomDecider(unsigned seed)
        : m_generator(seed)
    {}
    int DecidePreflop(const CGameTable &t, int seat, EasyRandom &) override
    {
        return Draw(t, seat);
    }
    int DecidePostflop(const CGameTable &t, int seat, int, EasyRandom &) override
    {
        return Draw(t, seat);
    }

private:
    int Draw(const CGameTable &t, int seat)
    {
        // Mostly small amounts, so that hands often go past the flop.
        std::uniform_int_distribution<int> kind(0, 3);
        const int stack = t.m_stack[seat];
        const int owed = std::max(0, t.m_amountToCall - t.m_bet[seat]);
        switch (kind(m_generator)) {
        case 0:
            return std::uniform_int_distribution<int>(0, stack)(m_generator);
        case 1:
            return 0;
        default:
            return std::min(owed, stack);
        }
    }
    std::mt19937 m_generator;
};

} // namespace

class GameFlow : public GameFixture
{
};

TEST_F(GameFlow, RandomDecisionsOverManySeedsLoseNoChipNorTurnAndNeverHang)
{
    const char *const kNames[] = {"Hero", "Master", "Tim", "Maniac", "Professor", "Bob"};
    int handsPlayed = 0;
    int games = 0;
    for (unsigned seed = 1; handsPlayed < 10000; ++seed, ++games) {
        CDunmereGame game;
        RandomDecider decider(seed);
        game.SetOutputFolder(m_folder.string());
        game.SetPauseFactor(0);
        game.SetClock([&] { return m_now.load(); });
        game.SetDecider(&decider);
        game.SetSeed(seed);
        std::mt19937 setup(seed);
        GameSetupItems items;
        items.seatCount = 2 + static_cast<int>(seed % 9);
        for (int s = 0; s < items.seatCount; ++s) {
            items.names.push_back(kNames[(seed + static_cast<unsigned>(s)) % 6]);
            // Now and then a seat starts with nothing; it posts a blind of 0 and is removed.
            const int stack = seed % 7 == 0 && s == 1 ? 0 : 100 + static_cast<int>(setup() % 3000);
            items.stacks.push_back(stack);
        }
        items.smallBlind = 10;
        items.bigBlind = 20;
        items.gameTypeId = seed % 3 == 0 ? 4 : 0; // some tournaments with antes later on
        int start = 0;
        for (int stack : items.stacks)
            start += stack;

        int gameHands = 0;
        std::vector<std::string> failures;
        RoundAudit audit;
        game.m_onHandEnd = [&](CDunmereGame &g) {
            const CGameTable &t = g.m_table;
            ++gameHands;
            audit.AfterHand(g);
            m_now += 90; // the blinds rise every few hands in the tournaments
            if (TotalStacks(t) != start + g.m_chipsAdded)
                failures.push_back("chips " + std::to_string(TotalStacks(t)) + " instead of " +
                                   std::to_string(start + g.m_chipsAdded) + " after hand " +
                                   std::to_string(g.m_handNumber));
            for (int s = 0; s < t.m_seatCount; ++s) {
                if (t.m_stack[s] < 0)
                    failures.push_back("negative stack at seat " + std::to_string(s));
            }
            if (t.m_pot != 0)
                failures.push_back("pot left over");
            if (gameHands >= 600)
                g.m_stopRequested = true;
        };
        game.StartGame(items);
        game.StartDeal();
        game.WaitForGameEnd();
        ASSERT_TRUE(failures.empty()) << "seed " << seed << ": " << failures.front();
        ASSERT_TRUE(audit.faults.empty()) << "seed " << seed << ": " << audit.faults.front();
        ASSERT_GT(gameHands, 0) << "seed " << seed;
        handsPlayed += gameHands;
    }
    EXPECT_GE(handsPlayed, 10000);
    EXPECT_GT(games, 10);
}

TEST_F(GameFlow, GameEndsWhenOnePlayerIsLeft)
{
    m_game.SetStackedDraws({12, 5, 3}); // button 0; the rest of the cards are drawn at random
    int saves = 0;
    bool oneLeftAtSave = false;
    m_game.m_saveResults = [&](CDunmereGame &game) {
        ++saves;
        oneLeftAtSave =
            game.m_table.m_inGame[0] + game.m_table.m_inGame[1] + game.m_table.m_inGame[2] == 1;
    };
    // Everyone goes all in every time: a few hands decide the game.
    class AllIn : public IDecider
    {
    public:
        int DecidePreflop(const CGameTable &t, int seat, EasyRandom &) override
        {
            return t.m_stack[seat];
        }
        int DecidePostflop(const CGameTable &t, int seat, int, EasyRandom &) override
        {
            return t.m_stack[seat];
        }
    } allIn;
    m_game.SetDecider(&allIn);
    GameSetupItems items = Items({"Master", "Tim", "Maniac"}, {500, 500, 500});
    m_game.StartGame(items);
    m_game.StartDeal();
    m_game.WaitForGameEnd();

    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(oneLeftAtSave);
    EXPECT_EQ(m_program.m_closeCount, 1);
    EXPECT_TRUE(m_game.m_stopRequested);
    EXPECT_EQ(TotalStacks(m_game.m_table), 1500);
    const std::string history = History();
    const std::string log = Log();
    int eliminated = 0;
    for (int s = 0; s < 3; ++s) {
        if (m_game.m_table.m_inGame[s] == 0) {
            ++eliminated;
            EXPECT_TRUE(
                Contains(history, m_game.m_table.m_players[s].m_name + " lost all his money\n"));
            EXPECT_TRUE(Contains(log, "Player " + std::to_string(s) + " lost all his money\n"));
        }
    }
    EXPECT_EQ(eliminated, 2);
}

class AddChips : public GameFixture
{
protected:
    // Heads-up, the human on 20 chips goes all in as the small blind and loses.
    void BustTheHuman()
    {
        m_game.SetStackedDraws(
            Cards({"Ac", "7c", "2h", "Ah", "7d", "Ad", "Kc", "Qd", "9s", "8h", "4c"}));
        // The button draw takes the first two values (Ac = 12, 7c = 5): button 0, which
        // heads-up posts the small blind.
        m_game.SetHumanPlayer(&m_human);
        m_human.Add(10); // completes the small blind with the last chips
        m_decider.Add(1, 0);
    }
    ScriptedHuman m_human{m_game};
};

TEST_F(AddChips, AcceptedChipsBecomeTheStackAndCount)
{
    BustTheHuman();
    m_human.m_acceptAddChips = true;
    m_human.m_addChips = 500;
    Play(Items({"Hero", "Master"}, {20, 1000}), 1);

    EXPECT_EQ(m_human.m_dialogs, 1);
    EXPECT_EQ(m_game.m_table.m_stack[0], 500);
    EXPECT_EQ(m_game.m_table.m_inGame[0], 1);
    EXPECT_EQ(m_game.m_chipsAdded, 500);
    EXPECT_EQ(TotalStacks(m_game.m_table), 1020 + 500);
    EXPECT_TRUE(Contains(History(), "Hero_0 win 0\nMaster_1 win 40\nMaster_1 has Pair of Aces \n"
                                    "Hero adds 500 chips\n"));
    EXPECT_TRUE(Contains(Log(), "You lost all your money !\nHero adds 500 chips\n"));
    const auto pane = m_pane.Lines();
    EXPECT_NE(std::find(pane.begin(), pane.end(), "Hero adds 500 chips"), pane.end());
}

TEST_F(AddChips, ANewGameStartsWithoutTheChipsAddedInTheLastOne)
{
    BustTheHuman();
    m_human.m_acceptAddChips = true;
    m_human.m_addChips = 500;
    Play(Items({"Hero", "Master"}, {20, 1000}), 1);
    ASSERT_EQ(m_game.m_chipsAdded, 500);

    GameSetupItems items = Items({"Hero", "Master"}, {1000, 1000});
    m_game.StartGame(items);
    EXPECT_EQ(m_game.m_chipsAdded, 0);
}

TEST_F(AddChips, DeclinedOfferEndsTheGame)
{
    BustTheHuman();
    m_human.m_acceptAddChips = false;
    m_game.m_onHandEnd = nullptr; // no stop request: the refusal alone ends the game
    GameSetupItems items = Items({"Hero", "Master"}, {20, 1000});
    m_game.StartGame(items);
    m_game.StartDeal();
    m_game.WaitForGameEnd();

    EXPECT_EQ(m_program.m_closeCount, 1);
    EXPECT_TRUE(Contains(Log(), "You lost all your money !\nThe game is over !\n"
                                "Player 0 lost all his money\n"));
    EXPECT_EQ(m_game.m_table.m_inGame[0], 0);
    EXPECT_EQ(m_game.m_handNumber, 1);
}

TEST_F(AddChips, OfferedOnceTheShowdownWasInViewItsShortestTime)
{
    constexpr int kShortestMs = 150;
    BustTheHuman();
    m_game.SetShowdownMinimumMs(kShortestMs); // the pace is zero: only this pause is left
    const auto start = std::chrono::steady_clock::now();
    Play(Items({"Hero", "Master"}, {20, 1000}), 1);
    ASSERT_EQ(m_human.m_dialogs, 1);
    EXPECT_GE(m_human.m_offeredAt - start, std::chrono::milliseconds(kShortestMs));
}

TEST_F(GameFlow, PlayAfterTheDealStartsNoSecondFirstHand)
{
    m_game.SetStackedDraws(kButtonOnSeat1Of3);
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 1);
    ASSERT_EQ(m_game.m_handNumber, 1);

    // 32789 once the game threads have ended: the deal thread already started the first hand.
    EXPECT_TRUE(m_game.ExecuteCommand(ID_PLAY));
    m_game.WaitForGameEnd();
    EXPECT_EQ(m_game.m_handNumber, 1);
    EXPECT_FALSE(Contains(History(), "Hand #2"));
    EXPECT_EQ(m_program.m_closeCount, 1);
}

TEST_F(GameFlow, PlayStartsTheFirstHandOnlyOnce)
{
    m_game.m_onHandEnd = [](CDunmereGame &game) { game.m_stopRequested = true; };
    GameSetupItems items = Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000});
    m_game.StartGame(items);
    EXPECT_TRUE(m_game.ExecuteCommand(ID_PLAY));
    m_game.WaitForGameEnd();
    EXPECT_TRUE(m_game.ExecuteCommand(ID_PLAY));
    m_game.WaitForGameEnd();
    EXPECT_EQ(m_game.m_handNumber, 1);
}

TEST_F(GameFlow, ShutdownWakesTheHumanWaitAndFlushesTheFiles)
{
    ScriptedHuman human(m_game); // never answers
    m_game.SetHumanPlayer(&human);
    m_game.SetStackedDraws({12, 5, 3}); // button 0: the human acts first
    GameSetupItems items = Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000});
    m_game.StartGame(items);
    m_game.StartDeal();
    human.WaitUntilWaiting();
    EXPECT_TRUE(m_game.GameThreadRunning());
    m_game.Shutdown();

    EXPECT_FALSE(m_game.GameThreadRunning());
    EXPECT_TRUE(Contains(History(), "*** HOLE CARDS ***\n"));
    EXPECT_TRUE(Contains(Log(), "Preflop start\n"));
    m_game.Shutdown(); // twice is harmless
}

// A human named into another seat than 0: his FOLD at the big blind's option folds his seat.
TEST_F(GameFlow, TheHumansFoldFoldsTheSeatHeSitsIn)
{
    ScriptedHuman human(m_game);
    m_game.SetHumanPlayer(&human);
    human.Add(0, true);
    m_game.SetStackedDraws(kButtonOnSeat2Of3); // seat 0 the small blind, the human the big
    for (const auto &[seat, amount] :
         {std::pair{2, 20}, {0, 10}, {0, 0}, {2, 0}, {0, 0}, {2, 0}, {0, 0}, {2, 0}})
        m_decider.Add(seat, amount);
    Play(Items({"Master", "Hero", "Tim"}, {1000, 1000, 1000}), 1);
    EXPECT_TRUE(Contains(History(), "Hero_1: folds\n"));
    EXPECT_FALSE(m_game.m_table.m_folded[0]);
    EXPECT_EQ(m_game.m_table.m_stack[1], 980);
}

TEST_F(GameFlow, ShutdownInterruptsAPause)
{
    m_game.SetPauseFactor(1000); // the pause after the button draw would last half an hour
    GameSetupItems items = Items({"Master", "Tim"}, {1000, 1000});
    m_game.StartGame(items);
    m_game.StartDeal();
    m_game.Shutdown();
    EXPECT_FALSE(m_game.GameThreadRunning());
    EXPECT_EQ(m_program.m_closeCount, 0);
}

TEST_F(GameFlow, UnwritableFilesAreReportedOnceAndTheGameRuns)
{
    // A plain file where the folder should be: neither file can be created.
    const auto blocked = m_folder / "not_a_folder";
    std::ofstream(blocked) << "x";
    m_game.SetOutputFolder(blocked.string());
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 2);

    const auto pane = m_pane.Lines();
    int reports = 0;
    for (const std::string &line : pane)
        reports += line.rfind("Could not write", 0) == 0 ? 1 : 0;
    EXPECT_EQ(reports, 2);
    EXPECT_TRUE(Contains(pane.front(), (blocked / "HistoryGame.log").string()));
    EXPECT_EQ(m_handsPlayed, 2);
    EXPECT_EQ(TotalStacks(m_game.m_table), 3000);
}

struct TrimCase
{
    std::uintmax_t size;
    bool trimmed;
};
void PrintTo(const TrimCase &c, std::ostream *os)
{
    *os << c.size << " bytes";
}

class LogTrimming : public GameFixture, public ::testing::WithParamInterface<TrimCase>
{
};

TEST_P(LogTrimming, LongLogsKeepTheirLast80000Bytes)
{
    std::string old(GetParam().size, '\0');
    for (size_t i = 0; i < old.size(); ++i)
        old[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
    std::ofstream(m_folder / "HistoryGame.log", std::ios::binary) << old;

    GameSetupItems items = Items({"Master", "Tim"}, {1000, 1000});
    m_game.StartGame(items);
    m_game.Shutdown();

    const std::string log = ReadFile(m_folder / "HistoryGame.log");
    const std::string kept = GetParam().trimmed ? old.substr(old.size() - 80000) : old;
    ASSERT_GE(log.size(), kept.size());
    EXPECT_TRUE(log.compare(0, kept.size(), kept) == 0);
    EXPECT_EQ(log.substr(kept.size(), 12), "2 players \r\n");
}

INSTANTIATE_TEST_SUITE_P(Sizes, LogTrimming,
                         ::testing::Values(TrimCase{199999, false}, TrimCase{200000, true},
                                           TrimCase{250000, true}),
                         [](const ::testing::TestParamInfo<TrimCase> &param) {
                             return "Bytes" + std::to_string(param.param.size);
                         });

TEST_F(GameFlow, SameSeedPlaysTheSameGame)
{
    auto play = [this](const std::string &folder) {
        CDunmereGame game;
        RandomDecider decider(99);
        game.SetOutputFolder(folder);
        game.SetPauseFactor(0);
        game.SetClock([] { return kStartTime; });
        game.SetDecider(&decider);
        game.SetSeed(1234);
        game.m_onHandEnd = [](CDunmereGame &g) {
            if (g.m_handNumber >= 40)
                g.m_stopRequested = true;
        };
        GameSetupItems items = Items({"Hero", "Bob", "Ann", "Tim"}, {800, 800, 800, 800});
        game.StartGame(items);
        game.StartDeal();
        game.WaitForGameEnd();
        for (const auto &entry : std::filesystem::directory_iterator(folder + "/HandHistory"))
            if (entry.path().extension() == ".txt") // not the game's own log beside it
                return ReadFile(entry.path());
        return std::string();
    };
    std::filesystem::create_directories(m_folder / "a");
    std::filesystem::create_directories(m_folder / "b");
    const std::string first = play((m_folder / "a").string());
    const std::string second = play((m_folder / "b").string());
    EXPECT_GT(first.size(), 1000u);
    EXPECT_EQ(first, second);
}

TEST_F(GameFlow, HandByHandCommandsOnTheCallingThread)
{
    m_game.SetStackedDraws(Cards(
        {"5c", "Ac", "4c", "2h", "Ah", "Kh", "7d", "Ad", "Kd", "Qs", "Js", "3c", "9h", "8c"}));
    GameSetupItems items = Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000});
    m_game.StartGame(items);
    m_game.WhoIsOnButton(); // the draw gave the button to seat 1
    EXPECT_EQ(m_game.startDealEnabled, 0);
    EXPECT_EQ(m_game.stopEnabled, 1);
    EXPECT_EQ(m_game.playEnabled, 1);
    EXPECT_EQ(m_game.m_playerRects[1].m_hasButton, 1);
    EXPECT_EQ(m_game.m_playerRects[2].m_showCards, 1);
    EXPECT_TRUE(m_game.ExecuteCommand(ID_NEW_HAND));
    EXPECT_TRUE(m_game.ExecuteCommand(ID_DEAL_FLOP));
    EXPECT_TRUE(m_game.ExecuteCommand(ID_DEAL_TURN));
    EXPECT_TRUE(m_game.ExecuteCommand(ID_DEAL_RIVER));
    EXPECT_TRUE(m_game.ExecuteCommand(ID_SHOWDOWN));
    EXPECT_FALSE(m_game.ExecuteCommand(12345));
    EXPECT_FALSE(m_game.GameThreadRunning());
    m_game.Shutdown();

    // Blinds only, and the aces put nothing in: the kings take the small blind's match and the
    // big blind's extra 10 goes back.
    EXPECT_TRUE(Contains(History(), "Table 'Game' 3-max Seat #1 is the button\n"));
    EXPECT_TRUE(Contains(History(), "Dealt to Hero_0 [ 2h 7d ]\n*** FLOP *** [Qs Js 3c]\n"
                                    "*** TURN *** [9h]\n*** RIVER *** [8c]\n*** SUMMARY ***\n"
                                    "Hero_0 win 10\nMaster_1 win 0\nTim_2 win 20\n"));
    EXPECT_TRUE(Contains(History(), "Tim_2 has Pair of Kings \n"));
    EXPECT_EQ(m_game.m_table.m_stack[0], 990);
    EXPECT_EQ(m_game.m_table.m_stack[1], 1000);
    EXPECT_EQ(m_game.m_table.m_stack[2], 1010);
    EXPECT_EQ(m_game.m_table.m_boardCount, 5);
}
