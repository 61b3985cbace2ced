#include "tests/opponents/DecisionTestSupport.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Six seats; after the blinds the flop (2c 7d Js) is dealt, the pot holds 300 and nobody has bet
// (m_amountToCall -1). Seat 3 decides.
struct FlopCase
{
    const char *name;
    int persona;
    const char *first, *second;
    double p;                              // the winning chance the library gives
    int code;                              // the combination the library gives
    std::vector<std::pair<int, int>> bets; // (seat, round total) in this order
    int street;
    int expected;
    int pot = 300;
    int stack = -1;     // seat 3's chips behind after the bets, when set
    int call = -2;      // the amount to call after the bets, when set
    int bigBlind = 20;  // the next big blind
    int ownChips = 0;   // put in by seat 3 after the bets without raising the call
    int lastStack = -1; // when set, seat 4 alone is left with these chips behind
};
void PrintTo(const FlopCase &c, std::ostream *os)
{
    *os << c.name;
}

class Postflop : public testing::TestWithParam<FlopCase>
{
};

TEST_P(Postflop, AmountPutIn)
{
    const FlopCase &c = GetParam();
    TestTable ft;
    ft.Flop("2c", "7d", "Js");
    ft.t.m_pot = c.pot;
    ft.Hold(3, c.first, c.second, c.persona);
    for (const auto &[seat, total] : c.bets) {
        ft.Post(seat, total - ft.t.m_bet[seat]);
        ft.t.m_amountToCall = total;
        ft.t.m_lastAction[seat] = 4;
    }
    ft.Post(3, c.ownChips);
    if (c.stack >= 0)
        ft.t.m_stack[3] = c.stack;
    if (c.call > -2)
        ft.t.m_amountToCall = c.call;
    if (c.lastStack >= 0) {
        for (int s : {0, 1, 2, 5})
            ft.Fold(s);
        ft.t.m_stack[4] = c.lastStack;
    }
    ft.t.m_bigBlind = c.bigBlind;
    ft.odds.p = c.p;
    ft.odds.code = c.code;
    EXPECT_EQ(ft.After(3, c.street), c.expected);
}

constexpr int kPro = kPersonaProfessor, kMaster = kPersonaMaster, kTim = kPersonaTim;
constexpr int kManiac = kPersonaManiac;

