// The coach over games read back from their files: statistics rebuilt exactly as the engine
// counted them, and every decision of the reviewed seat judged once, in order.
#include "coach/Review.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/SeededBotGame.h"

using namespace enginetest;

TEST(CoachReview, StatisticsFromTheFilesEqualTheEngines)
{
    const testsupport::SeededBotGame played(6, 80, 23);
    ASSERT_TRUE(played.ok()) << played.error();
    const history::Game &game = played.game();
    const BotGameResult &result = played.result();
    const auto statistics = coach::StatisticsBeforeHands(game);
    ASSERT_EQ(statistics.size(), game.hands.size() + 1);
    for (size_t s = 0; s < result.seats.size(); ++s) {
        const CPokerStat &mine = statistics.back()[s];
        const CPokerStat &engine = result.seats[s].stat;
        SCOPED_TRACE("seat " + std::to_string(s));
        EXPECT_EQ(mine.m_hands, engine.m_hands);
        EXPECT_EQ(mine.m_N, engine.m_N);
        EXPECT_EQ(mine.m_vpipOpportunities, engine.m_vpipOpportunities);
        EXPECT_EQ(mine.m_VPIP, engine.m_VPIP);
        EXPECT_EQ(mine.m_PFR, engine.m_PFR);
        EXPECT_EQ(mine.m_3bet, engine.m_3bet);
    }
    EXPECT_EQ(statistics.front()[0].m_N, 0);

    // Every decision of every seat is reviewed once, in the order and with the chips of the
    // file; the summary adds the rows up.
    coach::Estimator estimator(200, 3);
    for (int seat = 0; seat < 6; ++seat) {
        std::vector<coach::ReviewRow> rows;
        coach::ReviewSummary summary;
        std::string error;
        ASSERT_TRUE(coach::ReviewGame(game, seat, estimator, rows, summary, error)) << error;
        size_t next = 0;
        int dealt = 0;
        for (const history::Hand &hand : game.hands) {
            dealt += hand.seats[static_cast<size_t>(seat)].inHand ? 1 : 0;
            for (const history::Action &action : hand.actions) {
                if (action.seat != seat || action.kind == history::ActionKind::Ante ||
                    action.kind == history::ActionKind::SmallBlind ||
                    action.kind == history::ActionKind::BigBlind)
                    continue;
                ASSERT_LT(next, rows.size());
                const coach::ReviewRow &row = rows[next++];
                EXPECT_EQ(row.hand, hand.number);
                EXPECT_EQ(row.street, action.street);
                EXPECT_EQ(row.amount, action.amount);
                EXPECT_STREQ(coach::MoveName(row.move), history::ActionName(action.kind));
                EXPECT_EQ(row.point.pot, action.potBefore);
                EXPECT_TRUE(row.estimate.valid);
                // Everyone still in is an opponent, the seat itself is not.
                EXPECT_EQ(static_cast<int>(row.point.opponents.size()), action.activeBefore - 1);
            }
        }
        EXPECT_EQ(next, rows.size());
        EXPECT_EQ(summary.decisions, static_cast<int>(rows.size()));
        EXPECT_EQ(summary.hands, dealt);
        double lost = 0;
        for (const coach::ReviewRow &row : rows)
            lost += row.chipsLost;
        EXPECT_NEAR(summary.chipsLost, lost, 1e-6);
    }
}

class CoachReviewScripted : public GameFixture
{
};

TEST_F(CoachReviewScripted, TheHumansRiverCallOfAPotSizedBetIsTooLoose)
{
    // Button seat 1; seat 2 small blind, the human at seat 0 big blind. The human misses his
    // flush and calls a pot-sized river bet with four high.
    m_game.SetStackedDraws(Draws(kButtonOnSeat1Of3, "4h Ac Kc 3h Ad Kd Kh Qh 9c 8s 2d"));
    m_decider.Add(1, 0);  // button folds
    m_decider.Add(2, 10); // small blind completes
    m_decider.Add(0, 0);  // the human checks his option
    for (int street = 0; street < 2; ++street) {
        m_decider.Add(2, 0);
        m_decider.Add(0, 0);
    }
    m_decider.Add(2, 40); // river: pot-sized bet
    m_decider.Add(0, 40); // the human calls
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 1);
    ASSERT_TRUE(m_decider.m_mismatches.empty());

    std::vector<history::Game> games;
    std::string error;
    ASSERT_TRUE(history::ReadGames(m_folder.string(), false, games, error)) << error;
    EXPECT_EQ(coach::ReviewSeat(games[0], "", error), 0);
    EXPECT_EQ(coach::ReviewSeat(games[0], "Tim", error), 2);
    EXPECT_EQ(coach::ReviewSeat(games[0], "Nobody", error), -1);
    EXPECT_NE(error.find("\"Nobody\" is not at the table"), std::string::npos) << error;

    coach::Estimator estimator(2000, 4);
    std::vector<coach::ReviewRow> rows;
    coach::ReviewSummary summary;
    ASSERT_TRUE(coach::ReviewGame(games[0], 0, estimator, rows, summary, error)) << error;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].move, coach::Move::Check);
    const coach::ReviewRow &call = rows[3];
    EXPECT_EQ(call.street, history::Street::River);
    EXPECT_EQ(call.move, coach::Move::Call);
    EXPECT_EQ(call.point.pot, 80);
    EXPECT_EQ(call.point.toCall, 40);
    // What each seat put in, rebuilt from the actions: the button folded without a chip.
    EXPECT_EQ(call.point.committed, 20);
    EXPECT_EQ(call.point.dead, std::vector<int>{0});
    ASSERT_EQ(call.point.opponents.size(), 1u);
    EXPECT_EQ(call.point.opponents[0].committed, 60);
    EXPECT_EQ(coach::WinnablePot(call.point), 80);
    EXPECT_EQ(call.verdict, coach::Verdict::TooLoose);
    EXPECT_EQ(summary.tooLoose, 1);
    EXPECT_EQ(summary.hands, 1);
    EXPECT_GT(summary.chipsLostPer100(), 0.0);
    EXPECT_EQ(coach::ReviewLine(call).rfind("1\triver\tcall\t40\t80\t40\t0.333\t", 0), 0u);
    // A review no longer wanted stops at the next decision it would judge.
    for (const int wantedDecisions : {0, 2}) {
        int asked = 0;
        std::vector<coach::ReviewRow> some;
        coach::ReviewSummary partial;
        EXPECT_FALSE(coach::ReviewGame(games[0], 0, estimator, some, partial, error,
                                       [&] { return asked++ <= wantedDecisions; }));
        EXPECT_EQ(error, "stopped");
        EXPECT_EQ(some.size(), static_cast<size_t>(wantedDecisions));
    }
    EXPECT_EQ(coach::ReviewHeader(), "hand\tstreet\taction\tamount\tpot\tto_call\tneeded\t"
                                     "equity_random\tequity_range\tverdict\tev");
}
