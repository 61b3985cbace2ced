// The coach's price, estimates and verdicts on scripted decision points, its texts, and its view
// of a live table.
#include "coach/Coach.h"
#include "coach/TableDecision.h"

#include "pokerlib/CardNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace coach;

namespace {

std::vector<int> Cards(const std::string &text)
{
    std::vector<int> cards;
    for (size_t i = 0; i + 1 < text.size(); i += 3)
        cards.push_back(brisquel::ParseCard(text.substr(i, 2)));
    return cards;
}

DecisionPoint Point(const std::string &hole, const std::string &board, int opponents, int pot,
                    int toCall)
{
    DecisionPoint point;
    const std::vector<int> cards = Cards(hole);
    point.hole = {cards[0], cards[1]};
    point.board = Cards(board);
    for (int i = 0; i < opponents; ++i) {
        Opponent opponent;
        opponent.seat = i + 1;
        opponent.positionClass = 2;
        opponent.stack = 1000;
        point.opponents.push_back(opponent);
    }
    point.pot = pot;
    point.toCall = toCall;
    return point;
}

Estimate Made(double rangeEquity, int pot, int toCall)
{
    Estimate estimate;
    estimate.valid = true;
    estimate.price = PriceOf(pot, toCall);
    estimate.range = Equity{rangeEquity, 0.0};
    estimate.random = estimate.range;
    estimate.evCall = rangeEquity * (pot + toCall) - toCall;
    return estimate;
}

} // namespace

TEST(CoachPrice, NeededEquityAndPotOdds)
{
    EXPECT_DOUBLE_EQ(PriceOf(300, 100).needed, 0.25);
    EXPECT_EQ(PotOddsText(PriceOf(300, 100)), "3:1");
    EXPECT_NEAR(PriceOf(200, 80).needed, 80.0 / 280.0, 1e-12);
    EXPECT_EQ(PotOddsText(PriceOf(200, 80)), "2.5:1");
    EXPECT_EQ(PotOddsText(PriceOf(100, 300)), "0.3:1");
    EXPECT_DOUBLE_EQ(PriceOf(300, 0).needed, 0.0);
    EXPECT_EQ(PotOddsText(PriceOf(300, 0)), "-");
}

// The three scripted spots the verdicts must get right, with the equity estimated for real.
TEST(CoachVerdict, ScriptedDecisionPoints)
{
    Estimator estimator(4000, 17);
    // River: a pot-sized bet (100 into 100) against a missed flush draw, four high.
    const DecisionPoint missed = Point("4h 3h", "Kh Qh 9c 8s 2d", 1, 200, 100);
    const Estimate loose = estimator.Evaluate(missed);
    ASSERT_TRUE(loose.valid);
    EXPECT_NEAR(loose.price.needed, 1.0 / 3.0, 1e-12);
    EXPECT_LT(loose.range.value, 0.05);
    EXPECT_EQ(Judge(Move::Call, loose), Verdict::TooLoose);
    EXPECT_NEAR(ChipsLost(Move::Call, loose), 100 - 300 * loose.range.value, 1e-9);
    EXPECT_EQ(Judge(Move::Fold, loose), Verdict::Ok);

    // The royal flush facing a bet: folding it throws the whole pot away.
    const DecisionPoint nuts = Point("Ah Kh", "Qh Jh Th 2c 3d", 3, 400, 100);
    const Estimate tight = estimator.Evaluate(nuts);
    EXPECT_DOUBLE_EQ(tight.range.value, 1.0);
    EXPECT_DOUBLE_EQ(tight.random.value, 1.0);
    EXPECT_EQ(Judge(Move::Fold, tight), Verdict::TooTight);
    EXPECT_DOUBLE_EQ(ChipsLost(Move::Fold, tight), 400.0);
    EXPECT_EQ(Judge(Move::Call, tight), Verdict::Ok);

    // The board plays for everyone: the pot is always split, equity exactly the price of 1:1.
    const DecisionPoint split = Point("2c 3d", "As Ks Qs Js Ts", 1, 100, 100);
    const Estimate even = estimator.Evaluate(split);
    EXPECT_DOUBLE_EQ(even.range.value, 0.5);
    EXPECT_DOUBLE_EQ(even.price.needed, 0.5);
    EXPECT_EQ(Judge(Move::Call, even), Verdict::Ok);
    EXPECT_EQ(Judge(Move::Fold, even), Verdict::Ok);
    EXPECT_DOUBLE_EQ(even.evCall, 0.0);
}

