#pragma once
// The practice deck: the decisions a player got wrong, taken from the coach's review of his
// games, each kept whole enough to be asked again (its cards, board, pot, price and every
// option valued in big blinds) and to be found again in its game (file, hand, decision). Spots
// are grouped into leaks as the review's leak table groups decisions (street, position), with
// the bet the player faced and the grade of the move made; a leak weighs what its spots lost.
// Plain C++, no Qt; pure functions.

#include "coach/Review.h"
#include "history/HistoryReader.h"
#include "playout/Advice.h"
#include "practice/Sm2.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace practice {

// The bet in front of the player, counted among the bets and raises of the street before his
// decision: none (preflop: the blinds alone), one, more than one.
enum class Faced
{
    None,
    Bet,
    Raise,
};
// Preflop "the blinds", "a raise", "a re-raise"; later "no bet", "a bet", "a raise".
const char *FacedName(history::Street street, Faced faced);

struct LeakKey
{
    history::Street street = history::Street::Preflop;
    coach::Position position = coach::Position::Early;
    Faced faced = Faced::None;
    playout::Grade grade = playout::Grade::SmallMistake; // of the move made
    auto operator<=>(const LeakKey &) const = default;
};
// "preflop, blinds, facing a raise, mistake".
std::string LeakName(const LeakKey &key);

struct Spot
{
    std::string game;   // the hand history's path
    std::string player; // the seat's name
    int hand = 0;       // the hand's number
    int decision = 0;   // the player's decisions in the hand before this one
    int variant = 0;    // 0: the decision as played; else a variation (Variations.h)
    LeakKey leak;
    double lossBb = 0.0; // what the move made gave away against the best option
    std::string played;  // the move made, as the option's label ("fold", "raise to 60"); empty
                         // for a variation
    std::array<int, 2> hole{-1, -1};
    std::vector<int> board;
    int pot = 0;
    int toCall = 0;
    int bigBlind = 0;
    std::vector<playout::Option> options; // every option of the decision, valued
    std::vector<double> covariance;       // of the options' values, as playout::Advice has it
    // The schedule, and when the spot is due (seconds since the epoch; 0: never drilled).
    Sm2State schedule;
    std::int64_t due = 0;
    int tries = 0;
    bool again = false; // rated below 4: asked again today, the schedule left as it is

    std::string key() const; // game, player, hand, decision and variant in one text
};

// The spots of one reviewed game: the rows of `seat` graded a small mistake or worse, with the
// hand's actions read for the bet faced. Rows without valid advice are left out.
std::vector<Spot> SpotsOfGame(const history::Game &game, int seat,
                              const std::vector<coach::ReviewRow> &rows);

struct Leak
{
    LeakKey key;
    double lossBb = 0.0;
    std::vector<const Spot *> spots; // costliest first
};
// The spots grouped into leaks, costliest leak first.
std::vector<Leak> Leaks(const std::vector<Spot> &spots);

// The spot to drill now: the one due longest among those drilled before, then those answered
// below 4 to be asked again today, then the costliest new spot of the costliest leak; the spot
// answered last (`last`, its key) comes again only when nothing else is left. nullopt when
// nothing is due at `now`.
std::optional<size_t> NextSpot(const std::vector<Spot> &spots, std::int64_t now,
                               const std::string &last = {});

struct Answer
{
    enum Kind
    {
        Fold,
        Call, // a check when nothing is owed
        Raise,
    } kind = Fold;
    int to = 0; // a bet or raise: the player's bet on the street after it
};
// "fold", "call", "raise 60" (or "raise to 60"); false with a message otherwise.
bool ParseAnswer(const std::string &text, Answer &answer, std::string &error);

struct Graded
{
    playout::Advice advice; // the spot's options with the answer chosen, settled
    bool right = false;     // graded ok
    int quality = 0;        // 0..5 as the schedule takes it
    bool exact = true;      // false: a bet or raise size not valued, graded as the nearest
};
// The answer graded with the spot's own values: a bet or raise of a size not valued counts as
// the nearest one valued. False with a message when the answer is not an option of the spot.
bool GradeAnswer(const Spot &spot, const Answer &answer, Graded &graded, std::string &error);

// The spot after an answer at `now`: its schedule moved on and its due time set; an answer
// rated below 4 leaves it due again today (Sm2.h).
void Schedule(Spot &spot, const Graded &graded, std::int64_t now);

// One answer given: to which spot, when, and what it gave away.
struct Try
{
    std::string spot; // Spot::key()
    std::int64_t at = 0;
    bool right = false;
    double lossBb = 0.0;
};

// A leak's mastery over its last `last` answers: how many were right, the big blinds given
// away per answer, and how many of its spots are due at `now` (new ones included).
struct Mastery
{
    int tries = 0;
    int right = 0;
    double lossPerTryBb = 0.0;
    int due = 0;
};
Mastery MasteryOf(const Leak &leak, const std::vector<Try> &tries, int last, std::int64_t now);

// One line of the spot as the player sees it: "hand 12, preflop, blinds, facing a raise: Ah
// Kd, board -, pot 60, to call 40".
std::string SpotLine(const Spot &spot);
// The spot's options without their values: "fold · call · raise to 60 · all in".
std::string OptionsLine(const Spot &spot);

} // namespace practice
