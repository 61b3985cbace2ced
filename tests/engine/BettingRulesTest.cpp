// How decisions are booked and when a betting round ends: scripted hands, each compared with the
// whole hand history and the seats the game asked, and with the output pane where the pane
// says what the history does not (an all-in call or bet, a tournament place).
#include "tests/engine/EngineTestSupport.h"

#include <algorithm>
#include <functional>

using namespace enginetest;

namespace {

struct BettingCase
{
    BettingCase(std::string caseName, std::vector<SeatSetup> seatList, std::vector<int> drawList,
                std::vector<std::pair<int, int>> script)
        : name(std::move(caseName))
        , seats(std::move(seatList))
        , draws(std::move(drawList))
        , decisions(std::move(script))
    {}
    // What sets the case apart; the table's chips and the seats asked are checked for all.
    BettingCase &Check(std::function<void(const CDunmereGame &)> more)
    {
        check = std::move(more);
        return *this;
    }
    // Blinds 100/200 and an ante of 25 from the first hand on.
    BettingCase &AtAnteLevel()
    {
        anteLevel = true;
        return *this;
    }
    // The human's answers at seat 0: (amount, fold).
    BettingCase &Human(std::vector<std::pair<int, bool>> answers)
    {
        human = std::move(answers);
        return *this;
    }
    // Pane lines expected in this order, where the pane says what the history does not.
    BettingCase &Pane(std::vector<std::string> lines)
    {
        pane = std::move(lines);
        return *this;
    }