TEST(CoachVerdict, MarginBoundariesAndUnjudgedMoves)
{
    // needed 0.25; 5 points or more either way is a mistake, exactly 5 included.
    struct Case
    {
        Move move;
        double equity;
        Verdict verdict;
    };
    for (const Case &c :
         {Case{Move::Call, 0.2001, Verdict::Ok}, Case{Move::Call, 0.20, Verdict::TooLoose},
          Case{Move::Call, 0.1999, Verdict::TooLoose}, Case{Move::Fold, 0.2999, Verdict::Ok},
          Case{Move::Fold, 0.30, Verdict::TooTight}, Case{Move::Fold, 0.3001, Verdict::TooTight}})
        EXPECT_EQ(Judge(c.move, Made(c.equity, 300, 100)), c.verdict)
            << MoveName(c.move) << " with equity " << c.equity;
    // The same boundary at a price that is no round number: 80 into 200 needs 2/7.
    EXPECT_EQ(Judge(Move::Fold, Made(2.0 / 7.0 + 0.05, 200, 80)), Verdict::TooTight);
    EXPECT_EQ(Judge(Move::Call, Made(2.0 / 7.0 - 0.05, 200, 80)), Verdict::TooLoose);
    // Folding when a check was free gives away every chance.
    EXPECT_EQ(Judge(Move::Fold, Made(0.3, 300, 0)), Verdict::TooTight);
    EXPECT_EQ(Judge(Move::Check, Made(0.9, 300, 0)), Verdict::Ok);
    EXPECT_EQ(Judge(Move::Raise, Made(0.01, 300, 100)), Verdict::NotJudged);
    EXPECT_EQ(Judge(Move::Bet, Made(0.99, 300, 0)), Verdict::NotJudged);
    EXPECT_DOUBLE_EQ(ChipsLost(Move::Raise, Made(0.01, 300, 100)), 0.0);
    EXPECT_DOUBLE_EQ(ChipsLost(Move::Call, Made(0.2001, 300, 100)), 0.0);
}

// Known equities against random hands, within three standard errors.
TEST(CoachEquity, RandomHandsMatchKnownValues)
{
    Estimator estimator(20000, 5);
    struct Case
    {
        const char *hole;
        int opponents;
        double known;
    };
    for (const Case &c : {Case{"Ah Ad", 1, 0.852}, Case{"Ah Ad", 4, 0.558}}) {
        const Estimate e = estimator.Evaluate(Point(c.hole, "", c.opponents, 30, 20));
        SCOPED_TRACE(std::to_string(c.opponents) + " opponents");
        EXPECT_GT(e.random.standardError, 0.0);
        EXPECT_LT(e.random.standardError, 0.005);
        EXPECT_NEAR(e.random.value, c.known, 3 * e.random.standardError + 0.001);
    }
    // No opponent left: the pot is ours.
    EXPECT_DOUBLE_EQ(estimator.Evaluate(Point("7c 2d", "", 0, 30, 0)).range.value, 1.0);
    // Unusable cards give no estimate rather than a number.
    EXPECT_FALSE(estimator.Evaluate(Point("Ah Ah", "", 1, 30, 20)).valid);
    EXPECT_FALSE(estimator.Evaluate(Point("Ah Kd", "Ah 2c 3c", 1, 30, 20)).valid);
}

TEST(CoachRanges, ChosenFromStatisticsOrPosition)
{
    Opponent o;
    double percent = 0;
    o.hands = 19;
    o.vpip = 0.30;
    o.pfr = 0.10;
    o.preflop = PreflopMove::Raised;
    o.positionClass = 1;
    EXPECT_EQ(ChooseRange(o, percent), RangeSource::Position);
    EXPECT_DOUBLE_EQ(percent, 27.0);
    o.hands = 20;
    EXPECT_EQ(ChooseRange(o, percent), RangeSource::Pfr);
    EXPECT_DOUBLE_EQ(percent, 10.0);
    o.preflop = PreflopMove::Called;
    EXPECT_EQ(ChooseRange(o, percent), RangeSource::Vpip);
    EXPECT_DOUBLE_EQ(percent, 30.0);
    o.vpip = 0.0; // never put a chip in, yet it called now
    ChooseRange(o, percent);
    EXPECT_DOUBLE_EQ(percent, kMinRangePercent);
    o.preflop = PreflopMove::None;
    o.positionClass = 0;
    EXPECT_EQ(ChooseRange(o, percent), RangeSource::Position);
    EXPECT_DOUBLE_EQ(percent, kEarlyRangePercent);

    Estimator estimator(100, 1);
    o.hands = 50;
    o.pfr = 0.10;
    o.preflop = PreflopMove::Raised;
    EXPECT_EQ(estimator.RangeFor(o).size(), 133u); // 10 % of 1326 combinations
    o.preflop = PreflopMove::None;
    for (int position = 0; position < 3; ++position) {
        o.positionClass = position;
        const auto &range = estimator.RangeFor(o);
        ChooseRange(o, percent);
        EXPECT_NEAR(100.0 * range.size() / 1326.0, percent, 3.0) << "class " << position;
        for (const auto &[a, b] : range)
            ASSERT_NE(a, b);
    }
}

