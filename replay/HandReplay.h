#pragma once
// A hand of the files, step by step: the table (stacks, bets in front, pot, board, cards) after
// each action, each new street and the payout, as the hand history implies it. All steps are
// worked out up front, so stepping back shows exactly what stepping forward showed. Also the
// chips-per-hand series of the progress chart. Plain C++, no Qt.
//
// Threads: values only; any thread.

#include "history/HistoryReader.h"

#include <array>
#include <string>
#include <vector>

namespace replay {

enum class StepKind
{
    Start,  // the hand's header: stacks, button, antes in the pot, hole cards dealt
    Action, // one blind, fold, check, call, bet or raise
    Street, // the flop, turn or river dealt; the bets swept into the pot
    Result, // the pot paid to the winners
};

struct SeatState
{
    bool inHand = false; // dealt in (had chips at the start)
    bool folded = false;
    int stack = 0; // chips behind
    int bet = 0;   // chips in front on this street; antes go to the pot at once
    std::array<int, 2> cards{-1, -1};
    bool faceUp = false; // the player's own cards, and those shown down at a showdown
    int won = 0;         // at the result
};

struct TableState
{
    StepKind kind = StepKind::Start;
    history::Street street = history::Street::Preflop;
    int boardCount = 0;
    int pot = 0;          // chips in the middle, the bets in front not included
    int actor = -1;       // the seat acting at this step
    int actionIndex = -1; // into Hand::actions
    std::vector<SeatState> seats;
    std::string caption; // what happened, worded as the hand history words it

    // Every chip put in so far: the pot and the bets in front.
    int chipsIn() const;
};

class HandReplay
{
public:
    // `playerSeat`: whose cards are always face up (the human, or seat 0 of a game without one).
    HandReplay(const history::Hand &hand, int playerSeat);

    int count() const { return static_cast<int>(m_steps.size()); }
    const TableState &at(int step) const { return m_steps.at(static_cast<size_t>(step)); }
    // The step where `street` begins (the Start step for the preflop); -1 when the hand ended
    // before it.
    int firstStepOf(history::Street street) const;
    int resultStep() const { return count() - 1; }

private:
    void AddStreet(TableState &state, const history::Hand &hand, history::Street street);

    std::vector<TableState> m_steps;
};

// Whose cards the replay shows and whose chips the chart follows: the human, else seat 0 (a
// game of computer opponents, as brisquel-cli plays it).
int PlayerSeat(const history::Game &game);

struct ChipsPoint
{
    int hand = 0;  // the hand's number
    int chips = 0; // the seat's chips after it, chips added included
    bool showdown = false;
};
// The chips of the game seat's player after every hand he was dealt in, wherever he sat.
std::vector<ChipsPoint> ChipsPerHand(const history::Game &game, int seat);

} // namespace replay
