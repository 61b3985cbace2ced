// The line forms of both files against the texts the files hold, each read back with its own
// pattern; and the shared numbers and names.
#include "lineformat/GameLines.h"
#include "lineformat/TextFormat.h"
#include "tests/support/CaseNames.h"
#include "vocabulary/GameVocabulary.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct LineCase
{
    std::string written;  // what the writer made
    std::string expected; // the line as the files have it
    const char *pattern;
    std::vector<int> numbers;
    std::vector<std::string> texts;
};
void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.expected;
}

class GameLine : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(GameLine, IsTheFilesTextAndReadsBack)
{
    const LineCase &c = GetParam();
    EXPECT_EQ(c.written, c.expected);
    std::vector<int> numbers;
    std::vector<std::string> texts;
    ASSERT_TRUE(gamelines::Match(c.written, c.pattern, &numbers, &texts)) << c.pattern;
    EXPECT_EQ(numbers, c.numbers);
    EXPECT_EQ(texts, c.texts);
}

using namespace gamelines;

INSTANTIATE_TEST_SUITE_P(
    HandHistory, GameLine,
    ::testing::Values(
        LineCase{GameStart("2023.11.14  22:13:20"),
                 "==================START Ostrivane  2023.11.14  22:13:20 ==================",
                 kGameStart,
                 {},
                 {"2023.11.14  22:13:20"}},
        LineCase{GameSeat(2, "Tim_2", 1000, "Tight"),
                 "Seat 2: Tim_2 (1000 in chips) StrategyName is Tight",
                 kGameSeat,
                 {2, 1000},
                 {"Tim_2", "Tight"}},
        LineCase{HandHeader(12, 15, 30, "2023.11.14  22:13:20"),
                 "Ostrivane Hand #12: Hold'em No Limit (15/30) - 2023.11.14  22:13:20",
                 kHandHeader,
                 {12, 15, 30},
                 {"2023.11.14  22:13:20"}},
        LineCase{Table(6, 5), "Table 'Game' 6-max Seat #5 is the button", kTable, {6, 5}, {}},
        LineCase{
            HandSeat(0, "Hero_0", 0), "Seat 0: Hero_0 (0 in chips)", kHandSeat, {0, 0}, {"Hero_0"}},
        LineCase{PostsSmallBlind("Ann (2)_1", 10),
                 "Ann (2)_1: posts small blind 10",
                 kPostsSmallBlind,
                 {10},
                 {"Ann (2)_1"}},
        LineCase{
            PostsBigBlind("Bo_2", 20), "Bo_2: posts big blind 20", kPostsBigBlind, {20}, {"Bo_2"}},
        LineCase{DealtTo("Hero_0", "Ah Kd"),
                 "Dealt to Hero_0 [ Ah Kd ]",
                 kDealtTo,
                 {},
                 {"Hero_0", "Ah Kd"}},
        LineCase{Flop("2c 3d 4h"), "*** FLOP *** [2c 3d 4h]", kFlop, {}, {"2c 3d 4h"}},
        LineCase{Turn("Ts"), "*** TURN *** [Ts]", kTurn, {}, {"Ts"}},
        LineCase{River("Qh"), "*** RIVER *** [Qh]", kRiver, {}, {"Qh"}},
        LineCase{Folds("Tim_3"), "Tim_3: folds", kFolds, {}, {"Tim_3"}},
        LineCase{Checks("Tim_3"), "Tim_3: checks", kChecks, {}, {"Tim_3"}},
        LineCase{Calls("Tim_3", 40), "Tim_3: calls 40", kCalls, {40}, {"Tim_3"}},
        LineCase{Raises("Tim_3", 120), "Tim_3: raises 120", kRaises, {120}, {"Tim_3"}},
        LineCase{Collected("Master_1", 90),
                 "Master_1 collected 90 from pot ",
                 kCollected,
                 {90},
                 {"Master_1"}},
        LineCase{Wins("Maniac_3", 0), "Maniac_3 win 0", kWins, {0}, {"Maniac_3"}},
        LineCase{Has("Maniac_3", "Two pair, Aces and Eights"),
                 "Maniac_3 has Two pair, Aces and Eights ",
                 kHas,
                 {},
                 {"Maniac_3", "Two pair, Aces and Eights"}},
        LineCase{HeroAdds(500), "Hero adds 500 chips", kHeroAdds, {500}, {}},
        LineCase{LostAllMoney("Tim_3"), "Tim_3 lost all his money", kLostAllMoney, {}, {"Tim_3"}}),
    support::PrintedName());

