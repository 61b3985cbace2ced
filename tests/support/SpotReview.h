#pragma once
// The coach's verdict on spots written by SpotWriter.h: the text imported as PokerStars hand
// histories (one table per spot) and every table reviewed for the hero, as `brisquel-cli
// review` does, on a few threads of the test's own, one table per job.

#include "coach/Review.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct SpotVerdict
{
    int number = 0;                     // the hand's number
    std::string error;                  // empty when reviewed
    std::vector<coach::ReviewRow> rows; // the hero's decisions in the hand, in order
};

// In the order the tables come in the text; `error` set on every verdict when the text does
// not import.
std::vector<SpotVerdict> ReviewSpots(const std::string &text, std::uint64_t seed,
                                     int samplesPerOption = coach::kDefaultReviewSamples,
                                     int threads = 2);

// A whole game's review of `seat`, quick and repeatable (few play-outs, a fixed seed, two
// threads): enough to find a seeded game's mistakes. False with a message.
bool QuickReview(const history::Game &game, int seat, std::vector<coach::ReviewRow> &rows,
                 std::string &error);

// The first option of the advice of `kind` (calling an all-in is a call); -1 if none.
int OptionOfKind(const playout::Advice &advice, playout::OptionKind kind);

} // namespace testsupport
