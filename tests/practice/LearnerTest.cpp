// A learner with a planted leak, drilled on its own deck. Heads-up against the Master it folds
// every hand of the better 40 % in the big blind facing a raise. The deck must show that leak
// first, and once the learner plays the answers its drills graded best, the leak must cost at
// least 80 % less in new games.
#include "coach/Review.h"
#include "opponents/BotGame.h"
#include "playout/Advisor.h"
#include "practice/Deck.h"
#include "practice/Variations.h"
#include "tests/support/PreflopEquity.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <numeric>
#include <optional>

namespace {

using testsupport::kClassCount;

// The engine counts cards suit by suit (2c 0 .. Ac 12, 2d 13 ..); the tests' table rank by rank.
int ClassOfHand(int a, int b)
{
    const auto card = [](int c) { return (c % 13) * 4 + c / 13; };
    return testsupport::ClassOf(card(a), card(b));
}

// The better 40 % of the hands (by combinations), ranked by all-in equity against any hand.
std::array<bool, kClassCount> BetterPart(const testsupport::EquityTable &equity)
{
    std::array<double, kClassCount> strength{};
    std::array<int, kClassCount> combos{};
    for (int a = 0; a < kClassCount; ++a) {
        combos[a] = static_cast<int>(testsupport::ClassHands(a).size());
        double deals = 0;
        for (int b = 0; b < kClassCount; ++b) {
            const int n = testsupport::DisjointDeals(a, b);
            strength[a] += equity[a][b] * n;
            deals += n;
        }
        strength[a] /= deals;
    }
    std::array<int, kClassCount> order{};
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int x, int y) { return strength[x] > strength[y]; });
    std::array<bool, kClassCount> better{};
    int taken = 0;
    for (int c : order) {
        if (taken >= 1326 * 40 / 100)
            break;
        better[c] = true;
        taken += combos[c];
    }
    return better;
}

// Seat 0 in the big blind before anything else it did, facing an open raise (a jam is another
// spot, where much of the better part folds).
constexpr int kLargestOpen = 4;
bool FacingARaiseInTheBigBlind(const CGameTable &t, int seat)
{
    return seat == 0 && t.m_seatCount == 2 && seat != t.m_button && t.m_boardCount == 0 &&
           t.m_bet[seat] == t.m_bigBlind && t.m_amountToCall > t.m_bigBlind &&
           t.m_amountToCall <= kLargestOpen * t.m_bigBlind;
}

// Plays as the coach advises, but for its leak: the better part of the hands folded in the big
// blind facing a raise, until drills teach it otherwise.
struct Learner
{
    std::array<bool, kClassCount> leaky{};
    // What the drills graded best, by class, a raise as a multiple of the bet faced.
    std::map<int, std::pair<practice::Answer::Kind, double>> drilled;
    // For the leak's hands not drilled: the answer the drills gave most often, a raise as the
    // drills' mean multiple.
    std::optional<practice::Answer::Kind> lesson;
    double lessonTimes = 3.0;

    std::optional<int> Habit(const CGameTable &t) const
    {
        if (!FacingARaiseInTheBigBlind(t, 0))
            return std::nullopt;
        const int c = ClassOfHand(t.m_cards[0], t.m_cards[1]);
        if (const auto it = drilled.find(c); it != drilled.end())
            return Play(t, it->second.first, it->second.second);
        if (leaky[c])
            return lesson ? Play(t, *lesson, lessonTimes) : 0;
        return std::nullopt;
    }

private:
    static int Play(const CGameTable &t, practice::Answer::Kind kind, double times)
    {
        const int owed = t.m_amountToCall - t.m_bet[0];
        if (kind == practice::Answer::Fold)
            return 0;
        if (kind == practice::Answer::Call)
            return std::min(owed, t.m_stack[0]);
        return std::min(static_cast<int>(times * t.m_amountToCall) - t.m_bet[0], t.m_stack[0]);
    }
};

struct Measured
{
    int hands = 0;
    double leakLossBb = 0.0; // graded loss of the leak's decisions
    std::vector<practice::Spot> spots;
    std::vector<std::pair<history::Game, practice::Spot>> whereFrom;
    double per100() const { return hands > 0 ? 100.0 * leakLossBb / hands : 0.0; }
};

