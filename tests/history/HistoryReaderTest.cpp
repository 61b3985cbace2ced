// The reader on files the engine wrote: scripted hands compared action by action, bot games
// checked for chips that add up, several games in one folder, and bad input.
#include "history/HistoryReader.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/SeededBotGame.h"

using namespace enginetest;
using history::ActionKind;
using history::Street;

namespace {

struct Expected
{
    Street street;
    int seat;
    ActionKind kind;
    int amount;
    int streetTotal;
    int potBefore;
    int toCall;
};

void ExpectActions(const history::Hand &hand, const std::vector<Expected> &expected)
{
    ASSERT_EQ(hand.actions.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const history::Action &a = hand.actions[i];
        const Expected &e = expected[i];
        SCOPED_TRACE("action " + std::to_string(i));
        EXPECT_EQ(a.street, e.street);
        EXPECT_EQ(a.seat, e.seat);
        EXPECT_EQ(a.kind, e.kind);
        EXPECT_EQ(a.amount, e.amount);
        EXPECT_EQ(a.streetTotal, e.streetTotal);
        EXPECT_EQ(a.potBefore, e.potBefore);
        EXPECT_EQ(a.toCall, e.toCall);
    }
}

std::string Write(const std::filesystem::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

} // namespace

class HistoryReader : public GameFixture
{
protected:
    history::Game ReadOnly()
    {
        std::vector<history::Game> games;
        std::string error;
        EXPECT_TRUE(history::ReadGames(m_folder.string(), false, games, error)) << error;
        EXPECT_EQ(games.size(), 1u);
        return games.empty() ? history::Game{} : games.front();
    }
};

TEST_F(HistoryReader, HandWonByFoldsOnTheTurn)
{
    Play(testsupport::WonByFoldsOnTheTurn());
    ASSERT_TRUE(m_decider.m_mismatches.empty());

    const history::Game game = ReadOnly();
    EXPECT_TRUE(game.logPaired);
    EXPECT_TRUE(game.warnings.empty()) << game.warnings.front();
    EXPECT_EQ(game.started, "2023.11.14  22:13:20");
    ASSERT_EQ(game.seats.size(), 3u);
    EXPECT_EQ(game.seats[0].name, "Hero_0");
    EXPECT_TRUE(game.seats[0].human);
    EXPECT_EQ(game.seats[1].persona, 4);
    EXPECT_EQ(game.seats[2].strategy, "Tight");
    EXPECT_EQ(game.seats[2].persona, 7);
    EXPECT_EQ(game.humanSeat(), 0);
    EXPECT_EQ(game.seatOf("Master"), 1);
    EXPECT_EQ(game.seatOf("Tim_2"), 2);
    EXPECT_EQ(game.seatOf("Nobody"), -1);

    ASSERT_EQ(game.hands.size(), 1u);
    const history::Hand &hand = game.hands[0];
    EXPECT_EQ(hand.number, 1);
    EXPECT_EQ(hand.button, 1);
    EXPECT_EQ(hand.smallBlindSeat, 2);
    EXPECT_EQ(hand.bigBlindSeat, 0);
    EXPECT_EQ(hand.smallBlind, 10);
    EXPECT_EQ(hand.bigBlind, 20);
    EXPECT_EQ(hand.ante, 0);
    EXPECT_EQ(hand.board, Cards({"Qs", "Js", "4h", "9c"}));
    EXPECT_EQ(hand.boardCountAt(Street::Flop), 3);
    EXPECT_EQ(hand.boardCountAt(Street::River), 4);
    const auto P = Street::Preflop, F = Street::Flop, T = Street::Turn;
    ExpectActions(hand, {{P, 2, ActionKind::SmallBlind, 10, 10, 0, 0},
                         {P, 0, ActionKind::BigBlind, 20, 20, 10, 0},
                         {P, 1, ActionKind::Call, 20, 20, 30, 20},
                         {P, 2, ActionKind::Call, 10, 20, 50, 10},
                         {P, 0, ActionKind::Check, 0, 20, 60, 0},
                         {F, 2, ActionKind::Check, 0, 0, 60, 0},
                         {F, 0, ActionKind::Check, 0, 0, 60, 0},
                         {F, 1, ActionKind::Check, 0, 0, 60, 0},
                         {T, 2, ActionKind::Bet, 40, 40, 60, 0},
                         {T, 0, ActionKind::Fold, 0, 0, 100, 40},
                         {T, 1, ActionKind::Fold, 0, 0, 100, 40}});
    EXPECT_EQ(hand.actions[9].activeBefore, 3);
    EXPECT_EQ(hand.actions[10].activeBefore, 2);
    EXPECT_EQ(hand.actions[8].stackBefore, 980);
    EXPECT_EQ(hand.pot, 100);
    EXPECT_FALSE(hand.showdown);
    ASSERT_EQ(hand.winners.size(), 1u);
    EXPECT_EQ(hand.winners[0].seat, 2);
    EXPECT_EQ(hand.winners[0].amount, 100);
    EXPECT_EQ(hand.winners[0].combination, "");
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(hand.seats[s].startStack, 1000);
        EXPECT_EQ(hand.seats[s].endStack, m_game.m_table.m_stack[s]) << "seat " << s;
        EXPECT_EQ(hand.seats[s].positionClass, 2); // blinds and button
    }
    // The human's cards are his own; the others' come from the log and were never shown.
    EXPECT_EQ(hand.seats[0].cards, (std::array<int, 2>{Card("Ah"), Card("Kd")}));
    EXPECT_TRUE(hand.seats[0].cardsShown);
    EXPECT_EQ(hand.seats[1].cards, (std::array<int, 2>{Card("2c"), Card("3c")}));
    EXPECT_FALSE(hand.seats[1].cardsShown);
    EXPECT_FALSE(hand.seats[2].cardsShown);
}

