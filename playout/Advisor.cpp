#include "playout/Advisor.h"

#include "playout/AllIn.h"
#include "playout/FastOdds.h"
#include "playout/HandSim.h"
#include "playout/Ranges.h"
#include "pokerlib/CardCodes.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>

namespace playout {

namespace {

using brisquel::kBoardFirst;
using brisquel::kMaxSeats;
using brisquel::kTableCards;
// Between refinements the caller gets a new estimate about this often.
constexpr int kRefineMillis = 250;

long long PotOf(const CGameTable &t)
{
    long long pot = t.m_pot;
    for (int s = 0; s < t.m_seatCount; ++s)
        pot += t.m_bet[s];
    return pot;
}

} // namespace

std::vector<HandWeights> SeatRanges(const HandSoFar &hand)
{
    std::vector<int> known(hand.board.begin(), hand.board.end());
    for (int card : hand.seats[hand.seat].cards)
        if (card >= 0)
            known.push_back(card);
    CFastOdds odds(0x7A11E5ULL);
    RangeTracker tracker(odds, known);
    PlayState state;
    std::string error;
    Rebuild(hand, state, error, [&](const CGameTable &table, const PastDecision &d) {
        if (d.seat != hand.seat)
            tracker.Observe(table, d.seat, d.street, d.put, d.fold);
    });
    std::vector<HandWeights> ranges;
    for (int s = 0; s < hand.seatCount; ++s)
        if (s != hand.seat)
            ranges.push_back(tracker.Weights(s));
    return ranges;
}

namespace {

std::unique_ptr<IDecisionOdds> DefaultOdds(std::uint64_t seed)
{
    return std::make_unique<CFastOdds>(seed);
}

// Sums of the options' values and of their products: the options are played on the same
// deals, and their covariance makes their differences surer than their values.
struct Tallies
{
    explicit Tallies(size_t options)
        : n(options)
        , sum(options, 0.0)
        , products(options * options, 0.0)
    {}
    void Add(const std::vector<double> &values, double luck)
    {
        for (size_t i = 0; i < n; ++i) {
            sum[i] += values[i];
            withLuck[i] += values[i] * luck;
            for (size_t j = 0; j < n; ++j)
                products[i * n + j] += values[i] * values[j];
        }
        luckSum += luck;
        luckSquares += luck * luck;
        ++count;
    }
    size_t n;
    std::vector<double> sum;
    std::vector<double> products;
    // The deal's luck (the seat's showdown share with the cards dealt) and its products with
    // the values: a control variate whose mean is known.
    std::vector<double> withLuck = std::vector<double>(n, 0.0);
    double luckSum = 0.0;
    double luckSquares = 0.0;
    int count = 0;
};

// An option whose value the cards alone decide, counted apart from the play-outs.
struct Counted
{
    bool counted = false;
    double chips = 0.0;
    double error = 0.0;
};

// The options' values, each less the part the luck of the deal explains (a control variate:
// the seat's showdown share has the known mean `luckMean`), and their covariance.
void Fill(Advice &advice, const Tallies &tallies, const std::vector<Counted> &counted, int bigBlind,
          double luckMean)
{
    const size_t n = advice.options.size();
    const int count = tallies.count;
    advice.covariance.assign(n * n, 0.0);
    if (count == 0)
        return;
    const double bb = bigBlind;
    const double luck = tallies.luckSum / count;
    const double luckVariance = tallies.luckSquares / count - luck * luck;
    std::vector<double> mean(n);
    std::vector<double> withLuck(n, 0.0); // covariance of each value with the luck
    for (size_t i = 0; i < n; ++i) {
        if (counted[i].counted) {
            mean[i] = counted[i].chips;
            continue;
        }
        mean[i] = tallies.sum[i] / count;
        withLuck[i] = tallies.withLuck[i] / count - mean[i] * luck;
        if (luckVariance > 1e-12 && count > 2)
            mean[i] -= withLuck[i] / luckVariance * (luck - luckMean);
    }
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            double cov = 0.0;
            if (counted[i].counted || counted[j].counted) {
                cov = i == j ? counted[i].error * counted[i].error : 0.0;
            } else if (count > 2) {
                const double mi = tallies.sum[i] / count;
                const double mj = tallies.sum[j] / count;
                double m = tallies.products[i * n + j] / count - mi * mj;
                if (luckVariance > 1e-12)
                    m -= withLuck[i] * withLuck[j] / luckVariance;
                if (i == j)
                    m = std::max(m, 0.0);
                cov = m / (count - 2); // of the means
            }
            advice.covariance[i * n + j] = cov / (bb * bb);
        }
        Option &option = advice.options[i];
        option.samples = count;
        option.evBb = mean[i] / bb;
        option.errorBb = std::sqrt(std::max(0.0, advice.covariance[i * n + i]));
    }
    Settle(advice);
}

} // namespace

