#include "typical/TypicalPlayer.h"

#include "pokerlib/CardCodes.h"
#include "typical/PushFold.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace typical {

namespace {

using brisquel::kBoardFirst;
// At or below this many big blinds, hands before the flop are jammed or folded.
constexpr double kShortStackBb = 15.0;
// Statistics speak for the player once they rest on this many hands.
constexpr int kMinStatHands = 20;
// The population's opening share by players still to act behind (1: the small blind, 2: the
// button, 3: the cut-off, ...), and how much more of its hands the small blind limps.
constexpr double kOpen[] = {0.0, 0.36, 0.42, 0.27, 0.20, 0.16, 0.13, 0.12, 0.11, 0.10};
constexpr double kSmallBlindLimp = 0.15;
// The opening share by the engine's position classes (early, middle, late), and the share of
// its limps a limper goes on with when raised.
constexpr double kOpenByPositionClass[] = {0.13, 0.18, 0.30};
constexpr double kLimperGoesOn = 0.6;
constexpr double kLimp = 0.04;
// A jam range shrinks with every player left to wake up behind it (a share of the heads-up
// range by players behind, and callers in).
constexpr double kJamTighten[] = {1.0, 1.0, 0.68, 0.52, 0.42, 0.35, 0.30, 0.27, 0.25, 0.24};
// The share of its calling range a short big blind jams with over limpers.
constexpr double kIsolateShare = 0.6;
// Facing a raise: the share re-raised and the share continued (re-raise or call) by how many
// raises there were, before the price is taken into account.
constexpr double kReRaise[] = {0.0, 0.045, 0.022, 0.012};
constexpr double kContinue[] = {0.0, 0.14, 0.055, 0.025};
constexpr double kBigBlindContinue = 0.33;
constexpr double kSmallBlindContinue = 0.12;
// After the flop, by street: bets as shares of the pot, the strength against one random hand
// a bettor's range is taken to start from, and how often the
// last raiser before the flop bets on with a weak or a middling hand.
constexpr double kBetSize[] = {0.55, 0.65, 0.70};
constexpr double kCallMargin[] = {0.30, 0.35, 0.20};
constexpr double kAggressorBluff[] = {0.45, 0.25, 0.15};
constexpr double kAggressorMiddle[] = {0.55, 0.35, 0.20};
constexpr double kBluff[] = {0.12, 0.10, 0.08};
constexpr double kMiddleBet = 0.15;
constexpr double kStrongBet = 0.75;
// How much more a hand's strength against one random hand must be for each further player in.
constexpr double kPerExtraPlayer = 0.04;
// A bet or raise this large a share of what the seat has left goes all in instead.
constexpr double kCommitShare = 0.4;

// 1 well below the edge, 0 well above it, a half at it.
double Below(double x, double edge, double softness)
{
    return 1.0 / (1.0 + std::exp((x - edge) / softness));
}

// Whether a hand at `place` (0 the strongest) is among the best `width` of all hands, softly.
double Among(double place, double width)
{
    return Below(place, width, 0.1 * width + 0.01);
}

long long PotOf(const CGameTable &t)
{
    long long pot = t.m_pot;
    for (int s = 0; s < t.m_seatCount; ++s)
        pot += t.m_bet[s];
    return pot;
}

// The most the seat can win or lose from one opponent, in big blinds.
double EffectiveBb(const CGameTable &t, int seat)
{
    const int own = t.m_stack[seat] + t.m_bet[seat];
    int other = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        if (s != seat && t.IsActive(s))
            other = std::max(other, t.m_stack[s] + t.m_bet[s]);
    return static_cast<double>(std::min(own, other)) / std::max(t.m_bigBlind, 1);
}

// Players still to decide after the seat before the flop closes: up to the big blind.
int Behind(const CGameTable &t, int seat)
{
    const int big = t.BlindSeats().big;
    int count = 0;
    for (int s = seat; s != big && count < t.m_seatCount;) {
        s = t.NextActiveSeat(s);
        if (s == seat)
            break;
        ++count;
    }
    return count;
}

// The bet levels above the big blind before the flop: the open raise, the three-bet, ...
int RaiseLevels(const CGameTable &t)
{
    std::array<int, 10> levels{};
    int count = 0;
    for (int s = 0; s < t.m_seatCount; ++s) {
        const int bet = t.m_bet[s];
        if (bet > t.m_bigBlind &&
            std::find(levels.begin(), levels.begin() + count, bet) == levels.begin() + count)
            levels[size_t(count++)] = bet;
    }
    return count;
}

// Seats other than the deciding one and the blinds that have put in as much as the highest
// bet: limpers before a raise, callers after it.
int Callers(const CGameTable &t, int seat)
{
    const rules::BlindSeats blinds = t.BlindSeats();
    int count = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        count += s != seat && s != blinds.big && t.IsActive(s) && t.m_amountToCall > 0 &&
                         t.m_bet[s] == t.m_amountToCall && t.m_lastAction[s] != kLastActionRaise
                     ? 1
                     : 0;
    return count;
}

double Tighten(int others)
{
    return kJamTighten[std::clamp(others, 0, 9)];
}

// The player's own looseness against the population's, from its statistics when they say
// enough: opening (PFR) and playing (VPIP).
void Looseness(const CGameTable &t, int seat, double &open, double &play)
{
    open = play = 1.0;
    const CPokerStat &stat = t.m_players[seat].m_stat;
    if (stat.m_N < kMinStatHands)
        return;
    open = std::clamp(stat.m_pfrRatio / 0.17, 0.4, 2.5);
    play = std::clamp(stat.m_vpipRatio / 0.25, 0.4, 2.5);
}

// What the preflop decision reads of the table, worked out once.
struct PreflopSpot
{
    PreflopSpot(const CGameTable &t, int seat, int a, int b)
        : bb(std::max(t.m_bigBlind, 1))
        , bet(t.m_bet[seat])
        , stack(t.m_stack[seat])
        , all(stack + bet)
        , highest(std::max(t.m_amountToCall, 0))
        , owed(std::clamp(highest - bet, 0, stack))
        , place(PreflopPlace(a, b))
        , effective(EffectiveBb(t, seat))
        , behind(Behind(t, seat))
        , levels(RaiseLevels(t))
        , callers(Callers(t, seat))
        , bigBlind(seat == t.BlindSeats().big)
        , smallBlind(seat == t.BlindSeats().small)
    {
        Looseness(t, seat, openFactor, playFactor);
    }
    // The raise to `total`: all in when that commits most of the stack, or the stack is short.
    int RaiseTotal(long long total) const
    {
        if (total >= kCommitShare * all || effective <= kShortStackBb)
            total = all;
        return static_cast<int>(std::min<long long>(std::max<long long>(total, highest + 1), all));
    }

