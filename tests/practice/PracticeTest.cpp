// The practice deck: the SM-2 schedule against the algorithm's own definition, answers graded
// with a spot's values, the deck of a seeded game, and the store across reopening and damage.

#include "practice/Drill.h"
#include "practice/PlayRest.h"
#include "practice/Store.h"
#include "practice/Variations.h"
#include "tests/support/SeededBotGame.h"
#include "tests/support/SpotReview.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

using playout::Grade;
using playout::OptionKind;

// Intervals I(1)=1, I(2)=6, I(n)=I(n-1)·EF (the EF before the answer) rounded up; EF' = EF + 0.1 −
// (5−q)(0.08 + (5−q)·0.02), never below 1.3; a rating below 3 starts the repetitions again (worked
// by hand).
TEST(Sm2, IntervalsAndEaseFollowTheAlgorithm)
{
    struct Case
    {
        std::vector<int> ratings;
        int repetitions, interval;
        double ease;
    } cases[] = {
        {{5}, 1, 1, 2.6},
        {{5, 5}, 2, 6, 2.7},
        {{5, 5, 5}, 3, 17, 2.8},    // 6 × 2.7 = 16.2, rounded up
        {{5, 5, 5, 5}, 4, 48, 2.9}, // 17 × 2.8 = 47.6
        {{4, 4, 4}, 3, 15, 2.5},    // a 4 leaves the ease as it is
        {{3}, 1, 1, 2.36},
        {{5, 5, 2}, 0, 1, 2.38}, // forgotten: back to the first interval
        {{5, 5, 2, 5}, 1, 1, 2.48},
        {{5, 5, 2, 5, 5}, 2, 6, 2.58},
        {{0}, 0, 1, 1.7},
        {{0, 0, 0}, 0, 1, 1.3}, // the ease stops at 1.3
        // EF 2.36, 2.22, 2.08, 1.94, 1.80, 1.66; I 1, 6, 6·2.22→14, 14·2.08→30, 59, 107.
        {{3, 3, 3, 3, 3, 3}, 6, 107, 1.66},
    };
    for (const Case &c : cases) {
        practice::Sm2State state;
        for (int q : c.ratings)
            state = practice::Sm2Answer(state, q);
        SCOPED_TRACE(testing::PrintToString(c.ratings));
        EXPECT_EQ(state.repetitions, c.repetitions);
        EXPECT_EQ(state.intervalDays, c.interval);
        EXPECT_NEAR(state.ease, c.ease, 1e-9);
    }
}

playout::Option MakeOption(OptionKind kind, int total, int put, double ev)
{
    playout::Option o;
    o.kind = kind;
    o.total = total;
    o.put = put;
    o.evBb = ev;
    return o;
}

// Facing a bet of 40 with 20 in: fold 0, call +0.5, raise to 120 +2.0, all in −1.5 bb.
practice::Spot FacingABet()
{
    practice::Spot spot;
    spot.toCall = 20;
    spot.options = {MakeOption(OptionKind::Fold, 20, 0, 0.0),
                    MakeOption(OptionKind::Call, 40, 20, 0.5),
                    MakeOption(OptionKind::Raise, 120, 100, 2.0),
                    MakeOption(OptionKind::AllIn, 1500, 1480, -1.5)};
    return spot;
}