TEST(CoachEquity, RangesNarrowTheEquity)
{
    Estimator estimator(20000, 9);
    DecisionPoint point = Point("Kh Qd", "", 1, 30, 20);
    point.opponents[0].hands = 40;
    point.opponents[0].pfr = 0.03; // a raiser with only the strongest pairs and AK
    point.opponents[0].preflop = PreflopMove::Raised;
    const Estimate e = estimator.Evaluate(point);
    EXPECT_LT(e.range.value, e.random.value - 0.2);
    // A range of every hand is a random hand.
    point.opponents[0].pfr = 1.0;
    const Estimate all = estimator.Evaluate(point);
    EXPECT_NEAR(all.range.value, all.random.value,
                3 * std::hypot(all.range.standardError, all.random.standardError));
}

// A range hand is kept whatever its cards, the lowest card integer (2c) included. On this board
// only a straight flush beats the hero's four kings, so the range equity is exactly the share of
// the opponent's combinations that make none.
TEST(CoachEquity, RangeHandsHoldingTheLowestCardAreKept)
{
    Estimator estimator(200000, 3);
    const DecisionPoint point = Point("Ks Kc", "3c 4c 5c Kd Kh", 1, 100, 50);
    const std::vector<int> known = Cards("Ks Kc 3c 4c 5c Kd Kh");
    const int deuce = brisquel::ParseCard("2c"), ace = brisquel::ParseCard("Ac");
    const int six = brisquel::ParseCard("6c"), seven = brisquel::ParseCard("7c");
    int usable = 0, straightFlushes = 0, deuceFirst = 0;
    for (const auto &[a, b] : estimator.RangeFor(point.opponents[0])) {
        if (std::count(known.begin(), known.end(), a) || std::count(known.begin(), known.end(), b))
            continue;
        ++usable;
        const auto holds = [&](int card) { return a == card || b == card; };
        const bool straightFlush =
            (holds(deuce) && (holds(ace) || holds(six))) || (holds(six) && holds(seven));
        straightFlushes += straightFlush ? 1 : 0;
        deuceFirst += straightFlush && a == deuce ? 1 : 0;
    }
    ASSERT_GT(deuceFirst, 0) << "the range holds no straight flush led by 2c";
    const Estimate e = estimator.Evaluate(point);
    EXPECT_NEAR(e.range.value, 1.0 - static_cast<double>(straightFlushes) / usable,
                4 * e.range.standardError + 1e-4);
}

TEST(CoachTexts, PanelAndPaneLines)
{
    EXPECT_EQ(PanelLine(Made(0.43, 300, 100)), "Equity 43 % \xC2\xB7 needs 25 % (3:1)");
    EXPECT_EQ(PanelLine(Made(0.612, 300, 0)), "Equity 61 % \xC2\xB7 nothing to call");
    EXPECT_EQ(PanelLine(Estimate{}), "");

    DecisionPoint point;
    point.pot = 300;
    point.toCall = 120;
    EXPECT_EQ(PaneLine("river", Move::Call, 120, point, Made(0.18, 300, 120)),
              "Coach: river call 120 into 300, equity 18 % < 29 % needed: too loose "
              "(\xE2\x88\x92"
              "44)");
    EXPECT_EQ(PaneLine("turn", Move::Fold, 0, point, Made(0.62, 300, 120)),
              "Coach: turn fold to 120 into 300, equity 62 % > 29 % needed: too tight "
              "(\xE2\x88\x92"
              "140)");
    EXPECT_EQ(PaneLine("flop", Move::Call, 120, point, Made(0.40, 300, 120)),
              "Coach: flop call 120 into 300, equity 40 % > 29 % needed: ok (+48)");
    // Equal once rounded, though not equal: "=", and the verdict still from the exact figures.
    EXPECT_EQ(PaneLine("flop", Move::Call, 120, point, Made(0.2861, 300, 120)),
              "Coach: flop call 120 into 300, equity 29 % = 29 % needed: ok (+0)");
    point.toCall = 0;
    EXPECT_EQ(PaneLine("flop", Move::Check, 0, point, Made(0.40, 300, 0)),
              "Coach: flop check into 300, equity 40 %: ok");
    EXPECT_EQ(PaneLine("preflop", Move::Raise, 60, point, Made(0.52, 300, 0)),
              "Coach: preflop raise 60 into 300, equity 52 %");
}

