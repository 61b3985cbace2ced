#pragma once
// The chip bookkeeping of a betting round on a bare table: the blinds, the start and end of a
// round, who still has to act, the mending of an answer and the booking of a decision. The
// game object adds its files and display around these; the advisor's play-outs call them as
// they are, so that a hand played out follows the very rules of the table.
//
// Threads: plain functions on the table passed in.

#include "engine/GameState.h"

namespace betting {

// Round-local state of one betting round.
struct RoundState
{
    bool preflop = true;
    int street = -1;       // 0 flop, 1 turn, 2 river
    int bigBlindSeat = -1; // preflop only
    int bigBlindTurns = 0;
    bool acted[brisquel::kMaxSeats] = {}; // has decided since the last bet or raise
};

enum class Booking
{
    Fold,
    Check,
    Call,
    Raise, // a bet, a raise, or an all-in for more than the amount owed
};

// Antes (an ante larger than the stack puts it all in) into the pot, then the blinds in front
// of their seats. small/big receive the chips each blind put in.
void PostAntesAndBlinds(CGameTable &t, int &small, int &big);

// The start of the betting before the flop: the amount to call, the raising history, every
// seat's last action and position class. Returns the big blind's seat.
int BeginPreflop(CGameTable &t, RoundState &round);
// The start of the betting on a street after the flop (0 flop, 1 turn, 2 river).
void BeginPostflop(CGameTable &t, RoundState &round, int street);
// The bets in front of the seats still in go to the pot.
void EndRound(CGameTable &t);

// Whether seat o, in the hand with chips behind, still has to decide in this round.
bool StillToAct(const CGameTable &t, const RoundState &round, int o);
// Every seat still to act has done so, or only one seat has chips and nothing to call.
bool RoundSettled(const CGameTable &t, const RoundState &round);

// A decider's answer made one the table accepts: within 0..stack, then a raise below the
// minimum, or one the betting was not reopened for, to the nearest legal amount; a raise that
// no other player could answer (all the others still in are all in) becomes a call.
int MendAnswer(const CGameTable &t, int o, int b);

// Whether seat o owes chips, so that putting none in is a fold: before the flop when its bet
// is short of the amount to call, after the flop when anything was bet in the round.
bool Owes(const CGameTable &t, int o, bool preflop);

// Books b chips put in now by seat o (a mended answer; foldPressed folds even when nothing
// is owed). A fold leaves the round bet in the pot; other decisions leave the chips to
// BetUpdate.
Booking BookDecision(CGameTable &t, RoundState &round, int o, int b, bool foldPressed);
// Moves b chips from seat o's stack into its bet; a bet or raise reopens the round.
void BetUpdate(CGameTable &t, RoundState &round, int o, int b);

} // namespace betting
