#pragma once
// No-Limit Hold'em betting as card rooms publish the rules, written apart from the program's
// rule code and fed one hand at a time from whatever recorded it (an event list, a hand history).
// It names every event a card room would not allow:
// - blinds: heads-up the button posts the small blind, otherwise the first seat after the
//   button; the big blind is the next seat dealt in; antes are dead money taken first;
// - order: before the flop the seat after the big blind acts first, after the flop the first
//   seat after the button; then each seat in turn that still holds chips and has not folded;
// - a check or a fold only as the rules allow (no check owing chips, no fold owing nothing),
//   a call of exactly what is owed or all the chips;
// - a bet is at least the big blind and a raise adds at least the last full bet or raise (the
//   big blind is the opening bet before the flop), unless the player is all in;
// - a player who has acted may raise again only when facing at least a full raise since: an
//   all-in for less does not reopen the betting, several together may;
// - nobody raises when no other player still in holds chips to answer;
// - a round ends only when every player who can act has acted and matched the bet;
// - the bet nobody called goes back, and the pots are split by what each seat put in.

#include <string>
#include <vector>

namespace referee {

enum class Move
{
    Fold,
    Check,
    Call,
    Raise
}; // Raise: a bet too

class Hand
{
public:
    // A new hand, `name` heading each fault. When `roundsOnlyWithBetting`, each Street() call
    // claims a betting round: one with fewer than two seats holding chips is a fault, and so
    // is a hand that ends before the river round while two seats still hold chips.
    void Begin(const std::string &name, long long bigBlind, bool roundsOnlyWithBetting = false);
    // Dealt in with these chips behind; a seat with none may still hold its place in the order.
    void Deal(int seat, long long chips, bool inHand = true);
    void Button(int seat);
    void Ante(int seat, long long chips);
    // A blind posted (before or after Street(0)); the seats are checked at the first action.
    void Blind(int seat, long long chips, bool big);
    void Street(int street); // 0 before the flop, 1 flop, 2 turn, 3 river: a round begins
    void Act(int seat, Move move, long long put); // put: chips the action adds
    void EndStreet();                             // the round is over
    void Finish();                                // the hand is over

    // The bet nobody called: what the top seat put in beyond every other seat.
    long long Uncalled(int *seat) const;
    // The main pot then each side pot, from what the seats still in put in (less the uncalled bet).
    std::vector<long long> Pots() const;
    bool Dealt(int seat) const;
    long long Chips(int seat) const; // behind

    // A put short of the bet without going all in leaves the rest owed, no fault: the engine
    // books a decider's amount that way, and asks the seat again.
    bool shortPutsAllowed = false;

    std::vector<std::string> faults; // accumulated over every hand
    int hands = 0, actions = 0, headsUpHands = 0;
    int shortAllIns = 0;     // all-in raises for less than a full raise
    int closedTurns = 0;     // turns owing chips where the player could only call or fold
    int nobodyToAnswer = 0;  // turns owing chips with no other player holding chips
    int roundsWithAllIn = 0; // rounds that end with a player still in who is all in
    int bigBlindChecks = 0;  // in hands with antes, the big blind checking its option

private:
    struct Seat
    {
        bool dealt = false, folded = false, acted = false;
        long long chips = 0, street = 0, total = 0;
        long long facedWhenActed = 0; // the bet to match when it last acted
    };
    void Fault(const std::string &what);
    std::string Who(int seat) const;
    Seat &At(int seat);
    int NextDealt(int seat) const;
    bool CanAct(int seat) const;
    int Count(bool withChips) const; // players still in (holding chips)
    int ToAct(int from) const;
    void CheckBlinds();

    std::string m_name;
    std::vector<Seat> m_seats;
    long long m_bigBlind = 0, m_toMatch = 0, m_lastFull = 0;
    int m_button = -1, m_small = -1, m_big = -1, m_next = -1, m_street = -1;
    int m_dealt = 0; // seats dealt in, known once the blinds are checked
    bool m_open = false, m_blindsChecked = false, m_roundsOnlyWithBetting = false;
    bool m_roundOwed = false, m_antes = false; // m_roundOwed: two seats held chips at its end
};

} // namespace referee
