#include "practice/Variations.h"

#include "playout/Advisor.h"
#include "playout/HandSim.h"
#include "pokerlib/CardCodes.h"

#include <algorithm>
#include <functional>
#include <random>

namespace practice {

using brisquel::CardOf;
using brisquel::RankOf;
using brisquel::SameSuit;
using brisquel::SuitOf;

namespace {

// The decision of the spot rebuilt from its hand, and the cards that were never the player's
// to hold: the whole board and every other seat's cards, as the files or the play-outs know
// them. False when the hand or the decision is gone.
struct Original
{
    std::shared_ptr<const playout::HandSoFar> hand;
    std::vector<int> othersCards; // every other seat's known cards
    std::vector<int> board;       // the hand's whole board
};
bool FindOriginal(const history::Game &game, int seat, const Spot &spot, Original &original)
{
    const auto hand = std::find_if(game.hands.begin(), game.hands.end(),
                                   [&](const history::Hand &h) { return h.number == spot.hand; });
    if (hand == game.hands.end())
        return false;
    const int handSeat = game.seatInHand(*hand, seat);
    if (handSeat < 0)
        return false;
    const auto statistics = coach::StatisticsBeforeHands(game);
    const std::vector<playout::ReadDecision> decisions = playout::DecisionsInHand(
        game, *hand, handSeat, statistics[static_cast<size_t>(hand - game.hands.begin())]);
    if (spot.decision >= static_cast<int>(decisions.size()))
        return false;
    original.hand = decisions[static_cast<size_t>(spot.decision)].hand;
    original.board = hand->board;
    for (const history::HandSeat &other : hand->seats)
        if (other.seat != handSeat)
            original.othersCards.insert(original.othersCards.end(), other.cards.begin(),
                                        other.cards.end());
    const playout::HandSoFar &soFar = *original.hand;
    for (int s = 0; s < soFar.seatCount; ++s)
        if (s != soFar.seat)
            original.othersCards.insert(original.othersCards.end(), soFar.seats[s].cards,
                                        soFar.seats[s].cards + 2);
    return true;
}

// `varied` valued as the spot's variation `variant`; false when it does not replay.
bool Valued(const playout::HandSoFar &varied, const Spot &spot, int variant, int samples,
            std::uint64_t seed, std::vector<Spot> &variations)
{
    playout::AdviseSettings settings;
    settings.maxMillis = 0;
    settings.firstAnswerMillis = 50;
    settings.samplesPerOption = std::max(1, samples);
    settings.seed = seed;
    playout::Advice advice;
    try {
        advice = playout::Advise(varied, settings);
    } catch (const std::exception &) {
        return false; // out of memory: this variation is left out
    }
    if (!advice.valid || advice.options.empty())
        return false;
    Spot variation = spot;
    variation.variant = variant;
    variation.hole = {varied.seats[varied.seat].cards[0], varied.seats[varied.seat].cards[1]};
    variation.board = varied.board;
    variation.lossBb = 0.0;
    variation.played.clear(); // never played
    variation.options = advice.options;
    variation.covariance = advice.covariance;
    variation.schedule = {};
    variation.due = 0;
    variation.tries = 0;
    variations.push_back(std::move(variation));
    return true;
}

constexpr int kBandOf[13] = {2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0, 0}; // by rank, deuce first
constexpr int kBoardDraws = 4000;

} // namespace

double StackFactor(int variant)
{
    const int k = variant - kStackVariant;
    return k >= 1 && k <= static_cast<int>(std::size(kStackFactors)) ? kStackFactors[k - 1] : 1.0;
}

std::vector<std::array<int, 2>> SameClassCards(const std::array<int, 2> &hole,
                                               const std::vector<int> &taken)
{
    std::vector<std::array<int, 2>> found;
    if (hole[0] < 0 || hole[0] > 51 || hole[1] < 0 || hole[1] > 51)
        return found;
    const bool suited = SameSuit(hole[0], hole[1]);
    const auto free = [&](int card) {
        return std::find(taken.begin(), taken.end(), card) == taken.end();
    };
    for (int a = 0; a < 52; ++a)
        for (int b = a + 1; b < 52; ++b) {
            const bool sameRanks = (RankOf(a) == RankOf(hole[0]) && RankOf(b) == RankOf(hole[1])) ||
                                   (RankOf(a) == RankOf(hole[1]) && RankOf(b) == RankOf(hole[0]));
            const bool same = (a == hole[0] && b == hole[1]) || (a == hole[1] && b == hole[0]);
            if (sameRanks && !same && SameSuit(a, b) == suited && free(a) && free(b))
                found.push_back({a, b});
        }
    return found;
}

std::vector<std::vector<int>> SameTextureBoards(const std::vector<int> &board,
                                                const std::vector<int> &taken, int count,
                                                std::uint64_t seed)
{
    std::vector<std::vector<int>> found;
    if (board.empty() ||
        std::any_of(board.begin(), board.end(), [](int card) { return card < 0 || card > 51; }))
        return found;
    std::mt19937_64 random(seed);
    std::vector<int> ranks; // the board's ranks, each once
    for (int card : board)
        if (std::find(ranks.begin(), ranks.end(), RankOf(card)) == ranks.end())
            ranks.push_back(RankOf(card));
    std::array<int, 4> suits{0, 1, 2, 3};
    for (int draw = 0; draw < kBoardDraws && static_cast<int>(found.size()) < count; ++draw) {
        // Suits swapped among themselves keep which cards share one; each rank moves within
        // its band, two ranks never onto one.
        std::shuffle(suits.begin(), suits.end(), random);
        std::array<int, 13> rankTo{};
        std::vector<int> used;
        bool placed = true;
        for (int rank : ranks) {
            std::vector<int> choices;
            for (int r = 0; r < 13; ++r)
                if (kBandOf[r] == kBandOf[rank] &&
                    std::find(used.begin(), used.end(), r) == used.end())
                    choices.push_back(r);
            if (choices.empty()) {
                placed = false;
                break;
            }
            rankTo[static_cast<size_t>(rank)] =
                choices[std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random)];
            used.push_back(rankTo[static_cast<size_t>(rank)]);
        }
        if (!placed)
            continue;
        std::vector<int> other;
        for (int card : board)
            other.push_back(CardOf(rankTo[static_cast<size_t>(RankOf(card))],
                                   suits[static_cast<size_t>(SuitOf(card))]));
        const bool clash = std::any_of(other.begin(), other.end(), [&](int card) {
            return std::find(taken.begin(), taken.end(), card) != taken.end();
        });
        if (!clash && other != board && std::find(found.begin(), found.end(), other) == found.end())
            found.push_back(std::move(other));
    }
    return found;
}

