// The coach on textbook decisions against unknown players, each written as an imported hand at
// a six-seat table (blinds 50/100, 100 bb deep unless a case says otherwise): the grades the
// hero's move may get and the kind of option that must come out best, each with the poker
// reason that settles it. The reasons are the game's, not the coach's: cases whose answer
// turns on how an opponent plays were left out, or given the grades every sane opponent
// allows.
#include "tests/support/SpotReview.h"
#include "tests/support/SpotWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <sstream>

namespace {

using playout::Grade;
using playout::OptionKind;

// Sets of grades and of option kinds, a bit each.
constexpr unsigned Bit(Grade g)
{
    return 1u << static_cast<int>(g);
}
constexpr unsigned Bit(OptionKind k)
{
    return 1u << static_cast<int>(k);
}
constexpr unsigned kOk = Bit(Grade::Ok);
constexpr unsigned kFine = kOk | Bit(Grade::SmallMistake);
constexpr unsigned kMistakeOrWorse = Bit(Grade::Mistake) | Bit(Grade::Blunder);
constexpr unsigned kAnyMistake = Bit(Grade::SmallMistake) | kMistakeOrWorse;
constexpr unsigned kBlunder = Bit(Grade::Blunder);
constexpr unsigned kNotABlunder = kFine | Bit(Grade::Mistake);

constexpr unsigned kAnyGrade = ~0u;
constexpr unsigned kAny = ~0u;
constexpr unsigned kFold = Bit(OptionKind::Fold);
constexpr unsigned kCall = Bit(OptionKind::Call);
constexpr unsigned kCheck = Bit(OptionKind::Check);
constexpr unsigned kBetOrRaise =
    Bit(OptionKind::Bet) | Bit(OptionKind::Raise) | Bit(OptionKind::AllIn);
constexpr unsigned kNotFold = kAny & ~kFold;

struct TextbookCase
{
    const char *name;
    const char *reason;
    const char *hero;    // the hero's place: UTG, MP, CO, BTN, SB or BB
    const char *cards;   // the hero's
    const char *actions; // SpotWriter.h's form, the places as names
    const char *board;
    unsigned grades;         // allowed for the hero's move at the decision
    unsigned best;           // the kinds the best option may be of
    int decision = -1;       // which of the hero's decisions: -1 the last
    const char *shown = "";  // "UTG Ac Ad": others' cards for a showdown
    const char *stacks = ""; // "BTN 300": stacks other than 10,000
};

void PrintTo(const TextbookCase &c, std::ostream *out)
{
    *out << c.name;
}

// Each group below is one table of cases.
const TextbookCase kPreflop[] = {
    {"AcesFoldedToOneRaise", "aces beat every range; the fold gives up a raised pot", "BTN",
     "As Ad", "UTG r250, MP f, CO f, Hero f, SB f, BB f", "", kMistakeOrWorse, kNotFold},
    {"KingsFoldedInTheBigBlind", "kings crush a cut-off's opening range with 1 bb already in", "BB",
     "Kh Kc", "UTG f, MP f, CO r250, BTN f, SB f, Hero f", "", kMistakeOrWorse, kNotFold},
    {"AcesFoldedFirstIn", "the best hand, first in: the blinds alone pay for an open", "UTG",
     "Ah Ac", "Hero f, MP f, CO f, BTN f, SB f", "", kMistakeOrWorse, kNotFold},
    {"AceKingSuitedFoldedToAnOpen", "AKs dominates a cut-off's range and has position", "BTN",
     "As Ks", "UTG f, MP f, CO r250, Hero f, SB f, BB f", "", kAnyMistake, kNotFold},
    {"SevenTwoFoldedFirstIn", "the worst hand, first of six: nothing to gain", "UTG", "7c 2d",
     "Hero f, MP f, CO f, BTN f, SB f", "", kFine, kAny},
    {"SevenTwoOpenedUnderTheGun",
     "the worst hand opened into five players who wake up with better far too often", "UTG",
     "7d 2s", "Hero r250, MP f, CO f, BTN f, SB f, BB f", "", kAnyGrade, kFold},
    {"SevenTwoCallsAThreeBetInTheBigBlind",
     "700 more out of position against a raise and a three-bet, the opener still behind", "BB",
     "7c 2h", "UTG r250, MP r800, CO f, BTN f, SB f, Hero c, UTG f | Hero x, MP b600, Hero f",
     "Ks 8d 3h", kAnyMistake, kFold, 0},
    {"TrashChecksItsOptionInALimpedPot", "a free flop costs nothing", "BB", "8c 3d",
     "UTG f, MP f, CO f, BTN f, SB c, Hero x | SB b100, Hero f", "Ah Kd 5s", kFine, kAny, 0},
};

const TextbookCase kAllIn[] = {
    {"SevenTwoOpenShovedUnderTheGun", "100 bb risked for 1.5: only better hands call", "UTG",
     "7h 2c", "Hero a, MP f, CO f, BTN f, SB f, BB f", "", kBlunder, kFold},
    {"EightThreeOpenShovedFromMiddle", "100 bb risked for 1.5: only better hands call", "MP",
     "8s 3c", "UTG f, Hero a, CO f, BTN f, SB f, BB f", "", kBlunder, kFold},
    {"KingSevenFoldsToAThreeBigBlindShove",
     "2 bb to win 4.5 needs 31 %; K7o has about 51 % against the 70 % of hands a 3 bb stack "
     "shoves from the button: the fold gives up 1.3 bb",
     "BB", "Kd 7c", "UTG f, MP f, CO f, BTN a, SB f, Hero f", "", kMistakeOrWorse, kCall, -1, "",
     "BTN 300"},
    {"KingSevenCallsAThreeBigBlindShove", "2 bb to win 4.5: 31 % is enough", "BB", "Kd 7c",
     "UTG f, MP f, CO f, BTN a, SB f, Hero c", "2c 8d Jh 4s 9c", kOk, kCall, -1, "BTN Qs 5h",
     "BTN 300"},
    {"SevenSixFoldsToAFourBetAllIn",
     "92 bb to win 109.5 needs 46 %; 76s has about a third against an under-the-gun four-bet",
     "BTN", "7h 6h", "UTG r250, MP f, CO f, Hero r800, SB f, BB f, UTG a, Hero f", "", kOk, kFold},
    {"SevenSixCallsAFourBetAllIn", "92 bb to win 109.5 needs 46 %; 76s has about a third", "BTN",
     "7h 6h", "UTG r250, MP f, CO f, Hero r800, SB f, BB f, UTG a, Hero c", "Kc 8d 2h 3s Jd",
     kBlunder, kFold, -1, "UTG Ac Ad"},
};

// The hero bets flop and turn from the button, the big blind calls twice and acts first.
#define TWO_CALLS                                                                                  \
    "UTG f, MP f, CO f, Hero r250, SB f, BB c | BB x, Hero b300, BB c | BB x, Hero b700, BB c | "

// The river after two calls: the hero's K-Q the nut straight on J-T-9-4-2 (no pair, no three
// of a suit), 8-7 a missed draw on K-9-6-2-J.
const TextbookCase kRiver[] = {
    {"NutsCheckedBehind", "the nuts wins nothing more checked; two calls say a bet gets paid",
     "BTN", "Kh Qc", TWO_CALLS "BB x, Hero x", "Jh Td 9c 4s 2d", kAnyMistake, kBetOrRaise, -1,
     "BB As Jd"},
    {"NutsFoldedToABet", "the nuts folded gives away the pot and the bet", "BTN", "Kh Qc",
     TWO_CALLS "BB b1200, Hero f", "Jh Td 9c 4s 2d", kBlunder, kNotFold},
    {"NutsBetTiny",
     "1 bb into 25 with the nuts, against a player whose two calls say he holds a pair he will pay "
     "a big bet with: most of the value is given up",
     "BTN", "Kh Qc", TWO_CALLS "BB x, Hero b100, BB c", "Jh Td 9c 4s 2d", kMistakeOrWorse,
     kBetOrRaise, -1, "BB As Jd"},
    {"NutsCallsAShove", "the nuts calls anything", "BTN", "Kh Qc", TWO_CALLS "BB a, Hero c",
     "Jh Td 9c 4s 2d", kOk, kCall, -1, "BB As Jd"},
    {"OverbetBluffIntoTwoCalls",
     "87.5 bb to win 25.5 needs more than three folds in four from a player whose two calls on a "
     "king-high board say he holds a pair",
     "BTN", "8h 7h", TWO_CALLS "BB x, Hero a, BB c", "Kd 9s 6h 2c Jd", kMistakeOrWorse, kCheck, -1,
     "BB Kc Tc"},
    {"GivingUpWithAirWhenCheckedTo",
     "eight high checked behind loses nothing a bluff would not risk more to win", "BTN", "8h 7h",
     TWO_CALLS "BB x, Hero x", "Kd 9s 6h 2c Jd", kFine, kAny, -1, "BB Kc Tc"},
};

const TextbookCase kFlopAndTurn[] = {
    {"SetFoldedOnTheFlop", "a set is ahead of nearly all a cut-off bets on K-7-2", "BB", "7s 7d",
     "UTG f, MP f, CO r250, BTN f, SB f, Hero c | Hero x, CO b300, Hero f", "Kh 7c 2d",
     kMistakeOrWorse, kNotFold},
    {"QuadsFoldedOnTheTurn", "quad nines are the nuts on 9-9-4-K", "BTN", "9h 9d",
     "UTG f, MP f, CO f, Hero r250, SB f, BB c | BB x, Hero b300, BB c | BB b800, Hero f",
     "9c 9s 4d Kc", kBlunder, kNotFold},
    {"FloppedNutStraightRaised",
     "the only straight on T-9-6: a raise builds the pot it wins (which size is best depends on "
     "how the bettor answers each)",
     "BB", "8h 7h", "UTG f, MP f, CO r250, BTN f, SB f, Hero c | Hero x, CO b300, Hero r900, CO f",
     "Tc 9d 6s", kAnyGrade, kBetOrRaise},
    {"NoPairNoDrawFoldsToAPotBet", "four high with no draw on A-K-Q-J: nothing to call with", "BB",
     "4c 3d", "UTG f, MP f, CO f, BTN f, SB c, Hero x | SB x, Hero x | SB b200, Hero f",
     "Ad Kh Qs Jh", kFine, kAny},
};

const char *const kPlaces[] = {"SB", "BB", "UTG", "MP", "CO", "BTN"};

// A case as a hand: the places are the seats' names, the hero's place named Hero.
testsupport::Spot SpotOf(const TextbookCase &c)
{
    std::map<std::string, std::string> shown, stacks;
    for (const auto &[text, into] : {std::pair{c.shown, &shown}, std::pair{c.stacks, &stacks}}) {
        std::istringstream in(text);
        std::string place, rest;
        while (in >> place && std::getline(in, rest, ';'))
            (*into)[place] = rest.substr(1);
    }
    testsupport::Spot spot;
    spot.table = std::string("Textbook ") + c.name;
    spot.button = 5;
    spot.board = c.board;
    spot.actions = c.actions;
    for (const char *place : kPlaces) {
        const bool hero = place == std::string(c.hero);
        const int stack = stacks.count(place) ? std::stoi(stacks[place]) : 10000;
        spot.seats.push_back({hero ? "Hero" : place, stack, hero ? c.cards : shown[place]});
    }
    return spot;
}

class TextbookSpots : public testing::TestWithParam<TextbookCase>
{
};

TEST_P(TextbookSpots, TheCoachGradesTheMoveAsThePokerReasonSays)
{
    const TextbookCase &c = GetParam();
    // One spot per test: ctest runs each in a process of its own.
    const auto start = std::chrono::steady_clock::now();
    const std::vector<testsupport::SpotVerdict> verdicts =
        testsupport::ReviewSpots(testsupport::SpotText(SpotOf(c)), 20241209);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(verdicts.size(), 1u);
    const testsupport::SpotVerdict &v = verdicts.front();
    ASSERT_TRUE(v.error.empty()) << v.error;
    const size_t k = c.decision < 0 ? v.rows.size() - 1 : static_cast<size_t>(c.decision);
    ASSERT_LT(k, v.rows.size());
    const playout::Advice &advice = v.rows[k].advice;
    ASSERT_TRUE(advice.valid && advice.best >= 0 && advice.chosen >= 0);
    const playout::Option &best = advice.options[static_cast<size_t>(advice.best)];
    std::printf("%-38s %.2f s, you: %s, %s (%.1f bb) | %s\n", c.name, seconds,
                playout::OptionLabel(advice.options[static_cast<size_t>(advice.chosen)]).c_str(),
                playout::GradeName(advice.grade), advice.lossBb, playout::LiveLine(advice).c_str());
    EXPECT_TRUE(c.grades & Bit(advice.grade))
        << c.reason << "; graded " << playout::GradeName(advice.grade);
    // The textbook's answer must be the best or tie with it: an option the coach values within
    // an ok loss of the best (a marginal bluff beside a fold) is no wrong lesson.
    double answer = -1e9;
    for (const playout::Option &o : advice.options)
        if (c.best & Bit(o.kind))
            answer = std::max(answer, o.evBb);
    EXPECT_GE(answer, best.evBb - playout::kOkLossBb)
        << c.reason << "; best " << playout::OptionLabel(best);
}

const auto kName = [](const testing::TestParamInfo<TextbookCase> &info) {
    return std::string(info.param.name);
};
INSTANTIATE_TEST_SUITE_P(Preflop, TextbookSpots, testing::ValuesIn(kPreflop), kName);
INSTANTIATE_TEST_SUITE_P(AllIn, TextbookSpots, testing::ValuesIn(kAllIn), kName);
INSTANTIATE_TEST_SUITE_P(River, TextbookSpots, testing::ValuesIn(kRiver), kName);
INSTANTIATE_TEST_SUITE_P(FlopAndTurn, TextbookSpots, testing::ValuesIn(kFlopAndTurn), kName);

} // namespace