TEST(Drill, AnswersAreGradedWithTheSpotsValues)
{
    struct Case
    {
        std::string answer;
        Grade grade;
        double loss;
        int quality;
    } cases[] = {
        {"raise 120", Grade::Ok, 0.0, 5},
        {"raise to 100", Grade::Ok, 0.0, 5}, // the nearest size valued
        {"call", Grade::Mistake, 1.5, 1},
        {"fold", Grade::Mistake, 2.0, 1},
        {"raise 1500", Grade::Blunder, 3.5, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.answer);
        practice::Answer answer;
        practice::Graded graded;
        std::string error;
        ASSERT_TRUE(practice::ParseAnswer(c.answer, answer, error)) << error;
        ASSERT_TRUE(practice::GradeAnswer(FacingABet(), answer, graded, error)) << error;
        EXPECT_EQ(graded.advice.grade, c.grade);
        EXPECT_NEAR(graded.advice.lossBb, c.loss, 1e-9);
        EXPECT_EQ(graded.quality, c.quality);
        EXPECT_EQ(graded.right, c.grade == Grade::Ok);
    }
    practice::Answer answer;
    practice::Graded graded;
    std::string error;
    for (const char *bad : {"", "raise", "raise 0", "raise x", "limp", "call 40"})
        EXPECT_FALSE(practice::ParseAnswer(bad, answer, error)) << bad;
    ASSERT_TRUE(practice::ParseAnswer("raise 30", answer, error));
    EXPECT_FALSE(practice::GradeAnswer(FacingABet(), answer, graded, error)); // below the call
    // The big blind's option to check, with the free fold the review adds in front: a raise to
    // 80 puts in 60 more.
    practice::Spot free;
    free.options = {
        MakeOption(OptionKind::Fold, 0, 0, 0.0), MakeOption(OptionKind::Check, 20, 0, 1.0),
        MakeOption(OptionKind::Raise, 60, 40, 0.5), MakeOption(OptionKind::Raise, 80, 60, 2.0)};
    ASSERT_TRUE(practice::ParseAnswer("raise 80", answer, error));
    ASSERT_TRUE(practice::GradeAnswer(free, answer, graded, error)) << error;
    EXPECT_EQ(graded.advice.chosen, 3);
}

// New spots go by cost; one answered wrong comes again the same day, before new ones but not
// twice in a row, and once answered right waits its interval, which the extra answers leave as
// it was.
TEST(Drill, WrongAnswersComeAgainTodayThenTheSchedule)
{
    std::vector<practice::Spot> spots(3, FacingABet());
    for (int s = 0; s < 3; ++s)
        spots[size_t(s)].hand = s;
    spots[0].lossBb = 0.5;
    spots[1].lossBb = 3.0;
    spots[2].lossBb = 1.0;
    spots[2].leak.grade = Grade::Blunder; // a leak of its own, cheaper than the first
    const std::int64_t day = 86400, now = 1000 * day;
    practice::Graded wrong, right;
    wrong.quality = 1;
    right.quality = 5;
    const struct
    {
        std::int64_t at;
        size_t next;
        bool rightAnswer;
    } steps[] = {{now, 1, false}, {now, 0, true},     {now, 1, false},         {now, 2, false},
                 {now, 1, true},  {now + 1, 2, true}, {now + day + 5, 0, true}};
    std::string last;
    for (const auto &step : steps) {
        ASSERT_EQ(practice::NextSpot(spots, step.at, last), step.next) << step.at - now;
        practice::Schedule(spots[step.next], step.rightAnswer ? right : wrong, step.at);
        last = spots[step.next].key();
    }
    EXPECT_EQ(spots[1].schedule.repetitions, 0);
    EXPECT_EQ(spots[1].due, now + day);
    EXPECT_EQ(practice::NextSpot(spots, now + day + 5, last), 1u);
    EXPECT_EQ(practice::NextSpot(spots, now + 5), std::nullopt);
}

// Mastery reads only the leak's own answers, the last `last` of them.
TEST(Drill, MasteryCountsTheLeaksLastAnswers)
{
    std::vector<practice::Spot> spots(2, FacingABet());
    spots[1].hand = 1;
    spots[1].leak.grade = Grade::Blunder;
    const std::string a = spots[0].key(), b = spots[1].key();
    const std::vector<practice::Try> tries = {
        {a, 1, false, 4.0}, {a, 2, true, 0.0}, {b, 3, false, 9.0}, {a, 4, false, 2.0}};
    for (const practice::Leak &leak : practice::Leaks(spots)) {
        const practice::Mastery m = practice::MasteryOf(leak, tries, 2, 0);
        const bool first = leak.spots.front()->key() == a;
        EXPECT_EQ(m.tries, first ? 2 : 1);
        EXPECT_EQ(m.right, first ? 1 : 0);
        EXPECT_DOUBLE_EQ(m.lossPerTryBb, first ? 1.0 : 9.0);
    }

    // At the table a decision matches its street, position and bet faced, whatever the grade.
    using practice::Faced;
    using Pos = coach::Position;
    using history::Street;
    spots.push_back(spots[0]);
    spots[2].hand = 2;
    spots[2].leak.position = Pos::Blinds;
    const std::vector<practice::Try> more = {
        {a, 1, false, 4.0}, {b, 2, true, 0.0}, {spots[2].key(), 3, true, 0.0}};
    const struct
    {
        Street street;
        Pos position;
        Faced faced;
        std::string line;
    } drills[] = {
        {Street::Preflop, Pos::Early, Faced::None, "you drilled this spot: 1 of 2 right"},
        {Street::Preflop, Pos::Blinds, Faced::None, "you drilled this spot: 1 of 1 right"},
        {Street::Flop, Pos::Early, Faced::None, ""},
        {Street::Preflop, Pos::Early, Faced::Bet, ""},
    };
    EXPECT_EQ(practice::MasteryLine(spots, more, spots[0].leak, 10, 0),
              "0 of 1 right · 4.0 bb lost per drill · 1 due");
    for (const auto &d : drills)
        EXPECT_EQ(practice::DrilledLine(
                      practice::DrilledMastery(spots, more, d.street, d.position, d.faced, 10, 0)),
                  d.line);
}