TEST_F(HistoryReader, ShowdownWithASplitPotAndAllInRaise)
{
    Play(testsupport::SplitPotAllInBeforeTheFlop());
    ASSERT_TRUE(m_decider.m_mismatches.empty());

    const history::Game game = ReadOnly();
    ASSERT_EQ(game.hands.size(), 1u);
    const history::Hand &hand = game.hands[0];
    EXPECT_TRUE(game.warnings.empty()) << game.warnings.front();
    EXPECT_TRUE(hand.showdown);
    EXPECT_EQ(hand.board.size(), 5u);
    const auto P = Street::Preflop;
    ExpectActions(hand, {{P, 2, ActionKind::SmallBlind, 10, 10, 0, 0},
                         {P, 0, ActionKind::BigBlind, 20, 20, 10, 0},
                         {P, 1, ActionKind::Fold, 0, 0, 30, 20},
                         {P, 2, ActionKind::Raise, 990, 1000, 30, 10},
                         {P, 0, ActionKind::Call, 980, 1000, 1020, 980}});
    EXPECT_TRUE(hand.actions[3].allIn);
    EXPECT_TRUE(hand.actions[4].allIn);
    EXPECT_FALSE(hand.actions[1].allIn);
    EXPECT_EQ(hand.pot, 2000);
    ASSERT_EQ(hand.winners.size(), 2u);
    EXPECT_EQ(hand.winners[0].seat, 0);
    EXPECT_EQ(hand.winners[0].amount, 1000);
    EXPECT_EQ(hand.winners[1].seat, 2);
    EXPECT_EQ(hand.winners[1].combination, "Royal flush");
    EXPECT_TRUE(hand.seats[2].cardsShown);
    EXPECT_FALSE(hand.seats[1].cardsShown);
    EXPECT_TRUE(hand.seats[1].folded);
    EXPECT_EQ(hand.seats[1].cards, (std::array<int, 2>{Card("7h"), Card("8h")}));
    EXPECT_EQ(hand.seats[0].endStack, 1000);
}

