#include "playout/Ranges.h"

#include "engine/BettingSteps.h"
#include "playout/FastOdds.h"
#include "playout/SeatActs.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace playout {

namespace {

constexpr int kBoardFirst = 20;
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

// A soft "among the best `width` of the range" for a share q of the range stronger than the hand.
double Top(double q, double width)
{
    const double softness = 0.1 * width + 0.01;
    return 1.0 / (1.0 + std::exp((q - width) / softness));
}

// Each combination's place in the spectrum's order, 0 the strongest.
const std::array<float, kComboCount> &PreflopStrength()
{
    static const std::array<float, kComboCount> strength = [] {
        std::array<float, kComboCount> s{};
        CStatSpectr spectrum;
        spectrum.Init();
        Spec all;
        std::wstring unused;
        spectrum.GetSpecByPercent(100.0, all, unused, 1);
        // Members of one class share its middle place.
        std::size_t i = 0;
        const auto classOf = [](int a, int b) {
            const bool suited = a / 13 == b / 13;
            return std::max(a % 13, b % 13) * 32 + std::min(a % 13, b % 13) * 2 + (suited ? 1 : 0);
        };
        while (i < all.combos.size()) {
            std::size_t end = i;
            const int cls = classOf(all.combos[i].first, all.combos[i].second);
            while (end < all.combos.size() &&
                   classOf(all.combos[end].first, all.combos[end].second) == cls)
                ++end;
            const float place = float((i + end) / 2.0 / kComboCount);
            for (std::size_t k = i; k < end; ++k)
                s[std::size_t(ComboIndex(all.combos[k].first, all.combos[k].second))] = place;
            i = end;
        }
        return s;
    }();
    return strength;
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
    // Strength of each live combination, higher the stronger.
    std::vector<double> strength(kComboCount, 0.0);
    if (street < 0) {
        const auto &place = PreflopStrength();
        for (int c = 0; c < kComboCount; ++c)
            strength[std::size_t(c)] = 1.0 - place[std::size_t(c)];
    } else {
        const int *board = table.m_cards + kBoardFirst;
        if (auto *fast = dynamic_cast<CFastOdds *>(&odds))
            fast->PrepareBoard(board, table.m_boardCount, 2);
        for (int c = 0; c < kComboCount; ++c) {
            if (w[std::size_t(c)] <= 0.0)
                continue;
            const auto [a, b] = ComboCards(c);
            const int hole[2] = {a, b};
            strength[std::size_t(c)] = odds.ProbabilityOfWin(hole, board, table.m_boardCount, 2);
        }
    }
    // q: the share of the seat's present range that is stronger.
    std::vector<int> order;
    for (int c = 0; c < kComboCount; ++c)
        if (w[std::size_t(c)] > 0.0)
            order.push_back(c);
    std::sort(order.begin(), order.end(), [&](int x, int y) {
        return strength[std::size_t(x)] > strength[std::size_t(y)];
    });
    const double total = std::accumulate(w.begin(), w.end(), 0.0);
    if (total <= 0.0)
        return;
    std::vector<double> q(kComboCount, 1.0);
    double above = 0.0;
    for (int c : order) {
        q[std::size_t(c)] = (above + w[std::size_t(c)] / 2) / total;
        above += w[std::size_t(c)];
    }

    // The widths of its opening and playing ranges: from its statistics once they rest on
    // enough hands, else the usual widths of its position.
    const CPokerStat &stat = table.m_players[seat].m_stat;
    constexpr int kMinStatHands = 20;
    static constexpr double kOpenByPosition[3] = {0.15, 0.22, 0.32};
    const int position = std::clamp(table.m_positionClass[seat], 0, 2);
    double open = kOpenByPosition[position];
    double play = 2 * open;
    if (stat.m_N >= kMinStatHands) {
        open = std::clamp(stat.m_pfrRatio, 0.03, 0.6);
        play = std::clamp(stat.m_vpipRatio, open, 0.9);
    }
    const int raisers = table.CountRaisersAbove(seat, table.m_bigBlind);
    const bool facingBet = street >= 0 && table.m_amountToCall > table.m_bet[seat];

    for (int c = 0; c < kComboCount; ++c) {
        if (w[std::size_t(c)] <= 0.0)
            continue;
        const double x = q[std::size_t(c)];
        double f = 1.0;
        if (street < 0) {
            switch (seen.kind) {
            case ActKind::Raise:
                if (raisers == 0)
                    f = Top(x, seen.allIn ? std::max(open, 0.1) : open);
                else
                    f = Top(x, raisers == 1 ? 0.05 : 0.025);
                break;
            case ActKind::Call:
                f = raisers == 0 ? Top(x, play) * (1.0 - 0.6 * Top(x, open / 2))
                                 : Top(x, std::min(play, 0.25)) * (1.0 - 0.5 * Top(x, 0.03));
                break;
            case ActKind::Check:
                f = 1.0 - 0.7 * Top(x, open);
                break;
            case ActKind::Fold:
                f = 1.0 - Top(x, play);
                break;
            }
        } else {
            switch (seen.kind) {
            // Mild: on games between players of four styles, sharper cuts read even the
            // tightest of them as holding far stronger hands than they did.
            case ActKind::Raise:
                f = facingBet ? Top(x, 0.35) + 0.15 : Top(x, 0.6) + 0.3;
                break;
            case ActKind::Call:
                f = Top(x, 0.75) + 0.2;
                break;
            case ActKind::Check:
                f = 1.0 - 0.4 * Top(x, 0.2);
                break;
            case ActKind::Fold:
                f = 1.0 - Top(x, 0.5);
                break;
            }
        }
        w[std::size_t(c)] *= std::max(f, kFloor);
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
