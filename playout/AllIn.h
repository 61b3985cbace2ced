#pragma once
// The value of an option after which no more betting can happen (every other player still in
// is all in, or the seat's call leaves nobody to bet against): only the cards decide, so the
// board is counted out instead of being played out at random. Heads-up after the flop every
// remaining board is counted for every hand the opponent may hold; before the flop each hand
// gets a large sample of boards of its own; with several opponents their hands and the boards
// are drawn together, many times more often than a play-out could afford.
//
// Threads: plain values.

#include "opponents/Decisions.h"
#include "playout/HandSim.h"

#include <cstdint>

namespace playout {

// Whether, in `after` (the table just after the seat's option), the hand goes to its showdown
// without another decision.
bool NoMoreBetting(const PlayState &after);

struct AllInValue
{
    double chips = 0.0; // the seat's chips at the end less `chipsNow`
    double error = 0.0; // the standard error of chips (0 when counted exactly)
};

// The seat's value in `after`, its own hole cards and the board in the table, the opponents'
// hands drawn from `samplers` (by seat).
AllInValue ValueAllIn(const PlayState &after, int seat, int chipsNow,
                      const std::vector<ComboSampler> &samplers,
                      const std::vector<HandWeights> &weights, std::uint64_t seed);

// The seat's value in `after` when one opponent is left to call or fold and its answer ends
// the betting (the seat is all in, or the bet covers the opponent): for every hand the
// opponent may hold, how often its code (its persona's, else the typical player's) calls, and
// what the cards give when it does. False, with nothing set, when the option is not of that
// kind.
bool ValueCallOrFold(const PlayState &after, int seat, int chipsNow,
                     const std::vector<HandWeights> &weights, IDecisionOdds &odds,
                     std::uint64_t seed, AllInValue &value);

// The seat's share of the pot at a showdown against the opponents still in (ties shared), their
// hands by `weights` (`samplers` for several), the board dealt out: what the play-outs' luck
// of the cards is measured against.
double ShowdownShare(const CGameTable &table, int seat, const std::vector<ComboSampler> &samplers,
                     const std::vector<HandWeights> &weights, std::uint64_t seed);

// The share the seat's cards take at the showdown of one deal (cards as the engine holds them,
// the board complete) against the players still in.
double DealShare(const CGameTable &table, int seat, const int cards[25]);

} // namespace playout