// The bet faced, read from a hand's actions: seat 0 small blind, 1 big blind, 2 the button.
// Each action is street (p, f, t), seat and kind (s, B blinds; r raise, b bet, c call, x check,
// f fold).
TEST(Deck, BetFacedCountsTheStreetsBetsAndRaises)
{
    using history::ActionKind;
    history::Game game;
    history::Hand hand;
    hand.number = 7;
    for (int s = 0; s < 3; ++s) {
        game.seats.push_back({s, "P" + std::to_string(s), "", 0, false, 1000});
        hand.seats.push_back({});
        hand.seats.back().seat = s;
    }
    const std::string streets = "pft", kinds = "sBfxcbr";
    for (const char *text :
         {"p0s", "p1B", "p2r", "p0r", "p1f", "p2c", "f0b", "f2r", "f0r", "f2c", "t0x", "t2x"}) {
        hand.actions.push_back({});
        hand.actions.back().street = static_cast<history::Street>(streets.find(text[0]));
        hand.actions.back().seat = text[1] - '0';
        hand.actions.back().kind = static_cast<ActionKind>(kinds.find(text[2]) + 1);
    }
    game.hands.push_back(hand);
    using practice::Faced;
    const std::pair<int, std::vector<Faced>> cases[] = {
        {2, {Faced::None, Faced::Raise, Faced::Bet, Faced::Raise, Faced::None}},
        {0, {Faced::Bet, Faced::None, Faced::Raise, Faced::None}},
    };
    for (const auto &[seat, expected] : cases) {
        std::vector<coach::ReviewRow> rows(expected.size());
        for (coach::ReviewRow &row : rows) {
            row.hand = 7;
            row.advice.valid = true;
            row.advice.options = FacingABet().options;
            row.advice.chosen = 0;
            row.advice.grade = Grade::Mistake;
        }
        std::vector<Faced> faced;
        for (const practice::Spot &spot : practice::SpotsOfGame(game, seat, rows))
            faced.push_back(spot.leak.faced);
        EXPECT_EQ(faced, expected) << "seat " << seat;
    }
}