INSTANTIATE_TEST_SUITE_P(
    GameLog, GameLine,
    ::testing::Values(
        LineCase{LogPlayers(6), "6 players ", kLogPlayers, {6}, {}},
        LineCase{LogGameSeat(1, "Master_1", "Master", 1500),
                 "Player 1 is Master_1 (StrategyName is Master) with stack = 1500",
                 kLogGameSeat,
                 {1, 1500},
                 {"Master_1", "Master"}},
        LineCase{LogBlinds(10, 20), "Blinds 10/20", kLogBlinds, {10, 20}, {}},
        LineCase{LogBlindsAnte(100, 200, 25),
                 "Blinds 100/200 ante 25",
                 kLogBlindsAnte,
                 {100, 200, 25},
                 {}},
        LineCase{LogButton(4), "Player 4 is on button", kLogButton, {4}, {}},
        LineCase{LogSmallBlind(5), "Player 5 is SB", kLogSmallBlind, {5}, {}},
        LineCase{LogBigBlind(0), "Player 0 is BB", kLogBigBlind, {0}, {}},
        LineCase{LogHoleCards(3, "7c 7d"), "Player 3: 7c 7d", kLogHoleCards, {3}, {"7c 7d"}},
        LineCase{LogFolds(2), "Player 2 folds", kLogFolds, {2}, {}},
        LineCase{LogChecks(2), "Player 2 checks", kLogChecks, {2}, {}},
        LineCase{LogCalls(2, 35), "Player 2 calls for 35", kLogCalls, {2, 35}, {}},
        LineCase{LogRaises(2, 60), "Player 2 raises 60", kLogRaises, {2, 60}, {}},
        LineCase{LogAllIn(2, 980), "Player 2 allin with bet 980", kLogAllIn, {2, 980}, {}},
        LineCase{LogRoundEnd(-1), "End of Preflop !", kLogRoundEnd, {}, {"Preflop"}},
        LineCase{LogRoundEnd(2), "End of River !", kLogRoundEnd, {}, {"River"}},
        LineCase{LogWinsPot(1, 90), "Player 1 wins pot (90)", kLogWinsPot, {1, 90}, {}},
        LineCase{LogFlop("2c 3d 4h"), "Flop: 2c 3d 4h", kLogFlop, {}, {"2c 3d 4h"}},
        LineCase{LogTurn("Ts"), "Turn: Ts", kLogTurn, {}, {"Ts"}},
        LineCase{LogRiver("Qh"), "River: Qh", kLogRiver, {}, {"Qh"}},
        LineCase{LogScore(3, 1720), "Player 3 = 1720", kLogScore, {3, 1720}, {}},
        LineCase{LogSortedScore(3, 1721, 400),
                 "After sort Player 3 = 1721 win = 400",
                 kLogSortedScore,
                 {3, 1721, 400},
                 {}},
        LineCase{LogHas(3, "Flush, Ace high"),
                 "Player 3 has Flush, Ace high ",
                 kLogHas,
                 {3},
                 {"Flush, Ace high"}},
        LineCase{LogLostAllMoney(4), "Player 4 lost all his money", kLogLostAllMoney, {4}, {}}),
    support::PrintedName());

TEST(GameLines, RulesAndFixedLines)
{
    EXPECT_EQ(GameSeatsEnd(), std::string(78, '='));
    EXPECT_EQ(LogHandRule(), std::string(33, '-'));
    EXPECT_STREQ(kHoleCards, "*** HOLE CARDS ***");
    EXPECT_STREQ(kSummary, "*** SUMMARY ***");
    EXPECT_STREQ(kLogNewHand, "New game start !");
    EXPECT_STREQ(kLogPreflopStart, "Preflop start");
    EXPECT_STREQ(kLogHumanBroke, "You lost all your money !");
    EXPECT_STREQ(kLogGameOver, "The game is over !");
}

