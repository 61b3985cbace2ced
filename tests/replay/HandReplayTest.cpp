// Replaying hands the engine played from a script: at every step the table holds what the hand
// history implies (stacks, bets in front, pot), for a hand won by folds, a split pot and a
// three-way all-in with side pots; and the chips-per-hand series of a bot game.
#include "replay/HandReplay.h"

#include "tests/engine/EngineTestSupport.h"
#include "tests/support/SeededBotGame.h"

using namespace enginetest;
using history::ActionKind;
using history::Street;
using replay::HandReplay;
using replay::StepKind;
using replay::TableState;

namespace {

// Every action of the hand against the step that shows it: the step before holds the stack and
// the chips in that the reader worked out for the moment before the action, the step itself
// the seat's bet after it; the payout leaves every seat with its end stack and the pot empty.
void ExpectStepsMatchTheHistory(const history::Hand &hand, const HandReplay &replay)
{
    int actionsSeen = 0;
    for (int step = 1; step < replay.count(); ++step) {
        const TableState &before = replay.at(step - 1);
        const TableState &now = replay.at(step);
        SCOPED_TRACE("step " + std::to_string(step) + ": " + now.caption);
        if (now.kind != StepKind::Action)
            continue;
        const history::Action &action = hand.actions[static_cast<size_t>(now.actionIndex)];
        const size_t seat = static_cast<size_t>(action.seat);
        EXPECT_EQ(before.seats[seat].stack, action.stackBefore);
        EXPECT_EQ(before.chipsIn(), action.potBefore);
        EXPECT_EQ(now.seats[seat].bet, action.kind == ActionKind::Fold ? 0 : action.streetTotal);
        EXPECT_EQ(now.seats[seat].stack, action.stackBefore - action.amount);
        EXPECT_EQ(now.chipsIn(), action.potBefore + action.amount);
        ++actionsSeen;
    }
    int antes = 0;
    for (const history::Action &action : hand.actions)
        antes += action.kind == ActionKind::Ante ? 1 : 0;
    EXPECT_EQ(actionsSeen + antes, static_cast<int>(hand.actions.size()));

    const TableState &end = replay.at(replay.resultStep());
    EXPECT_EQ(end.kind, StepKind::Result);
    EXPECT_EQ(end.pot, 0);
    EXPECT_EQ(end.boardCount, static_cast<int>(hand.board.size()));
    for (size_t s = 0; s < hand.seats.size(); ++s) {
        EXPECT_EQ(end.seats[s].stack, hand.seats[s].endStack - hand.seats[s].chipsAdded);
        EXPECT_EQ(end.seats[s].bet, 0);
    }
}

std::vector<int> Stacks(const TableState &state)
{
    std::vector<int> stacks;
    for (const replay::SeatState &seat : state.seats)
        stacks.push_back(seat.stack);
    return stacks;
}

std::vector<int> Bets(const TableState &state)
{
    std::vector<int> bets;
    for (const replay::SeatState &seat : state.seats)
        bets.push_back(seat.bet);
    return bets;
}

} // namespace

class HandReplayTest : public GameFixture
{
protected:
    history::Game PlayOneHand(const testsupport::ScriptedHand &hand)
    {
        Play(hand);
        EXPECT_TRUE(m_decider.m_mismatches.empty());
        std::vector<history::Game> games;
        std::string error;
        EXPECT_TRUE(history::ReadGames(m_folder.string(), false, games, error)) << error;
        return games.empty() ? history::Game{} : games.front();
    }
};