    int bb, bet, stack, all, highest, owed;
    double place, effective;
    int behind, levels, callers;
    bool bigBlind, smallBlind;
    double openFactor = 1.0;
    double playFactor = 1.0;
};

// No raise yet: a short stack jams or folds, the big blind may raise limpers, others open.
void UnraisedPreflop(const PreflopSpot &p, int a, int b, Leaning &lean, double &aggressive,
                     double &continuing)
{
    if (p.effective <= kShortStackBb) {
        const bool headsUp = p.behind == 1 && p.callers == 0 && p.owed > 0;
        // Over limpers, the big blind jams about the hands it would call a jam with: a
        // limp is no steal, and many limp their good hands.
        const double width =
            p.owed == 0 ? kIsolateShare * CallShare(p.effective) : JamShare(p.effective);
        aggressive = headsUp ? (JamsHeadsUp(a, b, p.effective) ? 1.0 : 0.0)
                             : Among(p.place, width * Tighten(p.behind + p.callers));
        continuing = p.owed == 0 ? 1.0 : aggressive;
        lean.raiseTotal = p.RaiseTotal(p.all);
    } else if (p.owed == 0) {
        // The big blind's option over limpers.
        aggressive = Among(p.place, 0.10 * p.openFactor);
        continuing = 1.0;
        lean.raiseTotal = p.RaiseTotal(p.highest + (3 + p.callers) * p.bb);
    } else {
        const double open = kOpen[std::clamp(p.behind, 1, 9)] * p.openFactor;
        const double iso = p.callers > 0 ? 0.55 : 1.0;
        const double limp = (p.smallBlind ? kSmallBlindLimp : kLimp) + (p.callers > 0 ? 0.06 : 0);
        aggressive = Among(p.place, open * iso);
        continuing = Among(p.place, open * iso + limp * p.playFactor);
        lean.raiseTotal = p.RaiseTotal((p.smallBlind ? 3 : 5) * p.bb / 2 + p.callers * p.bb);
    }
}

// Facing a raise: call a jam with the hands that beat the jammer's, else re-raise, call or fold
// by the price and the number of raises.
void RaisedPreflop(const CGameTable &t, int seat, const PreflopSpot &p, int a, int b, Leaning &lean,
                   double &aggressive, double &continuing)
{
    const long long pot = PotOf(t);
    const double price = static_cast<double>(p.owed) / static_cast<double>(pot + p.owed);
    const int level = std::min(p.levels, 3);
    const bool jamFaced = p.owed >= p.stack || [&] {
        for (int s = 0; s < t.m_seatCount; ++s)
            if (s != seat && t.IsActive(s) && t.m_bet[s] == p.highest && t.m_stack[s] == 0)
                return true;
        return false;
    }();
    if (p.effective <= kShortStackBb && level == 1 && jamFaced) {
        const bool headsUp = p.behind == 0 && p.callers == 0;
        continuing =
            headsUp ? (CallsHeadsUp(a, b, p.effective) ? 1.0 : 0.0)
                    : Among(p.place, CallShare(p.effective) * Tighten(1 + p.behind + p.callers));
        return;
    }
    double reRaise = kReRaise[level];
    double cont = p.bigBlind && level == 1     ? kBigBlindContinue
                  : p.smallBlind && level == 1 ? kSmallBlindContinue
                                               : kContinue[level];
    // A cheaper call keeps more hands; a dearer one fewer.
    cont *= std::clamp((0.5 - price) / 0.22, 0.3, 1.6) * p.playFactor;
    cont *= std::pow(0.8, p.callers);
    // A player who limped holds the hands below its raising range: facing a raise it
    // goes on with the better part of those, not with the top of all hands.
    if (level == 1 && t.m_lastAction[seat] == kLastActionCall && !p.bigBlind) {
        const int positionClass = std::clamp(t.m_positionClass[seat], 0, 2);
        const double open = p.smallBlind ? kOpen[1] : kOpenByPositionClass[positionClass];
        const double limp = p.smallBlind ? kSmallBlindLimp : kLimp;
        cont = std::max(cont, (open + kLimperGoesOn * limp) * p.openFactor);
    }
    if (p.effective <= kShortStackBb)
        reRaise = std::max(reRaise, 0.35 * JamShare(p.effective));
    reRaise = std::min(reRaise * p.openFactor, cont);
    if (p.stack > p.owed && !jamFaced)
        aggressive = Among(p.place, reRaise);
    continuing = std::max(aggressive, Among(p.place, std::max(cont, reRaise)));
    lean.raiseTotal = p.RaiseTotal(level == 1 ? (p.bigBlind || p.smallBlind ? 7 : 6) * p.highest / 2
                                              : 23LL * p.highest / 10);
}

Leaning Preflop(const CGameTable &t, int seat, int a, int b)
{
    Leaning lean;
    const PreflopSpot spot(t, seat, a, b);
    double aggressive = 0.0;
    double continuing = 0.0; // aggressive or passive
    if (spot.levels == 0)
        UnraisedPreflop(spot, a, b, lean, aggressive, continuing);
    else
        RaisedPreflop(t, seat, spot, a, b, lean, aggressive, continuing);
    if (spot.stack <= spot.owed) // cannot raise
        aggressive = 0.0;
    lean.aggressive = aggressive;
    lean.passive = std::max(0.0, continuing - aggressive);
    lean.fold = spot.owed > 0 ? std::max(0.0, 1.0 - continuing) : 0.0;
    if (spot.owed == 0)
        lean.passive = 1.0 - aggressive;
    return lean;
}

Leaning Postflop(const CGameTable &t, int seat, int street, int a, int b, IDecisionOdds &odds)
{
    Leaning lean;
    const int s = std::clamp(street, 0, 2);
    const int bet = t.m_bet[seat];
    const int stack = t.m_stack[seat];
    const int all = stack + bet;
    const int highest = std::max(t.m_amountToCall, 0);
    const int owed = std::clamp(highest - bet, 0, stack);
    const int hole[2] = {a, b};
    const int *board = t.m_cards + kBoardFirst;
    const double strength = odds.ProbabilityOfWin(hole, board, t.m_boardCount, 2);
    // Against more players a hand needs to be stronger: the bars rise with each one.
    const double shift = kPerExtraPlayer * std::max(t.CountActive() - 2, 0);
    const double equity = strength - shift;
    const long long pot = PotOf(t);
    const bool aggressor = t.m_lastRaiser == seat;
    const auto raiseTo = [&](long long total) {
        if (total >= kCommitShare * all)
            total = all;
        lean.raiseTotal =
            static_cast<int>(std::min<long long>(std::max<long long>(total, highest + 1), all));
    };
    if (owed == 0) {
        const double strong = Below(0.66, equity, 0.05);
        const double middle = std::max(0.0, Below(0.45, equity, 0.05) - strong);
        const double weak = 1.0 - strong - middle;
        lean.aggressive = strong * kStrongBet +
                          middle * (aggressor ? kAggressorMiddle[s] : kMiddleBet) +
                          weak * (aggressor ? kAggressorBluff[s] : kBluff[s]);
        lean.passive = 1.0 - lean.aggressive;
        raiseTo(std::max<long long>(static_cast<long long>(kBetSize[s] * pot), t.m_bigBlind));
    } else {
        const double price = static_cast<double>(owed) / static_cast<double>(pot + owed);
        // Against a bettor's range the hand's equity is about its strength above that range's
        // floor, rescaled: it calls when that beats the price.
        const double needed = kCallMargin[s] + price * (1.0 - kCallMargin[s]);
        const double continuing = Below(needed, equity, 0.05);
        double aggressive = owed < stack ? 0.55 * Below(0.86, equity, 0.03) : 0.0;
        if (s == 0 && owed < stack)
            aggressive += 0.03 * (1.0 - continuing);
        lean.aggressive = aggressive;
        lean.passive = std::max(0.0, continuing - aggressive);
        lean.fold = std::max(0.0, 1.0 - lean.aggressive - lean.passive);
        raiseTo(3LL * highest);
    }
    if (stack <= owed)
        lean.aggressive = 0.0;
    return lean;
}

} // namespace