// Seeded heads-up games of the learner against the Master, each reviewed for the learner, until
// `hands` hands are played (the games are short: one of the two soon has all the chips).
Measured PlayAndReview(const Learner &learner, std::uint64_t firstSeed, int hands)
{
    Measured measured;
    for (std::uint64_t seed = firstSeed; measured.hands < hands; ++seed) {
        const testsupport::TempFolder folder("brisquel_learner");
        BotGameOptions options;
        // The learner sits as Master_0, played by the coach but for its habit.
        options.names = {"Master", "Master"};
        playout::AdviseSettings advise;
        advise.samplesPerOption = 120;
        advise.maxMillis = 0;
        advise.seed = seed;
        playout::CCoachDecider decider(
            0, advise, [&learner](const CGameTable &t, int) { return learner.Habit(t); });
        options.stacks = {4000, 4000};
        options.lastHand = 150;
        options.seed = seed;
        options.outputFolder = folder.str();
        options.decider = &decider;
        RunBotGame(options);
        std::vector<history::Game> games;
        std::string error;
        EXPECT_TRUE(history::ReadGames(folder.str(), false, games, error)) << error;
        if (games.size() != 1)
            break;
        const history::Game &game = games.front();
        coach::Estimator estimator(200, seed);
        coach::ReviewOptions review;
        review.samplesPerOption = 60;
        review.seed = seed;
        std::vector<coach::ReviewRow> rows;
        coach::ReviewSummary summary;
        EXPECT_TRUE(coach::ReviewGame(game, 0, estimator, rows, summary, error, {}, review))
            << error;
        measured.hands += summary.hands;
        for (const coach::ReviewRow &row : rows) {
            // The leak's decisions: the first one of the big blind facing a raise, with a hand
            // of the better part.
            const bool leak = row.street == history::Street::Preflop &&
                              row.position == coach::Position::Blinds && row.point.toCall > 0 &&
                              row.point.committed == row.bigBlind && row.advice.valid &&
                              row.point.toCall + row.bigBlind <= kLargestOpen * row.bigBlind &&
                              learner.leaky[ClassOfHand(row.point.hole[0], row.point.hole[1])];
            if (leak)
                measured.leakLossBb += row.advice.lossBb;
        }
        for (practice::Spot &spot : practice::SpotsOfGame(game, 0, rows)) {
            measured.whereFrom.emplace_back(game, spot);
            measured.spots.push_back(std::move(spot));
        }
    }
    return measured;
}

} // namespace

TEST(Learner, DrillingTheCostliestLeakTakesMostOfItsLossAway)
{
    testsupport::EquityTable equity;
    std::string error;
    ASSERT_TRUE(
        testsupport::ReadEquityTable(BRISQUEL_COACH_DATA "/preflop_equities.txt", equity, error))
        << error;
    Learner learner;
    learner.leaky = BetterPart(equity);

    const Measured before = PlayAndReview(learner, 1, 200);
    const std::vector<practice::Leak> leaks = practice::Leaks(before.spots);
    ASSERT_FALSE(leaks.empty());
    const practice::LeakKey &first = leaks.front().key;
    EXPECT_EQ(first.street, history::Street::Preflop);
    EXPECT_EQ(first.position, coach::Position::Blinds);
    EXPECT_EQ(first.faced, practice::Faced::Bet) << practice::LeakName(first);

    // Drill every spot of that leak (whatever its grade) and a variation of each: answer with
    // the option graded best, and keep it.
    std::map<practice::Answer::Kind, int> answers;
    double raiseTimes = 0.0;
    for (const auto &[game, spot] : before.whereFrom) {
        const practice::LeakKey &key = spot.leak;
        if (key.street != first.street || key.position != first.position ||
            key.faced != first.faced || spot.played != "fold")
            continue;
        std::vector<practice::Spot> drills{spot};
        for (practice::Spot &v : practice::Variations(game, 0, spot, 1, 60, 5))
            drills.push_back(std::move(v));
        for (practice::Spot &drill : drills) {
            const auto best = std::max_element(
                drill.options.begin(), drill.options.end(),
                [](const playout::Option &a, const playout::Option &b) { return a.evBb < b.evBb; });
            practice::Answer answer;
            answer.kind = best->kind == playout::OptionKind::Fold ? practice::Answer::Fold
                          : best->kind == playout::OptionKind::Call ||
                                  best->kind == playout::OptionKind::Check
                              ? practice::Answer::Call
                              : practice::Answer::Raise;
            answer.to = best->total;
            practice::Graded graded;
            ASSERT_TRUE(practice::GradeAnswer(drill, answer, graded, error)) << error;
            EXPECT_TRUE(graded.right) << practice::SpotLine(drill);
            practice::Schedule(drill, graded, 0);
            const double times = double(answer.to) / std::max(1, drill.toCall + drill.bigBlind);
            learner.drilled[ClassOfHand(drill.hole[0], drill.hole[1])] = {answer.kind, times};
            ++answers[answer.kind];
            raiseTimes += answer.kind == practice::Answer::Raise ? times : 0.0;
        }
    }
    ASSERT_FALSE(answers.empty());
    learner.lesson = std::max_element(answers.begin(), answers.end(), [](auto &a, auto &b) {
                         return a.second < b.second;
                     })->first;
    if (answers[practice::Answer::Raise] > 0)
        learner.lessonTimes = raiseTimes / answers[practice::Answer::Raise];

    const Measured after = PlayAndReview(learner, 1001, 200);
    const Measured leaking = [&] {
        Learner untaught;
        untaught.leaky = learner.leaky;
        return PlayAndReview(untaught, 1001, 200);
    }();
    ASSERT_GT(leaking.per100(), 0.0);
    EXPECT_LE(after.per100(), 0.2 * leaking.per100())
        << "before drilling " << leaking.per100() << " bb/100, after " << after.per100();
    std::printf("leak: %.1f bb/100 before drilling, %.1f after (%zu spots drilled)\n",
                leaking.per100(), after.per100(), learner.drilled.size());
}