// clang-format off
const FlopCase kFlopCases[] = {
    // The Professor plays bands of the winning chance; the upper bound belongs to the middle one.
    {"ProfessorBetsAboveTheMiddleBand", kPro, "Jh", "Jd", 0.6, 0, {}, 0, 60},
    {"ProfessorChecksAtTheTopOfTheMiddleBand", kPro, "Jh", "Jd", 0.5, 0, {}, 0, 0},
    {"ProfessorChecksInTheMiddleBand", kPro, "Jh", "Jd", 0.45, 0, {}, 0, 0},
    {"ProfessorCallsThreeBigBlindsInTheMiddleBand", kPro, "Jh", "Jd", 0.45, 0, {{4, 60}}, 1, 60},
    {"ProfessorFoldsMoreThanThreeBigBlinds", kPro, "Jh", "Jd", 0.45, 0, {{4, 61}}, 1, 0},
    {"ProfessorFoldsAnyBetBelowTheMiddleBand", kPro, "Jh", "Jd", 0.4, 0, {{4, 20}}, 2, 0},
    // The Master opens with the next big-blind multiple above its share of the pot.
    {"MasterOpensOneBigBlindOnATinyShare", kMaster, "Ah", "Kd", 0.01, 0, {}, 0, 20},
    {"MasterOpensStrictlyAboveItsShare", kMaster, "Ah", "Kd", 0.5, 0, {}, 0, 120, 200},
    {"MasterOpensBehindACheckWithNoShare", kMaster, "Ah", "Kd", 0, 0, {}, 0, 20, 200, -1, 0},
    {"MasterOpensAboveAShareOfExactlyABigBlind", kMaster, "Ah", "Kd", 0.1, 0, {}, 0, 40, 200},
    {"MasterOpensWithTheShareWithoutABigBlind", kMaster, "Ah", "Kd", 0.1, 0, {}, 0, 20, 200, -1, -2, 0},
    // Facing a bet of 100 into 300: its share of the 400 decides.
    {"MasterCallsLessThanTheBetAgainOver", kMaster, "Ah", "Kd", 0.4, 0, {{4, 100}}, 0, 100},
    {"MasterRaisesToTheMultipleAbove", kMaster, "Ah", "Kd", 0.625, 0, {{4, 100}}, 0, 260},
    {"MasterCallsWithinABigBlindOfTheCall", kMaster, "Ah", "Kd", 0.22, 0, {{4, 100}}, 0, 100},
    {"MasterFoldsFurtherThanABigBlindShort", kMaster, "Ah", "Kd", 0.15, 0, {{4, 100}}, 0, 0},
    {"MasterGoesAllInWhenTheShareIsAboveItsChips", kMaster, "Ah", "Kd", 0.9, 0, {{4, 100}}, 0, 300, 300, 300},
    {"MasterRaisesOnExactlyABetOverTheBet", kMaster, "Ah", "Kd", 0.5, 0, {{4, 100}}, 0, 220},
    {"MasterCallsOnAShareOfTheCallItself", kMaster, "Ah", "Kd", 0.25, 0, {{4, 100}}, 0, 100},
    {"MasterFoldsABigBlindShortOfTheCall", kMaster, "Ah", "Kd", 0.25, 0, {{4, 100}}, 0, 0, 220},
    // Share 90, the 90 owed: the rule puts in the bet itself.
    {"MasterPutsInTheWholeBetOnAShareOfWhatIsOwed", kMaster, "Ah", "Kd", 0.25, 0, {{3, 10}, {4, 100}}, 0, 100, 250},
    // A short stack compares its whole stack with its share.
    {"MasterShortStackAllInWithinABigBlind", kMaster, "Ah", "Kd", 0.1, 0, {{4, 100}}, 0, 50, 300, 50},
    {"MasterShortStackFoldsFurtherAway", kMaster, "Ah", "Kd", 0.0625, 0, {{4, 100}}, 0, 0, 300, 50},
    // Share 260, the stack less its bet: a raise to the next multiple; one chip more, everything.
    {"MasterShareOfWhatItHasLeftIsNoAllIn", kMaster, "Ah", "Kd", 0.5, 0, {{3, 40}, {4, 100}}, 0, 240, 380, 300},
    {"MasterShareAboveWhatItHasLeftIsAllIn", kMaster, "Ah", "Kd", 0.5 + 1.0 / 520, 0, {{3, 40}, {4, 100}}, 0, 260, 380, 300},
    // Tim: aces always, otherwise by the combination.
    {"TimAcesAllIn", kTim, "Ah", "Ad", 0, 1, {}, 2, 1000},
    {"TimChecksCombination22", kTim, "Kh", "Qd", 0, 22, {}, 0, 0},
    {"TimBetsCombination23", kTim, "Kh", "Qd", 0, 23, {}, 0, 60},
    {"TimChecksCombination26OnTheTurn", kTim, "Kh", "Qd", 0, 26, {}, 1, 0},
    {"TimRaisesCombination27OnTheTurn", kTim, "Kh", "Qd", 0, 27, {{4, 40}}, 1, 120},
    // The Maniac shoves made hands and calls small bets.
    {"ManiacShovesAMadeHand", kManiac, "Kh", "Qd", 0, 19, {}, 0, 1000},
    {"ManiacChecksBelowAMadeHand", kManiac, "Kh", "Qd", 0, 18, {}, 0, 0},
    {"ManiacCallsASmallBet", kManiac, "Kh", "Qd", 0, 18, {{4, 60}}, 0, 60},
    {"ManiacWithChipsInPutsInTheSameSixty", kManiac, "Kh", "Qd", 0, 18, {{4, 60}}, 0, 60, 300, -1, -2, 20, 20},
    {"ManiacFoldsALargerBet", kManiac, "Kh", "Qd", 0, 18, {{4, 61}}, 0, 0, 300, -1, -2, 20, 20},
    // Nothing when no opponent can match its own bet.
    {"CapNothingWhenNoOpponentCanMatch", kManiac, "Kh", "Qd", 0, 30, {{3, 200}}, 1, 0, 300, -1, -2, 20, 0, 100},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Decisions, Postflop, testing::ValuesIn(kFlopCases),
                         support::PrintedName());

} // namespace