// Chips must add up in every hand of long games with antes, rebuys aside, and the last hand's
// stacks must be the game's final stacks.
TEST(HistoryReaderBotGames, EveryHandAddsUpInATournamentWithAntes)
{
    const testsupport::SeededBotGame played(9, 90, 11);
    ASSERT_TRUE(played.ok()) << played.error();
    const history::Game &game = played.game();
    EXPECT_TRUE(game.logPaired);
    for (const std::string &warning : game.warnings)
        ADD_FAILURE() << warning;
    ASSERT_EQ(static_cast<int>(game.hands.size()), played.result().handsPlayed);
    bool sawAnte = false;
    int levelChanges = 0;
    for (const history::Hand &hand : game.hands) {
        SCOPED_TRACE("hand " + std::to_string(hand.number));
        int paid = 0, invested = 0, before = 0, after = 0;
        for (const history::HandSeat &seat : hand.seats) {
            paid += seat.won;
            invested += seat.invested;
            before += seat.startStack;
            after += seat.endStack;
        }
        EXPECT_EQ(paid, hand.pot);
        EXPECT_EQ(invested, hand.pot);
        EXPECT_EQ(before, after);
        for (const history::Action &action : hand.actions) {
            EXPECT_GE(action.stackBefore, action.amount);
            EXPECT_TRUE(hand.seats[static_cast<size_t>(action.seat)].inHand);
            sawAnte = sawAnte || action.kind == ActionKind::Ante;
            // The hand is valued at the blinds its players posted, not at its header's.
            if (action.kind == ActionKind::BigBlind && !action.allIn && action.amount > 0) {
                EXPECT_EQ(hand.bigBlindInForce(), action.amount);
            }
        }
        levelChanges += hand.bigBlindInForce() != hand.bigBlind ? 1 : 0;
    }
    EXPECT_TRUE(sawAnte);
    EXPECT_GT(levelChanges, 0);
    for (size_t s = 0; s < played.result().seats.size(); ++s)
        EXPECT_EQ(game.hands.back().seats[s].endStack, played.result().seats[s].finalStack);
}

// Two games in one folder: the log holds both, each hand history pairs with its own part.
TEST_F(HistoryReader, PairsEachGameWithItsOwnPartOfTheLog)
{
    m_game.SetStackedDraws(Draws(kButtonOnSeat1Of3, "Ah 2c 7d Kd 3c 8d"));
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 1);
    {
        // The same seats an hour later, other cards.
        CDunmereGame second;
        second.SetOutputFolder(m_folder.string());
        second.SetPauseFactor(0);
        second.SetClock([] { return kStartTime + 3600; });
        ScriptedDecider decider;
        decider.Add(1, 0);
        decider.Add(2, 0);
        second.SetDecider(&decider);
        second.SetStackedDraws(Draws(kButtonOnSeat1Of3, "Qc Jc Tc 9c 8c 7c"));
        second.m_onHandEnd = [](CDunmereGame &g) { g.m_stopRequested = true; };
        GameSetupItems items = Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000});
        second.StartGame(items);
        second.StartDeal();
        second.WaitForGameEnd();
    }
    std::vector<history::Game> games;
    std::string error;
    ASSERT_TRUE(history::ReadGames(m_folder.string(), true, games, error)) << error;
    ASSERT_EQ(games.size(), 2u);
    EXPECT_TRUE(games[0].logPaired);
    EXPECT_TRUE(games[1].logPaired);
    EXPECT_EQ(games[0].hands[0].seats[1].cards, (std::array<int, 2>{Card("2c"), Card("3c")}));
    EXPECT_EQ(games[1].hands[0].seats[1].cards, (std::array<int, 2>{Card("Jc"), Card("8c")}));
    EXPECT_EQ(games[1].started, "2023.11.14  23:13:20");

    ASSERT_TRUE(history::ReadGames(m_folder.string(), false, games, error)) << error;
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].started, "2023.11.14  23:13:20");
    // The HandHistory folder itself works as well.
    ASSERT_TRUE(history::ReadGames((m_folder / "HandHistory").string(), false, games, error));
    EXPECT_EQ(games[0].started, "2023.11.14  23:13:20");

    // A log trimmed at the front keeps the second game's hands without their game start.
    const std::string log = ReadFile(m_folder / "HistoryGame.log");
    const std::string tail = log.substr(log.rfind("---------------------------------"));
    history::Game game;
    ASSERT_TRUE(history::ParseGame(ReadFile(history::FindHistoryFiles(m_folder.string(), error)[1]),
                                   tail, game, error))
        << error;
    EXPECT_TRUE(game.logPaired);
    EXPECT_EQ(game.hands[0].seats[2].cards, (std::array<int, 2>{Card("Tc"), Card("7c")}));
    // Only the first game's part left: nothing pairs with the second game.
    const std::string head = log.substr(0, log.rfind("3 players"));
    ASSERT_TRUE(history::ParseGame(ReadFile(history::FindHistoryFiles(m_folder.string(), error)[1]),
                                   head, game, error));
    EXPECT_FALSE(game.logPaired);
    EXPECT_EQ(game.hands[0].seats[2].cards[0], -1);
    EXPECT_EQ(game.hands[0].seats[0].cards[0], Card("Qc"));
}

