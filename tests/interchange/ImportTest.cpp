// Hand-written PokerStars and PHH files, one per kind of game, and broken or foreign ones.

#include "coach/Review.h"
#include "interchange/Interchange.h"
#include "tests/support/CaseNames.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <random>
#include <tuple>

#include <sys/stat.h>

namespace {

const std::string kData = BRISQUEL_TEST_DATA;

interchange::ImportResult Import(const std::string &file)
{
    interchange::ImportResult result;
    std::string error;
    EXPECT_TRUE(interchange::ImportFile(kData + "/" + file, result, error)) << error;
    EXPECT_EQ(result.skipped, 0);
    for (const std::string &warning : result.warnings)
        ADD_FAILURE() << warning;
    return result;
}

// Every chip of every hand is accounted for: put in = the pot = paid out + rake, no stack
// goes below zero, and a player's stack at the end of a hand is the next hand's start.
void ExpectChipsAddUp(const history::Game &game, const std::vector<int> &rakes)
{
    ASSERT_EQ(game.hands.size(), rakes.size());
    for (size_t h = 0; h < game.hands.size(); ++h) {
        const history::Hand &hand = game.hands[h];
        SCOPED_TRACE("hand " + std::to_string(hand.number));
        int invested = 0, paid = 0;
        for (const history::HandSeat &seat : hand.seats) {
            invested += seat.invested;
            paid += seat.won;
            EXPECT_GE(seat.endStack, 0);
            EXPECT_EQ(seat.endStack, seat.startStack - seat.invested + seat.won);
        }
        EXPECT_EQ(invested, hand.pot);
        EXPECT_EQ(paid + rakes[h], hand.pot);
        for (const history::Action &a : hand.actions) {
            EXPECT_LE(a.amount, a.stackBefore);
            EXPECT_TRUE(hand.seats[static_cast<size_t>(a.seat)].inHand);
        }
        if (h + 1 < game.hands.size()) {
            const history::Hand &next = game.hands[h + 1];
            for (size_t s = 0; s < hand.seats.size(); ++s) {
                if (hand.seats[s].inHand && next.seats[s].name == hand.seats[s].name) {
                    EXPECT_EQ(hand.seats[s].endStack, next.seats[s].startStack) << "seat " << s;
                }
            }
        }
    }
}

const history::Action &ActionOf(const history::Hand &hand, int seat, history::Street street,
                                int nth = 0)
{
    for (const history::Action &a : hand.actions) {
        if (a.seat == seat && a.street == street && nth-- == 0)
            return a;
    }
    static const history::Action none;
    ADD_FAILURE() << "no such action";
    return none;
}

TEST(ImportPokerStars, RealMoneyCashGameKeepsCentsExactly)
{
    const interchange::ImportResult result = Import("cash_usd.txt");
    ASSERT_EQ(result.games.size(), 1u);
    const history::Game &game = result.games[0];
    ExpectChipsAddUp(game, {275, 7});
    EXPECT_EQ(game.humanSeat(), 5);
    const history::Hand &first = game.hands[0];
    EXPECT_EQ(first.seats[1].startStack, 6137);
    EXPECT_FALSE(first.seats[4].inHand) << "sitting out";
    EXPECT_EQ(first.seats[4].endStack, 1205);
    EXPECT_EQ(first.button, 1);
    // "raises $32.25 to $44.75" after a bet of $6.25: $38.50 more.
    const history::Action &shove = ActionOf(first, 5, history::Street::Flop, 1);
    EXPECT_EQ(shove.kind, history::ActionKind::Raise);
    EXPECT_EQ(shove.amount, 3850);
    EXPECT_TRUE(shove.allIn);
    EXPECT_EQ(shove.toCall, 625);
    const history::Action &call = ActionOf(first, 0, history::Street::Flop, 1);
    EXPECT_EQ(call.amount, 3200);
    EXPECT_TRUE(call.allIn);
    EXPECT_EQ(first.pot, 10050);
    EXPECT_EQ(first.seats[0].won, 9750);
    EXPECT_EQ(first.seats[5].won, 25) << "the uncalled bet";
    EXPECT_EQ(first.seats[5].cards,
              (std::array<int, 2>{history::CardFromText("Ah"), history::CardFromText("Kd")}));
    EXPECT_EQ(first.seats[0].cards[0], history::CardFromText("7s"));
    EXPECT_TRUE(first.showdown);
    EXPECT_EQ(first.board.size(), 5u);
    EXPECT_TRUE(game.hands[1].seats[4].inHand) << "back from sitting out";
    EXPECT_FALSE(game.hands[1].seats[5].inHand) << "left the table";
}

TEST(ImportPokerStars, TournamentWithAntesSidePotsAndASplitPot)
{
    const interchange::ImportResult result = Import("tournament_antes.txt");
    ASSERT_EQ(result.games.size(), 1u);
    const history::Game &game = result.games[0];
    ExpectChipsAddUp(game, {0, 0});
    ASSERT_EQ(game.seats.size(), 9u);
    EXPECT_EQ(game.humanSeat(), 8);
    const history::Hand &first = game.hands[0];
    EXPECT_EQ(std::count_if(first.actions.begin(), first.actions.end(),
                            [](const history::Action &a) {
                                return a.kind == history::ActionKind::Ante && a.amount == 10;
                            }),
              5);
    EXPECT_EQ(first.smallBlindSeat, 2);
    EXPECT_EQ(first.bigBlindSeat, 3);
    EXPECT_EQ(first.seats[8].won, 700 + 2170);
    EXPECT_EQ(first.seats[8].endStack, 2870);
    EXPECT_TRUE(first.seats[2].busted);
    EXPECT_TRUE(first.seats[6].busted);
    EXPECT_EQ(game.hands[1].seats[3].won, 865);
    EXPECT_EQ(game.hands[1].seats[8].won, 865);
    EXPECT_EQ(game.hands[1].winners.size(), 2u);
}

TEST(ImportPokerStars, SeveralTablesInOneFileMakeOneGameEach)
{
    const interchange::ImportResult result = Import("two_tables_eur.txt");
    ASSERT_EQ(result.games.size(), 2u);
    const history::Game &full = result.games[0], &headsUp = result.games[1];
    ASSERT_EQ(full.seats.size(), 10u);
    ASSERT_EQ(headsUp.seats.size(), 2u);
    ExpectChipsAddUp(full, {0, 0});
    ExpectChipsAddUp(headsUp, {2});
    EXPECT_EQ(full.hands[0].seats[1].startStack, 498);
    EXPECT_FALSE(full.hands[1].seats[4].inHand);
    EXPECT_EQ(headsUp.seatOf("zz top"), 1);
    EXPECT_EQ(headsUp.humanSeat(), 0);
    EXPECT_EQ(headsUp.hands[0].seats[0].endStack, 233);
    EXPECT_EQ(headsUp.hands[0].smallBlindSeat, 0);
    EXPECT_EQ(ActionOf(headsUp.hands[0], 1, history::Street::Flop).kind, history::ActionKind::Bet);
}

// The coach grades imported hands like the game's own.
TEST(ImportPokerStars, TheCoachReviewsTheDealtToPlayer)
{
    const interchange::ImportResult result = Import("tournament_antes.txt");
    ASSERT_EQ(result.games.size(), 1u);
    const history::Game &game = result.games[0];
    std::string error;
    const int seat = coach::ReviewSeat(game, "", error);
    EXPECT_EQ(seat, 8);
    coach::Estimator estimator(200, 5);
    std::vector<coach::ReviewRow> rows;
    coach::ReviewSummary summary;
    ASSERT_TRUE(coach::ReviewGame(game, seat, estimator, rows, summary, error)) << error;
    EXPECT_GE(summary.decisions, 5);
}

TEST(ImportPhh, HandsShownDecideThePotWithoutFinishingStacks)
{
    const interchange::ImportResult result = Import("three_way.phh");
    ASSERT_EQ(result.games.size(), 1u);
    const history::Game &game = result.games[0];
    ExpectChipsAddUp(game, {0});
    const history::Hand &hand = game.hands[0];
    EXPECT_EQ(hand.button, 2);
    EXPECT_EQ(hand.smallBlindSeat, 0);
    EXPECT_EQ(hand.seats[0].endStack, 935);
    EXPECT_EQ(hand.seats[1].endStack, 665);
    EXPECT_EQ(hand.seats[2].endStack, 700);
    EXPECT_EQ(hand.seats[1].name, "Short Stack");
    EXPECT_EQ(game.humanSeat(), -1) << "two hands were known from the deal";
}

// Hands as rooms and tools write them, each case a real hand's shape: what each player ends up
// with over the file (won less put in, with money from outside the pot) and what it counts in.
struct ResultCase
{
    const char *label;
    std::string text;
    std::map<std::string, int> net;
    const char *unit;
};

void PrintTo(const ResultCase &c, std::ostream *os)
{
    *os << c.label;
}

class ResultsAsWritten : public ::testing::TestWithParam<ResultCase>
{
};

TEST_P(ResultsAsWritten, PaysEachPlayerWhatTheFileSays)
{
    interchange::ImportResult result;
    std::string error;
    ASSERT_TRUE(interchange::ImportText(GetParam().text, "in.txt", result, error)) << error;
    EXPECT_EQ(result.skipped, 0);
    std::map<std::string, int> net;
    for (const history::Game &game : result.games) {
        EXPECT_EQ(game.moneyUnit, GetParam().unit);
        for (const history::Hand &hand : game.hands)
            for (const history::HandSeat &seat : hand.seats)
                if (seat.inHand)
                    net[seat.name] += seat.won - seat.invested + seat.chipsAdded;
    }
    EXPECT_EQ(net, GetParam().net);
}

std::string Stars(const std::string &blinds, const std::string &body)
{
    return "PokerStars Hand #250000000001:  Hold'em No Limit (" + blinds +
           ") - 2024/01/01 10:00:00 ET\nTable 'T' 6-max Seat #1 is the button\n" + body;
}

INSTANTIATE_TEST_SUITE_P(
    Import, ResultsAsWritten,
    ::testing::Values(
        // Literal and basic strings, over several lines too, escapes, comments, a dotless inf.
        ResultCase{"TomlStrings",
                   "variant = 'NT' # no-limit\nantes = [0, 0]\nblinds_or_straddles = [5, 10]\n"
                   "starting_stacks = [inf, 200]\nactions = [\n  'd dh p1 ??\?\?', # dealt\n"
                   "  \"d dh p2 ????\", '''p2 cbr 30''', \"\"\"\np1 f\"\"\"]\n"
                   "players = ['''Al \"the\" Pal''', \"B\\u00f6 \\\"B\\\"\"]\n",
                   {{"Al \"the\" Pal", -10}, {"B\xC3\xB6 \"B\"", 10}},
                   ""},
        // The big blind all in for less: the others still owe the whole big blind.
        ResultCase{"ShortAllInBigBlind",
                   Stars("10/20", "Seat 1: a (1000 in chips)\nSeat 2: b (1000 in chips)\n"
                                  "Seat 3: c (15 in chips)\nb: posts small blind 10\n"
                                  "c: posts big blind 15 and is all-in\n*** HOLE CARDS ***\n"
                                  "a: calls 20\nb: calls 10\n*** FLOP *** [2c 3d 4h]\nb: checks\n"
                                  "a: checks\n*** TURN *** [2c 3d 4h] [9s]\nb: checks\na: checks\n"
                                  "*** RIVER *** [2c 3d 4h 9s] [Kd]\nb: checks\na: checks\n"
                                  "*** SHOW DOWN ***\nc: shows [Ac Ad]\na: shows [Qc Qd]\n"
                                  "b: mucks hand\nc collected 45 from main pot\n"
                                  "a collected 10 from side pot\n*** SUMMARY ***\n"
                                  "Total pot 55 Main pot 45. Side pot 10. | Rake 0\n"),
                   {{"a", -10}, {"b", -20}, {"c", 30}},
                   ""},
        // Run twice: the pot split as written, one run each.
        ResultCase{"RunTwice",
                   Stars("10/20",
                         "Seat 1: a (100 in chips)\nSeat 2: b (100 in chips)\n"
                         "a: posts small blind 10\nb: posts big blind 20\n"
                         "*** HOLE CARDS ***\na: raises 80 to 100 and is all-in\n"
                         "b: calls 80 and is all-in\n*** FIRST FLOP *** [2c 3d 4h]\n"
                         "*** FIRST TURN *** [2c 3d 4h] [9s]\n"
                         "*** FIRST RIVER *** [2c 3d 4h 9s] [Kd]\n"
                         "*** SECOND FLOP *** [Jc Jd 5s]\n*** SECOND TURN *** [Jc Jd 5s] [6h]\n"
                         "*** SECOND RIVER *** [Jc Jd 5s 6h] [7h]\n*** FIRST SHOW DOWN ***\n"
                         "a: shows [Ac Ad]\nb: shows [8c 9c]\na collected 100 from pot\n"
                         "*** SECOND SHOW DOWN ***\na: shows [Ac Ad]\nb: shows [8c 9c]\n"
                         "b collected 100 from pot\n*** SUMMARY ***\nTotal pot 200 | Rake 0\n"
                         "Hand was run twice\nFIRST Board [2c 3d 4h 9s Kd]\n"),
                   {{"a", 0}, {"b", 0}},
                   ""},
        // No line returns the uncalled raise, and thousands are written with commas.
        ResultCase{"NoUncalledLine",
                   Stars("10/20",
                         "Seat 1: a (1,500 in chips)\nSeat 2: b (2,000 in chips)\n"
                         "Seat 3: c (1,000 in chips)\nb: posts small blind 10\n"
                         "c: posts big blind 20\n*** HOLE CARDS ***\n"
                         "a: raises 1,480 to 1,500 and is all-in\nb: folds\nc: folds\n"
                         "a collected 50 from pot\n*** SUMMARY ***\nTotal pot 50 | Rake 0\n"),
                   {{"a", 30}, {"b", -10}, {"c", -20}},
                   ""},
        // A player all in cashes out: the room pays him, whoever takes the pot.
        ResultCase{"CashOut",
                   Stars("$0.05/$0.10 USD",
                         "Seat 1: a ($10 in chips)\nSeat 2: b ($10 in chips)\n"
                         "a: posts small blind $0.05\nb: posts big blind $0.10\n"
                         "*** HOLE CARDS ***\na: raises $9.90 to $10 and is all-in\n"
                         "b: calls $9.90 and is all-in\n*** FLOP *** [2c 3d 4h]\n"
                         "a cashed out the hand for $5.70 | Cash Out Fee $0.06\n"
                         "*** TURN *** [2c 3d 4h] [9s]\n"
                         "*** RIVER *** [2c 3d 4h 9s] [Kd]\n*** SHOW DOWN ***\n"
                         "a: shows [Qc Qd]\nb: shows [Kc Ks]\n"
                         "b collected $19.50 from pot\n*** SUMMARY ***\n"
                         "Total pot $20 | Rake $0.50\n"),
                   {{"a", -430}, {"b", 950}},
                   "$"},
        // A player sitting out posts and is folded; one coming back posts a dead small blind
        // with his big one, a new one an entering big blind.
        ResultCase{
            "SittingOutAndEnteringBlinds",
            Stars("$0.05/$0.10 USD",
                  "Seat 1: a ($5 in chips)\nSeat 2: b ($5 in chips) is sitting out\n"
                  "Seat 3: c ($5 in chips)\nSeat 4: d ($5 in chips)\nSeat 5: e ($5 in chips)\n"
                  "b: posts small blind $0.05\nc: posts big blind $0.10\n"
                  "d: posts small & big blinds $0.15\ne: posts big blind $0.10\n"
                  "*** HOLE CARDS ***\nd: checks\ne: checks\na: calls $0.10\nb: folds\n"
                  "c: checks\n*** FLOP *** [2c 3d 4h]\nc: bets $0.40\nd: folds\ne: folds\n"
                  "a: folds\nUncalled bet ($0.40) returned to c\nc collected $0.50 from pot\n"
                  "*** SUMMARY ***\nTotal pot $0.50 | Rake $0\n"),
            {{"a", -10}, {"b", -5}, {"c", 40}, {"d", -15}, {"e", -10}},
            "$"}),
    [](const ::testing::TestParamInfo<ResultCase> &param) { return param.param.label; });

// Every file cut short anywhere, or with a character changed anywhere, is read or refused
// with a message naming it and a line; whatever is read adds up.
class DamagedFiles : public ::testing::TestWithParam<const char *>
{
};

TEST_P(DamagedFiles, AreReadOrRefusedNeverCrash)
{
    std::ifstream file(kData + "/" + GetParam(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    std::mt19937 random(7);
    const char kNoise[] = "0123456789 .$:[]()#\"\nxp-";
    for (int trial = 0; trial < 300; ++trial) {
        std::string damaged = text;
        const size_t at = random() % text.size();
        if (trial % 2 == 0)
            damaged.resize(at);
        else
            damaged[at] = kNoise[random() % (sizeof kNoise - 1)];
        interchange::ImportResult result;
        std::string error;
        if (!interchange::ImportText(damaged, "in.txt", result, error)) {
            EXPECT_EQ(error.rfind("in.txt:", 0), 0u) << error;
            continue;
        }
        for (const history::Game &game : result.games) {
            for (const history::Hand &hand : game.hands) {
                int invested = 0;
                for (const history::HandSeat &seat : hand.seats)
                    invested += seat.invested;
                EXPECT_EQ(invested, hand.pot);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(HandWritten, DamagedFiles,
                         ::testing::Values("cash_usd.txt", "tournament_antes.txt",
                                           "two_tables_eur.txt", "four_all_in.txt",
                                           "three_way.phh"),
                         support::PrintedName());

struct BadCase
{
    const char *label;
    std::string text;
    const char *message; // expected in the error, or in a warning when some hands read
    int skipped;         // -1: nothing readable
};

void PrintTo(const BadCase &c, std::ostream *os)
{
    *os << c.label;
}

const char kGoodHand[] = "PokerStars Hand #7:  Hold'em No Limit (5/10) - 2024/01/01 10:00:00 ET\n"
                         "Table 'T' 3-max (Play Money) Seat #1 is the button\n"
                         "Seat 1: a (500 in chips)\nSeat 2: b (500 in chips)\n"
                         "Seat 3: c (500 in chips)\nb: posts small blind 5\nc: posts big blind 10\n"
                         "*** HOLE CARDS ***\na: folds\nb: folds\n"
                         "Uncalled bet (5) returned to c\nc collected 10 from pot\n"
                         "*** SUMMARY ***\nTotal pot 10 | Rake 0\n"
                         "Seat 1: a (button) folded before Flop (didn't bet)\n"
                         "Seat 2: b (small blind) folded before Flop\n"
                         "Seat 3: c (big blind) collected (10)\n\n";

const char kWinamaxHand[] =
    "Winamax Poker - CashGame - HandId: #9-1-1704103500 - Holdem no limit (5/10) - 2024/01/01 "
    "10:05:00 UTC\nTable: 'T' 3-max (play money) Seat #1 is the button\nSeat 1: a (500)\n"
    "Seat 2: b (500)\nSeat 3: c (500)\n*** ANTE/BLINDS ***\nb posts small blind 5\n"
    "c posts big blind 10\n*** PRE-FLOP *** \na folds\nb calls 5\nc checks\n"
    "*** FLOP *** [2c 7d Jh]\nb checks\nc checks\n*** TURN *** [2c 7d Jh][Qs]\nb checks\n"
    "c checks\n*** RIVER *** [2c 7d Jh Qs][3h]\nb checks\nc checks\n*** SHOW DOWN ***\n"
    "b shows [Ah Kh] (High card : Ace)\nc shows [9c 9d] (One pair : 9)\n"
    "c collected 20 from pot\n*** SUMMARY ***\nTotal pot 20 | No rake\n";

class BadFiles : public ::testing::TestWithParam<BadCase>
{
};

TEST_P(BadFiles, GiveAMessageNamingFileAndLine)
{
    const BadCase &c = GetParam();
    interchange::ImportResult result;
    std::string error;
    const bool read = interchange::ImportText(c.text, "in.txt", result, error);
    if (c.skipped < 0) {
        EXPECT_FALSE(read);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        return;
    }
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(result.skipped, c.skipped);
    std::string warnings;
    for (const std::string &w : result.warnings)
        warnings += w + "\n";
    EXPECT_NE(warnings.find(c.message), std::string::npos) << warnings;
    ASSERT_FALSE(result.games.empty());
    EXPECT_EQ(result.games[0].hands.size(), 1u);
}

const std::string kRaiseBelow =
    std::string(kGoodHand).replace(std::string(kGoodHand).find("a: folds"), 8, "a: raises 5 to 10");
const std::string kCutOff = std::string(kGoodHand) + std::string(kGoodHand).substr(0, 200);
const std::string kBadChips =
    std::string(kGoodHand).replace(std::string(kGoodHand).find("collected 10"), 12, "collected 90");
const std::string kOmaha = std::string(kGoodHand) + "PokerStars Hand #8:  Omaha Pot Limit (5/10) - "
                                                    "2024/01/01 10:01:00 ET\nTable 'T' 3-max\n";
const std::string kCents =
    std::string(kGoodHand).replace(std::string(kGoodHand).find("(500 in"), 7, "(5.5 in");
const std::string kTwoBad = kRaiseBelow + kBadChips;
const std::string kPhhTwo = "[1]\nvariant = \"NT\"\nantes = [0, 0]\nblinds_or_straddles = [1, 2]\n"
                            "min_bet = 2\nstarting_stacks = [100, 100]\n"
                            "actions = [\"d dh p1 ????\", \"d dh p2 ????\", \"p2 f\"]\n"
                            "[2]\nvariant = \"PO\"\nantes = [0, 0]\nblinds_or_straddles = [1, 2]\n"
                            "min_bet = 2\nstarting_stacks = [100, 100]\nactions = []\n";

INSTANTIATE_TEST_SUITE_P(
    Import, BadFiles,
    ::testing::Values(
        BadCase{"Foreign", "\n# Notes\nBuy milk.\n",
                "in.txt:2: format not recognised: first line \"# Notes\"", -1},
        BadCase{"Binary", "PK\x03\x04", "in.txt:1: format not recognised", -1},
        BadCase{"RaiseBelowTheBet", kRaiseBelow, "in.txt:9: a raises to 10", -1},
        BadCase{"OneBadHandOfTwo", (kRaiseBelow + kGoodHand), "in.txt:9:", 1},
        BadCase{"CutOffLastHand", kCutOff, "ends before its summary", 1},
        BadCase{"ChipsDoNotAddUp", (kBadChips + kGoodHand),
                "in.txt:13: the chips do not add up: 15 put in, 95 paid out", 1},
        BadCase{"OtherGame", kOmaha, "in.txt:19: not a No-Limit Hold'em hand", 1},
        BadCase{"CentsInPlayMoney", (kCents + kGoodHand), "\"5.5\" is not an amount", 1},
        BadCase{"NoHandReadable", kTwoBad, "in.txt:9:", -1},
        BadCase{"PhhOtherVariant", kPhhTwo, "in.txt:9: variant \"PO\"", 1},
        BadCase{"PhhUnclosedArray", "variant = \"NT\"\nstarting_stacks = [1, 2\n",
                "in.txt:3: an unclosed array", -1},
        BadCase{"PhhOneUnclosedString",
                "[1]\nvariant = 'NT\n[2]\n" + kPhhTwo.substr(4, kPhhTwo.find("[2]") - 4),
                "in.txt:2: an unclosed string", 1},
        BadCase{"PhhShowdownAllMucked",
                kPhhTwo.substr(0, kPhhTwo.find("[2]")) +
                    "[2]\nvariant = 'NT'\nantes = [0, 0]\nblinds_or_straddles = [1, 2]\n"
                    "starting_stacks = [100, 100]\nactions = ['p2 cc', 'p1 cc', 'd db 2c3c4c',"
                    " 'd db 5d', 'd db 9h', 'p1 sm ??\?\?', 'p2 sm ??\?\?']\n",
                "in.txt:8: who won cannot be told: no hand at the showdown is shown", 1},
        BadCase{"LineNotUnderstood",
                std::string(kGoodHand).insert(std::string(kGoodHand).find("a: folds"), "a\x01"
                                                                                       "b\n"),
                "in.txt:9: a line not understood is left out: \"a\x01"
                "b\"",
                0},
        BadCase{"Preamble", "Exported hands\n\n# notes\n" + std::string(kGoodHand),
                "in.txt:1: 2 lines before the first hand left out", 0},
        BadCase{"PreamblePast8KB", std::string(20000, '-') + "\n" + kGoodHand,
                "in.txt:1: 1 line before the first hand left out", 0},
        // A room's hand whose first line was shortened is not dropped without a word.
        BadCase{"RoomHandNotRecognised",
                "Winamax Poker -Tournament  0.22\xE2\x82\xAC level: 16 - HandId: #5-247-1\n"
                "Seat 1: a (500)\n\n" +
                    std::string(kWinamaxHand),
                "in.txt:1: 2 lines before the first hand left out", 0}),
    [](const ::testing::TestParamInfo<BadCase> &param) { return param.param.label; });

// Texts made to break the reader: seats and buttons off the table, streets out of turn, a card
// dealt twice, amounts past any game's and arrays nested without end. Each is refused with the
// reason, naming the line.
const char kShowdownHand[] =
    "PokerStars Hand #9:  Hold'em No Limit (5/10) - 2024/01/01 10:05:00 ET\n"
    "Table 'T' 3-max (Play Money) Seat #1 is the button\n"
    "Seat 1: a (500 in chips)\nSeat 2: b (500 in chips)\n"
    "Seat 3: c (500 in chips)\nb: posts small blind 5\n"
    "c: posts big blind 10\n*** HOLE CARDS ***\n"
    "a: folds\nb: calls 5\nc: checks\n"
    "*** FLOP *** [2c 7d Jh]\nb: checks\nc: checks\n"
    "*** TURN *** [2c 7d Jh] [Qs]\nb: checks\nc: checks\n"
    "*** RIVER *** [2c 7d Jh Qs] [3h]\nb: checks\nc: checks\n"
    "*** SHOW DOWN ***\nb: shows [Ah Kh] (high card Ace)\n"
    "c: shows [9c 9d] (a pair of Nines)\nc collected 20 from pot\n"
    "*** SUMMARY ***\nTotal pot 20 | Rake 0\nBoard [2c 7d Jh Qs 3h]\n"
    "Seat 1: a (button) folded before Flop (didn't bet)\n"
    "Seat 2: b (small blind) showed [Ah Kh] and lost with high card Ace\n"
    "Seat 3: c (big blind) showed [9c 9d] and won (20) with a pair of Nines\n";

const char kPhhHand[] = "variant = \"NT\"\nantes = [0, 0, 0]\nblinds_or_straddles = [5, 10, 0]\n"
                        "min_bet = 10\nstarting_stacks = [500, 500, 500]\nseats = [2, 3, 1]\n"
                        "actions = [\n"
                        "  \"d dh p1 AhKh\", \"d dh p2 9c9d\", \"d dh p3 ????\",\n"
                        "  \"p3 f\", \"p1 cc\", \"p2 cc\",\n"
                        "  \"d db 2c7dJh\", \"p1 cc\", \"p2 cc\",\n"
                        "  \"d db Qs\", \"p1 cc\", \"p2 cc\",\n"
                        "  \"d db 3h\", \"p1 cc\", \"p2 cc\",\n"
                        "  \"p1 sm AhKh\", \"p2 sm 9c9d\",\n]\n";

// The text with its first `from` replaced by `to`.
std::string Changed(const std::string &text, const std::string &from, const std::string &to)
{
    std::string out = text;
    const size_t at = out.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? out : out.replace(at, from.size(), to);
}

// The hand with a line of the cards dealt, "Dealt to " + what, as its ninth.
std::string WithDealt(const std::string &what)
{
    return Changed(kShowdownHand, "*** HOLE CARDS ***\n",
                   "*** HOLE CARDS ***\nDealt to " + what + "\n");
}

class HostileInput : public ::testing::TestWithParam<BadCase>
{
};

TEST_P(HostileInput, IsRefusedWithItsReason)
{
    const BadCase &c = GetParam();
    interchange::ImportResult result;
    std::string error;
    EXPECT_FALSE(interchange::ImportText(c.text, "in.txt", result, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_LT(error.size(), 200u) << "a short excerpt of the line";
}

// Both untouched texts read, so that each case below fails for its own change alone.
TEST(HostileInput, TheTextsTheyStartFromRead)
{
    for (const char *text : {kShowdownHand, kPhhHand}) {
        interchange::ImportResult result;
        std::string error;
        ASSERT_TRUE(interchange::ImportText(text, "in.txt", result, error)) << error;
        ASSERT_EQ(result.games.size(), 1u);
        ExpectChipsAddUp(result.games[0], {0});
        EXPECT_EQ(result.games[0].hands[0].pot, 20);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Import, HostileInput,
    ::testing::Values(
        BadCase{"ButtonOffTheTable", Changed(kShowdownHand, "Seat #1 is", "Seat #7 is"),
                "in.txt:2: the button's seat 7 is not at the table", -1},
        BadCase{"ButtonSeatIntMin", Changed(kShowdownHand, "Seat #1 is", "Seat #-2147483648 is"),
                "in.txt:2: the button's seat -2147483648 is not at the table", -1},
        BadCase{"OnePlayerDealtIn",
                "PokerStars Hand #7:  Hold'em No Limit (5/10) - 2024/01/01 10:00:00 ET\n"
                "Table 'T' 3-max (Play Money) Seat #1 is the button\nSeat 1: a (500 in chips)\n"
                "Seat 2: b (500 in chips) is sitting out\n*** HOLE CARDS ***\n*** SUMMARY ***\n"
                "Total pot 0 | Rake 0\n",
                "in.txt:3: a hand needs two players dealt in, not 1", -1},
        BadCase{"TwoPlayersOfOneName", Changed(kShowdownHand, "Seat 3: c (", "Seat 3: b ("),
                "in.txt:5: two players named b", -1},
        BadCase{"SeatWithoutAName", Changed(kShowdownHand, "Seat 2: b (", "Seat 2:  ("),
                "in.txt:4: seat 2 without a name", -1},
        BadCase{"CallShortWithChipsBehind",
                Changed(Changed(Changed(kShowdownHand, "b: calls 5", "b: calls 3"), "collected 20",
                                "collected 18"),
                        "Total pot 20", "Total pot 18"),
                "in.txt:10: b calls 3 but owes 5", -1},
        BadCase{"FoldedPlayerActs",
                Changed(kShowdownHand, "c: checks\n*** FLOP", "c: checks\na: folds\n*** FLOP"),
                "in.txt:12: a acts after folding", -1},
        BadCase{"FlopTwice",
                Changed(kShowdownHand, "*** TURN *** [2c 7d Jh] [Qs]", "*** FLOP *** [2c 7d Jh]"),
                "in.txt:15: a street again: \"*** FLOP *** [2c 7d Jh]\"", -1},
        BadCase{"RiverInPlaceOfTheTurn", Changed(kShowdownHand, "*** TURN ***", "*** RIVER ***"),
                "in.txt:15: a street out of order", -1},
        BadCase{"BoardCardTwice", Changed(kShowdownHand, "[Qs]", "[Jh]"),
                "in.txt:15: the card Jh is dealt twice", -1},
        BadCase{"ShownCardOnTheBoard", Changed(kShowdownHand, "shows [9c 9d]", "shows [9c Qs]"),
                "in.txt:23: the card Qs is dealt twice", -1},
        BadCase{"StackPastTheBound", Changed(kShowdownHand, "(500 in", "(100000001 in"),
                "in.txt:3: \"100000001\" is an amount past 100000000", -1},
        BadCase{"CollectedPastTheTable",
                Changed(kShowdownHand, "*** SUMMARY ***",
                        "c collected 100000000 from pot\n*** SUMMARY ***"),
                "in.txt:25: c collects more chips than the table holds", -1},
        BadCase{"PhhArraysNestedDeeply", std::string(kPhhHand) + "notes = [[[[[[[[[1]]]]]]]]]\n",
                "in.txt:15: arrays nested too deeply", -1},
        BadCase{"PhhArraysNestedWithoutEnd",
                std::string(kPhhHand) + "notes = " + std::string(100000, '['),
                "in.txt:15: arrays nested too deeply", -1},
        BadCase{"PhhSeatWithAFraction", Changed(kPhhHand, "[2, 3, 1]", "[2.5, 3, 1]"),
                "in.txt:6: \"2.5\" in seats is not a seat of a table of ten", -1},
        BadCase{"PhhSeatCountIntMin",
                Changed(kPhhHand, "actions", "seat_count = -2147483648\nactions"),
                "in.txt:7: a table of -2147483648 seats", -1},
        BadCase{"PhhTwoPlayersOfOneName",
                Changed(kPhhHand, "actions", "players = [\"a\", \"b\", \"a\"]\nactions"),
                "in.txt:7: two players named a", -1},
        BadCase{"PhhNameWithALineBreak",
                Changed(kPhhHand, "actions", "players = [\"a\\nb\", \"b\", \"c\"]\nactions"),
                "in.txt:7: a player's name with a line break", -1},
        BadCase{"PhhPlayerWithoutChips", Changed(kPhhHand, "[500, 500, 500]", "[500, 0, 500]"),
                "in.txt:5: p2 starts without chips", -1},
        BadCase{"PhhStraddleBelowTheBigBlind", Changed(kPhhHand, "[5, 10, 0]", "[5, 10, 5]"),
                "in.txt:3: a straddle of 5 that does not top the forced bet before it", -1},
        BadCase{"PhhCardDealtTwice", Changed(kPhhHand, "p2 9c9d\"", "p2 9cAh\""),
                "in.txt:8: the card Ah is dealt twice", -1},
        BadCase{"PhhFourCardFlop", Changed(kPhhHand, "d db 2c7dJh", "d db 2c7dJh4s"),
                "in.txt:10: a board of 4 cards", -1},
        BadCase{"PhhStackPastTheBound",
                Changed(kPhhHand, "[500, 500, 500]", "[500, 100000001, 500]"),
                "in.txt:5: \"100000001\" in starting_stacks is an amount past 100000000", -1},
        BadCase{"PhhQuotedStack", Changed(kPhhHand, "[500, 500, 500]", "[500, \"500\", 500]"),
                "in.txt:5: \"500\" in starting_stacks is not a number", -1},
        BadCase{"PhhDamagedDeal", Changed(kPhhHand, "p2 9c9d\"", "p2 9c9x\""),
                "in.txt:8: a damaged deal \"d dh p2 9c9x\": two cards are wanted", -1},
        BadCase{"DealtABadCard", WithDealt("b [Ah Kx]"),
                "in.txt:9: a damaged line of the cards dealt to \"b [Ah Kx]\"", -1},
        BadCase{"DealtThreeCards", WithDealt("b [Ah Kh Qd]"),
                "in.txt:9: a damaged line of the cards dealt to", -1},
        BadCase{"DealtToNoOneSeated", WithDealt("z [Ah Kh]"),
                "in.txt:9: cards dealt to no one seated at the table: \"Dealt to z [Ah Kh]\"", -1},
        BadCase{"ActionOfNoOneSeated",
                Changed(kShowdownHand, "a: folds\n", "a: folds\nz: calls 10\n"),
                "in.txt:10: \"z\", who has no seat at the table, acts", -1},
        BadCase{"LongDamagedLine",
                Changed(kShowdownHand, "a: folds", "a: raises " + std::string(1 << 20, '9')),
                "in.txt:9: a raise without its total: \"raises 999", -1}),
    [](const ::testing::TestParamInfo<BadCase> &param) { return param.param.label; });

// Seat numbers are whole numbers even in a hand whose amounts are money.
TEST(ImportPhh, SeatsOfAHandInCentsStayTheSeats)
{
    std::string text = Changed(kPhhHand, "[5, 10, 0]", "[0.05, 0.10, 0]");
    text = Changed(text, "[500, 500, 500]", "[5.00, 5.00, 5.00]");
    text = Changed(text, "min_bet = 10", "min_bet = 0.10");
    interchange::ImportResult result;
    std::string error;
    ASSERT_TRUE(interchange::ImportText(text, "in.txt", result, error)) << error;
    const history::Hand &hand = result.games[0].hands[0];
    EXPECT_EQ(hand.seats[1].startStack, 500) << "p1, in seat 2, in cents";
    EXPECT_EQ(hand.button, 0) << "p3, the last player, in seat 1";
    EXPECT_EQ(hand.seats[2].won, 20);
}

// Names are kept as written, blanks in front included, through PokerStars text and back.
TEST(ImportPhh, NamesWithBlanksInFrontComeBackFromPokerStarsText)
{
    const std::string text =
        Changed(kPhhHand, "actions", "players = [\"\\ta\", \" b\", \"c\"]\nactions");
    interchange::ImportResult phh, again;
    std::string error;
    ASSERT_TRUE(interchange::ImportText(text, "in.phh", phh, error)) << error;
    const std::string written =
        interchange::ExportGames(phh.games, interchange::Format::PokerStars);
    ASSERT_TRUE(interchange::ImportText(written, "out.txt", again, error)) << error;
    EXPECT_EQ(again.skipped, 0);
    ASSERT_EQ(again.games.size(), 1u);
    const history::Hand &hand = again.games[0].hands[0];
    EXPECT_EQ(hand.seats[1].name, "\ta");
    EXPECT_EQ(hand.seats[2].name, " b");
    EXPECT_EQ(hand.seats[2].won, 20);
}

// A hand's number and time that cannot be are left out, and never reach the numbers of the
// hands written from it.
TEST(ImportPhh, ANumberOrDateThatCannotBeIsLeftOut)
{
    const std::string dated = std::string(kPhhHand) + "time = 18:02:11\nday = 11\nyear = 2024\n";
    for (const auto &[fields, number, time] :
         {std::tuple{"hand = 12\nmonth = 5\n", 12, "2024.05.11  18:02:11"},
          std::tuple{"hand = -3\nmonth = -5\n", 1, ""},
          std::tuple{"hand = 99999999999\nmonth = 13\n", 1, ""}}) {
        interchange::ImportResult phh, again;
        std::string error;
        ASSERT_TRUE(interchange::ImportText(dated + fields, "in.phh", phh, error)) << error;
        EXPECT_EQ(phh.games[0].hands[0].number, number) << fields;
        EXPECT_EQ(phh.games[0].hands[0].timeText, time) << fields;
        const std::string written =
            interchange::ExportGames(phh.games, interchange::Format::PokerStars);
        EXPECT_TRUE(interchange::ImportText(written, "out.txt", again, error)) << error;
    }
}

// Whatever comes first, however long, the format is found, and a byte order mark is passed by.
TEST(ReadAnyGames, FindsTheFormatPastAPreambleAndAByteOrderMark)
{
    const testsupport::TempFolder folder("import");
    const std::string bom = "\xEF\xBB\xBF", notes = "# " + std::string(20000, '-') + "\n";
    using File = std::pair<const char *, std::string>;
    for (const auto &[name, text] :
         {File{"bom.txt", bom + kShowdownHand}, File{"long.txt", notes + kShowdownHand},
          File{"bom.phh", bom + kPhhHand}, File{"long.phh", notes + kPhhHand},
          File{"bom_winamax.txt", bom + kWinamaxHand}}) {
        const std::string path = folder.file(name);
        std::ofstream(path) << text;
        std::vector<history::Game> games;
        std::vector<std::string> warnings;
        std::string error;
        ASSERT_TRUE(interchange::ReadAnyGames(path, true, games, error, warnings)) << name << error;
        ASSERT_EQ(games.size(), 1u);
        EXPECT_EQ(games[0].hands[0].pot, 20) << name;
    }
}

// A file is read through history's file reader: what is no regular file is refused at once,
// never waited on.
TEST(ImportFile, RefusesWhatIsNoRegularFile)
{
    const testsupport::TempFolder folder("import");
    const std::string fifo = folder.file("hands.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {fifo, std::string("/dev/null"), folder.str()}) {
        interchange::ImportResult result;
        std::string error;
        EXPECT_FALSE(interchange::ImportFile(path, result, error));
        EXPECT_EQ(error, path + (path == folder.str() ? " is a folder, not a file"
                                                      : " is not a regular file"));
    }
}

} // namespace
