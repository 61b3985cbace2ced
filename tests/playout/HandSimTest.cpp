// The table rebuilt from a hand's decisions is the one the game had, and a hand played out
// from it keeps every chip.
#include "engine/Game.h"
#include "opponents/BotGame.h"
#include "playout/Advisor.h"
#include "playout/FastOdds.h"
#include "tests/playout/PlayoutSupport.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SeededBotGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

using playout::HandSoFar;
using playout::PlayState;
using playouttest::Add;
using playouttest::MakeHand;

int ChipsAtTable(const CGameTable &t, const int winnings[10])
{
    int chips = t.m_pot;
    for (int s = 0; s < t.m_seatCount; ++s)
        chips += t.m_stack[s] + t.m_bet[s] + (winnings ? winnings[s] : 0);
    return chips;
}

class PlayOutConserves : public ::testing::TestWithParam<std::uint64_t>
{
};

// Six seats of varied stacks on the flop after a raise and two calls; the rest is played by
// the personas and the coach's policy with random cards, many times.
TEST_P(PlayOutConserves, EveryChip)
{
    HandSoFar hand = MakeHand({2000, 350, 1200, 90, 4000, 700}, 5, 10, 20, 1, "Jh Td");
    hand.ante = 5;
    Add(hand, 2, -1, 60);
    Add(hand, 3, -1, 85); // all in for more than a call, less than a full raise
    Add(hand, 4, -1, 0, true);
    Add(hand, 5, -1, 85);
    Add(hand, 0, -1, 75);
    Add(hand, 1, -1, 65);
    Add(hand, 2, -1, 25); // not reopened by the short all-in: a call
    hand.board = testsupport::Cards("Qs 9h 2c");
    Add(hand, 0, 0, 0);
    PlayState start;
    std::string error;
    ASSERT_TRUE(playout::Rebuild(hand, start, error)) << error;
    const int total = std::accumulate(std::begin(start.table.m_startStack),
                                      std::end(start.table.m_startStack), 0);
    ASSERT_EQ(ChipsAtTable(start.table, nullptr), total);

    playout::CFastOdds odds{5};
    playout::PlayOutSetup setup;
    setup.odds = &odds;
    for (int s = 0; s < 10; ++s)
        setup.samplers.emplace_back(playout::HandWeights{});
    PlayState work = start;
    std::uint64_t rng = GetParam();
    const auto options = playout::LegalOptions(start.table, 1);
    for (int round = 0; round < 20; ++round) {
        int cards[25];
        std::uint64_t used = 0;
        for (int i = 0; i < 25; ++i)
            cards[i] = -1;
        for (int c : {hand.seats[1].cards[0], hand.seats[1].cards[1], hand.board[0], hand.board[1],
                      hand.board[2]})
            used |= 1ULL << c;
        for (int s = 0; s < 6; ++s) {
            if (s == 1)
                continue;
            const auto [a, b] = setup.samplers[0].Draw(rng, used);
            cards[2 * s] = a;
            cards[2 * s + 1] = b;
            used |= (1ULL << a) | (1ULL << b);
        }
        cards[2] = hand.seats[1].cards[0];
        cards[3] = hand.seats[1].cards[1];
        for (int i = 0; i < 3; ++i)
            cards[20 + i] = hand.board[static_cast<size_t>(i)];
        const auto [turn, river] = setup.samplers[0].Draw(rng, used);
        cards[23] = turn;
        cards[24] = river;
        for (const playout::Option &option : options) {
            const double net = playout::PlayOut(start, work, 1, option.put,
                                                option.kind == playout::OptionKind::Fold, cards,
                                                setup, playout::NextRandom(rng));
            int winnings[10];
            work.Payout(winnings);
            ASSERT_TRUE(work.over);
            // The pot and the bets are in the winnings now.
            int after = 0;
            for (int s = 0; s < 6; ++s)
                after += work.table.m_stack[s] + winnings[s];
            EXPECT_EQ(after, total) << playout::OptionLabel(option);
            if (work.lockedBoard < 0) { // one board decided it; else many boards averaged
                EXPECT_EQ(net, work.table.m_stack[1] + winnings[1] - start.table.m_stack[1]);
            }
            EXPECT_GE(net, -start.table.m_stack[1]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, PlayOutConserves, ::testing::Values(1u, 7u, 2024u),
                         support::PrintedName());

// Aces calling a shove of kings: once nobody can bet, the play-out is worth the aces' share of
// the pot over many boards, not over the one dealt; on average the aces' published equity's worth.
TEST(PlayOut, AveragesTheBoardsOnceTheBettingStops)
{
    HandSoFar hand = MakeHand({1000, 1000}, 0, 10, 20, 1, "Ah As");
    Add(hand, 0, -1, 990);
    PlayState start;
    std::string error;
    ASSERT_TRUE(playout::Rebuild(hand, start, error)) << error;
    playout::CFastOdds odds{5};
    playout::PlayOutSetup setup;
    setup.odds = &odds;
    for (int s = 0; s < 10; ++s)
        setup.samplers.emplace_back(playout::HandWeights{});
    int cards[25];
    std::fill(std::begin(cards), std::end(cards), -1);
    const std::vector<int> dealt = testsupport::Cards("Kd Kc Ah As 2c 7d 9h Js 3s");
    std::copy(dealt.begin(), dealt.begin() + 4, cards);
    std::copy(dealt.begin() + 4, dealt.end(), cards + 20);
    PlayState work = start;
    const int trials = 100;
    double sum = 0.0;
    double squares = 0.0;
    for (std::uint64_t seed = 1; seed <= trials; ++seed) {
        const double net = playout::PlayOut(start, work, 1, 980, false, cards, setup, seed);
        EXPECT_EQ(work.lockedBoard, 0);
        sum += net;
        squares += net * net;
    }
    const double exact = 0.82; // aces against kings all in before the flop, as published
    const double mean = sum / trials;
    const double spread = std::sqrt(squares / trials - mean * mean);
    EXPECT_NEAR(mean, exact * 2000 - 980, 0.03 * 2000);
    // One board a play-out would spread the results by about 0.38 of the pot.
    EXPECT_LT(spread, 0.1 * 2000);
}

// Every decision of every seat in seeded games, rebuilt from the hand history: the stack, the
// pot and the amount owed are those the file says the seat had before it.
TEST(Rebuild, AgreesWithTheHandHistoryAtEveryDecision)
{
    for (std::uint64_t seed : {3u, 11u}) {
        testsupport::SeededBotGame bots(6, 40, seed);
        ASSERT_TRUE(bots.ok()) << bots.error();
        int checked = 0;
        for (const history::Hand &hand : bots.game().hands) {
            for (int seat = 0; seat < static_cast<int>(hand.seats.size()); ++seat) {
                const auto decisions = playout::DecisionsInHand(bots.game(), hand, seat);
                size_t next = 0;
                for (const history::Action &a : hand.actions) {
                    if (a.seat != seat || a.kind == history::ActionKind::Ante ||
                        a.kind == history::ActionKind::SmallBlind ||
                        a.kind == history::ActionKind::BigBlind)
                        continue;
                    ASSERT_LT(next, decisions.size()) << "hand " << hand.number;
                    const playout::ReadDecision &d = decisions[next++];
                    PlayState state;
                    std::string error;
                    ASSERT_TRUE(playout::Rebuild(*d.hand, state, error))
                        << "hand " << hand.number << " seat " << seat << ": " << error;
                    const CGameTable &t = state.table;
                    EXPECT_EQ(t.m_stack[seat], a.stackBefore) << "hand " << hand.number;
                    EXPECT_EQ(ChipsAtTable(t, nullptr) -
                                  std::accumulate(std::begin(t.m_stack), std::end(t.m_stack), 0),
                              a.potBefore)
                        << "hand " << hand.number;
                    EXPECT_EQ(std::max(t.m_amountToCall, 0) - t.m_bet[seat], a.toCall)
                        << "hand " << hand.number;
                    const auto options = playout::LegalOptions(t, seat);
                    // A fold, a check or a call is always among the options.
                    if (d.fold || d.put == std::min(a.toCall, a.stackBefore)) {
                        EXPECT_GE(playout::OptionIndex(options, d.put, d.fold), 0)
                            << "hand " << hand.number;
                    }
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 100);
    }
}

// The advisor's capture of the live game, at every decision of a bot game after its first
// hand: the table rebuilt from it is the game's own.
class CapturingDecider : public IDecider
{
public:
    const CDunmereGame *game = nullptr;
    playout::CFastOdds odds{5};
    CPersonaDecider personas{&odds};
    int compared = 0;

    void Compare(const CGameTable &live, int seat)
    {
        if (!game)
            return;
        const auto hand = playout::CaptureLive(*game, seat);
        PlayState state;
        std::string error;
        ASSERT_TRUE(playout::Rebuild(*hand, state, error)) << error;
        const CGameTable &t = state.table;
        for (int s = 0; s < live.m_seatCount; ++s) {
            EXPECT_EQ(t.m_stack[s], live.m_stack[s]);
            EXPECT_EQ(t.m_bet[s], live.m_bet[s]);
            EXPECT_EQ(t.m_invested[s], live.m_invested[s]);
            EXPECT_EQ(t.m_folded[s], live.m_folded[s]);
            EXPECT_EQ(t.m_lastAction[s], live.m_lastAction[s]);
            EXPECT_EQ(t.m_raises.MayRaise(s), live.m_raises.MayRaise(s));
            if (live.IsActive(s)) {
                EXPECT_EQ(t.m_positionClass[s], live.m_positionClass[s]);
            }
        }
        EXPECT_EQ(t.m_pot, live.m_pot);
        EXPECT_EQ(t.m_amountToCall, live.m_amountToCall);
        EXPECT_EQ(t.m_lastRaiser, live.m_lastRaiser);
        EXPECT_EQ(t.m_raises.MinRaiseTotal(), live.m_raises.MinRaiseTotal());
        EXPECT_EQ(t.m_boardCount, live.m_boardCount);
        ++compared;
    }
    int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random) override
    {
        Compare(table, seat);
        return personas.DecidePreflop(table, seat, random);
    }
    int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random) override
    {
        Compare(table, seat);
        return personas.DecidePostflop(table, seat, street, random);
    }
};

TEST(CaptureLive, RebuildsTheLiveTable)
{
    testsupport::TempFolder folder("brisquel_capture");
    CapturingDecider decider;
    BotGameOptions options;
    options.names = DefaultBotNames(6);
    options.stacks = {1500, 800, 1500, 3000, 400, 1500};
    options.gameTypeId = kGameTypeNinePlayersTurbo;
    options.lastHand = 25;
    options.seed = 5;
    options.outputFolder = folder.str();
    options.decider = &decider;
    options.onHandEnd = [&decider](const CDunmereGame &g) { decider.game = &g; };
    RunBotGame(options);
    EXPECT_GT(decider.compared, 50);
}

} // namespace
