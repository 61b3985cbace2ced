#include "playout/Ranges.h"

#include "engine/BettingSteps.h"
#include "playout/FastOdds.h"
#include "playout/SeatActs.h"
#include "pokerlib/CardCodes.h"
#include "typical/TypicalPlayer.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace playout {

namespace {

using brisquel::kBoardFirst;
// A decision that draws random numbers is replayed with this many streams (of its own for each
// combination, so that no stream's luck is shared by every combination) and weighed by the share
// that acted as the seat did; one that draws none is replayed once.
constexpr int kStreams = 64;
constexpr std::uint64_t kStreamSeed = 0xD1CE'5EED'0000'0000ull;
// No combination the seat could hold drops to exactly nothing: the replay's odds are not the
// table's odds, and an action may come from a mended amount the replay does not reach. Small
// against a narrow range: a raise from 3 % of hands must not be swamped by the other 97 %.
constexpr double kFloor = 1e-3;
// How far apart two bet sizes may be and still read as the same bet: the weight falls as
// exp(-(ln ratio / kSizeWidth)^2), to a third at 1.4 times and to nearly nothing at twice.
constexpr double kSizeWidth = 0.33;

double Likeness(const SeatAct &model, const SeatAct &seen)
{
    if (model.kind != seen.kind)
        return 0.0;
    if (model.kind != ActKind::Raise || model.total == seen.total)
        return 1.0;
    if (model.total <= 0 || seen.total <= 0)
        return 0.0;
    const double r = std::log(double(model.total) / seen.total) / kSizeWidth;
    return std::exp(-r * r);
}

bool IsComputer(int persona)
{
    return persona >= kFirstBotPersona && persona <= kLastBotPersona;
}

} // namespace

int MendedPut(const CGameTable &table, int seat, int amount)
{
    return betting::MendAnswer(table, seat, amount);
}

bool Owes(const CGameTable &table, int seat, int street)
{
    return betting::Owes(table, seat, street < 0);
}

SeatAct ClassifyAct(const CGameTable &table, int seat, int street, int put, bool fold)
{
    SeatAct act;
    act.total = table.m_bet[seat] + put;
    if (fold || (put <= 0 && Owes(table, seat, street))) {
        act.kind = ActKind::Fold;
        return act;
    }
    if (put <= 0) {
        act.kind = ActKind::Check;
        return act;
    }
    act.allIn = put >= table.m_stack[seat];
    act.kind = act.total <= table.m_amountToCall ? ActKind::Call : ActKind::Raise;
    return act;
}

struct RangeTracker::Impl
{
    IDecisionOdds &odds;
    std::uint64_t known = 0;
    std::array<std::vector<double>, 10> weights;

    Impl(IDecisionOdds &o, const std::vector<int> &cards)
        : odds(o)
    {
        for (int c : cards)
            if (c >= 0 && c < 52)
                known |= 1ull << c;
    }

    static bool Clashes(int combo, std::uint64_t mask)
    {
        const auto [a, b] = ComboCards(combo);
        return (mask >> a & 1) || (mask >> b & 1);
    }

    std::vector<double> &Seat(int seat)
    {
        std::vector<double> &w = weights[std::size_t(seat)];
        if (w.empty()) {
            w.assign(kComboCount, 1.0);
            for (int c = 0; c < kComboCount; ++c)
                if (Clashes(c, known))
                    w[std::size_t(c)] = 0.0;
        }
        return w;
    }

    void ReplayComputer(const CGameTable &table, int seat, int street, const SeatAct &seen,
                        std::vector<double> &w);
    void ModelUnknown(const CGameTable &table, int seat, int street, const SeatAct &seen,
                      std::vector<double> &w);
};