TEST(GameLines, AQuotedLineIsAShortExcerpt)
{
    const std::string e9(59, 'x');
    for (const auto &[line, quoted] : std::initializer_list<std::pair<std::string, std::string>>{
             {"  Seat 1: a \r", "\"Seat 1: a\""},
             {std::string(1 << 20, '9'), "\"" + std::string(60, '9') + "...\""},
             {e9 + "\xC3\xA9\xC3\xA9", "\"" + e9 + "\xC3\xA9...\""}}) { // never half an é
        EXPECT_EQ(gamelines::Quote(line), quoted);
    }
}

TEST(GameLines, MatchRejectsWhatDoesNotFit)
{
    // A number field needs digits; literal parts must be there in full; nothing may follow.
    EXPECT_FALSE(Match("Tim_3: calls x", kCalls));
    EXPECT_FALSE(Match("Tim_3: calls 40 more", kCalls));
    EXPECT_FALSE(Match("Tim_3: call 40", kCalls));
    EXPECT_FALSE(Match("Player 2 calls for", kLogCalls));
    // A text field takes as little as it can: a name holding the literal after it is cut there.
    std::vector<std::string> texts;
    ASSERT_TRUE(Match("Dealt to A [ B [ Ah Kd ]", kDealtTo, nullptr, &texts));
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "B [ Ah Kd"}));
    EXPECT_EQ(AfterName(kFolds), ": folds");
    EXPECT_EQ(AfterName(kLogFolds), kLogFolds);
}

TEST(GameVocabulary, PersonasAndTheirNames)
{
    const std::map<std::string, int> strategies = {{"None", 0},      {"SSS", 1},    {"BSS", 2},
                                                   {"Hero", 3},      {"Master", 4}, {"Maniac", 5},
                                                   {"Professor", 6}, {"Tight", 7}};
    for (const auto &[name, code] : strategies) {
        EXPECT_STREQ(StrategyName(code), name.c_str());
        EXPECT_EQ(PersonaOfStrategy(name), code);
    }
    EXPECT_STREQ(StrategyName(8), "None");
    EXPECT_STREQ(StrategyName(-1), "None");
    EXPECT_EQ(PersonaOfStrategy("Tim"), kPersonaNone);
    EXPECT_EQ(PersonaOfName("Tim"), kPersonaTim);
    EXPECT_EQ(PersonaOfName("Hero"), kPersonaHero);
    EXPECT_EQ(PersonaOfName("hero"), kPersonaNone);
    EXPECT_EQ(PersonaOfName("Tight"), kPersonaNone);
    EXPECT_TRUE(IsHumanPersona(3));
    EXPECT_FALSE(IsHumanPersona(4));
}

struct PositionCase
{
    int seatCount;
    int bigBlind;
    std::vector<bool> inHand;
    std::vector<int> expected; // -1: not assigned
};
void PrintTo(const PositionCase &c, std::ostream *os)
{
    *os << c.seatCount << " seats classes " << testing::PrintToString(c.expected);
}

class PositionClasses : public ::testing::TestWithParam<PositionCase>
{
};

TEST_P(PositionClasses, CountBackFromTheBigBlind)
{
    const PositionCase &c = GetParam();
    std::vector<int> classes(static_cast<size_t>(c.seatCount), -1);
    AssignPositionClasses(
        c.seatCount, c.bigBlind, [&c](int s) { return c.inHand[static_cast<size_t>(s)]; },
        [&classes](int s, int positionClass) { classes[static_cast<size_t>(s)] = positionClass; });
    EXPECT_EQ(classes, c.expected);
}

// Ten seats, big blind 2: the small blind (1) and the button (0) are late, 9 8 7 middle, the
// rest early; out seats are passed over and keep nothing.
INSTANTIATE_TEST_SUITE_P(
    Tables, PositionClasses,
    ::testing::Values(
        PositionCase{10, 2, std::vector<bool>(10, true), {2, 2, 2, 0, 0, 0, 0, 1, 1, 1}},
        PositionCase{10,
                     2,
                     {true, false, true, true, true, true, true, true, false, true},
                     {2, -1, 2, 0, 0, 1, 1, 1, -1, 2}},
        PositionCase{2, 0, {true, true}, {2, 2}},
        PositionCase{6, 5, std::vector<bool>(6, true), {1, 1, 1, 2, 2, 2}}),
    support::PrintedName());

} // namespace
