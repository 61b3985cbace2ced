#pragma once
// The rest of a drilled hand after the player's answer, played once by the models: every
// opponent by its own decision code (a typical player where it has none), the player by the
// coach's continuation policy, the cards no one knows drawn from what the actions so far say
// about them. Each step is a table as the replayer draws it. Plain C++, no Qt.
//
// Thread use: pure function; any thread.

#include "playout/HandSim.h"
#include "replay/HandReplay.h"

#include <cstdint>
#include <vector>

namespace practice {

struct RestOfHand
{
    std::vector<replay::TableState> steps; // the answer first, then every action, street, result
    std::vector<int> board;                // the five cards the hand ran out with
};

// From the decision of `soFar`, the player putting in `put` chips (or folding). Empty steps
// when the hand does not replay.
RestOfHand PlayRest(const playout::HandSoFar &soFar, int put, bool fold, std::uint64_t seed);

} // namespace practice
