#pragma once
// Values every option of a seat at its decision by playing the rest of the hand out many
// times: the opponents by their own decision code (opponents/) holding hands drawn from what
// their actions so far say about them, the seat itself by the coach's continuation policy.
//
// Threads: CaptureLive reads the game with its state mutex held; everything else works on its
// own copies and may run on any thread.

#include "engine/EngineInterfaces.h"
#include "playout/Advice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CDunmereGame;

namespace playout {

// A hand from its start up to one seat's decision: everything the advisor needs, copied.
struct HandSoFar;

struct AdviseSettings
{
    // The first answer comes within about this long; refinements follow until maxMillis.
    int firstAnswerMillis = 1000;
    int maxMillis = 10000;
    std::optional<std::uint64_t> seed;
};

// The hand of the seat deciding now at the live table (state mutex held by the caller).
std::shared_ptr<const HandSoFar> CaptureLive(const CDunmereGame &game, int seat);

// The options of the deciding seat and their values. `refined` is called with each better
// estimate (the first within firstAnswerMillis); when it returns false the work stops and the
// last estimate is returned. The returned advice has final set.
Advice Advise(const HandSoFar &hand, const AdviseSettings &settings,
              const std::function<bool(const Advice &)> &refined = {});

// Plays `coachSeat` by the advisor's best option every time and every other seat by its
// persona (brisquel-cli play --coach-seat).
class CCoachDecider : public IDecider
{
public:
    CCoachDecider(int coachSeat, AdviseSettings settings);
    ~CCoachDecider() override;
    int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random) override;
    int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace playout
