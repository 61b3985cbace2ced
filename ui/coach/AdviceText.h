#pragma once
// How the coach words an advice in the output pane after a hand (playout::WithMove says which
// option a move made counts as). Plain C++ over playout's values, so the table and the
// replayer word it alike.

#include "playout/Advice.h"

#include <string>

namespace coachui {

// "+1.2 bb", "−0.4 bb", "0.0 bb" (a value that rounds to nothing carries no sign).
std::string SignedBb(double bb);

// "  options: raise to 60 +1.2 bb (best) · call +0.8 bb · fold 0.0 bb; you: call, small
// mistake (−0.4 bb)", best first. `put` is what the move put in: a size the advisor did not
// value (`exact` false) reads "you: raise to 75 ≈ raise to 60, ok". Empty without a valid
// advice or a chosen option.
std::string PaneAdviceLine(const playout::Advice &advice, int put, bool exact);

} // namespace coachui