// One seat of a seeded game reviewed with few play-outs: every decision graded worse than ok is
// one spot, the leaks come costliest first, and the spots read back from the store grade the
// move made as the review did.
TEST(Deck, SeededGameGivesItsMistakesCostliestLeakFirst)
{
    const testsupport::SeededBotGame played(5, 30, 77);
    ASSERT_TRUE(played.ok()) << played.error();
    const int seat = 1;
    std::vector<coach::ReviewRow> rows;
    std::string error;
    ASSERT_TRUE(testsupport::QuickReview(played.game(), seat, rows, error)) << error;
    const std::vector<practice::Spot> found = practice::SpotsOfGame(played.game(), seat, rows);
    std::map<std::string, double> lossOfLeak;
    int mistakes = 0;
    for (const coach::ReviewRow &row : rows)
        mistakes += row.advice.grade != Grade::Ok && row.advice.grade != Grade::NotGraded;
    ASSERT_EQ(found.size(), size_t(mistakes));
    ASSERT_GE(mistakes, 2);

    practice::Store store;
    ASSERT_TRUE(store.Open(played.folder().file(practice::kStoreFileName), error)) << error;
    ASSERT_EQ(store.Add(found, error), mistakes) << error;
    EXPECT_EQ(store.Add(found, error), 0); // a game added again adds nothing
    std::vector<practice::Spot> spots;
    ASSERT_TRUE(store.Load(spots, error)) << error;
    ASSERT_EQ(spots.size(), found.size());
    for (const practice::Spot &spot : spots) {
        lossOfLeak[practice::LeakName(spot.leak)] += spot.lossBb;
        // The move made, answered again: "all in" as a raise to the all-in's size.
        const std::string allIn = "raise " + std::to_string(spot.options.back().total);
        practice::Answer answer;
        ASSERT_TRUE(
            practice::ParseAnswer(spot.played == "all in" ? allIn : spot.played, answer, error))
            << error;
        practice::Graded graded;
        ASSERT_TRUE(practice::GradeAnswer(spot, answer, graded, error)) << error;
        EXPECT_EQ(graded.advice.grade, spot.leak.grade) << practice::SpotLine(spot);
        EXPECT_NEAR(graded.advice.lossBb, spot.lossBb, 1e-9);
        // Dealt again from its file: the player's action at the price and pot of the spot.
        practice::Dealt dealt;
        ASSERT_TRUE(practice::DealSpot(spot, dealt, error)) << error;
        const history::Action &asked = dealt.hand.actions[size_t(dealt.action)];
        EXPECT_EQ(asked.seat, dealt.seat);
        EXPECT_EQ(asked.street, spot.leak.street);
        EXPECT_EQ(std::min(asked.toCall, asked.stackBefore), spot.toCall); // capped at the stack
        EXPECT_EQ(asked.potBefore, spot.pot);
        // The rest played by the models from each option: no chip made or lost, the answer
        // first, the pot paid last.
        ASSERT_TRUE(dealt.soFar);
        int chips = 0;
        for (const playout::SeatSoFar &s : dealt.soFar->seats)
            chips += s.inHand ? s.startStack : 0;
        for (const playout::Option &option : spot.options) {
            const practice::RestOfHand rest =
                practice::PlayRest(*dealt.soFar, option.put, option.kind == OptionKind::Fold, 3);
            ASSERT_GE(rest.steps.size(), 2u);
            EXPECT_EQ(rest.steps.front().actor, dealt.seat);
            EXPECT_EQ(rest.steps.back().kind, replay::StepKind::Result);
            int after = 0;
            for (const replay::SeatState &s : rest.steps.back().seats)
                after += s.inHand ? s.stack : 0;
            EXPECT_EQ(after, chips) << playout::OptionLabel(option);
        }
    }
    const std::vector<practice::Leak> leaks = practice::Leaks(spots);
    ASSERT_EQ(leaks.size(), lossOfLeak.size());
    for (const auto &[name, loss] : lossOfLeak)
        EXPECT_LE(loss, leaks.front().lossBb + 1e-9) << name;

    // Variations are the same decision: the same bets and raises offered, other cards.
    const practice::Spot &costliest = *leaks.front().spots.front();
    const std::vector<practice::Spot> varied =
        practice::Variations(played.game(), seat, costliest, 2, 20, 5);
    ASSERT_EQ(varied.size(), 2u);
    const history::Hand &hand =
        *std::find_if(played.game().hands.begin(), played.game().hands.end(),
                      [&](const history::Hand &h) { return h.number == costliest.hand; });
    std::vector<int> seen = hand.board; // the whole board and every other seat's cards
    for (const history::HandSeat &other : hand.seats)
        if (other.seat != seat)
            seen.insert(seen.end(), other.cards.begin(), other.cards.end());
    for (const practice::Spot &v : varied) {
        EXPECT_NE(v.hole, costliest.hole);
        for (int card : v.hole)
            EXPECT_EQ(std::count(seen.begin(), seen.end(), card), 0) << card;
        EXPECT_NE(v.key(), costliest.key());
        std::vector<int> totals, originalTotals;
        for (const playout::Option &o : v.options)
            totals.push_back(o.total);
        for (const playout::Option &o : costliest.options)
            if (o.kind != OptionKind::Fold || costliest.toCall > 0)
                originalTotals.push_back(o.total);
        EXPECT_EQ(totals, originalTotals) << practice::SpotLine(v);
    }

    // Another board at the table: the spot's own where it was dealt, the rest of the hand's
    // board kept apart from every card in play.
    const auto postflop = std::find_if(spots.begin(), spots.end(), [](const practice::Spot &s) {
        return s.board.size() >= 3 && s.board.size() < 5;
    });
    ASSERT_NE(postflop, spots.end());
    const std::vector<practice::Spot> boards =
        practice::BoardVariations(played.game(), seat, *postflop, 2, 20, 5);
    ASSERT_FALSE(boards.empty());
    practice::Dealt dealt;
    ASSERT_TRUE(practice::DealSpot(boards.front(), dealt, error)) << error;
    EXPECT_EQ(boards.front().hole, postflop->hole);
    EXPECT_NE(boards.front().board, postflop->board);
    std::vector<int> inPlay(dealt.hand.board);
    for (const history::HandSeat &s : dealt.hand.seats)
        inPlay.insert(inPlay.end(), s.cards.begin(), s.cards.end());
    std::sort(inPlay.begin(), inPlay.end());
    EXPECT_EQ(std::adjacent_find(inPlay.begin(), inPlay.end()), inPlay.end());
    EXPECT_TRUE(std::equal(boards.front().board.begin(), boards.front().board.end(),
                           dealt.hand.board.begin()));
    ASSERT_TRUE(dealt.soFar);
    EXPECT_EQ(dealt.soFar->board, boards.front().board);

    // The stack doubled: all in puts in more; dealt, the player starts the hand with twice.
    const std::vector<practice::Spot> stacks =
        practice::StackVariations(played.game(), seat, costliest, 20, 5);
    ASSERT_FALSE(stacks.empty());
    const practice::Spot &doubled = stacks.back();
    EXPECT_EQ(practice::StackFactor(doubled.variant), 2.0);
    EXPECT_GT(doubled.options.back().put, costliest.options.back().put);
    practice::Dealt plain, twice;
    ASSERT_TRUE(practice::DealSpot(costliest, plain, error)) << error;
    ASSERT_TRUE(practice::DealSpot(doubled, twice, error)) << error;
    EXPECT_EQ(twice.hand.seats[size_t(twice.seat)].startStack,
              2 * plain.hand.seats[size_t(plain.seat)].startStack);
}