double PreflopPlace(int card1, int card2)
{
    static const std::array<float, 1326> place = [] {
        std::array<float, 1326> p{};
        CStatSpectr spectrum;
        spectrum.Init();
        Spec all;
        std::wstring unused;
        spectrum.GetSpecByPercent(100.0, all, unused, 1);
        const auto index = [](int x, int y) {
            if (x > y)
                std::swap(x, y);
            return x * (103 - x) / 2 + y - x - 1;
        };
        size_t i = 0;
        while (i < all.combos.size()) {
            size_t end = i;
            const int cls = HandClassOf(all.combos[i].first, all.combos[i].second);
            while (end < all.combos.size() &&
                   HandClassOf(all.combos[end].first, all.combos[end].second) == cls)
                ++end;
            const float middle = float((i + end) / 2.0 / 1326.0);
            for (size_t k = i; k < end; ++k)
                p[size_t(index(all.combos[k].first, all.combos[k].second))] = middle;
            i = end;
        }
        return p;
    }();
    if (card1 < 0 || card2 < 0 || card1 > 51 || card2 > 51 || card1 == card2)
        return 1.0;
    if (card1 > card2)
        std::swap(card1, card2);
    return place[size_t(card1 * (103 - card1) / 2 + card2 - card1 - 1)];
}

