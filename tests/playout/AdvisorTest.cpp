// The values the advisor gives: all-in calls against their exact expectation, with side pots
// settled by the test's own hand; a premium hand folded costs what it should; the coach plays
// a whole game.
#include "playout/Advisor.h"
#include "coach/Review.h"
#include "opponents/BotGame.h"
#include "playout/FastOdds.h"
#include "pokerlib/Evaluator.h"
#include "tests/playout/PlayoutSupport.h"
#include "tests/support/SeededBotGame.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>

namespace {

using playout::HandSoFar;
using playouttest::Add;
using playouttest::MakeHand;

struct Known
{
    int seat;
    const char *cards;
};

struct AllInCase
{
    const char *name;
    HandSoFar (*hand)();
    std::vector<Known> opponents; // the cards of every opponent still in
    // Every seat's chips in the pot once the deciding seat has called, and who folded.
    std::vector<int> contributions;
    std::vector<bool> folded;
    int call; // the chips the call puts in
};
void PrintTo(const AllInCase &c, std::ostream *os)
{
    *os << c.name;
}

// The deciding seat's chips back from the pot, averaged over every board that can come: each
// level of the contributions is a pot of its own, won by the best hand among the seats still
// in that reached it.
double ExactReturn(const AllInCase &c, const HandSoFar &hand)
{
    const brisquel::EvalTables &tables = brisquel::Tables();
    const int seat = hand.seat;
    std::map<int, std::array<int, 2>> holes;
    holes[seat] = {hand.seats[seat].cards[0], hand.seats[seat].cards[1]};
    for (const Known &k : c.opponents) {
        const std::vector<int> cards = testsupport::Cards(k.cards);
        holes[k.seat] = {cards[0], cards[1]};
    }
    std::set<int> dead(hand.board.begin(), hand.board.end());
    for (const auto &[s, h] : holes)
        dead.insert({h[0], h[1]});
    std::vector<int> deck;
    for (int card = 0; card < 52; ++card)
        if (!dead.count(card))
            deck.push_back(card);
    std::vector<int> levels(c.contributions.begin(), c.contributions.end());
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

    const int missing = 5 - static_cast<int>(hand.board.size());
    double total = 0.0;
    long long boards = 0;
    std::vector<int> pick(static_cast<size_t>(missing));
    for (int i = 0; i < missing; ++i)
        pick[static_cast<size_t>(i)] = i;
    const int n = static_cast<int>(deck.size());
    for (;;) {
        int cards[7];
        for (size_t i = 0; i < hand.board.size(); ++i)
            cards[2 + i] = hand.board[i];
        for (int i = 0; i < missing; ++i)
            cards[2 + hand.board.size() + static_cast<size_t>(i)] =
                deck[static_cast<size_t>(pick[static_cast<size_t>(i)])];
        std::map<int, int> value;
        for (const auto &[s, h] : holes) {
            cards[0] = h[0];
            cards[1] = h[1];
            value[s] = brisquel::EvaluateCards7(tables, cards);
        }
        int previous = 0;
        for (int level : levels) {
            double slice = 0.0;
            for (int contribution : c.contributions)
                slice += std::min(contribution, level) - std::min(contribution, previous);
            int best = -1;
            std::vector<int> winners;
            for (const auto &[s, v] : value) {
                if (c.folded[static_cast<size_t>(s)] ||
                    c.contributions[static_cast<size_t>(s)] < level)
                    continue;
                if (v > best) {
                    best = v;
                    winners.clear();
                }
                if (v == best)
                    winners.push_back(s);
            }
            if (std::find(winners.begin(), winners.end(), seat) != winners.end())
                total += slice / static_cast<double>(winners.size());
            previous = level;
        }
        ++boards;
        // The next combination of `missing` cards out of the deck.
        int i = missing - 1;
        while (i >= 0 && pick[static_cast<size_t>(i)] == n - missing + i)
            --i;
        if (i < 0)
            break;
        ++pick[static_cast<size_t>(i)];
        for (int j = i + 1; j < missing; ++j)
            pick[static_cast<size_t>(j)] = pick[static_cast<size_t>(j - 1)] + 1;
    }
    return total / static_cast<double>(boards);
}

// Stacks 300, 600 and 1000: the button and the small blind are all in, the big blind calls
// and keeps 400 that nobody can win.
HandSoFar ThreeWayWithASidePot()
{
    HandSoFar h = MakeHand({300, 600, 1000}, 0, 10, 20, 2, "Ks Kh");
    Add(h, 0, -1, 300);
    Add(h, 1, -1, 590);
    return h;
}

// A shove of 6,060, a folded small blind of 10 and a big blind with 270 behind: the pot is
// 6,090, but the call can win only 290 + 290 + 10 and needs 270 / 590 = 45.8 %.
HandSoFar ShortStackCall()
{
    HandSoFar h = MakeHand({6060, 1000, 290}, 0, 10, 20, 2, "9s 9d");
    Add(h, 0, -1, 6060);
    Add(h, 1, -1, 0, true);
    return h;
}

// Four seats limp; on the flop the small blind and the first limper go all in, the big blind
// folds, and the button calls its last 380.
HandSoFar FlopFourWay()
{
    HandSoFar h = MakeHand({400, 800, 1500, 2000}, 0, 10, 20, 0, "Qc Jc");
    Add(h, 3, -1, 20);
    Add(h, 0, -1, 20);
    Add(h, 1, -1, 10);
    Add(h, 2, -1, 0);
    h.board = testsupport::Cards("Td 9d 2s");
    Add(h, 1, 0, 780);
    Add(h, 2, 0, 0, true);
    Add(h, 3, 0, 1980);
    return h;
}

class AllInCall : public ::testing::TestWithParam<AllInCase>
{
};

TEST_P(AllInCall, IsWorthItsExactSidePotExpectation)
{
    const AllInCase &c = GetParam();
    const HandSoFar hand = c.hand();
    playout::AdviseSettings settings;
    settings.maxMillis = 0;
    settings.samplesPerOption = 3000;
    settings.seed = 42;
    settings.ranges = [&c](const HandSoFar &) {
        std::vector<playout::HandWeights> ranges;
        for (const Known &k : c.opponents)
            ranges.push_back(playouttest::Exactly(k.seat, k.cards));
        return ranges;
    };
    const playout::Advice advice = playout::Advise(hand, settings);
    ASSERT_TRUE(advice.valid);
    const int call = playout::OptionIndex(advice.options, c.call, false);
    ASSERT_GE(call, 0);
    const int fold = playout::OptionIndex(advice.options, 0, true);
    ASSERT_GE(fold, 0);
    EXPECT_EQ(advice.options[static_cast<size_t>(fold)].evBb, 0.0);

    const double exact = (ExactReturn(c, hand) - c.call) / hand.bigBlind;
    const playout::Option &option = advice.options[static_cast<size_t>(call)];
    EXPECT_EQ(option.samples, 3000);
    EXPECT_GT(option.errorBb, 0.0);
    EXPECT_NEAR(option.evBb, exact, 2.0 * option.errorBb)
        << "exact " << exact << " bb, sampled " << option.evBb << " ± " << option.errorBb;
}

INSTANTIATE_TEST_SUITE_P(Spots, AllInCall,
                         ::testing::Values(AllInCase{"ThreeWayWithASidePot",
                                                     ThreeWayWithASidePot,
                                                     {{0, "Ac Ad"}, {1, "7c 8c"}},
                                                     {300, 600, 600},
                                                     {false, false, false},
                                                     580},
                                           AllInCase{"ShortStackCall",
                                                     ShortStackCall,
                                                     {{0, "Ah Qd"}},
                                                     {6060, 10, 290},
                                                     {false, true, false},
                                                     270},
                                           AllInCase{"FlopFourWay",
                                                     FlopFourWay,
                                                     {{1, "Ad Kd"}, {3, "Th Tc"}},
                                                     {400, 800, 20, 2000},
                                                     {false, false, true, false},
                                                     380}),
                         [](const ::testing::TestParamInfo<AllInCase> &param) {
                             return param.param.name;
                         });

TEST(AllInCall, ShortStackValueCountsOnlyWhatItCanWin)
{
    // Nines against ace-queen win about 53 %: against the whole pot of 6,090 the call would
    // be worth about 3,000 chips; against the 590 it can win, about 45.
    playout::AdviseSettings settings;
    settings.maxMillis = 0;
    settings.samplesPerOption = 2000;
    settings.seed = 9;
    settings.ranges = [](const HandSoFar &) {
        return std::vector<playout::HandWeights>{playouttest::Exactly(0, "Ah Qd")};
    };
    const playout::Advice advice = playout::Advise(ShortStackCall(), settings);
    ASSERT_TRUE(advice.valid);
    const int call = playout::OptionIndex(advice.options, 270, false);
    ASSERT_GE(call, 0);
    const double chips = advice.options[static_cast<size_t>(call)].evBb * 20;
    EXPECT_LT(chips, 590 - 270);
    EXPECT_GT(chips, -270);
}

// A grade is harsher than the estimate's neighbour below only when the loss is clear of the
// threshold; a loss sitting on one gets the milder grade, whatever side the estimate fell. The
// harsher grade needs the wider margin: three errors past a threshold (1.30 ± 0.10) are not
// enough, three short of the next one (0.70 ± 0.10) are. Without error: ok up to 0.25 bb, a
// small mistake below 1, a mistake below 3, a blunder from 3 on.
TEST(Settle, GivesTheMilderGradeWhenTheLossIsNotClearOfAThreshold)
{
    using playout::Grade;
    struct Case
    {
        double loss, error; // the best option's lead over the move, and its standard error
        Grade grade;
        bool uncertain;
    } const cases[] = {
        {0.10, 0.01, Grade::Ok, false},          {0.60, 0.05, Grade::SmallMistake, false},
        {1.05, 0.10, Grade::SmallMistake, true}, {0.95, 0.10, Grade::SmallMistake, true},
        {2.00, 0.10, Grade::Mistake, false},     {3.20, 0.20, Grade::Mistake, true},
        {6.80, 3.00, Grade::Mistake, true},      {4.00, 0.20, Grade::Blunder, false},
        {0.30, 0.05, Grade::Ok, true},           {0.20, 0.05, Grade::Ok, true},
        {1.30, 0.10, Grade::SmallMistake, true}, {0.70, 0.10, Grade::SmallMistake, false},
        {0.25, 0.00, Grade::Ok, false},          {1.00, 0.00, Grade::Mistake, false},
        {3.00, 0.00, Grade::Blunder, false},
    };
    const auto settled = [](double loss, double error) {
        playout::Advice advice;
        advice.valid = true;
        advice.options = {{playout::OptionKind::Fold, 0, 0, 0.0, error},
                          {playout::OptionKind::Call, 20, 10, loss, 0.0}};
        advice.chosen = 0;
        playout::Settle(advice);
        return advice;
    };
    for (const Case &c : cases) {
        const playout::Advice advice = settled(c.loss, c.error);
        EXPECT_EQ(advice.grade, c.grade) << c.loss << " bb ± " << c.error;
        EXPECT_EQ(advice.uncertain, c.uncertain) << c.loss << " bb ± " << c.error;
        EXPECT_EQ(playout::GradeText(advice),
                  std::string(playout::GradeName(c.grade)) + (c.uncertain ? " (uncertain)" : ""));
    }
    playout::Advice ungraded;
    ungraded.uncertain = true;
    EXPECT_EQ(playout::GradeText(ungraded), "-");
    // A review's first looks ask for a wider margin: sure at 2.5 errors, not yet at 3.5.
    const playout::Advice blunder = settled(3.95, 0.25);
    EXPECT_TRUE(playout::GradeSure(blunder, playout::kSureErrors));
    EXPECT_FALSE(playout::GradeSure(blunder, playout::kSureErrors + 1.0));
}

// The advice on a hand, graded as if the seat had folded.
playout::Advice FoldJudged(const HandSoFar &hand, int samplesPerOption, std::uint64_t seed)
{
    playout::AdviseSettings settings;
    settings.maxMillis = 0;
    settings.samplesPerOption = samplesPerOption;
    settings.seed = seed;
    playout::Advice advice = playout::Advise(hand, settings);
    advice.chosen = advice.valid ? playout::OptionIndex(advice.options, 0, true) : -1;
    playout::Settle(advice);
    return advice;
}

TEST(Advise, AcesFoldedUnderTheGunCostAtLeastABigBlind)
{
    HandSoFar hand = MakeHand(std::vector<int>(9, 2000), 0, 10, 20, 3, "As Ah");
    const playout::Advice advice = FoldJudged(hand, 300, 3);
    ASSERT_TRUE(advice.valid);
    ASSERT_GE(advice.chosen, 0);
    EXPECT_NE(advice.options[static_cast<size_t>(advice.best)].kind, playout::OptionKind::Fold);
    EXPECT_GE(advice.lossBb, 1.0) << playout::LiveLine(advice);
    EXPECT_NE(advice.grade, playout::Grade::Ok);
}

// Facing a raise, the Maniac moves in only with jacks or better and ace-king. Queens that
// opened under the gun and face its shove from 100 big blinds win 47 % against that range
// (the boards sampled here) and need 48 %: the fold is right. The tracker's range keeps a trace
// of every other hand, so the call's value may differ by a little more than its own error.
TEST(Advise, QueensFoldedToTheManiacsShoveCostNextToNothing)
{
    HandSoFar hand = MakeHand(std::vector<int>(6, 2000), 0, 10, 20, 3, "Qs Qh");
    ASSERT_EQ(hand.seats[5].persona, kPersonaManiac);
    Add(hand, 3, -1, 60);
    Add(hand, 4, -1, 0, true);
    Add(hand, 5, -1, 2000);
    Add(hand, 0, -1, 0, true);
    Add(hand, 1, -1, 0, true);
    Add(hand, 2, -1, 0, true);

    std::vector<std::vector<int>> shoves;
    const std::string suits = "cdhs";
    for (const char *ranks : {"JJ", "QQ", "KK", "AA", "AK"})
        for (size_t a = 0; a < 4; ++a)
            for (size_t b = ranks[0] == ranks[1] ? a + 1 : 0; b < 4; ++b) {
                const std::string text = std::string{ranks[0], suits[a], ' ', ranks[1], suits[b]};
                const std::vector<int> cards = testsupport::Cards(text.c_str());
                if (std::count_if(cards.begin(), cards.end(), [&](int c) {
                        return c == hand.seats[3].cards[0] || c == hand.seats[3].cards[1];
                    }) == 0)
                    shoves.push_back(cards);
            }
    ASSERT_EQ(shoves.size(), 35u); // jacks 6, queens 1, kings 6, aces 6, ace-king 16

    const brisquel::EvalTables &tables = brisquel::Tables();
    std::mt19937_64 random(5);
    double won = 0.0;
    const int boardsPerHand = 20000;
    for (const std::vector<int> &shove : shoves) {
        std::vector<int> deck;
        for (int card = 0; card < 52; ++card)
            if (card != shove[0] && card != shove[1] && card != hand.seats[3].cards[0] &&
                card != hand.seats[3].cards[1])
                deck.push_back(card);
        for (int i = 0; i < boardsPerHand; ++i) {
            for (size_t k = 0; k < 5; ++k)
                std::swap(deck[k], deck[k + random() % (deck.size() - k)]);
            int mine[7] = {hand.seats[3].cards[0], hand.seats[3].cards[1]};
            int theirs[7] = {shove[0], shove[1]};
            std::copy(deck.begin(), deck.begin() + 5, mine + 2);
            std::copy(deck.begin(), deck.begin() + 5, theirs + 2);
            const int me = brisquel::EvaluateCards7(tables, mine);
            const int them = brisquel::EvaluateCards7(tables, theirs);
            won += me > them ? 1.0 : me == them ? 0.5 : 0.0;
        }
    }
    const double equity = won / (double(boardsPerHand) * double(shoves.size()));
    EXPECT_NEAR(equity, 0.473, 0.01);
    const double pot = 60 + 2000 + 10 + 20 + 1940;
    const double callBb = (equity * pot - 1940) / hand.bigBlind;

    const playout::Advice advice = FoldJudged(hand, 2000, 11);
    ASSERT_TRUE(advice.valid);
    ASSERT_GE(advice.chosen, 0);
    // The call is close: within the range read from the Maniac's code it may be a little
    // better than the fold, never by a blunder's margin.
    EXPECT_LT(advice.lossBb, playout::kMistakeBb) << playout::LiveLine(advice);
    const int call = playout::OptionIndex(advice.options, 1940, false);
    ASSERT_GE(call, 0);
    const playout::Option &option = advice.options[static_cast<size_t>(call)];
    EXPECT_NEAR(option.evBb, callBb, 2.0 * option.errorBb + 2.5)
        << "call against the shoving range " << callBb << " bb; " << playout::LiveLine(advice);
}

// The standard answer: the same options valued against typical players, asked only where a
// computer opponent is still in, and told beside the best only where the two differ.
TEST(Advise, TheStandardAnswerStandsBesideTheExploit)
{
    HandSoFar hand = MakeHand({2000, 2000, 2000}, 0, 10, 20, 0, "Ah Kh");
    Add(hand, 0, -1, 60);
    Add(hand, 1, -1, 0, true);
    Add(hand, 2, -1, 180);
    playout::AdviseSettings settings;
    settings.maxMillis = 0;
    settings.samplesPerOption = 20;
    settings.seed = 3;
    playout::Advice advice = playout::Advise(hand, settings);
    ASSERT_TRUE(advice.valid);
    playout::AddStandard(hand, settings, advice);
    ASSERT_EQ(advice.standard.size(), advice.options.size());
    EXPECT_EQ(advice.exploited, hand.seats[2].name) << "the folded seat is not exploited";
    for (size_t k = 0; k < advice.options.size(); ++k)
        EXPECT_EQ(advice.standard[k].put, advice.options[k].put);

    HandSoFar unknown = hand;
    for (playout::SeatSoFar &seat : unknown.seats)
        seat.persona = kPersonaNone;
    playout::Advice plain = playout::Advise(unknown, settings);
    playout::AddStandard(unknown, settings, plain);
    EXPECT_TRUE(plain.standard.empty());
    EXPECT_EQ(playout::ExploitLine(plain), "");

    // The line: the best against the code, its gain there over the standard answer.
    playout::Advice line;
    line.valid = true;
    line.options = {{playout::OptionKind::Fold, 0, 0, 0.0},
                    {playout::OptionKind::Call, 20, 10, 2.1},
                    {playout::OptionKind::Raise, 60, 50, 0.04}};
    line.best = 1;
    line.standard = line.options;
    line.standardBest = 2;
    line.exploited = "Maniac_3";
    EXPECT_EQ(playout::ExploitLine(line),
              "Best vs Maniac_3: call +2.1 bb \u00b7 vs a typical player: raise to 60");
    EXPECT_EQ(playout::LiveLine(line),
              "Best vs Maniac_3: call \u00b7 fold \u22122.1 bb \u00b7 raise to "
              "60 \u22122.1 bb \u00b7 vs a typical player: raise to 60");
    line.standardBest = 0; // the first option is an answer like any other
    EXPECT_EQ(playout::LiveLine(line),
              "Best vs Maniac_3: call \u00b7 fold \u22122.1 bb \u00b7 raise to "
              "60 \u22122.1 bb \u00b7 vs a typical player: fold");
    line.standardBest = 1;
    EXPECT_EQ(playout::ExploitLine(line), "");
    EXPECT_EQ(playout::LiveLine(line).rfind("Best: call", 0), 0u);
    line.valid = false;
    EXPECT_EQ(playout::LiveLine(line), "");
}

TEST(Advise, StopsWhenTheCallerHasHeardEnough)
{
    const HandSoFar hand = MakeHand({1000, 1000, 1000}, 0, 10, 20, 0, "Td Th");
    playout::AdviseSettings settings;
    settings.firstAnswerMillis = 0;
    settings.maxMillis = 0;
    settings.seed = 1;
    int calls = 0;
    const playout::Advice advice =
        playout::Advise(hand, settings, [&calls](const playout::Advice &a) {
            EXPECT_TRUE(a.valid);
            EXPECT_FALSE(a.final);
            return ++calls < 3;
        });
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(advice.valid);
    EXPECT_TRUE(advice.final);
    // The work stopped at the third estimate, not at a limit of its own.
    EXPECT_GE(advice.options.front().samples, 3);
}

TEST(Advise, RefusesAHandThatDoesNotReplay)
{
    HandSoFar hand = MakeHand({1000, 1000, 1000}, 0, 10, 20, 0, "Td Th");
    Add(hand, 2, -1, 20); // the big blind cannot act first
    const playout::Advice advice = playout::Advise(hand, {});
    EXPECT_FALSE(advice.valid);
    EXPECT_TRUE(advice.options.empty());
}

// A decision read from a hand history is valued and its grade given.
TEST(Advise, GradesADecisionReadFromAHandHistory)
{
    testsupport::SeededBotGame bots(4, 10, 21);
    ASSERT_TRUE(bots.ok()) << bots.error();
    const auto stats = coach::StatisticsBeforeHands(bots.game());
    int graded = 0;
    for (size_t h = 0; h < bots.game().hands.size(); ++h) {
        const history::Hand &hand = bots.game().hands[h];
        for (const playout::ReadDecision &d :
             playout::DecisionsInHand(bots.game(), hand, 0, stats[h])) {
            // The opponents decide with the statistics they had at the table.
            for (int s = 0; s < 4; ++s)
                EXPECT_EQ(d.hand->seats[s].stat.m_N, stats[h][static_cast<size_t>(s)].m_N);
            playout::AdviseSettings settings;
            settings.maxMillis = 0;
            settings.samplesPerOption = 10;
            settings.seed = 5;
            playout::Advice advice = playout::Advise(*d.hand, settings);
            ASSERT_TRUE(advice.valid) << "hand " << hand.number;
            advice.chosen = playout::OptionIndex(advice.options, d.put, d.fold);
            if (advice.chosen < 0)
                continue; // a bet size the advisor does not offer
            playout::Settle(advice);
            EXPECT_NE(advice.grade, playout::Grade::NotGraded);
            EXPECT_GE(advice.lossBb, 0.0);
            ++graded;
        }
    }
    EXPECT_GT(graded, 5);
}

TEST(CoachDecider, PlaysAWholeGameWithoutLosingAChip)
{
    testsupport::TempFolder folder("brisquel_coachgame");
    playout::AdviseSettings settings;
    settings.maxMillis = 0;
    settings.samplesPerOption = 4;
    settings.seed = 17;
    playout::CCoachDecider coach(0, settings);
    BotGameOptions options;
    options.names = DefaultBotNames(4);
    options.stacks.assign(4, 1000);
    options.lastHand = 12;
    options.seed = 17;
    options.outputFolder = folder.str();
    options.decider = &coach;
    const BotGameResult result = RunBotGame(options);
    EXPECT_GE(result.handsPlayed, 1);
    EXPECT_EQ(result.startChips(), result.finalChips());
}

} // namespace