std::vector<Spot> Variations(const history::Game &game, int seat, const Spot &spot, int count,
                             int samples, std::uint64_t seed)
{
    std::vector<Spot> variations;
    Original original;
    if (count <= 0 || !FindOriginal(game, seat, spot, original))
        return variations;
    std::vector<int> taken = original.board;
    taken.insert(taken.end(), original.othersCards.begin(), original.othersCards.end());
    std::vector<std::array<int, 2>> others = SameClassCards(spot.hole, taken);
    std::mt19937_64 random(seed);
    std::shuffle(others.begin(), others.end(), random);
    others.resize(std::min(others.size(), static_cast<size_t>(count)));
    for (size_t v = 0; v < others.size(); ++v) {
        playout::HandSoFar varied = *original.hand;
        varied.seats[varied.seat].cards[0] = others[v][0];
        varied.seats[varied.seat].cards[1] = others[v][1];
        Valued(varied, spot, static_cast<int>(v) + 1, samples, seed + v + 1, variations);
    }
    return variations;
}

std::vector<Spot> BoardVariations(const history::Game &game, int seat, const Spot &spot, int count,
                                  int samples, std::uint64_t seed)
{
    std::vector<Spot> variations;
    Original original;
    if (count <= 0 || spot.board.empty() || !FindOriginal(game, seat, spot, original))
        return variations;
    std::vector<int> taken = original.othersCards;
    taken.insert(taken.end(), spot.hole.begin(), spot.hole.end());
    const std::vector<std::vector<int>> boards =
        SameTextureBoards(original.hand->board, taken, count, seed);
    for (size_t b = 0; b < boards.size(); ++b) {
        playout::HandSoFar varied = *original.hand;
        varied.board = boards[b];
        Valued(varied, spot, kBoardVariant + static_cast<int>(b) + 1, samples, seed + b + 1,
               variations);
    }
    return variations;
}

std::vector<Spot> StackVariations(const history::Game &game, int seat, const Spot &spot,
                                  int samples, std::uint64_t seed)
{
    std::vector<Spot> variations;
    Original original;
    if (!FindOriginal(game, seat, spot, original))
        return variations;
    const playout::HandSoFar &hand = *original.hand;
    // What the seat has put in before its decision: a shorter stack could not have.
    int put = hand.ante;
    for (const playout::PastDecision &d : hand.decisions)
        put += d.seat == hand.seat ? d.put : 0;
    for (size_t k = 0; k < std::size(kStackFactors); ++k) {
        playout::HandSoFar varied = hand;
        playout::SeatSoFar &player = varied.seats[varied.seat];
        player.startStack = static_cast<int>(player.startStack * kStackFactors[k]);
        if (player.startStack <= put + varied.bigBlind)
            continue;
        Valued(varied, spot, kStackVariant + static_cast<int>(k) + 1, samples, seed + k + 1,
               variations);
    }
    return variations;
}

} // namespace practice