std::vector<Option> LegalOptions(const CGameTable &t, int seat)
{
    std::vector<Option> options;
    const int stack = t.m_stack[seat];
    const int bet = t.m_bet[seat];
    const int highest = std::max(t.m_amountToCall, 0);
    const int owed = std::clamp(highest - bet, 0, stack);
    const auto add = [&](OptionKind kind, int put) {
        for (const Option &o : options)
            if (o.put == put)
                return;
        Option option;
        option.kind = kind;
        option.put = put;
        option.total = bet + put;
        options.push_back(option);
    };
    if (owed > 0) {
        add(OptionKind::Fold, 0);
        add(OptionKind::Call, owed);
    } else {
        add(OptionKind::Check, 0);
    }
    // A raise needs the betting reopened for the seat, and somebody with chips to call it.
    if (stack <= owed || !t.m_raises.MayRaise(seat) || !t.AnotherCanAct(seat))
        return options;
    const long long pot = PotOf(t);
    std::vector<long long> totals;
    if (highest == 0) {
        totals = {pot / 3, pot * 2 / 3, pot};
    } else {
        // A pot-sized raise: the call first, then the pot as it stands after the call.
        totals = {t.m_raises.MinRaiseTotal(), 3LL * highest, highest + pot + (highest - bet)};
    }
    const OptionKind kind = highest == 0 ? OptionKind::Bet : OptionKind::Raise;
    std::vector<int> puts;
    for (long long total : totals) {
        total = std::max<long long>(total, t.m_raises.MinRaiseTotal());
        const long long put = total - bet;
        if (put >= stack || !t.m_raises.IsLegal(seat, bet, stack, static_cast<int>(put)))
            continue;
        puts.push_back(static_cast<int>(put));
    }
    std::sort(puts.begin(), puts.end());
    for (int put : puts) {
        // The fold option puts in nothing as well: bets are told apart by their chips only.
        if (put > owed)
            add(kind, put);
    }
    if (t.m_raises.IsLegal(seat, bet, stack, stack))
        add(OptionKind::AllIn, stack);
    return options;
}

int OptionIndex(const std::vector<Option> &options, int put, bool fold)
{
    for (int k = 0; k < static_cast<int>(options.size()); ++k) {
        const Option &o = options[static_cast<size_t>(k)];
        if (fold ? o.kind == OptionKind::Fold : (o.kind != OptionKind::Fold && o.put == put))
            return k;
    }
    return -1;
}

int TakenOption(const std::vector<Option> &options, int put, bool fold)
{
    const int exact = OptionIndex(options, put, fold);
    if (exact >= 0 || fold)
        return exact;
    int nearest = -1;
    for (int k = 0; k < static_cast<int>(options.size()); ++k) {
        const Option &o = options[static_cast<size_t>(k)];
        const bool raise =
            o.kind == OptionKind::Bet || o.kind == OptionKind::Raise || o.kind == OptionKind::AllIn;
        if (raise && (nearest < 0 || std::abs(o.put - put) <
                                         std::abs(options[static_cast<size_t>(nearest)].put - put)))
            nearest = k;
    }
    return nearest;
}

Advice WithMove(Advice advice, int put, bool fold, bool *exact)
{
    bool same = true;
    int chosen = OptionIndex(advice.options, put, fold);
    if (chosen < 0 && fold) {
        Option option;
        option.kind = OptionKind::Fold;
        option.samples = advice.options.empty() ? 0 : advice.options.front().samples;
        advice.options.insert(advice.options.begin(), option);
        // The covariance and the typical player's values stay one to one with the options.
        const size_t n = advice.options.size() - 1;
        if (advice.covariance.size() == n * n) {
            std::vector<double> wider((n + 1) * (n + 1), 0.0);
            for (size_t i = 0; i < n; ++i)
                for (size_t j = 0; j < n; ++j)
                    wider[(i + 1) * (n + 1) + j + 1] = advice.covariance[i * n + j];
            advice.covariance = std::move(wider);
        }
        if (!advice.standard.empty()) {
            advice.standard.insert(advice.standard.begin(), option);
            advice.standardBest += advice.standardBest >= 0 ? 1 : 0;
        }
        chosen = 0;
    } else if (chosen < 0) {
        same = false;
        chosen = TakenOption(advice.options, put, fold);
    }
    advice.chosen = chosen;
    Settle(advice);
    if (exact)
        *exact = same && chosen >= 0;
    return advice;
}

