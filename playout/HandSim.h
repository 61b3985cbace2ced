#pragma once
// A hand from its start up to one seat's decision (HandSoFar), the table rebuilt from it with
// the engine's own booking, and the rest of the hand played out once: the opponents by their
// persona's decision code, the deciding seat by the coach's continuation policy below.
//
// The coach's continuation policy (the deciding seat's later decisions in a play-out), with
// the equity of its hand against the opponents' likely hands from a small sample:
// - nothing owed: bet 2/3 of the pot when the equity is at least 1 / players + 15 points,
//   else check;
// - facing a bet: raise to 3 times the bet with 75 % or more, call when the equity exceeds
//   the price (to call / (pot + to call)) by more than 5 points, else fold.
//
// Threads: plain values; a PlayState and the models passed in belong to one thread.

#include "engine/BettingSteps.h"
#include "opponents/Decisions.h"
#include "playout/Advice.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace playout {

struct SeatSoFar
{
    bool inHand = false; // dealt into the hand
    int startStack = 0;  // chips before antes and blinds
    int persona = 0;     // kPersonaHero .. kPersonaTim; the hero's seat is played by the coach
    std::string name;
    CPokerStat stat;
    int cards[2] = {-1, -1}; // -1 where the judge does not know them
};

struct PastDecision
{
    int seat = -1;
    int street = -1; // -1 before the flop, 0 flop, 1 turn, 2 river
    int put = 0;     // chips put in (0 for a check or a fold)
    bool fold = false;
};

struct HandSoFar
{
    int seatCount = 0;
    int button = 0;
    int smallBlind = 0;
    int bigBlind = 0;
    int ante = 0;
    SeatSoFar seats[brisquel::kMaxSeats];
    std::vector<int> board;              // the board at the decision: 0, 3, 4 or 5 cards
    std::vector<PastDecision> decisions; // every decision before this one, in order
    int seat = -1;                       // the seat deciding now
};

// The betting of a hand on a bare table: the engine's round loop without its files.
class PlayState
{
public:
    CGameTable table;
    betting::RoundState round;
    int street = -1; // -1 before the flop, 0 flop, 1 turn, 2 river
    int toAct = -1;  // the seat whose decision is awaited (after NextToAct)
    bool over = false;
    // The board's cards when nobody could bet any more before the river (-1: betting went on):
    // the rest of the board then only decides who wins.
    int lockedBoard = -1;

    // Sets up the hand's start: stacks, antes and blinds, the start of the betting. The hole
    // cards known go into the table; the others stay -1 until dealt.
    void Start(const HandSoFar &hand);
    // Moves on to the seat that has to decide next, and returns it; streets are dealt through
    // `deal(street)`, which must put the street's cards on the board (table.m_cards[20..],
    // m_boardCount). -1 when the hand is over: won by folds, or the board complete for a
    // showdown.
    int NextToAct(const std::function<bool(int street)> &deal);
    // The awaited seat decides: put chips (mended already) or a fold.
    void Act(int put, bool fold);
    // The chips each seat takes from the pot at the end: by folds the one seat left, else the
    // showdown of the hands in the table, main and side pots settled by pokerlib.
    void Payout(int winnings[brisquel::kMaxSeats]) const;
    // Everything `from` holds but the players, the spectrum and the ranges, which a play-out
    // never changes: a working copy without a whole table's allocations.
    void CopyBetting(const PlayState &from);

private:
    bool m_roundDone = false;
};

// The table and round at the decision, replayed from the hand's start with the table's own
// booking; `observe` sees the table just before each past decision. False (with a reason)
// when the decisions do not fit the table: a seat out of turn, a board that does not match.
bool Rebuild(const HandSoFar &hand, PlayState &state, std::string &error,
             const std::function<void(const CGameTable &, const PastDecision &)> &observe = {});

// What the deciding seat knows of the opponents still in: a weight per combination each
// (empty: any hand). The play-outs draw the opponents' cards from these, and the coach's
// policy weighs its equity against them.
struct OpponentModel
{
    HandWeights weights[brisquel::kMaxSeats];
};

// Draws weighted hole cards for a seat among cards not yet used (bit per card). Uniform when
// the weights are empty or leave no card pair free.
class ComboSampler
{
public:
    explicit ComboSampler(const HandWeights &weights);
    std::pair<int, int> Draw(std::uint64_t &rng, std::uint64_t used) const;

private:
    std::vector<double> m_cumulative; // by combination index; empty for uniform
};

// A sampler per seat (kMaxSeats of them), drawing from the seat's weights in `ranges`; any hand
// for a seat without them.
std::vector<ComboSampler> SamplersOf(const std::vector<HandWeights> &ranges);

// The coach's continuation policy: the chips to put in now (0 = check or fold). Its equity
// sample is drawn from the cards the seat sees, so the same spot gets the same answer.
int CoachAnswer(const CGameTable &table, int seat, const std::vector<ComboSampler> &opponents,
                int trials);

// The answer of `seat` as the play-outs have everyone play: the player judged (`player`) by the
// coach's continuation policy, a computer opponent by its own code with `random`, anyone else
// as a typical player with one number of `uniform` (drawn only then).
int ModelAnswer(const CGameTable &table, int seat, int player, int street,
                const std::vector<ComboSampler> &opponents, int trials,
                const std::function<double()> &uniform, EasyRandom &random, IDecisionOdds &odds);

struct PlayOutSetup
{
    IDecisionOdds *odds = nullptr;      // the opponents' library questions
    std::vector<ComboSampler> samplers; // per seat: the judge's view of its hand
    int equityTrials = 64;              // the coach policy's sample
};

// Plays the rest of the hand once from `start` (the table at the decision) in `work` (a copy
// of start made once, reused), with `cards` the cards the hand would see as the engine holds
// them (hole cards by seat at 2s and 2s + 1, the five board cards from 20), and the deciding
// seat's first answer `firstPut` / `firstFold`, legal already. Returns the deciding seat's
// chips at the end less its chips at the decision; where the betting stopped before the river
// with players left to show down, averaged over kRunOuts boards completing the one it had (the
// same value on average, without one board's luck on the biggest pots). `work` ends with the
// board of `cards`.
constexpr int kRunOuts = 48;
double PlayOut(const PlayState &start, PlayState &work, int seat, int firstPut, bool firstFold,
               const int cards[25], const PlayOutSetup &setup, std::uint64_t seed);

// splitmix64: seeds from seeds, and the play-outs' own random numbers.
std::uint64_t NextRandom(std::uint64_t &state);
// A card of the deck not in `used` (a bit per card), drawn from `rng`.
int UnusedCard(std::uint64_t &rng, std::uint64_t used);

} // namespace playout
