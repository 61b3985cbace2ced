// Other rooms' wording, one real hand each (cut from the files in data/interchange/real): what
// each one's own words mean for the chips, and what is refused with which reason.

#include "interchange/Interchange.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct RoomCase
{
    const char *what;
    const char *text;
    int pot, rake;
    const char *player; // one action of this player...
    history::ActionKind kind;
    int amount; // ...puts in this much (no player: no action is looked at)
};
void PrintTo(const RoomCase &c, std::ostream *os)
{
    *os << c.what;
}

const RoomCase kCases[] = {
    {"GGPoker takes a jackpot besides the rake",
     "Poker Hand #RC3892131744: Hold'em No Limit ($0.02/$0.05) - 2025/09/17 05:56:53\n"
     "Table 'RushAndCash15467004' 6-max Seat #1 is the button\nSeat 1: b653e758 ($5.07 in chips)\n"
     "Seat 2: cddee094 ($8.37 in chips)\nSeat 3: 74ecd27 ($6.84 in chips)\n"
     "cddee094: posts small blind $0.02\n74ecd27: posts big blind $0.05\n*** HOLE CARDS ***\n"
     "b653e758: folds\ncddee094: raises $0.1 to $0.15\n74ecd27: raises $0.3 to $0.45\n"
     "cddee094: calls $0.3\n*** FLOP *** [2c Ts 5h]\ncddee094: checks\n74ecd27: bets $0.45\n"
     "cddee094: calls $0.45\n*** TURN *** [2c Ts 5h] [6s]\n*** RIVER *** [2c Ts 5h 6s] [2h]\n"
     "cddee094: shows [As Qd] (a pair of Twos)\n74ecd27: shows [Kc Qs] (a pair of Twos)\n"
     "*** SHOWDOWN ***\ncddee094 collected $1.65 from pot\n*** SUMMARY ***\n"
     "Total pot $1.8 | Rake $0.08 | Jackpot $0.07 | Bingo $0 | Fortune $0 | Tax $0\n",
     180, 15, "cddee094", history::ActionKind::Raise, 13},
    {"GGPoker without its uncalled bet's line and its summary's pot: the bet goes back",
     "Poker Hand #RC3892131862: Hold'em No Limit ($0.02/$0.05) - 2025/09/17 05:57:26\n"
     "Table 'RushAndCash15467122' 6-max Seat #1 is the button\nSeat 1: Hero ($6.88 in chips)\n"
     "Seat 2: 96a99e98 ($5.07 in chips)\nSeat 3: 9895ae87 ($3.7 in chips)\n"
     "Seat 6: 467e2e8b ($0.84 in chips)\n96a99e98: posts small blind $0.02\n"
     "9895ae87: posts big blind $0.05\n*** HOLE CARDS ***\n467e2e8b: calls $0.05\nHero: folds\n"
     "96a99e98: folds\n9895ae87: checks\n*** FLOP *** [Kc Ks 3d]\n9895ae87: checks\n"
     "467e2e8b: bets $0.06\n9895ae87: folds\n*** SHOWDOWN ***\n467e2e8b collected $0.12 from pot\n"
     "*** SUMMARY ***\n",
     18, 0, "467e2e8b", history::ActionKind::Bet, 6},
    {"Winamax: a blind out of place, the small one dead, the big one live",
     "Winamax Poker - CashGame - HandId: #5282949-1701-1382615078 - Holdem no limit (0.05€/0.10€) "
     "- "
     "2013/10/24 11:44:38 UTC\nTable: 'Vienna 36' 5-max (real money) Seat #2 is the button\n"
     "Seat 1: WAHIL (6.86€)\nSeat 2: beso760 (22.31€)\nSeat 3: bishop74270 (19.85€)\n"
     "Seat 4: R.Ford (10.08€)\n*** ANTE/BLINDS ***\nbishop74270 posts small blind 0.05€\n"
     "R.Ford posts big blind 0.10€\nWAHIL posts small blind 0.05€ out of position\n"
     "WAHIL posts big blind 0.10€ out of position\n*** PRE-FLOP *** \nWAHIL checks\n"
     "beso760 folds\nbishop74270 folds\nR.Ford checks\n*** FLOP *** [3d Ac Ad]\nR.Ford bets 0.35€\n"
     "WAHIL folds\nR.Ford collected 0.63€ from pot\n*** SUMMARY ***\nTotal pot 0.63€ | Rake "
     "0.02€\n",
     65, 2, "WAHIL", history::ActionKind::Ante, 5},
    {"Winamax: the total is what was paid out, the uncalled bet in it",
     "Winamax Poker - CashGame - HandId: #5334642-852-1383822101 - Holdem no limit (3€/6€) - "
     "2013/11/07 11:01:41 UTC\nTable: 'Dublin' 5-max (real money) Seat #2 is the button\n"
     "Seat 2: TORINOFA (525.21€)\nSeat 5: ovechkin08 (606€)\n*** ANTE/BLINDS ***\n"
     "TORINOFA posts small blind 3€\novechkin08 posts big blind 6€\n*** PRE-FLOP *** \n"
     "TORINOFA calls 3€\novechkin08 checks\n*** FLOP *** [4c 9h 8c]\novechkin08 checks\n"
     "TORINOFA bets 12€\novechkin08 folds\nTORINOFA collected 23.22€ from pot\n*** SUMMARY ***\n"
     "Total pot 23.22€ | Rake 0.78€\n",
     2400, 78, "TORINOFA", history::ActionKind::Bet, 1200},
    {"Winamax tournament: ante, small and big blind in chips",
     "Winamax Poker - Tournament \"BOOSTER\" buyIn: €4.50 + €4.50 + €1 level: 4 - HandId: "
     "#657563431500000000-1-1459000000 - Holdem no limit (25/150/300) - 2016/04/03 20:21:55 UTC\n"
     "Table: 'BOOSTER(153100000)#052' 8-max (real money) Seat #8 is the button\n"
     "Seat 1: Player1 (20000)\nSeat 2: Player2 (20000)\nSeat 8: Player3 (20000)\n"
     "*** ANTE/BLINDS ***\nPlayer1 posts ante 25\nPlayer2 posts ante 25\nPlayer3 posts ante 25\n"
     "Player1 posts small blind 150\nPlayer2 posts big blind 300\n*** PRE-FLOP *** \n"
     "Player3 folds\nPlayer1 raises 500 to 800\nPlayer2 folds\nPlayer1 collected 1175 from pot\n"
     "*** SUMMARY ***\nTotal pot 1175 | No rake\n",
     1175, 0, "Player1", history::ActionKind::Raise, 650},
    {"888poker: a raise gives the chips it puts in; the rake is what nobody took",
     "#Game No : 176531483\n***** Cassava Hand History for Game 176531483 *****\n"
     "$0.50/$1 Blinds No Limit Holdem - *** 30 05 2012 19:28:19\nTable Alcorcon (Real Money)\n"
     "Seat 6 is the button\nTotal number of players : 4\nSeat 4: PR_Eqiuty ( $144.79 )\n"
     "Seat 6: sander1900 ( $99.41 )\nSeat 7: iSmokeMeth ( $100.50 )\nSeat 9: maybmaybnot ( $103.81 "
     ")\n"
     "iSmokeMeth posts small blind [$0.50]\nmaybmaybnot posts big blind [$1]\n"
     "** Dealing down cards **\nPR_Eqiuty raises [$3]\nsander1900 raises [$10.50]\n"
     "iSmokeMeth folds\nmaybmaybnot folds\nPR_Eqiuty calls [$7.50]\n"
     "** Dealing flop ** [ Jc, 3s, 8d ]\nPR_Eqiuty checks\nsander1900 bets [$22.50]\n"
     "PR_Eqiuty folds\n** Summary **\nsander1900 collected [ $21.38 ]\n",
     4500, 112, "sander1900", history::ActionKind::Raise, 1050},
    {"888poker: a dead blind is dead money and a live big blind",
     "***** 888poker Hand History for Game 359567819 *****\n"
     "$1/$2 Blinds No Limit Holdem - *** 14 04 2015 03:11:08\nTable Arezzo 6 Max (Real Money)\n"
     "Seat 6 is the button\nTotal number of players : 3\nSeat 2: GYAMEPRO ( $70 )\n"
     "Seat 7: icebbberg ( $220.01 )\nSeat 9: whoisdrew ( $100.89 )\n"
     "icebbberg posts small blind [$1]\nwhoisdrew posts big blind [$2]\n"
     "GYAMEPRO posts dead blind [$1 + $2]\n** Dealing down cards **\nGYAMEPRO checks\n"
     "icebbberg folds\nwhoisdrew checks\n** Dealing flop ** [ Ks, Jc, Ac ]\n** Summary **\n"
     "GYAMEPRO collected [ $5.70 ]\n",
     600, 30, "GYAMEPRO", history::ActionKind::Ante, 100},
    {"888poker: a walk's big blind is collected, not returned",
     "***** Cassava Hand History for Game 176497340 *****\n"
     "$1/$2 Blinds No Limit Holdem - *** 30 05 2012 15:29:43\nTable Amersfoort (Real Money)\n"
     "Seat 2 is the button\nSeat 1: Hurricane888 ( $324.25 )\nSeat 2: 71buckspizza ( $211 )\n"
     "Seat 6: euro200 ( $237.88 )\neuro200 posts small blind [$1]\n"
     "Hurricane888 posts big blind [$2]\n** Dealing down cards **\n71buckspizza folds\n"
     "euro200 folds\n** Summary **\nHurricane888 collected [ $3 ]\n",
     300, 0, "", history::ActionKind::Fold, 0},
};

