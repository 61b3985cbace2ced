#pragma once
// Hands for the advisor's tests, set up by hand: seats, stacks, blinds and the decisions so
// far, with the library questions answered from a small sample so that thousands of
// play-outs stay quick.

#include "opponents/Decisions.h"
#include "playout/HandSim.h"
#include "tests/support/Cards.h"
#include "vocabulary/GameVocabulary.h"

#include <memory>
#include <string>
#include <vector>

namespace playouttest {

// Seats 0..n-1 dealt in with the given stacks, the personas round Master, Maniac, Professor,
// Tim; `seat` decides with `cards` ("As Ah").
inline playout::HandSoFar MakeHand(const std::vector<int> &stacks, int button, int smallBlind,
                                   int bigBlind, int seat, const char *cards)
{
    playout::HandSoFar hand;
    hand.seatCount = static_cast<int>(stacks.size());
    hand.button = button;
    hand.smallBlind = smallBlind;
    hand.bigBlind = bigBlind;
    hand.seat = seat;
    for (int s = 0; s < hand.seatCount; ++s) {
        playout::SeatSoFar &out = hand.seats[s];
        out.inHand = true;
        out.startStack = stacks[static_cast<size_t>(s)];
        out.persona = kFirstBotPersona + s % 4;
        out.name = "P" + std::to_string(s);
    }
    const std::vector<int> mine = testsupport::Cards(cards);
    hand.seats[seat].cards[0] = mine[0];
    hand.seats[seat].cards[1] = mine[1];
    return hand;
}

inline void Add(playout::HandSoFar &hand, int seat, int street, int put, bool fold = false)
{
    hand.decisions.push_back({seat, street, put, fold});
}

// All the weight on one hand: an opponent whose cards the test fixes.
inline playout::HandWeights Exactly(int seat, const char *cards)
{
    const std::vector<int> c = testsupport::Cards(cards);
    playout::HandWeights weights;
    weights.seat = seat;
    weights.weights.assign(playout::kComboCount, 0.0);
    weights.weights[static_cast<size_t>(playout::ComboIndex(c[0], c[1]))] = 1.0;
    return weights;
}

// The poker library's answers from a small sample.
struct SmallSampleOdds : CLibraryOdds
{
    double ProbabilityOfWin(const int hole[2], const int board[5], int boardCount,
                            int players) override
    {
        PokerLogic logic;
        logic.trialCount = 200;
        return logic.getProbabilityOfWin(hole, board, boardCount, players);
    }
    double ProbabilityAgainstTop(const int hole[2], double pct,
                                 const CStatSpectr &spectrum) override
    {
        Spec spec;
        std::wstring text;
        spectrum.GetSpecByPercent(pct, spec, text, 1);
        const int none[5] = {-1, -1, -1, -1, -1};
        PokerLogic logic;
        logic.trialCount = 200;
        return logic.getProbabilityOfWinBySpectr(hole, none, 0, spec);
    }
};

inline std::unique_ptr<IDecisionOdds> QuickOdds(std::uint64_t)
{
    return std::make_unique<SmallSampleOdds>();
}

} // namespace playouttest
