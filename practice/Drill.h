#pragma once
// One drill as the drill window deals it: the spot due next with the hand it came from, read
// again from its file, and the answer graded, saved and valued against a typical player.
// Plain C++, no Qt; the window runs these on its worker thread.
//
// Thread use: pure functions but for the Store passed in (one per thread).

#include "playout/HandSim.h"
#include "practice/Store.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace practice {

// The spot at the table: its hand from the file (the player's cards those of the spot), the
// player's seat in it and the action of the decision.
struct Dealt
{
    Spot spot;
    history::Hand hand;
    int seat = -1;   // in hand.seats
    int action = -1; // index into hand.actions: the decision asked
    // The hand up to the decision for the play-outs; null when its cards are not known.
    std::shared_ptr<const playout::HandSoFar> soFar;
};

// Finds the hand of `spot` in its file. False with a message when the file or the hand is gone.
bool DealSpot(const Spot &spot, Dealt &dealt, std::string &error);

// The deck as the store has it, the spot to ask next (after `last`, a key) dealt. `found`
// false when nothing is due; false with a message when the store fails. A spot whose hand
// cannot be read is skipped (reported in `skipped`).
struct Deal
{
    std::vector<Spot> spots;
    std::vector<Try> tries;
    bool found = false;
    Dealt dealt;
    std::vector<std::string> skipped;
};
bool DealNext(Store &store, std::int64_t now, const std::string &last, Deal &deal,
              std::string &error);

// The answer graded with the spot's values, the spot scheduled and both saved (a failed save
// sets `saveError`, the grade stands).
bool AnswerSpot(Store &store, Spot &spot, const Answer &answer, std::int64_t now, Graded &graded,
                std::string &error, std::string &saveError);

// How long the drill values the options against a typical player after an answer: the grade
// comes at once, this within the second a person waits for it.
constexpr int kTypicalMillis = 700;

// The same options valued with the opponents played as typical players, within `millis`
// (playout::AddStandard); nothing when no computer opponent is still in.
void AddTypical(const playout::HandSoFar &soFar, int millis, std::uint64_t seed,
                playout::Advice &advice);

// "3 of 5 right · 0.8 bb lost per drill · 2 due" for the leak of `spot`; "first drill of this
// leak" without answers.
std::string MasteryLine(const std::vector<Spot> &spots, const std::vector<Try> &tries,
                        const LeakKey &leak, int last, std::int64_t now);

// The answers to every spot of `street`, `position` and `faced`, whatever the grade of its move,
// over their last `last`: what a decision at the table has drilled before.
Mastery DrilledMastery(const std::vector<Spot> &spots, const std::vector<Try> &tries,
                       history::Street street, coach::Position position, Faced faced, int last,
                       std::int64_t now);
// "you drilled this spot: 4 of 5 right"; empty without answers.
std::string DrilledLine(const Mastery &mastery);

} // namespace practice
