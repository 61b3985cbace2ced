#include "playout/AllIn.h"

#include "pokerlib/Carrowby.h"
#include "pokerlib/Evaluator.h"
#include "typical/TypicalPlayer.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <cmath>

namespace playout {

namespace {

constexpr int kBoardFirst = 20;
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

int UnusedCard(std::uint64_t &rng, std::uint64_t used)
{
    for (;;) {
        const int card = static_cast<int>(NextRandom(rng) % 52);
        if ((used & Bit(card)) == 0)
            return card;
    }
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
        int scores[10] = {};
        int winnings[10] = {};
        scores[seat] = mine;
        scores[other] = theirs;
        GameResult(t.m_invested, scores, winnings, t.m_seatCount);
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
    int opponents[10];
    int count = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        if (s != seat && t.IsActive(s))
            opponents[count++] = s;
    if (count == 0) {
        int all = t.m_pot;
        for (int s = 0; s < t.m_seatCount; ++s)
            all += t.m_bet[s];
        value.chips = stackNow + all - chipsNow;
        return value;
    }
    const brisquel::EvalTables &tables = brisquel::Tables();
    const int boardCount = std::clamp(t.m_boardCount, 0, 5);
    std::uint64_t known = Bit(t.m_cards[2 * seat]) | Bit(t.m_cards[2 * seat + 1]);
    int mine[7] = {t.m_cards[2 * seat], t.m_cards[2 * seat + 1]};
    int theirs[7] = {};
    for (int i = 0; i < boardCount; ++i) {
        mine[2 + i] = theirs[2 + i] = t.m_cards[kBoardFirst + i];
        known |= Bit(t.m_cards[kBoardFirst + i]);
    }
    std::uint64_t rng = seed ^ 0xA11A11ULL;

    if (count == 1) {
        const int other = opponents[0];
        const HeadsUpPayouts pay = PayoutsOf(t, seat, other);
        const std::vector<double> *w = WeightsOf(weights, other);
        double total = 0.0;
        double sum = 0.0;
        double variance = 0.0; // of the sampled boards' mean, weighted
        for (int c = 0; c < kComboCount; ++c) {
            const double weight = w ? std::max(0.0, (*w)[size_t(c)]) : 1.0;
            const auto [a, b] = ComboCards(c);
            if (weight <= 0.0 || (known & (Bit(a) | Bit(b))))
                continue;
            theirs[0] = a;
            theirs[1] = b;
            double boardVariance = 0.0;
            const double chips = ChipsAgainst(tables, mine, theirs, boardCount,
                                              known | Bit(a) | Bit(b), pay, rng, boardVariance);
            total += weight;
            sum += weight * chips;
            variance += weight * weight * boardVariance;
        }
        if (total <= 0.0)
            return value;
        value.chips = stackNow + sum / total - chipsNow;
        value.error = std::sqrt(variance) / total;
        return value;
    }

    // Several opponents: their hands and the boards drawn together.
    PlayState work;
    work.CopyBetting(after);
    CGameTable &w = work.table;
    double sum = 0.0;
    double squares = 0.0;
    for (int k = 0; k < kMultiwayDeals; ++k) {
        std::uint64_t used = known;
        for (int j = 0; j < count; ++j) {
            const int s = opponents[j];
            const auto [a, b] = samplers[size_t(s)].Draw(rng, used);
            w.m_cards[2 * s] = a;
            w.m_cards[2 * s + 1] = b;
            used |= Bit(a) | Bit(b);
        }
        for (int i = boardCount; i < 5; ++i) {
            const int card = UnusedCard(rng, used);
            used |= Bit(card);
            w.m_cards[kBoardFirst + i] = card;
        }
        w.m_boardCount = 5;
        int winnings[10];
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
    int other = -1;
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (s == seat || !t.IsActive(s))
            continue;
        if (other >= 0)
            return false; // several opponents: played out
        other = s;
    }
    if (other < 0 || after.over || after.toAct != other)
        return false;
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
    int winnings[10];
    folded.Payout(winnings);
    const double foldChips = t.m_stack[seat] + winnings[seat];

    const brisquel::EvalTables &tables = brisquel::Tables();
    const int boardCount = std::clamp(t.m_boardCount, 0, 5);
    const int street = boardCount == 0 ? -1 : boardCount - 3;
    std::uint64_t known = Bit(t.m_cards[2 * seat]) | Bit(t.m_cards[2 * seat + 1]);
    int mine[7] = {t.m_cards[2 * seat], t.m_cards[2 * seat + 1]};
    int theirs[7] = {};
    for (int i = 0; i < boardCount; ++i) {
        mine[2 + i] = theirs[2 + i] = t.m_cards[kBoardFirst + i];
        known |= Bit(t.m_cards[kBoardFirst + i]);
    }
    const HeadsUpPayouts pay = PayoutsOf(called.table, seat, other);
    const double calledStack = called.table.m_stack[seat];
    const std::vector<double> *w = WeightsOf(weights, other);
    const int persona = t.m_players[other].m_persona;
    const bool computer = persona >= kFirstBotPersona && persona <= kLastBotPersona;
    CGameTable asked = t;
    EasyRandom random;
    std::uint64_t rng = seed ^ 0xCA11F01DULL;
    double total = 0.0;
    double sum = 0.0;
    double variance = 0.0;
    for (int c = 0; c < kComboCount; ++c) {
        const double weight = w ? std::max(0.0, (*w)[size_t(c)]) : 1.0;
        const auto [a, b] = ComboCards(c);
        if (weight <= 0.0 || (known & (Bit(a) | Bit(b))))
            continue;
        asked.m_cards[2 * other] = a;
        asked.m_cards[2 * other + 1] = b;
        double calls = 0.0;
        if (computer) {
            for (int k = 0; k < kAnswerStreams; ++k) {
                random.SetFixedSeed(seed + std::uint64_t(c) * kAnswerStreams + std::uint64_t(k));
                const int answer = street < 0 ? DecidePreflop(asked, other, random, odds)
                                              : DecidePostflop(asked, other, street, random, odds);
                calls += betting::MendAnswer(asked, other, answer) > 0 ? 1.0 : 0.0;
            }
            calls /= kAnswerStreams;
        } else {
            calls = 1.0 - typical::Lean(asked, other, street, odds).fold;
        }
        double showdown = 0.0;
        double boardVariance = 0.0;
        if (calls > 0.0) {
            theirs[0] = a;
            theirs[1] = b;
            showdown = calledStack + ChipsAgainst(tables, mine, theirs, boardCount,
                                                  known | Bit(a) | Bit(b), pay, rng, boardVariance);
        }
        total += weight;
        sum += weight * ((1.0 - calls) * foldChips + calls * showdown);
        variance += weight * weight * calls * calls * boardVariance;
    }
    if (total <= 0.0)
        return false;
    value.chips = sum / total - chipsNow;
    value.error = std::sqrt(variance) / total;
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
    int opponents[10];
    int count = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        if (s != seat && t.IsActive(s))
            opponents[count++] = s;
    if (count == 0)
        return 1.0;
    const int boardCount = std::clamp(t.m_boardCount, 0, 5);
    std::uint64_t known = Bit(t.m_cards[2 * seat]) | Bit(t.m_cards[2 * seat + 1]);
    for (int i = 0; i < boardCount; ++i)
        known |= Bit(t.m_cards[kBoardFirst + i]);
    std::uint64_t rng = seed ^ 0x5A4EULL;
    if (count == 1) {
        const brisquel::EvalTables &tables = brisquel::Tables();
        int mine[7] = {t.m_cards[2 * seat], t.m_cards[2 * seat + 1]};
        int theirs[7] = {};
        for (int i = 0; i < boardCount; ++i)
            mine[2 + i] = theirs[2 + i] = t.m_cards[kBoardFirst + i];
        const std::vector<double> *w = WeightsOf(weights, opponents[0]);
        const HeadsUpPayouts share{1.0, 0.5, 0.0};
        double total = 0.0;
        double sum = 0.0;
        for (int c = 0; c < kComboCount; ++c) {
            const double weight = w ? std::max(0.0, (*w)[size_t(c)]) : 1.0;
            const auto [a, b] = ComboCards(c);
            if (weight <= 0.0 || (known & (Bit(a) | Bit(b))))
                continue;
            theirs[0] = a;
            theirs[1] = b;
            double unused = 0.0;
            sum += weight * ChipsAgainst(tables, mine, theirs, boardCount, known | Bit(a) | Bit(b),
                                         share, rng, unused);
            total += weight;
        }
        return total > 0.0 ? sum / total : 0.5;
    }
    int cards[25];
    std::copy(std::begin(t.m_cards), std::end(t.m_cards), cards);
    double sum = 0.0;
    for (int k = 0; k < kMultiwayDeals; ++k) {
        std::uint64_t used = known;
        for (int j = 0; j < count; ++j) {
            const int s = opponents[j];
            const auto [a, b] = samplers[size_t(s)].Draw(rng, used);
            cards[2 * s] = a;
            cards[2 * s + 1] = b;
            used |= Bit(a) | Bit(b);
        }
        for (int i = boardCount; i < 5; ++i) {
            const int card = UnusedCard(rng, used);
            used |= Bit(card);
            cards[kBoardFirst + i] = card;
        }
        sum += DealShare(t, seat, cards);
    }
    return sum / kMultiwayDeals;
}

} // namespace playout