TEST(CoachTable, DecisionPointFromTheGameState)
{
    CGameTable t;
    t.m_seatCount = 4;
    for (int s = 0; s < 4; ++s) {
        t.m_inGame[s] = 1;
        t.m_stack[s] = 900;
        t.m_positionClass[s] = s == 3 ? 1 : 2;
    }
    t.m_folded[2] = true;
    const std::vector<int> cards = Cards("Ah Kd Qs Js Ts");
    t.m_cards[0] = cards[0];
    t.m_cards[1] = cards[1];
    for (int i = 0; i < 3; ++i)
        t.m_cards[20 + i] = cards[2 + i];
    t.m_boardCount = 3;
    t.m_pot = 120;
    t.m_bet[1] = 60;
    t.m_bet[3] = 60;
    t.m_amountToCall = 60;
    t.m_players[1].m_stat.m_N = 25;
    t.m_players[1].m_stat.m_vpipOpportunities = 20;
    t.m_players[1].m_stat.m_VPIP = 5;
    t.m_players[1].m_stat.m_PFR = 2;
    const std::vector<CAction> actions = {{3, -1, 0},  {7, 1, 10}, {8, 2, 20},  {13, 3, 60},
                                          {11, 1, 50}, {4, -1, 0}, {14, -1, 0}, {13, 3, 60}};

    const DecisionPoint point = TableDecision(t, actions, 0);
    EXPECT_EQ(point.hole, (std::array<int, 2>{cards[0], cards[1]}));
    EXPECT_EQ(point.board, std::vector<int>(cards.begin() + 2, cards.end()));
    EXPECT_EQ(point.pot, 240);
    EXPECT_EQ(point.toCall, 60);
    ASSERT_EQ(point.opponents.size(), 2u); // the folded seat is out
    EXPECT_EQ(point.opponents[0].seat, 1);
    EXPECT_EQ(point.opponents[0].preflop, PreflopMove::Called);
    EXPECT_EQ(point.opponents[0].hands, 25);
    EXPECT_DOUBLE_EQ(point.opponents[0].vpip, 0.25);
    EXPECT_DOUBLE_EQ(point.opponents[0].pfr, 0.08);
    EXPECT_EQ(point.opponents[1].preflop, PreflopMove::Raised);
    EXPECT_EQ(point.opponents[1].positionClass, 1);
    EXPECT_EQ(WinnablePot(point), 240); // no contributions known: the whole pot
    {
        // What each seat put in this hand, the folded seat's as dead chips.
        CGameTable chips = t;
        const int invested[4] = {40, 100, 20, 80};
        std::copy(std::begin(invested), std::end(invested), chips.m_invested);
        const DecisionPoint known = TableDecision(chips, actions, 0);
        EXPECT_EQ(known.committed, 40);
        EXPECT_EQ(known.dead, std::vector<int>{20});
        EXPECT_EQ(known.opponents[0].committed, 100);
        EXPECT_EQ(known.opponents[1].committed, 80);
        EXPECT_EQ(WinnablePot(known), 240); // every stack covers the bet: nothing capped
    }

    EXPECT_EQ(MoveOf(point, 0, true, 900), Move::Fold);
    EXPECT_EQ(MoveOf(point, 0, false, 900), Move::Fold); // nothing put in while owing
    EXPECT_EQ(MoveOf(point, 60, false, 900), Move::Call);
    EXPECT_EQ(MoveOf(point, 200, false, 900), Move::Raise);
    EXPECT_EQ(MoveOf(point, 40, false, 40), Move::Call); // all in for less
    DecisionPoint free = point;
    free.toCall = 0;
    EXPECT_EQ(MoveOf(free, 0, false, 900), Move::Check);
    EXPECT_EQ(MoveOf(free, 100, false, 900), Move::Bet);
    free.board.clear();
    EXPECT_EQ(MoveOf(free, 100, false, 900), Move::Raise); // the big blind's option
    EXPECT_EQ(StreetOfBoard(0), "preflop");
    EXPECT_EQ(StreetOfBoard(4), "turn");

    // A short stack owes only what it has.
    t.m_stack[0] = 45;
    EXPECT_EQ(TableDecision(t, actions, 0).toCall, 45);
    // After the flop the engine starts the round owing -1: nothing to call.
    t.m_amountToCall = -1;
    t.m_bet[1] = t.m_bet[3] = 0;
    EXPECT_EQ(TableDecision(t, actions, 0).toCall, 0);
}
