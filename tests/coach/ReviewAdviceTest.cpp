// The grades of a review: the same play-outs however many threads share them, a review no
// longer wanted stopped while the play-outs run, hands that do not replay left without advice
// (and said so) rather than failing the review, and the leak table's groups.
#include "coach/Review.h"
#include "tests/support/SeededBotGame.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

struct Reviewed
{
    bool ok = false;
    std::string error;
    std::vector<coach::ReviewRow> rows;
    coach::ReviewSummary summary;
};

Reviewed Review(const history::Game &game, int seat, const coach::ReviewOptions &options,
                const std::function<bool()> &wanted = {})
{
    coach::Estimator estimator(100, 9);
    Reviewed r;
    r.ok = coach::ReviewGame(game, seat, estimator, r.rows, r.summary, r.error, wanted, options);
    return r;
}

coach::ReviewOptions Options(int samples, std::uint64_t seed, int threads)
{
    coach::ReviewOptions options;
    options.samplesPerOption = samples;
    options.seed = seed;
    options.threads = threads;
    return options;
}

class ReviewAdvice : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_played = new testsupport::SeededBotGame(5, 16, 77); }
    static void TearDownTestSuite()
    {
        delete s_played;
        s_played = nullptr;
    }
    static const history::Game &Game() { return s_played->game(); }
    static testsupport::SeededBotGame *s_played;
};
testsupport::SeededBotGame *ReviewAdvice::s_played = nullptr;

TEST_F(ReviewAdvice, OneThreadOrFourGiveTheSameGradesAndTheSeedMatters)
{
    ASSERT_TRUE(s_played->ok()) << s_played->error();
    const Reviewed one = Review(Game(), 1, Options(6, 5, 1));
    const Reviewed four = Review(Game(), 1, Options(6, 5, 4));
    ASSERT_TRUE(one.ok && four.ok) << one.error << four.error;
    ASSERT_EQ(one.rows.size(), four.rows.size());
    ASSERT_GT(one.rows.size(), 3u);
    for (size_t r = 0; r < one.rows.size(); ++r) {
        const playout::Advice &a = one.rows[r].advice, &b = four.rows[r].advice;
        ASSERT_TRUE(a.valid) << "row " << r;
        ASSERT_EQ(a.options.size(), b.options.size());
        for (size_t k = 0; k < a.options.size(); ++k) {
            EXPECT_EQ(a.options[k].evBb, b.options[k].evBb);
            EXPECT_EQ(a.options[k].errorBb, b.options[k].errorBb);
            // At least a quarter of the play-outs asked for, at most sixteen times as many.
            EXPECT_EQ(a.options[k].samples, b.options[k].samples);
            EXPECT_GE(a.options[k].samples, 1);
            EXPECT_LE(a.options[k].samples, 96);
        }
        EXPECT_EQ(a.chosen, b.chosen);
        EXPECT_EQ(a.grade, b.grade);
    }
    EXPECT_EQ(one.summary.evLossBb, four.summary.evLossBb);
    const Reviewed other = Review(Game(), 1, Options(6, 6, 2));
    ASSERT_TRUE(other.ok);
    EXPECT_NE(other.summary.evLossBb, one.summary.evLossBb);
}

TEST_F(ReviewAdvice, AReviewNoLongerWantedStopsWhileThePlayOutsRun)
{
    ASSERT_TRUE(s_played->ok()) << s_played->error();
    // How often the review asks before the play-outs begin.
    int asked = 0;
    ASSERT_TRUE(Review(Game(), 2, Options(0, 1, 2), [&] { return ++asked > 0; }).ok);
    const int before = asked;
    // Far more play-outs than a test could wait for: only the stop ends it.
    int calls = 0;
    const Reviewed stopped =
        Review(Game(), 2, Options(1000000, 1, 2), [&] { return ++calls <= before; });
    EXPECT_FALSE(stopped.ok);
    EXPECT_EQ(stopped.error, "stopped");
    EXPECT_GT(calls, before);
    for (const coach::ReviewRow &row : stopped.rows)
        EXPECT_FALSE(row.advice.valid);
}

TEST_F(ReviewAdvice, AHandThatDoesNotReplayKeepsItsRowsWithoutAdvice)
{
    ASSERT_TRUE(s_played->ok()) << s_played->error();
    history::Game game = Game();
    // The first two decisions before the flop of a hand traded places: the second seat acts out
    // of turn, and nothing after it replays. The big blind decides after both.
    history::Hand *broken = nullptr;
    size_t first = 0;
    for (history::Hand &hand : game.hands) {
        std::vector<size_t> decisions;
        for (size_t a = 0; a < hand.actions.size(); ++a) {
            const history::Action &action = hand.actions[a];
            if (action.street == history::Street::Preflop &&
                action.kind >= history::ActionKind::Fold)
                decisions.push_back(a);
        }
        if (decisions.size() < 3 || hand.actions[decisions[0]].seat == hand.bigBlindSeat ||
            hand.actions[decisions[1]].seat == hand.bigBlindSeat ||
            hand.actions[decisions[0]].kind != history::ActionKind::Fold ||
            hand.actions[decisions[1]].kind != history::ActionKind::Fold)
            continue;
        broken = &hand;
        first = decisions[0];
        break;
    }
    ASSERT_NE(broken, nullptr);
    std::swap(broken->actions[first], broken->actions[first + 1]);
    const int seat = broken->bigBlindSeat;
    const Reviewed r = Review(game, seat, Options(6, 2, 2));
    ASSERT_TRUE(r.ok) << r.error;
    int without = 0;
    for (const coach::ReviewRow &row : r.rows) {
        if (row.hand == broken->number) {
            EXPECT_FALSE(row.advice.valid);
            EXPECT_EQ(row.advice.grade, playout::Grade::NotGraded);
            ++without;
        } else {
            EXPECT_TRUE(row.advice.valid) << "hand " << row.hand;
        }
    }
    EXPECT_GT(without, 0);
    EXPECT_EQ(r.summary.graded, r.summary.decisions - without);
    ASSERT_EQ(r.summary.warnings.size(), 1u);
    EXPECT_NE(r.summary.warnings[0].find("hand #" + std::to_string(broken->number) + ":"),
              std::string::npos)
        << r.summary.warnings[0];
    // Its rows still carry the verdicts on the price.
    const auto row = std::find_if(r.rows.begin(), r.rows.end(), [&](const coach::ReviewRow &x) {
        return x.hand == broken->number;
    });
    ASSERT_NE(row, r.rows.end());
    EXPECT_TRUE(row->estimate.valid);
    const std::string line = coach::ReviewLine(*row);
    EXPECT_EQ(line.substr(line.size() - 10), "\t-\t-\t-\t-\t-") << line;
}