class Rooms : public testing::TestWithParam<RoomCase>
{
};

TEST_P(Rooms, ReadEachRoomsWordsAsItMeansThem)
{
    const RoomCase &c = GetParam();
    interchange::ImportResult result;
    std::string error;
    ASSERT_TRUE(interchange::ImportText(c.text, "room.txt", result, error)) << error;
    // Read without a word, the room's own lines between hands included.
    ASSERT_TRUE(result.warnings.empty()) << result.warnings[0];
    const history::Hand &hand = result.games.at(0).hands.at(0);
    int won = 0;
    for (const history::HandSeat &seat : hand.seats)
        won += seat.won;
    EXPECT_EQ(hand.pot, c.pot);
    EXPECT_EQ(hand.pot - won, c.rake);
    if (*c.player == '\0')
        return;
    const int seat = result.games[0].seatOf(c.player);
    const auto action = std::find_if(hand.actions.begin(), hand.actions.end(), [&](const auto &a) {
        return a.seat == seat && a.kind == c.kind;
    });
    ASSERT_NE(action, hand.actions.end());
    EXPECT_EQ(action->amount, c.amount);
}

INSTANTIATE_TEST_SUITE_P(Real, Rooms, testing::ValuesIn(kCases), support::PrintedName());

// A line of a real hand changed into one that cannot be: the hand is refused for that reason.
TEST(Rooms, RefuseWhatCannotBeWithItsReason)
{
    const std::string winamax = kCases[3].text, eight = kCases[5].text;
    const struct
    {
        const std::string &text;
        const char *line, *changed, *message;
    } cases[] = {
        {winamax, "TORINOFA bets 12€\n", "TORINOFA bets 12€\novechkin08 bets 12€\n",
         "ovechkin08 bets facing a bet"},
        {winamax, "TORINOFA bets 12€\n", "TORINOFA bets 0€\n", "TORINOFA bets facing a bet"},
        {winamax, "TORINOFA calls 3€\n", "TORINOFA raises 0€ to 6€\n",
         "TORINOFA raises to 6 without topping the bet"},
        {eight, "sander1900 raises [$10.50]", "sander1900 raises [$3]",
         "sander1900 raises $3 without topping the bet"},
        {eight, "[ Jc, 3s, 8d ]", "[ Jc, 3s, Jc ]", "the card Jc is dealt twice"},
        {eight, "[ Jc, 3s, 8d ]\n",
         "[ Jc, 3s, 8d ]\n** Dealing turn ** [ 2d ]\n** Dealing river ** [ 2h ]\n"
         "** Dealing river ** [ 2s ]\n",
         "unreadable board cards"},
    };
    for (const auto &c : cases) {
        std::string text = c.text;
        text.replace(text.find(c.line), std::string(c.line).size(), c.changed);
        interchange::ImportResult result;
        std::string error;
        EXPECT_FALSE(interchange::ImportText(text, "room.txt", result, error)) << c.changed;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// What is no hand of the program's formats is named by its first line; a room's hand of
// another game by its own line.
TEST(Rooms, RefuseOtherGamesAndUnknownTextsWithTheirLine)
{
    const std::pair<const char *, const char *> cases[] = {
        {"#Game No : 1234\nsomething else\n",
         "room.txt:1: format not recognised: first line \"#Game No : 1234\""},
        {"Winamax Poker - CashGame - HandId: #8270134-804-1 - Omaha pot limit (1.00€/2.00€) - x\n",
         "room.txt:1: not a No-Limit Hold'em hand"},
        {"\n***** 888poker Hand History for Game 349695084 *****\n"
         "$0.50/$1 Blinds Fix Limit Holdem - *** 06 01 2014 19:08:11\n",
         "room.txt:3: not a No-Limit Hold'em hand"},
    };
    for (const auto &[text, message] : cases) {
        interchange::ImportResult result;
        std::string error;
        EXPECT_FALSE(interchange::ImportText(text, "room.txt", result, error));
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
}

} // namespace
