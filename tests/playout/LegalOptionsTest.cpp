// The options the advisor offers are those a card room allows: a bet of at least the big
// blind, a raise by at least the last full bet or raise, no raise for a seat the betting was
// not reopened for, and nothing but fold or call against an all-in that covers the stack.
#include "playout/Advisor.h"
#include "tests/playout/PlayoutSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using playout::HandSoFar;
using playouttest::Add;
using playouttest::MakeHand;

struct OptionsCase
{
    const char *name;
    HandSoFar (*hand)();
    // Each option as "label:total", in order.
    std::vector<std::string> expected;
};
void PrintTo(const OptionsCase &c, std::ostream *os)
{
    *os << c.name;
}

std::vector<std::string> Describe(const std::vector<playout::Option> &options)
{
    std::vector<std::string> out;
    for (const playout::Option &o : options)
        out.push_back(playout::OptionLabel(o) + ":" + std::to_string(o.total));
    return out;
}

// Six seats of 2000, blinds 10/20, button 0: seat 3 opens the betting.
HandSoFar FirstIn()
{
    return MakeHand({2000, 2000, 2000, 2000, 2000, 2000}, 0, 10, 20, 3, "As Ah");
}

// Seat 3 raises to 60; seat 4 must raise by at least 40, to 100.
HandSoFar AfterARaise()
{
    HandSoFar h = MakeHand({2000, 2000, 2000, 2000, 2000, 2000}, 0, 10, 20, 4, "Ks Kh");
    Add(h, 3, -1, 60);
    return h;
}

// Three seats; everybody limps, so the flop pot is 60. Seat 1 bets 100 on the flop, seat 2
// goes all in for 150 (a raise of 50, short of a full one).
HandSoFar ShortAllInFlop(int seat)
{
    HandSoFar h = MakeHand({2000, 2000, 170}, 0, 10, 20, seat, "9s 9h");
    h.board = testsupport::Cards("2c 7d Jh");
    Add(h, 0, -1, 20);
    Add(h, 1, -1, 10);
    Add(h, 2, -1, 0);
    Add(h, 1, 0, 100);
    Add(h, 2, 0, 150);
    return h;
}

// Seat 0 has not acted on the flop: the short all-in still lets it raise, by the full 100.
HandSoFar ShortAllInNotYetActed()
{
    return ShortAllInFlop(0);
}

// Seat 0 calls; seat 1, who bet, faces only the short raise: call or fold.
HandSoFar ShortAllInBackToTheBettor()
{
    HandSoFar h = ShortAllInFlop(1);
    Add(h, 0, 0, 150);
    return h;
}

// The first to act on that flop: bets of a third, two thirds and the whole pot of 60.
HandSoFar FlopFirstToAct()
{
    HandSoFar h = ShortAllInFlop(1);
    h.decisions.resize(3);
    return h;
}

// Four seats of 1000 limp round to the big blind, who may check or raise.
HandSoFar BigBlindOption()
{
    HandSoFar h = MakeHand({1000, 1000, 1000, 1000}, 0, 10, 20, 2, "7c 2d");
    Add(h, 3, -1, 20);
    Add(h, 0, -1, 20);
    Add(h, 1, -1, 10);
    return h;
}

// An all-in of 2000 against a big blind of 500: fold, or call all in.
HandSoFar CoveredByAnAllIn()
{
    HandSoFar h = MakeHand({2000, 1000, 500}, 0, 10, 20, 2, "Qs Qh");
    Add(h, 0, -1, 2000);
    Add(h, 1, -1, 0, true);
    return h;
}

// Everybody else is all in: raising would be called by nobody.
HandSoFar NobodyLeftToRaise()
{
    HandSoFar h = MakeHand({300, 600, 1000}, 0, 10, 20, 2, "Kc Kd");
    Add(h, 0, -1, 300);
    Add(h, 1, -1, 590);
    return h;
}

class LegalOptions : public ::testing::TestWithParam<OptionsCase>
{
};

TEST_P(LegalOptions, AreThoseOfTheCardRoomRules)
{
    const OptionsCase &c = GetParam();
    playout::PlayState state;
    std::string error;
    ASSERT_TRUE(playout::Rebuild(c.hand(), state, error)) << error;
    const std::vector<playout::Option> options = playout::LegalOptions(state.table, state.toAct);
    EXPECT_EQ(Describe(options), c.expected);
    // Every option is one the table books as it is, unmended.
    for (const playout::Option &o : options)
        EXPECT_EQ(betting::MendAnswer(state.table, state.toAct, o.put), o.put)
            << playout::OptionLabel(o);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LegalOptions,
    ::testing::Values(
        // Pot-sized: the call of 20 first, then the pot of 50 after it, on top of the 20.
        OptionsCase{"FirstIn",
                    FirstIn,
                    {"fold:0", "call:20", "raise to 40:40", "raise to 60:60", "raise to 70:70",
                     "all in:2000"}},
        OptionsCase{"AfterARaise",
                    AfterARaise,
                    {"fold:0", "call:60", "raise to 100:100", "raise to 180:180",
                     "raise to 210:210", "all in:2000"}},
        OptionsCase{"ShortAllInNotYetActed",
                    ShortAllInNotYetActed,
                    {"fold:0", "call:150", "raise to 250:250", "raise to 450:450",
                     "raise to 610:610", "all in:1980"}},
        OptionsCase{
            "ShortAllInBackToTheBettor", ShortAllInBackToTheBettor, {"fold:100", "call:150"}},
        OptionsCase{"FlopFirstToAct",
                    FlopFirstToAct,
                    {"check:0", "bet 20:20", "bet 40:40", "bet 60:60", "all in:1980"}},
        OptionsCase{
            "BigBlindOption",
            BigBlindOption,
            {"check:20", "raise to 40:40", "raise to 60:60", "raise to 100:100", "all in:1000"}},
        OptionsCase{"CoveredByAnAllIn", CoveredByAnAllIn, {"fold:20", "call:500"}},
        OptionsCase{"NobodyLeftToRaise", NobodyLeftToRaise, {"fold:20", "call:600"}}),
    [](const ::testing::TestParamInfo<OptionsCase> &param) { return param.param.name; });

TEST(OptionIndex, FindsTheOptionTaken)
{
    playout::PlayState state;
    std::string error;
    ASSERT_TRUE(playout::Rebuild(AfterARaise(), state, error)) << error;
    const auto options = playout::LegalOptions(state.table, state.toAct);
    EXPECT_EQ(playout::OptionIndex(options, 0, true), 0);
    EXPECT_EQ(playout::OptionIndex(options, 60, false), 1);
    EXPECT_EQ(playout::OptionIndex(options, 2000, false), 5);
    EXPECT_EQ(playout::OptionIndex(options, 75, false), -1);
}

} // namespace