namespace {

// The options after which only the cards decide, each counted out once: an all in nobody can
// answer with a raise, or a bet that one opponent calls or folds to end the betting.
std::vector<Counted> CountedOptions(const std::vector<Option> &options, const PlayState &start,
                                    int seat, const PlayOutSetup &setup,
                                    const std::vector<HandWeights> &ranges, std::uint64_t base)
{
    const int chipsNow = start.table.m_stack[seat];
    std::vector<Counted> counted(options.size());
    for (size_t k = 0; k < options.size(); ++k) {
        const Option &option = options[k];
        if (option.kind == OptionKind::Fold)
            continue; // a fold's value is nothing more nor less than what it leaves behind
        PlayState after;
        after.CopyBetting(start);
        after.Act(option.put, false);
        const std::uint64_t countSeed = base ^ (0x51EDULL * (k + 1));
        AllInValue value;
        if (NoMoreBetting(after)) {
            value = ValueAllIn(after, seat, chipsNow, setup.samplers, ranges, countSeed);
        } else {
            // One opponent left to call or fold, and its answer ends the betting.
            PlayState next;
            next.CopyBetting(after);
            const int street = next.street;
            if (next.NextToAct([](int) { return false; }) < 0 || next.street != street ||
                !ValueCallOrFold(next, seat, chipsNow, ranges, *setup.odds, countSeed, value))
                continue;
        }
        counted[k] = {true, value.chips, value.error};
    }
    return counted;
}

// One deal of the cards not known to the seat: every other active seat's hand from its
// sampler, then the rest of the board, all from `rng`.
void Deal(const CGameTable &t, int seat, std::uint64_t known, const PlayOutSetup &setup,
          std::uint64_t &rng, int (&cards)[kTableCards])
{
    std::uint64_t used = known;
    std::fill(std::begin(cards), std::end(cards), -1);
    cards[2 * seat] = t.m_cards[2 * seat];
    cards[2 * seat + 1] = t.m_cards[2 * seat + 1];
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (s == seat || !t.IsActive(s))
            continue;
        const auto [a, b] = setup.samplers[static_cast<size_t>(s)].Draw(rng, used);
        cards[2 * s] = a;
        cards[2 * s + 1] = b;
        used |= (1ULL << a) | (1ULL << b);
    }
    for (int i = 0; i < 5; ++i) {
        if (i < t.m_boardCount) {
            cards[kBoardFirst + i] = t.m_cards[kBoardFirst + i];
            continue;
        }
        int card;
        do
            card = static_cast<int>(NextRandom(rng) % 52);
        while (used & (1ULL << card));
        cards[kBoardFirst + i] = card;
        used |= 1ULL << card;
    }
}

// Whether a review's play-outs may stop after `played` of them: once the move's grade is sure,
// looking at it (as the review will grade it: a fold where a check was free included) only as
// the play-outs double, since every look is another chance for noise to pass for a sure grade;
// else at the limit.
bool GradeSettled(Advice &advice, const AdviseSettings &settings, int played,
                  const std::function<void()> &fill)
{
    const unsigned multiple = static_cast<unsigned>(played / settings.samplesPerOption);
    if (played >= settings.maxSamplesPerOption || played % settings.samplesPerOption != 0 ||
        !std::has_single_bit(multiple))
        return played >= settings.maxSamplesPerOption;
    fill();
    const Advice probe = WithMove(advice, settings.takenPut, settings.takenFold);
    // The first looks ask for a wider margin: a few hundred play-outs may not yet have met the
    // rare big pots that make their error, and a grade settled on them would differ from seed
    // to seed.
    const double errors = multiple == 1   ? kSureErrors + 1.0
                          : multiple == 2 ? kSureErrors + 0.5
                                          : kSureErrors;
    return probe.chosen < 0 || GradeSure(probe, errors);
}

} // namespace