int Card(const char *text)
{
    return history::CardFromText(text);
}

// Counted by hand: 6 pairs of aces, 4 suited and 12 offsuit ace-kings, less the hand itself and
// those holding a card taken.
TEST(Variations, OtherCardsOfTheSameClass)
{
    const struct
    {
        const char *a, *b;
        std::vector<int> taken;
        size_t count;
    } cases[] = {
        {"Ah", "Ad", {}, 5},
        {"Ah", "Kh", {}, 3},
        {"Ah", "Kd", {}, 11},
        {"Ah", "Kd", {Card("As")}, 8},
        {"Ah", "Kh", {Card("Ks"), Card("Kc")}, 1},
        {"Ah", "Ad", {Card("As"), Card("Ac")}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.a) + c.b);
        const auto others = practice::SameClassCards({Card(c.a), Card(c.b)}, c.taken);
        EXPECT_EQ(others.size(), c.count);
    }
}

// Other boards of a texture: each card paired, suited and in a band (T-A, 6-9, 2-5) as the
// board's own was, never a card taken, never the board itself.
TEST(Variations, OtherBoardsOfTheSameTexture)
{
    const auto cards = [](const std::vector<const char *> &texts) {
        std::vector<int> out;
        for (const char *t : texts)
            out.push_back(Card(t));
        return out;
    };
    const auto band = [](int card) {
        const int rank = card % 13; // deuce first
        return rank >= 8 ? 0 : rank >= 4 ? 1 : 2;
    };
    const struct
    {
        std::vector<int> board, taken;
        size_t count = 6;
    } cases[] = {
        {cards({"Ks", "7h", "2c"}), cards({"Ah", "Ad"})},
        {cards({"9h", "9d", "4h"}), {}},
        {cards({"Ah", "Qh", "3h", "3s"}), cards({"Kh", "Jh"})},
        {cards({"Ts", "Js", "Qs", "Ks", "As"}), {}},
        {{Card("Ks"), -1, Card("2c")}, {}, 0}, // a card not known: no texture
        {{Card("Ks"), 52, Card("2c")}, {}, 0},
    };
    for (const auto &c : cases) {
        const auto boards = practice::SameTextureBoards(c.board, c.taken, 6, 11);
        EXPECT_EQ(boards.size(), c.count);
        for (const std::vector<int> &other : boards) {
            ASSERT_EQ(other.size(), c.board.size());
            EXPECT_NE(other, c.board);
            for (size_t i = 0; i < other.size(); ++i) {
                EXPECT_EQ(std::count(c.taken.begin(), c.taken.end(), other[i]), 0);
                EXPECT_EQ(band(other[i]), band(c.board[i]));
                for (size_t j = i + 1; j < other.size(); ++j) {
                    EXPECT_EQ(other[i] % 13 == other[j] % 13, c.board[i] % 13 == c.board[j] % 13);
                    EXPECT_EQ(other[i] / 13 == other[j] / 13, c.board[i] / 13 == c.board[j] / 13);
                }
            }
        }
    }
}

