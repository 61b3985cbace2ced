#pragma once
// The numbers and names every part of the program shares: the chip limit, persona codes and
// their names, the human's seat, the game types, the last-action values, the kinds of hand events
// and the position rule. Header only, no dependencies, so that the engine, the statistics, the
// storage and the readers of the files all speak of the same things the same way.

#include <string>

// ---- Limits ---------------------------------------------------------------------------------
// The most chips at a table, and so the most any one amount can be (a stack, a blind, a bet, a
// pot): what the set-up dialog and brisquel-cli play accept, and what the hand-history readers
// read, so that every game played can be read back. Far from the limits of an int; totals over
// many hands or games are summed in 64 bits.
constexpr int kMaxChips = 100000000;

// ---- Personas -------------------------------------------------------------------------------
// What plays a seat. 0..2 are codes no seat gets today; a file may still name them.
constexpr int kPersonaNone = 0;
constexpr int kPersonaHero = 3; // the human
constexpr int kPersonaMaster = 4;
constexpr int kPersonaManiac = 5;
constexpr int kPersonaProfessor = 6;
constexpr int kPersonaTim = 7;
// Codes drawn for a seat whose name selects no persona: kPersonaMaster..kPersonaTim.
constexpr int kFirstBotPersona = kPersonaMaster;
constexpr int kLastBotPersona = kPersonaTim;

// The strategy name written in the log and hand history, by persona code: "Hero", "Master",
// "Maniac", "Professor", "Tight"; and "None", "SSS", "BSS" for the unused codes 0..2.
inline const char *StrategyName(int persona)
{
    static const char *const kNames[] = {"None",   "SSS",    "BSS",       "Hero",
                                         "Master", "Maniac", "Professor", "Tight"};
    return (persona >= 0 && persona <= kPersonaTim) ? kNames[persona] : "None";
}

// The persona code of a strategy name as StrategyName writes it; kPersonaNone for any other.
inline int PersonaOfStrategy(const std::string &strategy)
{
    for (int persona = kPersonaNone; persona <= kPersonaTim; ++persona) {
        if (strategy == StrategyName(persona))
            return persona;
    }
    return kPersonaNone;
}

// The name a persona goes by at the table and in the ledger ("Tim", where the files say
// "Tight"); empty for a code without one.
inline const char *PersonaName(int persona)
{
    switch (persona) {
    case kPersonaHero:
        return "Hero";
    case kPersonaMaster:
        return "Master";
    case kPersonaManiac:
        return "Maniac";
    case kPersonaProfessor:
        return "Professor";
    case kPersonaTim:
        return "Tim";
    default:
        return "";
    }
}

// The persona an exact (case-sensitive) seat name selects, or kPersonaNone when it selects none
// and a persona must be drawn.
inline int PersonaOfName(const std::string &name)
{
    // Compared in this order, exactly; a blank or a different letter case selects nothing.
    for (int persona :
         {kPersonaHero, kPersonaManiac, kPersonaProfessor, kPersonaMaster, kPersonaTim}) {
        if (name == PersonaName(persona))
            return persona;
    }
    return kPersonaNone;
}

// ---- The human ------------------------------------------------------------------------------
// The human plays seat 0 (the only seat that is offered chips when it runs out), as the
// persona kPersonaHero; a bot game has no human.
constexpr int kHumanSeat = 0;

inline bool IsHumanPersona(int persona)
{
    return persona == kPersonaHero;
}

// ---- Game types -----------------------------------------------------------------------------
// The tournaments' ids; any other id plays fixed blinds.
constexpr int kGameTypeNinePlayers = 3;      // "9 players"
constexpr int kGameTypeNinePlayersTurbo = 4; // "9 players Turbo"
constexpr int kGameTypeFixedBlinds = 0;

// ---- Last actions ---------------------------------------------------------------------------
// A seat's last decision in the current round, as the opponents read it.
constexpr int kLastActionNone = 0;
constexpr int kLastActionFold = 1;
constexpr int kLastActionCall = 2; // a call or a check
constexpr int kLastActionRaise = 4;

// ---- Hand events ----------------------------------------------------------------------------
// The kinds of the events the engine books for each hand, in the order they can occur.
namespace actionkind {
constexpr int kHandStart = 1;
constexpr int kHandFinished = 2;
constexpr int kPreflopBegins = 3;
constexpr int kPreflopFinished = 4;
constexpr int kDealtIn = 5;
constexpr int kButton = 6;
constexpr int kSmallBlind = 7;
constexpr int kBigBlind = 8;
constexpr int kFold = 9;
constexpr int kBet = 10;
constexpr int kCall = 11;
constexpr int kCheck = 12;
constexpr int kRaise = 13;
constexpr int kFlop = 14; // 15 flop done, 16 turn, 17 turn done, 18 river, 19 river done
constexpr int kTurn = 16;
constexpr int kRiver = 18;

// Street 0 flop, 1 turn, 2 river.
constexpr int StreetBegins(int street)
{
    return kFlop + 2 * street;
}
constexpr int StreetFinished(int street)
{
    return kFlop + 1 + 2 * street;
}
} // namespace actionkind

// ---- Positions ------------------------------------------------------------------------------
constexpr int kPositionEarly = 0;
constexpr int kPositionMiddle = 1;
constexpr int kPositionLate = 2; // the blinds, the button and the seat before it

// The position class of every seat in the hand: the big blind is late, and so are the two seats
// in the hand before it; the three before those are middle, the rest early. inHand(seat) says
// whether a seat takes part; assign(seat, positionClass) receives each class.
template <class InHand, class Assign>
void AssignPositionClasses(int seatCount, int bigBlind, InHand inHand, Assign assign)
{
    assign(bigBlind, kPositionLate);
    int met = 0;
    for (int step = 1; step < seatCount; ++step) {
        const int seat = (bigBlind - step + seatCount) % seatCount;
        if (!inHand(seat))
            continue;
        assign(seat, met < 2 ? kPositionLate : (met < 5 ? kPositionMiddle : kPositionEarly));
        ++met;
    }
}