coach::ReviewRow Row(history::Street street, coach::Position position, coach::Move move,
                     playout::Grade grade, double lossBb)
{
    coach::ReviewRow row;
    row.street = street;
    row.position = position;
    row.move = move;
    row.advice.grade = grade;
    row.advice.lossBb = lossBb;
    return row;
}

TEST(ReviewLeaks, DecisionsGroupByStreetPositionAndAction)
{
    using coach::Move;
    using coach::Position;
    using history::Street;
    using playout::Grade;
    const std::vector<coach::ReviewRow> rows = {
        Row(Street::Flop, Position::Late, Move::Bet, Grade::Blunder, 4.0),
        Row(Street::Preflop, Position::Blinds, Move::Fold, Grade::Mistake, 1.5),
        Row(Street::Preflop, Position::Early, Move::Raise, Grade::NotGraded, 0.0),
        Row(Street::Preflop, Position::Blinds, Move::Fold, Grade::Ok, 0.125),
        Row(Street::Preflop, Position::Blinds, Move::Call, Grade::SmallMistake, 0.5),
    };
    const std::vector<coach::LeakCell> table = coach::LeakTable(rows);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0].position, Position::Early);
    EXPECT_EQ(table[0].decisions, 1);
    EXPECT_EQ(table[0].mistakes, 0);
    EXPECT_EQ(table[1].move, Move::Fold);
    EXPECT_EQ(table[1].decisions, 2);
    EXPECT_EQ(table[1].mistakes, 1);
    EXPECT_DOUBLE_EQ(table[1].lostBb, 1.625);
    EXPECT_EQ(table[2].move, Move::Call);
    EXPECT_EQ(table[2].mistakes, 1);
    EXPECT_EQ(table[3].street, Street::Flop);
    EXPECT_DOUBLE_EQ(table[3].lostBb, 4.0);
    EXPECT_STREQ(coach::PositionName(Position::Blinds), "blinds");
}

// One verdict per decision: the grade wherever there is one, whatever the price says, in the
// review's line and in the pane's; the price's judgement only where no grade exists.
TEST(ReviewVerdict, TheGradeIsTheVerdictWhereThereIsOne)
{
    using coach::Move;
    using playout::Grade;
    const struct
    {
        Move move;
        double equity; // a call or fold: 120 to call into 300, 29 % needed
        Grade grade;
        bool uncertain;
        const char *verdict, *paneEnd;
    } cases[] = {
        // The price says ok, the play-outs a mistake; and the other way round.
        {Move::Call, 0.40, Grade::Mistake, false, "mistake", "needed: mistake (+48)"},
        {Move::Fold, 0.62, Grade::Ok, false, "ok", "needed: ok (\u2212140)"},
        {Move::Call, 0.18, Grade::SmallMistake, true, "small mistake (uncertain)",
         "needed: small mistake (uncertain) (\u221244)"},
        {Move::Check, 0.40, Grade::Blunder, false, "blunder", "equity 40 %: blunder"},
        {Move::Raise, 0.52, Grade::Mistake, false, "mistake", "equity 52 %: mistake"},
        // No grade: the price's judgement, and none for a raise.
        {Move::Call, 0.18, Grade::NotGraded, false, "too loose", "needed: too loose (\u221244)"},
        {Move::Raise, 0.52, Grade::NotGraded, false, "-", "equity 52 %"},
    };
    const auto field = [](const std::string &line, int n) {
        size_t at = 0;
        for (int k = 0; k < n; ++k)
            at = line.find('\t', at) + 1;
        return line.substr(at, line.find('\t', at) - at);
    };
    for (const auto &c : cases) {
        coach::ReviewRow row;
        row.move = c.move;
        row.point.pot = 300;
        row.point.toCall = c.move == Move::Call || c.move == Move::Fold ? 120 : 0;
        row.amount = c.move == Move::Raise ? 60 : c.move == Move::Call ? 120 : 0;
        const double ev = c.equity * (300 + row.point.toCall) - row.point.toCall;
        row.estimate = {true, coach::PriceOf(300, row.point.toCall), {}, {c.equity, 0.0}, ev};
        row.verdict = coach::Judge(c.move, row.estimate);
        row.advice.grade = c.grade;
        row.advice.uncertain = c.uncertain;
        const std::string line = coach::ReviewLine(row);
        EXPECT_EQ(field(line, 9), c.verdict) << line;
        EXPECT_EQ(field(line, 15), playout::GradeName(c.grade)) << line;
        const std::string pane =
            coach::PaneLine("flop", c.move, row.amount, row.point, row.estimate, row.advice);
        EXPECT_TRUE(pane.ends_with(c.paneEnd)) << pane;
    }
}

} // namespace