TEST(Store, ScheduleAndAnswersSurviveReopening)
{
    testsupport::TempFolder folder;
    const std::string path = folder.file(practice::kStoreFileName);
    std::string error;
    practice::Spot spot = FacingABet();
    spot.game = "HH_1.txt";
    {
        practice::Store store;
        ASSERT_TRUE(store.Open(path, error)) << error;
        ASSERT_EQ(store.Add({spot}, error), 1) << error;
        practice::Graded graded;
        graded.quality = 5;
        practice::Schedule(spot, graded, 1000);
        ASSERT_TRUE(store.Answered(spot, {spot.key(), 1000, true, 0.0}, error)) << error;
    }
    practice::Store store;
    ASSERT_TRUE(store.Open(path, error)) << error;
    EXPECT_FALSE(store.rebuilt());
    std::vector<practice::Spot> spots;
    std::vector<practice::Try> tries;
    ASSERT_TRUE(store.Load(spots, error) && store.Tries(tries, error)) << error;
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].due, 1000 + 86400);
    EXPECT_EQ(spots[0].schedule.repetitions, 1);
    EXPECT_DOUBLE_EQ(spots[0].schedule.ease, 2.6);
    EXPECT_EQ(spots[0].options.size(), 4u);
    ASSERT_EQ(tries.size(), 1u);
    EXPECT_TRUE(tries[0].right);
}

TEST(Store, DamagedFileIsReportedSetAsideAndStartedAnew)
{
    const std::string kinds[] = {
        std::string("not a database at all\n"),
        std::string("SQLite format 3") + std::string(1, '\0') + std::string(200, 'x'),
    };
    for (const std::string &bytes : kinds) {
        testsupport::TempFolder folder;
        const std::string path = folder.file(practice::kStoreFileName);
        std::ofstream(path, std::ios::binary) << bytes;
        std::ofstream(folder.file("PokerDB.db3")) << "games";
        practice::Store store;
        std::string error;
        ASSERT_TRUE(store.Open(path, error)) << error;
        EXPECT_TRUE(store.rebuilt());
        EXPECT_NE(store.notice().find("damaged"), std::string::npos) << store.notice();
        std::ifstream aside(path + ".damaged", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), bytes);
        EXPECT_EQ(store.Add({FacingABet()}, error), 1) << error;
        EXPECT_TRUE(std::filesystem::exists(folder.file("PokerDB.db3")));
    }
}

// A deck another program holds locked is not damaged: refused, and left where it is.
TEST(Store, LockedFileIsRefusedNotSetAside)
{
    testsupport::TempFolder folder;
    const std::string path = folder.file(practice::kStoreFileName);
    std::string error;
    {
        practice::Store store;
        ASSERT_TRUE(store.Open(path, error)) << error;
    }
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    practice::Store store;
    EXPECT_FALSE(store.Open(path, error, 10));
    EXPECT_NE(error.find("locked"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
    sqlite3_close(other);
}

} // namespace