Leaning Lean(const CGameTable &table, int seat, int street, IDecisionOdds &odds)
{
    const int a = table.m_cards[2 * seat];
    const int b = table.m_cards[2 * seat + 1];
    Leaning lean =
        street < 0 ? Preflop(table, seat, a, b) : Postflop(table, seat, street, a, b, odds);
    const double total = lean.fold + lean.passive + lean.aggressive;
    if (total > 0.0) {
        lean.fold /= total;
        lean.passive /= total;
        lean.aggressive /= total;
    }
    if (lean.raiseTotal <= table.m_bet[seat])
        lean.aggressive = 0.0;
    return lean;
}

int Decide(const CGameTable &table, int seat, int street, double uniform, IDecisionOdds &odds)
{
    const Leaning lean = Lean(table, seat, street, odds);
    const int owed = std::clamp(table.m_amountToCall - table.m_bet[seat], 0, table.m_stack[seat]);
    if (uniform < lean.fold)
        return 0;
    if (uniform < lean.fold + lean.passive || lean.aggressive <= 0.0)
        return owed;
    return std::min(lean.raiseTotal - table.m_bet[seat], table.m_stack[seat]);
}

double ShareOf(const Leaning &leaning, Seen seen)
{
    switch (seen) {
    case Seen::Fold:
        return leaning.fold;
    case Seen::Passive:
        return leaning.passive;
    case Seen::Aggressive:
        return leaning.aggressive;
    }
    return 0.0;
}

} // namespace typical