TEST_F(HandReplayTest, HandWonByFoldsOnTheTurn)
{
    const history::Game game = PlayOneHand(testsupport::WonByFoldsOnTheTurn());
    ASSERT_EQ(game.hands.size(), 1u);
    const history::Hand &hand = game.hands[0];
    const HandReplay replay(hand, replay::PlayerSeat(game));
    ExpectStepsMatchTheHistory(hand, replay);

    // Start, 2 blinds, 3 preflop actions, flop, 3 checks, turn, bet and 2 folds, the payout.
    ASSERT_EQ(replay.count(), 15);
    EXPECT_EQ(replay.at(2).caption, "Hero_0: posts big blind 20");
    EXPECT_EQ(Bets(replay.at(2)), (std::vector<int>{20, 0, 10}));
    EXPECT_EQ(replay.firstStepOf(Street::Flop), 6);
    const TableState &flop = replay.at(6);
    EXPECT_EQ(flop.caption, "*** FLOP *** [Qs Js 4h]");
    EXPECT_EQ(flop.pot, 60);
    EXPECT_EQ(Bets(flop), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(flop.boardCount, 3);
    EXPECT_EQ(replay.firstStepOf(Street::Turn), 10);
    EXPECT_EQ(replay.at(10).caption, "*** TURN *** [9c]");
    EXPECT_EQ(replay.firstStepOf(Street::River), -1);
    EXPECT_EQ(replay.at(11).caption, "Tim_2: bets 40");
    // The folded seats' chips stay in the pot; the bet nobody called goes back, not won.
    const TableState &end = replay.at(replay.resultStep());
    EXPECT_EQ(end.caption, "Uncalled bet (40) returned to Tim_2; Tim_2 collected 60 from pot");
    EXPECT_EQ(Stacks(end), (std::vector<int>{980, 980, 1040}));
    EXPECT_EQ(end.seats[2].won, 60);
    // Only the player's own cards face up; nobody showed down.
    for (int step = 0; step < replay.count(); ++step) {
        EXPECT_TRUE(replay.at(step).seats[0].faceUp);
        EXPECT_FALSE(replay.at(step).seats[1].faceUp);
        EXPECT_FALSE(replay.at(step).seats[2].faceUp);
    }
    EXPECT_EQ(replay.at(0).seats[0].cards, (std::array<int, 2>{Card("Ah"), Card("Kd")}));
}

TEST_F(HandReplayTest, SplitPotShowsBothWinnersCards)
{
    const history::Game game = PlayOneHand(testsupport::SplitPotAllInBeforeTheFlop());
    ASSERT_EQ(game.hands.size(), 1u);
    const history::Hand &hand = game.hands[0];
    const HandReplay replay(hand, replay::PlayerSeat(game));
    ExpectStepsMatchTheHistory(hand, replay);

    // Everyone is all in before the flop: the board runs out street by street.
    EXPECT_EQ(replay.firstStepOf(Street::Flop), 6);
    EXPECT_EQ(replay.firstStepOf(Street::Turn), 7);
    EXPECT_EQ(replay.firstStepOf(Street::River), 8);
    EXPECT_EQ(replay.at(7).pot, 2000);
    const TableState &end = replay.at(replay.resultStep());
    EXPECT_EQ(replay.resultStep(), 9);
    EXPECT_EQ(end.caption, "Hero_0 wins 1000 with Royal flush; Tim_2 wins 1000 with Royal flush "
                           "(all in before the river)");
    EXPECT_EQ(Stacks(end), (std::vector<int>{1000, 1000, 1000}));
    EXPECT_TRUE(end.seats[0].faceUp);
    EXPECT_TRUE(end.seats[2].faceUp);
    EXPECT_FALSE(end.seats[1].faceUp);
    EXPECT_TRUE(end.seats[1].folded);
    // Before the payout only the player's cards were face up.
    EXPECT_FALSE(replay.at(8).seats[2].faceUp);
}

TEST_F(HandReplayTest, ThreeWayAllInWithASidePot)
{
    // The big blind's aces win the main pot of 3 x 300, the button's kings the side pot of
    // 2 x 300 against the small blind, who keeps what he did not need to put in.
    const history::Game game = PlayOneHand(testsupport::ThreeWayAllInWithASidePot());
    ASSERT_EQ(game.hands.size(), 1u);
    const history::Hand &hand = game.hands[0];
    const HandReplay replay(hand, replay::PlayerSeat(game));
    ExpectStepsMatchTheHistory(hand, replay);

    EXPECT_EQ(Bets(replay.at(5)), (std::vector<int>{300, 600, 600}));
    EXPECT_EQ(Stacks(replay.at(5)), (std::vector<int>{0, 0, 400}));
    const TableState &end = replay.at(replay.resultStep());
    EXPECT_EQ(Stacks(end), (std::vector<int>{900, 600, 400}));
    EXPECT_EQ(end.seats[0].won, 900);
    EXPECT_EQ(end.seats[1].won, 600);
    EXPECT_EQ(end.seats[2].won, 0);
    for (int s = 0; s < 3; ++s)
        EXPECT_TRUE(end.seats[static_cast<size_t>(s)].faceUp) << s;
}

TEST_F(HandReplayTest, SteppingBackShowsTheSameStates)
{
    const history::Game game = PlayOneHand(testsupport::WonByFoldsOnTheTurn());
    const HandReplay replay(game.hands.at(0), 0);
    std::vector<std::pair<std::vector<int>, std::vector<int>>> forward;
    for (int step = 0; step < replay.count(); ++step)
        forward.emplace_back(Stacks(replay.at(step)), Bets(replay.at(step)));
    for (int step = replay.count() - 1; step >= 0; --step) {
        EXPECT_EQ(Stacks(replay.at(step)), forward[static_cast<size_t>(step)].first);
        EXPECT_EQ(Bets(replay.at(step)), forward[static_cast<size_t>(step)].second);
    }
}

// A tournament with antes: every hand replays to the stacks the reader computed, and the chips
// per hand follow the last hand's stacks.
TEST(HandReplayBotGame, EveryHandOfATournamentReplaysToItsEndStacks)
{
    const testsupport::SeededBotGame played(6, 60, 5);
    ASSERT_TRUE(played.ok()) << played.error();
    const history::Game &game = played.game();
    for (const history::Hand &hand : game.hands) {
        SCOPED_TRACE("hand " + std::to_string(hand.number));
        ExpectStepsMatchTheHistory(hand, HandReplay(hand, 0));
    }
    const std::vector<replay::ChipsPoint> chips = replay::ChipsPerHand(game, 0);
    ASSERT_FALSE(chips.empty());
    EXPECT_EQ(chips.front().hand, 1);
    EXPECT_EQ(chips.back().chips, played.result().seats[0].finalStack);
    int showdowns = 0;
    for (size_t i = 0; i < chips.size(); ++i) {
        const history::Hand &hand = game.hands[i];
        EXPECT_EQ(chips[i].hand, hand.number);
        EXPECT_EQ(chips[i].chips, hand.seats[0].endStack);
        EXPECT_EQ(chips[i].showdown, hand.showdown);
        showdowns += chips[i].showdown ? 1 : 0;
    }
    EXPECT_GT(showdowns, 0);
}

// A hand built field by field: seat 0 posting an ante, the player's own cards led by the lowest
// card integer, and antes, actions, winners and a chart seat naming seats the hand lacks.
TEST(HandReplayEdges, SeatZeroLowestCardAndSeatsTheHandLacks)
{
    history::Hand hand;
    hand.number = 7;
    hand.smallBlind = 10;
    hand.bigBlind = 20;
    hand.ante = 5;
    for (int s = 0; s < 2; ++s) {
        history::HandSeat seat;
        seat.seat = s;
        seat.name = s == 0 ? "Hero_0" : "Tim_1";
        seat.inHand = true;
        seat.startStack = 100;
        seat.endStack = s == 0 ? 85 : 115;
        hand.seats.push_back(seat);
    }
    hand.seats[0].cards = {Card("2c"), Card("3d")};
    hand.seats[1].cards = {Card("2d"), Card("3h")};
    const auto act = [&hand](int seat, ActionKind kind, int amount) {
        history::Action action;
        action.seat = seat;
        action.kind = kind;
        action.amount = amount;
        hand.actions.push_back(action);
    };
    act(0, ActionKind::Ante, 5);
    act(1, ActionKind::Ante, 5);
    act(-1, ActionKind::Ante, 5);
    act(2, ActionKind::Ante, 5);
    act(0, ActionKind::SmallBlind, 10);
    act(-1, ActionKind::Call, 10);
    act(1, ActionKind::BigBlind, 20);
    act(2, ActionKind::Raise, 50);
    act(0, ActionKind::Fold, 0);
    hand.pot = 40;
    hand.winners = {{-1, 50, ""}, {1, 40, ""}, {2, 10, ""}};

    const HandReplay replay(hand, 0);
    ASSERT_EQ(replay.count(), 5); // start, two blinds, the fold, the payout
    EXPECT_EQ(Stacks(replay.at(0)), (std::vector<int>{95, 95}));
    EXPECT_EQ(replay.at(0).pot, 10);
    EXPECT_TRUE(replay.at(0).seats[0].faceUp);
    EXPECT_FALSE(replay.at(0).seats[1].faceUp);
    EXPECT_EQ(replay.at(3).caption, "Hero_0: folds");
    const TableState &end = replay.at(replay.resultStep());
    EXPECT_EQ(end.caption, "Tim_1 collected 40 from pot");
    EXPECT_EQ(Stacks(end), (std::vector<int>{85, 115}));
    EXPECT_EQ(end.pot, 0);

    // A hand without an action is a start and a result.
    EXPECT_EQ(HandReplay(history::Hand{}, 0).count(), 2);

    history::Game game;
    game.hands = {hand};
    EXPECT_EQ(replay::ChipsPerHand(game, 1).size(), 1u);
    EXPECT_TRUE(replay::ChipsPerHand(game, -1).empty());
    EXPECT_TRUE(replay::ChipsPerHand(game, 2).empty());
}