    std::string name;
    std::vector<SeatSetup> seats;
    std::vector<int> draws;
    std::vector<std::pair<int, int>> decisions; // (seat, amount) of the computer seats
    std::function<void(const CDunmereGame &)> check;
    bool anteLevel = false;
    std::vector<std::pair<int, bool>> human;
    std::vector<std::string> pane;
};

void PrintTo(const BettingCase &c, std::ostream *os)
{
    *os << c.name;
}

// Three seats, blinds 10/20: button 1, small blind 2, big blind 0.
const std::vector<int> kThreeHanded = Draws(kButtonOnSeat1Of3, "Ah 2c 7d Kd 3c 8d Qs Js 4h 9c 5s");
// Four seats, button 3: seat 0 posts the small blind, seat 1 the big blind, seat 2 acts first.
const std::vector<int> kFourHanded =
    Draws(kButtonOnSeat3Of4, "Ah Kh 2c Qh Ad Kd 7s Qd 3s 8c 9d Jc 4h");

std::vector<SeatSetup> Three(int hero, int master, int tim)
{
    return {{"Hero", hero}, {"Master", master}, {"Tim", tim}};
}

std::vector<SeatSetup> Four(int hero, int master, int tim, int maniac)
{
    return {{"Hero", hero}, {"Master", master}, {"Tim", tim}, {"Maniac", maniac}};
}

const BettingCase kCases[] = {
    BettingCase("BigBlindRaisingItsOptionReopensTheRound", Three(1000, 1000, 1000), kThreeHanded,
                // A raise at the option, two calls, then checks.
                {{1, 20},
                 {2, 10},
                 {0, 40},
                 {1, 40},
                 {2, 40},
                 {2, 0},
                 {0, 0},
                 {1, 0},
                 {2, 0},
                 {0, 0},
                 {1, 0},
                 {2, 0},
                 {0, 0},
                 {1, 0}})
        .Check([](const CDunmereGame &game) { EXPECT_EQ(game.m_table.m_lastRaiser, 0); }),

    BettingCase("FoldPressedWithNothingOwedIsAFold", Three(1000, 1000, 1000), kThreeHanded,
                {{1, 20}, {2, 10}, {2, 0}, {1, 0}, {2, 0}, {1, 0}, {2, 0}, {1, 0}})
        .Human({{0, true}}) // FOLD at the big blind's option
        .Check([](const CDunmereGame &game) {
            // The big blind's 20 went into the pot and to the winner, not into thin air.
            EXPECT_EQ(game.m_table.m_stack[0], 980);
            EXPECT_TRUE(game.m_table.m_folded[0]);
        }),

    // The big blind's last 30: short of the 80 owed.
    BettingCase("AllInForLessThanOwedIsACall", Three(50, 1000, 1000), kThreeHanded,
                {{1, 100}, {2, 0}, {0, 30}})
        .Pane({"Player 1 raises 100", "Player 2 folds", "Player 0 allin with bet 30"})
        .Check([](const CDunmereGame &game) {
            bool callEvent = false;
            for (const CAction &action : game.m_actions)
                callEvent |= action.m_kind == 11 && action.m_seat == 0 && action.m_amount == 30;
            EXPECT_TRUE(callEvent);
            EXPECT_EQ(game.m_table.m_lastAction[0], 2);
            // Nobody can bet after the flop, so the preflop amount to call is still there.
            EXPECT_EQ(game.m_table.m_amountToCall, 100);
        }),

    // -7: a fold.
    BettingCase("DecisionsBeyondTheStackAreKeptWithinIt", Three(1000, 1000, 1000), kThreeHanded,
                {{1, 5000}, {2, -7}, {0, 0}})
        .Pane({"Player 1 allin with bet 1000", "Player 2 folds", "Player 0 folds",
               "Player 1 wins pot (1030)"}),

    // The small blind puts out 30 of the 90 it owes with chips to spare: it calls, and is not
    // asked again.
    BettingCase("ChipsShortOfTheCallCompleteIt", Three(1000, 1000, 1000), kThreeHanded,
                {{1, 100}, {2, 30}, {0, 0}, {2, 0}, {1, 0}, {2, 0}, {1, 0}, {2, 0}, {1, 0}})
        .Pane({"Player 1 raises 100", "Player 2 calls for 90", "Player 0 folds"}),

    // Flop: check, bet, raise, calls; back at the raiser the round ends.
    BettingCase("PostflopRoundsEndAfterEveryoneChecksOrTheLastRaiserIsReached",
                Three(1000, 1000, 1000), kThreeHanded,
                {{1, 20},
                 {2, 10},
                 {0, 0},
                 {2, 0},
                 {0, 30},
                 {1, 90},
                 {2, 90},
                 {0, 60},
                 {2, 0},
                 {0, 0},
                 {1, 0},
                 {2, 0},
                 {0, 0},
                 {1, 0}}),

    // Flop: a bet, a fold, a call, and the button still answers.
    BettingCase("AFoldBeforeACallLeavesTheLastSeatItsTurn", Four(1000, 1000, 1000, 1000),
                kFourHanded,
                {{2, 20},
                 {3, 20},
                 {0, 10},
                 {1, 0},
                 {0, 40},
                 {1, 0},
                 {2, 40},
                 {3, 0},
                 {0, 0},
                 {2, 0},
                 {0, 0},
                 {2, 0}}),

    // All-in seats are passed over and never end a round. Here the small blind is all in with
    // its blind and the big blind has 60 behind: the button raises to 60, the big blind
    // answers, and on the flop goes all in for less.
    BettingCase("AllInSmallBlindDoesNotEndTheRoundBeforeTheBigBlindAnswers",
                Four(10, 80, 1000, 1000), kFourHanded,
                {{2, 0}, {3, 60}, {1, 40}, {1, 0}, {3, 100}, {1, 20}})
        .Pane({"Player 3 raises 100", "Player 1 allin with bet 20"}),

    // Seat 2, first to act, has only its ante: the button is asked before the flop, and on the
    // flop the round goes past seat 2 to the button.
    BettingCase("SeatAllInWithItsAnteIsPassedOverOnEveryStreet", Four(1500, 1500, 25, 1500),
                kFourHanded, {{3, 200}, {0, 100}, {1, 0}, {0, 0}, {1, 0}, {3, 400}, {0, 0}, {1, 0}})
        .AtAnteLevel()
        // The tournament's place is told in the pane only.
        .Pane({"Player 2 lost all his money", "Tim_2 finishes 4th"}),

    // The big blind is all in with its blind; the flop bet is answered by the seats after it.
    BettingCase(
        "AllInBigBlindInTheMiddleLeavesTheSeatsAfterItTheirTurn", Four(1000, 20, 1000, 1000),
        kFourHanded,
        {{2, 20}, {3, 20}, {0, 10}, {0, 40}, {2, 40}, {3, 0}, {0, 0}, {2, 0}, {0, 0}, {2, 0}}),

    // Antes are dead money: the amount to call is the big blind, not the blind plus the ante,
    // and the big blind's check ends the round.
    BettingCase("AtAnAnteLevelTheBigBlindChecksBehindCalls", Three(1500, 1500, 1500),
                Draws(kButtonOnSeat2Of3, "Ah 2c 7d Kd 3c 8d Qs Js 4h"),
                {{2, 200}, {0, 100}, {1, 0}, {0, 300}, {1, 0}, {2, 0}})
        .AtAnteLevel()
        .Check([](const CDunmereGame &game) { EXPECT_EQ(game.m_table.m_stack[1], 1275); }),

    // All in after the ante, short of the big blind; the small blind folds and the big blind
    // owes nothing and is alone.
    BettingCase("ShortAllInCallLeavesTheBigBlindNothingToAnswer", Three(1500, 1500, 170),
                Draws(kButtonOnSeat2Of3, "Ah Kh 7d Ad Kd 8d Qs Js 4h 9c 2s"), {{2, 145}, {0, 0}})
        .AtAnteLevel()
        .Pane({"Player 2 allin with bet 145", "Player 0 folds", "Player 2 lost all his money",
               "Tim_2 finishes 3rd"}),
};

class BettingRules : public GameFixture, public testing::WithParamInterface<BettingCase>
{
};

// `expected` appear in `lines` in this order, other lines between them allowed.
void ExpectInOrder(const std::vector<std::string> &lines, const std::vector<std::string> &expected)
{
    auto at = lines.begin();
    for (const std::string &line : expected) {
        at = std::find(at, lines.end(), line);
        ASSERT_TRUE(at != lines.end()) << "pane lacks \"" << line << "\" (or has it too early)";
        ++at;
    }
}

} // namespace

