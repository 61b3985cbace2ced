#pragma once
// Values every option of a seat at its decision by playing the rest of the hand out many
// times: the opponents by their own decision code (opponents/) holding hands drawn from what
// their actions so far say about them, the seat itself by the coach's continuation policy.
//
// Threads: CaptureLive reads the game with its state mutex held; everything else works on its
// own copies and may run on any thread.

#include "engine/EngineInterfaces.h"
#include "opponents/Decisions.h"
#include "playout/Advice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CDunmereGame;

namespace history {
struct Game;
struct Hand;
} // namespace history

namespace playout {

// A hand from its start up to one seat's decision: everything the advisor needs, copied
// (HandSim.h).
struct HandSoFar;

// What the opponents' past actions say about their hands: one HandWeights per seat (empty
// weights: any hand). The default replays the hand through a RangeTracker.
using RangeReader = std::function<std::vector<HandWeights>(const HandSoFar &hand)>;
// The opponents' library questions in the play-outs, one object per seed.
using OddsMaker = std::function<std::unique_ptr<IDecisionOdds>(std::uint64_t seed)>;

// The table's first answer: within a second of the action panel's buttons, the coach's equity
// estimate before it included.
constexpr int kTableFirstAnswerMillis = 800;

struct AdviseSettings
{
    // The first answer comes within about this long; refinements follow until maxMillis
    // (0: no time limit).
    int firstAnswerMillis = 1000;
    int maxMillis = 10000;
    // Play-outs per option after which the work stops (0: until maxMillis).
    int samplesPerOption = 0;
    // With the move made known (takenPut >= 0): after samplesPerOption, play-outs go on until
    // the move's grade is sure (looked at as their number doubles) or this many per option
    // have been played.
    int maxSamplesPerOption = 0;
    int takenPut = -1; // the chips the move put in
    bool takenFold = false;
    std::optional<std::uint64_t> seed;
    RangeReader ranges; // empty: the default
    OddsMaker odds;     // empty: the default
};

// The hand of the seat deciding now at the live table (state mutex held by the caller).
std::shared_ptr<const HandSoFar> CaptureLive(const CDunmereGame &game, int seat);
// Every decision of `seat` in a hand read from a hand history, in order: the hand up to it
// and what the seat did (OptionIndex finds it among the options). Empty when the seat's cards
// are not known (neither its own hand nor the game log beside) or the hand does not replay.
// `statsBefore`, by seat, are the statistics the seats had before the hand (the opponents'
// decisions read them; coach::StatisticsBeforeHands gives them); without them all are empty.
struct ReadDecision
{
    std::shared_ptr<const HandSoFar> hand;
    int put = 0;
    bool fold = false;
};
std::vector<ReadDecision> DecisionsInHand(const history::Game &game, const history::Hand &hand,
                                          int seat,
                                          const std::vector<CPokerStat> &statsBefore = {});

// The options of `seat` at its decision, legal by the table rules: fold (when something is
// owed), check or call, bets of about 1/3, 2/3 and 1 pot or raises to the minimum, about 3
// times the bet and the pot, and all in; no two put in the same chips. Values are not set.
std::vector<Option> LegalOptions(const CGameTable &table, int seat);
// The option of `options` that puts in `put` chips (fold: the fold), -1 when none does.
int OptionIndex(const std::vector<Option> &options, int put, bool fold);
// The option a move took: the exact one, else (a bet or raise of a size not offered) the
// offered bet or raise nearest to it; -1 when there is none.
int TakenOption(const std::vector<Option> &options, int put, bool fold);
// The advice with `chosen` set to the move made, and settled. A bet or raise of a size not
// valued counts as the valued bet or raise closest to it (`exact` false). A fold where nothing
// was owed gets an option of its own, worth 0: it gives up the pot a free check kept.
Advice WithMove(Advice advice, int put, bool fold, bool *exact = nullptr);

// Every other seat's hands as the play-outs weigh them at the decision: its actions so far read
// by the range tracker; seats yet to act hold any hand.
std::vector<HandWeights> SeatRanges(const HandSoFar &hand);

// The options of the deciding seat and their values. `refined` is called with each better
// estimate (the first within firstAnswerMillis); when it returns false the work stops and the
// last estimate is returned. The returned advice has final set.
Advice Advise(const HandSoFar &hand, const AdviseSettings &settings,
              const std::function<bool(const Advice &)> &refined = {});

// Values the same options again with every opponent played as a typical player instead of its
// own computer code (`settings` as for Advise, without the move made), and keeps the result in
// advice.standard, standardBest and exploited. Nothing when no computer opponent is still in.
void AddStandard(const HandSoFar &hand, AdviseSettings settings, Advice &advice);

// Plays `coachSeat` by the advisor's best option every time and every other seat by its
// persona (brisquel-cli play --coach-seat).
class CCoachDecider : public IDecider
{
public:
    // A habit of the coach's seat: its own answer where it has one (a player with a leak to
    // drill), nullopt where the advisor decides.
    using Habit = std::function<std::optional<int>(const CGameTable &table, int street)>;
    CCoachDecider(int coachSeat, AdviseSettings settings, Habit habit = {});
    ~CCoachDecider() override;
    int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random) override;
    int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace playout
