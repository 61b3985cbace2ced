#include "practice/Variations.h"

#include "playout/Advisor.h"
#include "playout/HandSim.h"

#include <algorithm>
#include <random>

namespace practice {

std::vector<std::array<int, 2>> SameClassCards(const std::array<int, 2> &hole,
                                               const std::vector<int> &taken)
{
    std::vector<std::array<int, 2>> found;
    if (hole[0] < 0 || hole[0] > 51 || hole[1] < 0 || hole[1] > 51)
        return found;
    // Cards number rank + 13 × suit.
    const bool suited = hole[0] / 13 == hole[1] / 13;
    const auto free = [&](int card) {
        return std::find(taken.begin(), taken.end(), card) == taken.end();
    };
    for (int a = 0; a < 52; ++a)
        for (int b = a + 1; b < 52; ++b) {
            const bool sameRanks = (a % 13 == hole[0] % 13 && b % 13 == hole[1] % 13) ||
                                   (a % 13 == hole[1] % 13 && b % 13 == hole[0] % 13);
            const bool same = (a == hole[0] && b == hole[1]) || (a == hole[1] && b == hole[0]);
            if (sameRanks && !same && (a / 13 == b / 13) == suited && free(a) && free(b))
                found.push_back({a, b});
        }
    return found;
}

std::vector<Spot> Variations(const history::Game &game, int seat, const Spot &spot, int count,
                             int samples, std::uint64_t seed)
{
    std::vector<Spot> variations;
    const auto hand = std::find_if(game.hands.begin(), game.hands.end(),
                                   [&](const history::Hand &h) { return h.number == spot.hand; });
    if (count <= 0 || hand == game.hands.end())
        return variations;
    const int handSeat = game.seatInHand(*hand, seat);
    if (handSeat < 0)
        return variations;
    const auto statistics = coach::StatisticsBeforeHands(game);
    const std::vector<playout::ReadDecision> decisions = playout::DecisionsInHand(
        game, *hand, handSeat, statistics[static_cast<size_t>(hand - game.hands.begin())]);
    if (spot.decision >= static_cast<int>(decisions.size()))
        return variations;
    const playout::HandSoFar &original = *decisions[static_cast<size_t>(spot.decision)].hand;
    // Cards that were not the player's to hold: the whole board and every other seat's cards,
    // as the files or the play-outs know them.
    std::vector<int> taken = hand->board;
    for (const history::HandSeat &other : hand->seats)
        if (other.seat != handSeat)
            taken.insert(taken.end(), other.cards.begin(), other.cards.end());
    for (int s = 0; s < original.seatCount; ++s)
        if (s != original.seat)
            taken.insert(taken.end(), original.seats[s].cards, original.seats[s].cards + 2);
    std::vector<std::array<int, 2>> others = SameClassCards(spot.hole, taken);
    std::mt19937_64 random(seed);
    std::shuffle(others.begin(), others.end(), random);
    others.resize(std::min(others.size(), static_cast<size_t>(count)));
    for (size_t v = 0; v < others.size(); ++v) {
        playout::HandSoFar varied = original;
        varied.seats[varied.seat].cards[0] = others[v][0];
        varied.seats[varied.seat].cards[1] = others[v][1];
        playout::AdviseSettings settings;
        settings.maxMillis = 0;
        settings.firstAnswerMillis = 50;
        settings.samplesPerOption = std::max(1, samples);
        settings.seed = seed + v + 1;
        playout::Advice advice;
        try {
            advice = playout::Advise(varied, settings);
        } catch (const std::exception &) {
            continue; // out of memory: this variation is left out
        }
        if (!advice.valid || advice.options.empty())
            continue;
        Spot variation = spot;
        variation.variant = static_cast<int>(v) + 1;
        variation.hole = others[v];
        variation.lossBb = 0.0;
        variation.played.clear(); // never played
        variation.options = advice.options;
        variation.covariance = advice.covariance;
        variation.schedule = {};
        variation.due = 0;
        variation.tries = 0;
        variations.push_back(std::move(variation));
    }
    return variations;
}

} // namespace practice