Advice Advise(const HandSoFar &hand, const AdviseSettings &settings,
              const std::function<bool(const Advice &)> &refined)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point started = Clock::now();
    Advice advice;
    advice.final = true;
    PlayState start;
    std::string error;
    if (!Rebuild(hand, start, error))
        return advice;
    const int seat = hand.seat;
    const CGameTable &t = start.table;
    const int own[2] = {t.m_cards[2 * seat], t.m_cards[2 * seat + 1]};
    if (own[0] < 0 || own[0] > 51 || own[1] < 0 || own[1] > 51 || own[0] == own[1])
        return advice;
    advice.options = LegalOptions(t, seat);
    if (advice.options.empty())
        return advice;

    const std::vector<HandWeights> ranges =
        settings.ranges ? settings.ranges(hand) : SeatRanges(hand);
    PlayOutSetup setup;
    setup.samplers = SamplersOf(ranges);
    const std::uint64_t base = settings.seed ? *settings.seed : std::random_device{}();
    const std::unique_ptr<IDecisionOdds> odds =
        settings.odds ? settings.odds(base) : DefaultOdds(base);
    setup.odds = odds.get();

    std::uint64_t known = (1ULL << own[0]) | (1ULL << own[1]);
    for (int i = 0; i < t.m_boardCount; ++i)
        known |= 1ULL << t.m_cards[kBoardFirst + i];
    const std::vector<Counted> counted =
        CountedOptions(advice.options, start, seat, setup, ranges, base);
    const bool sequential = settings.takenPut >= 0 &&
                            settings.maxSamplesPerOption > settings.samplesPerOption &&
                            settings.samplesPerOption > 0;

    const double luckMean = ShowdownShare(t, seat, setup.samplers, ranges, base ^ 0x1DC4ULL);
    PlayState work = start;
    Tallies tallies(advice.options.size());
    const auto fill = [&] { Fill(advice, tallies, counted, t.m_bigBlind, luckMean); };
    std::vector<double> values(advice.options.size(), 0.0);
    bool answered = false;
    Clock::time_point lastAnswer = started;
    std::uint64_t seeds = base;
    // Without any limit and nobody to stop it, the work ends at the usual time.
    const int maxMillis = settings.maxMillis > 0 || settings.samplesPerOption > 0 || refined
                              ? settings.maxMillis
                              : AdviseSettings{}.maxMillis;
    for (int played = 1;; ++played) {
        // One deal for every option: the options differ only by what they do with it.
        std::uint64_t rng = NextRandom(seeds);
        int cards[kTableCards];
        Deal(t, seat, known, setup, rng, cards);
        const std::uint64_t playSeed = NextRandom(rng);
        for (size_t k = 0; k < advice.options.size(); ++k) {
            const Option &option = advice.options[k];
            double value = 0.0;
            if (option.kind != OptionKind::Fold && !counted[k].counted)
                value = PlayOut(start, work, seat, option.put, false, cards, setup, playSeed);
            values[k] = value;
        }
        tallies.Add(values, DealShare(t, seat, cards));

        const Clock::time_point now = Clock::now();
        const long long elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - started).count();
        bool enough = settings.samplesPerOption > 0 && played >= settings.samplesPerOption;
        if (enough && sequential)
            enough = GradeSettled(advice, settings, played, fill);
        const bool late = maxMillis > 0 && elapsed >= maxMillis;
        if (enough || late)
            break;
        const bool due =
            !answered
                ? elapsed >= settings.firstAnswerMillis
                : std::chrono::duration_cast<std::chrono::milliseconds>(now - lastAnswer).count() >=
                      kRefineMillis;
        if (due && refined) {
            fill();
            advice.valid = true;
            advice.final = false;
            answered = true;
            lastAnswer = now;
            if (!refined(advice))
                break;
        }
    }
    fill();
    advice.valid = true;
    advice.final = true;
    return advice;
}

void AddStandard(const HandSoFar &hand, AdviseSettings settings, Advice &advice)
{
    if (!advice.valid || hand.seat < 0 || hand.seat >= 10)
        return;
    bool folded[brisquel::kMaxSeats] = {};
    for (const PastDecision &d : hand.decisions)
        if (d.seat >= 0 && d.seat < 10 && d.fold)
            folded[d.seat] = true;
    std::string names;
    HandSoFar typical = hand;
    for (int s = 0; s < hand.seatCount && s < 10; ++s) {
        const SeatSoFar &seat = hand.seats[s];
        if (s == hand.seat)
            continue;
        const bool computer = seat.persona >= kFirstBotPersona && seat.persona <= kLastBotPersona;
        if (computer && seat.inHand && !folded[s])
            names += (names.empty() ? "" : ", ") + seat.name;
        typical.seats[s].persona = kPersonaNone;
    }
    if (names.empty())
        return;
    settings.maxSamplesPerOption = 0;
    settings.takenPut = -1;
    settings.ranges = {};
    const Advice standard = Advise(typical, settings);
    if (!standard.valid || standard.options.size() != advice.options.size())
        return;
    advice.standard = standard.options;
    advice.standardBest = standard.best;
    advice.exploited = names;
}

} // namespace playout
