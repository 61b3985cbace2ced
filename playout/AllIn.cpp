#include "playout/AllIn.h"

#include "pokerlib/CardCodes.h"
#include "pokerlib/Carrowby.h"
#include "pokerlib/Evaluator.h"
#include "typical/TypicalPlayer.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <cmath>

namespace playout {

namespace {

using brisquel::kBoardFirst;
// Boards drawn for each of the opponent's hands before the flop, and deals drawn in all when
// several opponents are in: a standard error of about 0.01 of the pot.
constexpr int kPreflopBoardsPerHand = 256;
constexpr int kMultiwayDeals = 40000;
// Streams a computer opponent's call or fold is asked with, for code that draws random numbers.
constexpr int kAnswerStreams = 4;

std::uint64_t Bit(int card)
{
    return 1ULL << card;
}

// The chips the seat ends with against one opponent when it wins, ties and loses.
struct HeadsUpPayouts
{
    double win = 0.0;
    double tie = 0.0;
    double lose = 0.0;
};

HeadsUpPayouts PayoutsOf(const CGameTable &t, int seat, int other)
{
    const auto payout = [&](int mine, int theirs) {
        int scores[brisquel::kMaxSeats] = {};
        int winnings[brisquel::kMaxSeats] = {};
        scores[seat] = mine;
        scores[other] = theirs;
        GameResult(t.m_invested, scores, winnings, t.m_seatCount, t.m_button);
        return static_cast<double>(winnings[seat]);
    };
    return {payout(2, 1), payout(1, 1), payout(1, 2)};
}

// Wins, ties and losses of the seat's cards against `theirs` over every completion of the
// board (cards[2..] the board so far, `known` cards out of the deck).
void CountBoards(const brisquel::EvalTables &tables, int mine[7], int theirs[7], int have,
                 std::uint64_t used, int from, double &win, double &tie, double &lose)
{
    if (have == 5) {
        const int a = brisquel::EvaluateCards7(tables, mine);
        const int b = brisquel::EvaluateCards7(tables, theirs);
        (a > b ? win : a == b ? tie : lose) += 1.0;
        return;
    }
    for (int card = from; card < 52; ++card) {
        if (used & Bit(card))
            continue;
        mine[2 + have] = theirs[2 + have] = card;
        CountBoards(tables, mine, theirs, have + 1, used | Bit(card), card + 1, win, tie, lose);
    }
}

// The seat's chips back from the pot against one opponent holding `theirs[0..1]`, over the
// board's completions: every one after the flop, a sample before it. `variance` gets the
// sample's variance of that mean (0 when counted).
double ChipsAgainst(const brisquel::EvalTables &tables, int mine[7], int theirs[7], int boardCount,
                    std::uint64_t used, const HeadsUpPayouts &pay, std::uint64_t &rng,
                    double &variance)
{
    double win = 0.0, tie = 0.0, lose = 0.0;
    variance = 0.0;
    if (boardCount >= 3) {
        CountBoards(tables, mine, theirs, boardCount, used, 0, win, tie, lose);
    } else {
        double squares = 0.0;
        for (int k = 0; k < kPreflopBoardsPerHand; ++k) {
            std::uint64_t dealt = used;
            for (int i = 0; i < 5; ++i) {
                const int card = UnusedCard(rng, dealt);
                dealt |= Bit(card);
                mine[2 + i] = theirs[2 + i] = card;
            }
            const int x = brisquel::EvaluateCards7(tables, mine);
            const int y = brisquel::EvaluateCards7(tables, theirs);
            const double chips = x > y ? pay.win : x == y ? pay.tie : pay.lose;
            (x > y ? win : x == y ? tie : lose) += 1.0;
            squares += chips * chips;
        }
        const double n = kPreflopBoardsPerHand;
        const double mean = (win * pay.win + tie * pay.tie + lose * pay.lose) / n;
        variance = std::max(0.0, squares / n - mean * mean) / (n - 1);
    }
    return (win * pay.win + tie * pay.tie + lose * pay.lose) / (win + tie + lose);
}

const std::vector<double> *WeightsOf(const std::vector<HandWeights> &weights, int seat)
{
    for (const HandWeights &hw : weights)
        if (hw.seat == seat && hw.weights.size() == size_t(kComboCount))
            return &hw.weights;
    return nullptr;
}

// What the seat sees: its cards and the board (in `mine`, the board also in `theirs`), the
// cards out of the deck, and the opponents still in.
struct SeatView
{
    SeatView(const CGameTable &t, int seat)
        : boardCount(std::clamp(t.m_boardCount, 0, 5))
    {
        known = Bit(t.m_cards[2 * seat]) | Bit(t.m_cards[2 * seat + 1]);
        mine[0] = t.m_cards[2 * seat];
        mine[1] = t.m_cards[2 * seat + 1];
        for (int i = 0; i < boardCount; ++i) {
            mine[2 + i] = theirs[2 + i] = t.m_cards[kBoardFirst + i];
            known |= Bit(t.m_cards[kBoardFirst + i]);
        }
        for (int s = 0; s < t.m_seatCount; ++s)
            if (s != seat && t.IsActive(s))
                opponents[count++] = s;
    }
    int boardCount = 0;
    std::uint64_t known = 0;
    int mine[7] = {};
    int theirs[7] = {};
    int opponents[brisquel::kMaxSeats] = {};
    int count = 0;
};

// The mean of `perHand(weight)` over the hands the one opponent may hold (its cards put in
// view.theirs first), by their weights; `variance` gets the variance of that mean from the
// estimates' own variances, which perHand adds to. False when no hand is left.
template <class PerHand>
bool OverHands(SeatView &view, const std::vector<HandWeights> &weights, double &mean,
               double &variance, PerHand perHand)
{
    const std::vector<double> *w = WeightsOf(weights, view.opponents[0]);
    double total = 0.0;
    double sum = 0.0;
    variance = 0.0;
    for (int c = 0; c < kComboCount; ++c) {
        const double weight = w ? std::max(0.0, (*w)[size_t(c)]) : 1.0;
        const auto [a, b] = ComboCards(c);
        if (weight <= 0.0 || (view.known & (Bit(a) | Bit(b))))
            continue;
        view.theirs[0] = a;
        view.theirs[1] = b;
        double estimateVariance = 0.0;
        sum += weight * perHand(c, view.known | Bit(a) | Bit(b), estimateVariance);
        total += weight;
        variance += weight * weight * estimateVariance;
    }
    if (total <= 0.0)
        return false;
    mean = sum / total;
    variance /= total * total;
    return true;
}

} // namespace

bool NoMoreBetting(const PlayState &after)
{
    PlayState probe;
    probe.CopyBetting(after);
    return probe.NextToAct([&probe](int street) {
        probe.table.m_boardCount = street + 3;
        return true;
    }) < 0;
}

AllInValue ValueAllIn(const PlayState &after, int seat, int chipsNow,
                      const std::vector<ComboSampler> &samplers,
                      const std::vector<HandWeights> &weights, std::uint64_t seed)
{
    const CGameTable &t = after.table;
    const double stackNow = t.m_stack[seat];
    AllInValue value;
    SeatView view(t, seat);
    if (view.count == 0) {
        int all = t.m_pot;
        for (int s = 0; s < t.m_seatCount; ++s)
            all += t.m_bet[s];
        value.chips = stackNow + all - chipsNow;
        return value;
    }
    const brisquel::EvalTables &tables = brisquel::Tables();
    std::uint64_t rng = seed ^ 0xA11A11ULL;

    if (view.count == 1) {
        const HeadsUpPayouts pay = PayoutsOf(t, seat, view.opponents[0]);
        double mean = 0.0, variance = 0.0;
        if (!OverHands(view, weights, mean, variance,
                       [&](int, std::uint64_t used, double &boardVariance) {
                           return ChipsAgainst(tables, view.mine, view.theirs, view.boardCount,
                                               used, pay, rng, boardVariance);
                       }))
            return value;
        value.chips = stackNow + mean - chipsNow;
        value.error = std::sqrt(variance);
        return value;
    }

    // Several opponents: their hands and the boards drawn together.
    PlayState work;
    work.CopyBetting(after);
    CGameTable &w = work.table;
    double sum = 0.0;
    double squares = 0.0;
    for (int k = 0; k < kMultiwayDeals; ++k) {
        std::uint64_t used = view.known;
        for (int j = 0; j < view.count; ++j) {
            const int s = view.opponents[j];
            const auto [a, b] = samplers[size_t(s)].Draw(rng, used);
            w.m_cards[2 * s] = a;
            w.m_cards[2 * s + 1] = b;
            used |= Bit(a) | Bit(b);
        }
        for (int i = view.boardCount; i < 5; ++i) {
            const int card = UnusedCard(rng, used);
            used |= Bit(card);
            w.m_cards[kBoardFirst + i] = card;
        }
        w.m_boardCount = 5;
        int winnings[brisquel::kMaxSeats];
        work.Payout(winnings);
        const double chips = winnings[seat];
        sum += chips;
        squares += chips * chips;
    }
    const double n = kMultiwayDeals;
    const double mean = sum / n;
    value.chips = stackNow + mean - chipsNow;
    value.error = std::sqrt(std::max(0.0, squares / n - mean * mean) / (n - 1));
    return value;
}

bool ValueCallOrFold(const PlayState &after, int seat, int chipsNow,
                     const std::vector<HandWeights> &weights, IDecisionOdds &odds,
                     std::uint64_t seed, AllInValue &value)
{
    const CGameTable &t = after.table;
    SeatView view(t, seat);
    if (view.count != 1 || after.over || after.toAct != view.opponents[0])
        return false; // several opponents are played out
    const int other = view.opponents[0];
    const int owed = t.m_amountToCall - t.m_bet[other];
    // Its answer must end the betting: nobody left to raise against, or nothing left to raise.
    if (owed <= 0 || (t.m_stack[seat] > 0 && t.m_stack[other] > owed))
        return false;
    PlayState called;
    called.CopyBetting(after);
    called.Act(std::min(owed, t.m_stack[other]), false);
    if (!NoMoreBetting(called))
        return false;
    PlayState folded;
    folded.CopyBetting(after);
    folded.Act(0, true);
    int winnings[brisquel::kMaxSeats];
    folded.Payout(winnings);
    const double foldChips = t.m_stack[seat] + winnings[seat];

    const brisquel::EvalTables &tables = brisquel::Tables();
    const int street = view.boardCount == 0 ? -1 : view.boardCount - 3;
    const HeadsUpPayouts pay = PayoutsOf(called.table, seat, other);
    const double calledStack = called.table.m_stack[seat];
    const int persona = t.m_players[other].m_persona;
    const bool computer = persona >= kFirstBotPersona && persona <= kLastBotPersona;
    CGameTable asked = t;
    EasyRandom random;
    std::uint64_t rng = seed ^ 0xCA11F01DULL;
    double mean = 0.0, variance = 0.0;
    const bool any =
        OverHands(view, weights, mean, variance, [&](int c, std::uint64_t used, double &spread) {
            asked.m_cards[2 * other] = view.theirs[0];
            asked.m_cards[2 * other + 1] = view.theirs[1];
            double calls = 0.0;
            if (computer) {
                for (int k = 0; k < kAnswerStreams; ++k) {
                    random.SetFixedSeed(seed + std::uint64_t(c) * kAnswerStreams +
                                        std::uint64_t(k));
                    const int answer = street < 0
                                           ? DecidePreflop(asked, other, random, odds)
                                           : DecidePostflop(asked, other, street, random, odds);
                    calls += betting::MendAnswer(asked, other, answer) > 0 ? 1.0 : 0.0;
                }
                calls /= kAnswerStreams;
            } else {
                calls = 1.0 - typical::Lean(asked, other, street, odds).fold;
            }
            if (calls <= 0.0)
                return foldChips;
            double boardVariance = 0.0;
            const double showdown =
                calledStack + ChipsAgainst(tables, view.mine, view.theirs, view.boardCount, used,
                                           pay, rng, boardVariance);
            spread = calls * calls * boardVariance;
            return (1.0 - calls) * foldChips + calls * showdown;
        });
    if (!any)
        return false;
    value.chips = mean - chipsNow;
    value.error = std::sqrt(variance);
    return true;
}

double DealShare(const CGameTable &t, int seat, const int cards[25])
{
    const brisquel::EvalTables &tables = brisquel::Tables();
    int hand[7];
    std::copy(cards + kBoardFirst, cards + kBoardFirst + 5, hand + 2);
    hand[0] = cards[2 * seat];
    hand[1] = cards[2 * seat + 1];
    const int mine = brisquel::EvaluateCards7(tables, hand);
    int tied = 0;
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (s == seat || !t.IsActive(s))
            continue;
        hand[0] = cards[2 * s];
        hand[1] = cards[2 * s + 1];
        const int theirs = brisquel::EvaluateCards7(tables, hand);
        if (theirs > mine)
            return 0.0;
        tied += theirs == mine ? 1 : 0;
    }
    return 1.0 / (tied + 1);
}