void RangeTracker::Impl::ReplayComputer(const CGameTable &table, int seat, int street,
                                        const SeatAct &seen, std::vector<double> &w)
{
    CGameTable t = table;
    const int *board = t.m_cards + kBoardFirst;
    if (street >= 0)
        if (auto *fast = dynamic_cast<CFastOdds *>(&odds))
            fast->PrepareBoard(board, t.m_boardCount, t.CountActive());
    EasyRandom random, before;
    constexpr int kWide = 1 << 30;
    bool drew = false;
    const auto decide = [&](std::uint64_t seed) {
        random.SetFixedSeed(seed);
        before = random;
        const int amount = street < 0 ? DecidePreflop(t, seat, random, odds)
                                      : DecidePostflop(t, seat, street, random, odds);
        // Whether the decision drew: the stream has moved on when the next numbers differ.
        random.SetInterval(0, kWide);
        before.SetInterval(0, kWide);
        drew = random.DrawRandomNumber() != before.DrawRandomNumber();
        const int put = MendedPut(t, seat, amount);
        return Likeness(ClassifyAct(t, seat, street, put, false), seen);
    };
    for (int c = 0; c < kComboCount; ++c) {
        if (w[std::size_t(c)] <= 0.0)
            continue;
        const auto [a, b] = ComboCards(c);
        t.m_cards[2 * seat] = a;
        t.m_cards[2 * seat + 1] = b;
        const std::uint64_t seed = kStreamSeed + std::uint64_t(c) * kStreams;
        double sum = decide(seed);
        int runs = 1;
        if (drew) {
            for (int s = 1; s < kStreams; ++s)
                sum += decide(seed + std::uint64_t(s));
            runs = kStreams;
        }
        w[std::size_t(c)] *= std::max(sum / runs, kFloor);
    }
}

void RangeTracker::Impl::ModelUnknown(const CGameTable &table, int seat, int street,
                                      const SeatAct &seen, std::vector<double> &w)
{
    // The typical player's own leanings with each combination: the model that plays the seat
    // in the play-outs is the one that reads its hand.
    CGameTable t = table;
    if (street >= 0)
        if (auto *fast = dynamic_cast<CFastOdds *>(&odds))
            fast->PrepareBoard(t.m_cards + kBoardFirst, t.m_boardCount, 2);
    const typical::Seen kind = seen.kind == ActKind::Fold    ? typical::Seen::Fold
                               : seen.kind == ActKind::Raise ? typical::Seen::Aggressive
                                                             : typical::Seen::Passive;
    for (int c = 0; c < kComboCount; ++c) {
        if (w[std::size_t(c)] <= 0.0)
            continue;
        const auto [a, b] = ComboCards(c);
        t.m_cards[2 * seat] = a;
        t.m_cards[2 * seat + 1] = b;
        const typical::Leaning lean = typical::Lean(t, seat, street, odds);
        w[std::size_t(c)] *= std::max(typical::ShareOf(lean, kind), kFloor);
    }
}

RangeTracker::RangeTracker(IDecisionOdds &odds, std::vector<int> known)
    : m_impl(std::make_unique<Impl>(odds, known))
{}

RangeTracker::~RangeTracker() = default;

void RangeTracker::Observe(const CGameTable &table, int seat, int street, int put, bool fold)
{
    if (seat < 0 || seat >= 10)
        return;
    std::vector<double> &w = m_impl->Seat(seat);
    // The board the seat saw is known to everyone, whether or not it was added.
    for (int i = 0; i < std::clamp(table.m_boardCount, 0, 5); ++i) {
        const int card = table.m_cards[kBoardFirst + i];
        if (card >= 0 && card < 52 && !(m_impl->known >> card & 1))
            AddKnownCard(card);
    }
    const SeatAct seen = ClassifyAct(table, seat, street, put, fold);
    if (IsComputer(table.m_players[seat].m_persona))
        m_impl->ReplayComputer(table, seat, street, seen, w);
    else
        m_impl->ModelUnknown(table, seat, street, seen, w);
    // The strongest weight back to 1: a long hand of floors must not run into underflow.
    const double top = *std::max_element(w.begin(), w.end());
    if (top > 0.0)
        for (double &x : w)
            x /= top;
}

void RangeTracker::AddKnownCard(int card)
{
    if (card < 0 || card >= 52)
        return;
    m_impl->known |= 1ull << card;
    for (auto &w : m_impl->weights) {
        if (w.empty())
            continue;
        for (int other = 0; other < 52; ++other)
            if (other != card)
                w[std::size_t(ComboIndex(card, other))] = 0.0;
    }
}

HandWeights RangeTracker::Weights(int seat) const
{
    HandWeights hw;
    hw.seat = seat;
    if (seat >= 0 && seat < 10)
        hw.weights = m_impl->weights[std::size_t(seat)];
    return hw;
}

} // namespace playout
