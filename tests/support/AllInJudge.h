#pragma once
// A judge of all-in hands written for the tests: every completion of the board dealt out, the
// hands ranked by pokerlib's seven-card evaluator, and the pot cut into layers at every amount
// a seat put in, each layer going to the best hands still in that reached it (ties share it).

#include "history/HistoryReader.h"

#include <vector>

namespace testsupport {

// The chips every seat (by seat number; 0 for seats out) can expect from the pot over every
// completion of the board's first `known` cards. The hands still in must be known.
std::vector<double> ExpectedFromBoards(const history::Hand &hand, int known);

} // namespace testsupport
