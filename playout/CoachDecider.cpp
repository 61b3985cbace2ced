// The coach as a player: one seat takes the advisor's best option at every decision.
#include "playout/Advisor.h"
#include "playout/HandSim.h"
#include "pokerlib/CardCodes.h"

#include <algorithm>
#include <iterator>

namespace playout {

struct CCoachDecider::Impl
{
    int coachSeat = -1;
    AdviseSettings settings;
    CCoachDecider::Habit habit;
    CPersonaDecider personas;
    // The hand being played, as the decisions asked of this decider tell it: the engine asks
    // every seat of a bot game, so nothing is missed.
    HandSoFar hand;
    int key[31] = {};
    bool started = false;

    // A new hand starts when the button, a stack at the hand's start or a hole card changes.
    void Follow(const CGameTable &t)
    {
        int now[31];
        now[0] = t.m_button;
        for (int s = 0; s < 10; ++s)
            now[1 + s] = t.m_inGame[s] != 0 ? t.m_stack[s] + t.m_invested[s] : -1;
        std::copy(t.m_cards, t.m_cards + brisquel::kBoardFirst, now + 11);
        if (started && std::equal(std::begin(now), std::end(now), std::begin(key)))
            return;
        started = true;
        std::copy(std::begin(now), std::end(now), std::begin(key));
        hand = HandSoFar{};
        hand.seatCount = t.m_seatCount;
        hand.button = t.m_button;
        hand.smallBlind = t.m_smallBlind;
        hand.bigBlind = t.m_bigBlind;
        hand.ante = t.m_ante;
        for (int s = 0; s < t.m_seatCount && s < 10; ++s) {
            SeatSoFar &seat = hand.seats[s];
            seat.inHand = t.m_inGame[s] != 0;
            seat.startStack = t.m_stack[s] + t.m_invested[s];
            seat.persona = t.m_players[s].m_persona;
            seat.name = t.m_players[s].m_name;
            seat.stat = t.m_players[s].m_stat;
        }
    }

    int CoachDecision(const CGameTable &t, int seat, int street, EasyRandom &random)
    {
        HandSoFar at = hand;
        at.seat = seat;
        at.seats[seat].cards[0] = t.m_cards[2 * seat];
        at.seats[seat].cards[1] = t.m_cards[2 * seat + 1];
        at.board.assign(t.m_cards + brisquel::kBoardFirst,
                        t.m_cards + brisquel::kBoardFirst + std::clamp(t.m_boardCount, 0, 5));
        AdviseSettings advise = settings;
        // Reproducible with the game's seed, different at every decision.
        std::uint64_t seed = advise.seed.value_or(1) ^ 0xC0AC4ULL;
        for (int k : key)
            seed = NextRandom(seed) ^ static_cast<std::uint64_t>(k);
        seed ^= static_cast<std::uint64_t>(hand.decisions.size()) << 40;
        advise.seed = NextRandom(seed);
        const Advice advice = Advise(at, advise);
        if (advice.valid && advice.best >= 0) {
            const Option &best = advice.options[static_cast<size_t>(advice.best)];
            return best.kind == OptionKind::Fold ? 0 : best.put;
        }
        // A hand the advisor cannot read: the seat's persona decides.
        return street < 0 ? personas.DecidePreflop(t, seat, random)
                          : personas.DecidePostflop(t, seat, street, random);
    }

    int Decide(const CGameTable &t, int seat, int street, EasyRandom &random)
    {
        Follow(t);
        int answer = 0;
        const std::optional<int> own =
            seat == coachSeat && habit ? habit(t, street) : std::optional<int>{};
        if (own)
            answer = *own;
        else if (seat == coachSeat)
            answer = CoachDecision(t, seat, street, random);
        else
            answer = street < 0 ? personas.DecidePreflop(t, seat, random)
                                : personas.DecidePostflop(t, seat, street, random);
        // What the engine will book: the same mend, a zero owing something is a fold.
        answer = betting::MendAnswer(t, seat, answer);
        const bool owes = street < 0 ? t.m_bet[seat] < t.m_amountToCall : t.m_amountToCall > 0;
        PastDecision d;
        d.seat = seat;
        d.street = street;
        d.put = answer;
        d.fold = answer == 0 && owes;
        hand.decisions.push_back(d);
        return answer;
    }
};

CCoachDecider::CCoachDecider(int coachSeat, AdviseSettings settings, Habit habit)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->coachSeat = coachSeat;
    m_impl->settings = std::move(settings);
    m_impl->habit = std::move(habit);
}

CCoachDecider::~CCoachDecider() = default;

int CCoachDecider::DecidePreflop(const CGameTable &table, int seat, EasyRandom &random)
{
    return m_impl->Decide(table, seat, -1, random);
}

int CCoachDecider::DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random)
{
    return m_impl->Decide(table, seat, street, random);
}

} // namespace playout