TEST_P(BettingRules, WholeHandHistorySeatsAskedAndChips)
{
    const BettingCase &c = GetParam();
    m_game.SetStackedDraws(c.draws);
    std::vector<int> asked;
    for (const auto &[seat, amount] : c.decisions) {
        m_decider.Add(seat, amount);
        asked.push_back(seat);
    }
    ScriptedHuman human(m_game);
    for (const auto &[amount, fold] : c.human)
        human.Add(amount, fold);
    if (!c.human.empty())
        m_game.SetHumanPlayer(&human);
    if (c.anteLevel) {
        GameSetupItems items = Items(c.seats, 0, 0, 3);
        m_game.StartGame(items);
        AnteLevel();
        Deal(1);
    } else {
        Play(Items(c.seats), 1);
    }

    EXPECT_EQ(m_decider.m_asked, asked);
    if (!c.human.empty()) {
        EXPECT_EQ(human.SliderMaxes(), std::vector<int>(c.human.size(), c.seats[0].stack));
    }
    ExpectSameLines(History(), ExpectedTexts("BettingRules." + c.name)["hand history"],
                    "hand history");
    ExpectInOrder(m_pane.Lines(), c.pane);
    int start = 0, end = 0;
    for (size_t s = 0; s < c.seats.size(); ++s) {
        start += c.seats[s].stack;
        end += m_game.m_table.m_stack[s];
        EXPECT_GE(m_game.m_table.m_stack[s], 0) << "seat " << s;
    }
    EXPECT_EQ(end, start) << "chips at the table";
    if (c.check)
        c.check(m_game);
}

INSTANTIATE_TEST_SUITE_P(Hands, BettingRules, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<BettingCase> &test) {
                             return test.param.name;
                         });