double ShowdownShare(const CGameTable &t, int seat, const std::vector<ComboSampler> &samplers,
                     const std::vector<HandWeights> &weights, std::uint64_t seed)
{
    SeatView view(t, seat);
    if (view.count == 0)
        return 1.0;
    std::uint64_t rng = seed ^ 0x5A4EULL;
    if (view.count == 1) {
        const brisquel::EvalTables &tables = brisquel::Tables();
        const HeadsUpPayouts share{1.0, 0.5, 0.0};
        double mean = 0.5, variance = 0.0;
        OverHands(view, weights, mean, variance, [&](int, std::uint64_t used, double &) {
            double unused = 0.0;
            return ChipsAgainst(tables, view.mine, view.theirs, view.boardCount, used, share, rng,
                                unused);
        });
        return mean;
    }
    int cards[25];
    std::copy(std::begin(t.m_cards), std::end(t.m_cards), cards);
    double sum = 0.0;
    for (int k = 0; k < kMultiwayDeals; ++k) {
        std::uint64_t used = view.known;
        for (int j = 0; j < view.count; ++j) {
            const int s = view.opponents[j];
            const auto [a, b] = samplers[size_t(s)].Draw(rng, used);
            cards[2 * s] = a;
            cards[2 * s + 1] = b;
            used |= Bit(a) | Bit(b);
        }
        for (int i = view.boardCount; i < 5; ++i) {
            const int card = UnusedCard(rng, used);
            used |= Bit(card);
            cards[kBoardFirst + i] = card;
        }
        sum += DealShare(t, seat, cards);
    }
    return sum / kMultiwayDeals;
}

} // namespace playout