TEST_F(HistoryReader, BadInputGetsAClearMessage)
{
    m_game.SetStackedDraws(Draws(kButtonOnSeat1Of3, "Ah 2c 7d Kd 3c 8d"));
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 2);
    std::string error;
    const std::string path = history::FindHistoryFiles(m_folder.string(), error).at(0);
    const std::string text = ReadFile(path);
    std::vector<history::Game> games;
    history::Game game;

    EXPECT_FALSE(history::ReadGames((m_folder / "missing").string(), false, games, error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    std::filesystem::create_directories(m_folder / "empty");
    EXPECT_FALSE(history::ReadGames((m_folder / "empty").string(), false, games, error));
    EXPECT_NE(error.find("no hand-history files"), std::string::npos) << error;

    const std::string other = Write(m_folder / "other.txt", "PokerStars Hand #1: Hold'em\n");
    EXPECT_FALSE(history::ReadGames(other, false, games, error));
    EXPECT_NE(error.find("not a hand-history file of this program"), std::string::npos) << error;
    EXPECT_NE(error.find("other.txt"), std::string::npos) << error;
    EXPECT_FALSE(history::ParseGame(std::string("\x7f"
                                                "ELF\0\0",
                                                6),
                                    "", game, error));
    EXPECT_NE(error.find("binary"), std::string::npos) << error;
    EXPECT_FALSE(
        history::ParseGame(text.substr(0, text.find("Seat 1")) + "garbage\n", "", game, error));
    EXPECT_NE(error.find("line 6"), std::string::npos) << error;

    // Cut inside the second hand, mid-line: the first hand stays.
    const std::string cut = text.substr(0, text.rfind("Tim_2: folds") + 7);
    ASSERT_TRUE(history::ReadGames(Write(m_folder / "cut.txt", cut), false, games, error)) << error;
    EXPECT_TRUE(games[0].truncated);
    ASSERT_EQ(games[0].hands.size(), 1u);
    EXPECT_NE(games[0].warnings.back().find("hand #2"), std::string::npos);
    // Every prefix of the file reads or fails with a message, never worse.
    for (size_t length = 0; length < text.size(); length += 7) {
        if (history::ParseGame(text.substr(0, length), "", game, error))
            EXPECT_LE(game.hands.size(), 2u);
        else
            EXPECT_FALSE(error.empty());
    }
}

// Hand-written files: antes that put a seat all in before its blind of 0, seat 0's cards known
// from the log alone, a log naming a seat the game does not have, a line naming nobody seated
// and a hand that pays out more than its pot.
TEST(HistoryReaderDamage, OddLinesAreWarnedAndReadAround)
{
    const std::string history =
        "==================START Ostrivane 2023.11.14  22:13:20 ====\n"
        "Seat 0: Hero_0 (1000 in chips) StrategyName is Hero\n"
        "Seat 1: Master_1 (1000 in chips) StrategyName is Master\n"
        "Seat 2: Tim_2 (1000 in chips) StrategyName is Tight\n"
        "=========================\n"
        "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20\n"
        "Table 'Game' 3-max Seat #1 is the button\n"
        "Seat 0: Hero_0 (1000 in chips)\n"
        "Seat 1: Master_1 (1000 in chips)\n"
        "Seat 2: Tim_2 (5 in chips)\n"
        "Tim_2: posts small blind 0\n"
        "Hero_0: posts big blind 20\n"
        "*** HOLE CARDS ***\n"
        "Master_1: folds\n"
        "Nobody_7: folds\n"
        "Hero_0 collected 35 from pot \n"
        "Ostrivane Hand #2: Hold'em No Limit (10/20) - 2023.11.14  22:14:00\n"
        "Table 'Game' 3-max Seat #0 is the button\n"
        "Seat 0: Hero_0 (1010 in chips)\n"
        "Seat 1: Master_1 (995 in chips)\n"
        "Seat 2: Tim_2 (0 in chips)\n"
        "Master_1: posts small blind 10\n"
        "Hero_0: posts big blind 20\n"
        "*** HOLE CARDS ***\n"
        "Master_1: folds\n"
        "Hero_0 collected 45 from pot \n";
    const std::string log = "3 players \n"
                            "Player 0 is Hero_0 (StrategyName is Hero) with stack = 1000\n"
                            "Player 1 is Master_1 (StrategyName is Master) with stack = 1000\n"
                            "Player 2 is Tim_2 (StrategyName is Tight) with stack = 1000\n"
                            "Blinds 10/20 ante 5\n"
                            "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20\n"
                            "Player 0: 2c 3d\n"
                            "Player 1: Ah Ad\n"
                            "Player 2: Kh Kd\n"
                            "Ostrivane Hand #2: Hold'em No Limit (10/20) - 2023.11.14  22:14:00\n"
                            "Player 0: 4c 5d\n"
                            "Player 1: 6h 7h\n"
                            "Player 3: As Ks\n";
    history::Game game;
    std::string error;
    ASSERT_TRUE(history::ParseGame(history, log, game, error, "hh.txt")) << error;
    ASSERT_TRUE(game.logPaired);
    ASSERT_EQ(game.hands.size(), 2u);
    EXPECT_EQ(game.warnings,
              (std::vector<std::string>{"hh.txt, line 15: skipped \"Nobody_7: folds\"",
                                        "Hand #2: 45 chips were paid out of a pot of 40"}));

    const history::Hand &first = game.hands[0];
    EXPECT_EQ(first.ante, 5);
    const auto P = Street::Preflop;
    ExpectActions(first, {{P, 0, ActionKind::Ante, 5, 0, 0, 0},
                          {P, 1, ActionKind::Ante, 5, 0, 5, 0},
                          {P, 2, ActionKind::Ante, 5, 0, 10, 0},
                          {P, 2, ActionKind::SmallBlind, 0, 0, 15, 0},
                          {P, 0, ActionKind::BigBlind, 20, 20, 15, 0},
                          {P, 1, ActionKind::Fold, 0, 0, 35, 20}});
    EXPECT_FALSE(first.actions[0].allIn);
    EXPECT_TRUE(first.actions[2].allIn);  // the ante took its last chips
    EXPECT_FALSE(first.actions[3].allIn); // a blind of nothing puts nothing in
    EXPECT_EQ(first.seats[2].endStack, 0);
    // The human's cards come from the log alone; 2c is card 0 like any other.
    EXPECT_EQ(first.seats[0].cards, (std::array<int, 2>{Card("2c"), Card("3d")}));
    EXPECT_TRUE(first.seats[0].cardsShown);
    EXPECT_EQ(first.seats[1].cards, (std::array<int, 2>{Card("Ah"), Card("Ad")}));
    EXPECT_FALSE(first.seats[1].cardsShown);

    const history::Hand &second = game.hands[1];
    ASSERT_EQ(second.seats.size(), 3u); // the log's seat 3 is no seat of this game
    EXPECT_EQ(second.seats[0].cards, (std::array<int, 2>{Card("4c"), Card("5d")}));
    EXPECT_EQ(second.seats[2].cards, (std::array<int, 2>{-1, -1}));
    EXPECT_EQ(second.pot, 40);
    ASSERT_EQ(second.winners.size(), 1u);
    EXPECT_EQ(second.winners[0].amount, 45);

    // A log game with the same seats but none of the hands is another game.
    ASSERT_TRUE(history::ParseGame(history, log.substr(0, log.find("Blinds")), game, error));
    EXPECT_FALSE(game.logPaired);
    EXPECT_EQ(game.hands[0].seats[1].cards[0], -1);

    // 2 to 10 seats.
    for (int seats : {1, 2, 10, 11}) {
        std::string text = "==================START Ostrivane 2023.11.14  22:13:20 ====\n";
        for (int s = 0; s < seats; ++s)
            text += "Seat " + std::to_string(s) + ": Tim_" + std::to_string(s) +
                    " (1000 in chips) StrategyName is Tight\n";
        text += "=========================\n";
        EXPECT_EQ(history::ParseGame(text, "", game, error), seats >= 2 && seats <= 10) << seats;
        if (seats == 1 || seats == 11) {
            EXPECT_NE(
                error.find("a game needs 2 to 10 seats, the file lists " + std::to_string(seats)),
                std::string::npos)
                << error;
        }
    }

    // A symlink loop is no missing file.
    const testsupport::TempFolder folder;
    const auto loop = folder.path() / "loop";
    std::filesystem::create_symlink(loop, loop);
    std::vector<history::Game> games;
    EXPECT_FALSE(history::ReadGames(loop.string(), false, games, error));
    EXPECT_EQ(error, loop.string() + " cannot be read: Too many levels of symbolic links");
}
