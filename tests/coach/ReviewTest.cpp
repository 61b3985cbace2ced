// The coach over games read back from their files: statistics rebuilt exactly as the engine
// counted them, and every decision of the reviewed seat judged once, in order.
#include "coach/Review.h"
#include "playout/Advisor.h"
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
    // Two seats with a few play-outs each: every decision of a game the engine played replays
    // and is graded.
    coach::Estimator estimator(200, 3);
    coach::ReviewOptions options;
    options.seed = 3;
    for (int seat = 0; seat < 6; ++seat) {
        std::vector<coach::ReviewRow> rows;
        coach::ReviewSummary summary;
        std::string error;
        options.samplesPerOption = seat % 3 == 0 ? 4 : 0;
        ASSERT_TRUE(coach::ReviewGame(game, seat, estimator, rows, summary, error, {}, options))
            << error;
        EXPECT_TRUE(summary.warnings.empty());
        EXPECT_EQ(summary.graded, options.samplesPerOption > 0 ? summary.decisions : 0);
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
                // The option graded is the move made: the fold, the check or call with the
                // chips of the file, a bet or raise as one.
                if (options.samplesPerOption == 0)
                    continue;
                ASSERT_GE(row.advice.chosen, 0) << "hand " << hand.number;
                const playout::Option &chosen =
                    row.advice.options[static_cast<size_t>(row.advice.chosen)];
                switch (action.kind) {
                case history::ActionKind::Fold:
                    EXPECT_EQ(chosen.kind, playout::OptionKind::Fold);
                    break;
                case history::ActionKind::Check:
                case history::ActionKind::Call:
                    EXPECT_EQ(chosen.put, action.amount);
                    EXPECT_TRUE(chosen.kind == playout::OptionKind::Check ||
                                chosen.kind == playout::OptionKind::Call ||
                                chosen.kind == playout::OptionKind::AllIn);
                    break;
                default:
                    EXPECT_TRUE(chosen.kind == playout::OptionKind::Bet ||
                                chosen.kind == playout::OptionKind::Raise ||
                                chosen.kind == playout::OptionKind::AllIn)
                        << "hand " << hand.number;
                    EXPECT_TRUE(chosen.put == action.amount || !action.allIn)
                        << "an all in is offered as it is";
                }
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
    coach::ReviewOptions options;
    options.samplesPerOption = 400;
    options.seed = 4;
    ASSERT_TRUE(coach::ReviewGame(games[0], 0, estimator, rows, summary, error, {}, options))
        << error;
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
    // The human checked his option as the big blind.
    EXPECT_EQ(rows[0].position, coach::Position::Blinds);

    // Valued by play-outs, the river call with four high against a pot-sized bet loses about
    // what it puts in: 40 chips, two big blinds, against 0 for the fold; it can never lose more.
    ASSERT_TRUE(call.advice.valid);
    const int fold = playout::OptionIndex(call.advice.options, 0, true);
    ASSERT_GE(fold, 0);
    EXPECT_EQ(call.advice.options[static_cast<size_t>(fold)].evBb, 0.0);
    ASSERT_GE(call.advice.chosen, 0);
    const playout::Option &called = call.advice.options[static_cast<size_t>(call.advice.chosen)];
    EXPECT_EQ(called.kind, playout::OptionKind::Call);
    EXPECT_GE(called.evBb, -2.0 - 1e-9);
    EXPECT_LT(called.evBb, -1.5);
    EXPECT_EQ(call.advice.best, fold);
    EXPECT_EQ(call.advice.grade, playout::Grade::Mistake);
    double loss = 0.0;
    for (const coach::ReviewRow &row : rows)
        loss += row.advice.lossBb;
    EXPECT_EQ(summary.graded, 4);
    EXPECT_NEAR(summary.evLossBb, loss, 1e-9);
    EXPECT_NEAR(summary.evLossPer100(), 100.0 * loss, 1e-9);
    EXPECT_TRUE(summary.warnings.empty());
    // The line ends with the best option, its value, the loss, the game, the grade (the verdict
    // too) and the best against typical players where it differs (no computer opponent here).
    const std::string line = coach::ReviewLine(call, "HH_1.txt");
    EXPECT_NE(line.find("\tmistake\t"), std::string::npos) << line;
    EXPECT_NE(line.find("\tfold\t0.00\t"), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - std::string("\tHH_1.txt\tmistake\t-").size()),
              "\tHH_1.txt\tmistake\t-")
        << line;
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
                                     "equity_random\tequity_range\tverdict\tev\tbest\t"
                                     "ev_best_bb\tev_loss_bb\tgame\tgrade\tvs_typical");
}

TEST_F(CoachReviewScripted, AFoldWhereACheckWasFreeIsGraded)
{
    // The human, big blind with two aces, folds although the small blind only completed.
    m_game.SetStackedDraws(Draws(kButtonOnSeat1Of3, "Ah 9c 7d As 8d 2c Kh Qh 9s 8s 2d"));
    ScriptedHuman human(m_game);
    m_game.SetHumanPlayer(&human);
    m_decider.Add(1, 0);  // button folds
    m_decider.Add(2, 10); // small blind completes
    human.Add(0, true);   // FOLD pressed with nothing owed
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 1);
    std::vector<history::Game> games;
    std::string error;
    ASSERT_TRUE(history::ReadGames(m_folder.string(), false, games, error)) << error;
    coach::Estimator estimator(500, 5);
    std::vector<coach::ReviewRow> rows;
    coach::ReviewSummary summary;
    coach::ReviewOptions options;
    options.samplesPerOption = 100;
    options.seed = 5;
    ASSERT_TRUE(coach::ReviewGame(games[0], 0, estimator, rows, summary, error, {}, options));
    ASSERT_EQ(rows.size(), 1u);
    // Worth 0, the fold gives up all that checking two aces in a pot of two big blinds kept.
    const playout::Advice &advice = rows[0].advice;
    ASSERT_GE(advice.chosen, 0);
    EXPECT_EQ(advice.options[size_t(advice.chosen)].kind, playout::OptionKind::Fold);
    EXPECT_EQ(advice.options[size_t(advice.chosen)].evBb, 0.0);
    EXPECT_DOUBLE_EQ(advice.lossBb, advice.options[size_t(advice.best)].evBb);
    EXPECT_GE(advice.grade, playout::Grade::Mistake);
    EXPECT_DOUBLE_EQ(summary.evLossBb, advice.lossBb);
}
