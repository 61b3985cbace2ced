#include "coach/Coach.h"

#include "playout/HandSim.h"
#include "pokerlib/Evaluator.h"
#include "pokerlib/PotSplit.h"
#include "pokerlib/Rng.h"
#include "pokerlib/Sampler.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace coach {

namespace {

// Tries at drawing a combination of a range that misses the cards already out, before the
// opponent is given a random hand instead (a range nearly used up by known cards).
constexpr int kRangeDrawAttempts = 64;

// Shares compared in hundredths of a point, so that exactly 5 points apart counts as 5 points
// (0.30 - 0.25 is 0.04999999999999999 in doubles); the estimates are far coarser than that.
long Hundredths(double share)
{
    return std::lround(share * 10000.0);
}

// "−" (U+2212): the pane shows chips lost with a real minus sign.
const char kMinus[] = "\xE2\x88\x92";
const char kDot[] = "\xC2\xB7";

bool CardsUsable(const DecisionPoint &point, std::uint64_t &known)
{
    known = 0;
    if (point.board.size() > 5)
        return false;
    std::vector<int> cards(point.hole.begin(), point.hole.end());
    cards.insert(cards.end(), point.board.begin(), point.board.end());
    for (int c : cards) {
        if (c < 0 || c > 51 || (known >> c & 1))
            return false;
        known |= 1ull << c;
    }
    return true;
}

std::vector<std::pair<int, int>> Unordered(const std::set<std::pair<int, int>> &pairs)
{
    std::vector<std::pair<int, int>> out;
    for (const auto &[a, b] : pairs) {
        if (a < b)
            out.emplace_back(a, b);
        else if (b < a && !pairs.count({b, a}))
            out.emplace_back(b, a);
    }
    return out;
}

// One pot the player contests: its chips, and which opponents may win it (a bit each).
struct Layer
{
    long long chips = 0;
    std::uint64_t opponents = ~0ull;
};

bool ContributionsKnown(const DecisionPoint &point)
{
    long sum = point.committed;
    for (const Opponent &opponent : point.opponents)
        sum += opponent.committed;
    for (int chips : point.dead)
        sum += chips;
    return sum > 0 && sum == point.pot;
}

// The pots the player may win, the call included; an opponent with chips behind can match
// any of them. Without the seats' contributions, one pot of everything that every opponent
// contests.
std::vector<Layer> Layers(const DecisionPoint &point)
{
    if (!ContributionsKnown(point))
        return {Layer{point.pot + point.toCall}};
    std::vector<long long> put{point.committed + point.toCall}, reach{put.front()};
    for (const Opponent &opponent : point.opponents) {
        put.push_back(opponent.committed);
        reach.push_back(opponent.stack <= 0 ? opponent.committed : LLONG_MAX);
    }
    for (int chips : point.dead) {
        put.push_back(chips);
        reach.push_back(0);
    }
    std::vector<Layer> layers;
    for (const brisquel::Pot &pot : brisquel::CutPots(put, reach)) {
        if (pot.eligible.empty() || pot.eligible.front() != 0)
            continue;
        Layer layer{pot.chips, 0};
        for (int seat : pot.eligible)
            if (seat > 0)
                layer.opponents |= 1ull << (seat - 1);
        layers.push_back(layer);
    }
    return layers;
}

int Percent(double share)
{
    return static_cast<int>(std::lround(share * 100.0));
}

std::string Signed(double chips)
{
    const long rounded = std::lround(chips);
    if (rounded < 0)
        return kMinus + std::to_string(-rounded);
    return "+" + std::to_string(rounded);
}

} // namespace

int WinnablePot(const DecisionPoint &point)
{
    int chips = -point.toCall;
    for (const Layer &layer : Layers(point))
        chips += static_cast<int>(layer.chips);
    return chips;
}

Price PriceOf(int pot, int toCall)
{
    Price price;
    if (toCall > 0 && pot + toCall > 0) {
        price.needed = static_cast<double>(toCall) / (pot + toCall);
        price.potOdds = static_cast<double>(pot) / toCall;
    }
    return price;
}

std::string PotOddsText(const Price &price)
{
    if (price.potOdds <= 0.0)
        return "-";
    const double tenths = std::round(price.potOdds * 10.0) / 10.0;
    char text[32];
    if (std::fabs(tenths - std::round(tenths)) < 1e-9)
        std::snprintf(text, sizeof text, "%.0f:1", tenths);
    else
        std::snprintf(text, sizeof text, "%.1f:1", tenths);
    return text;
}

RangeSource ChooseRange(const Opponent &opponent, double &percent)
{
    if (opponent.hands >= kMinHandsForStats && opponent.preflop != PreflopMove::None) {
        const bool raised = opponent.preflop == PreflopMove::Raised;
        percent =
            std::clamp(100.0 * (raised ? opponent.pfr : opponent.vpip), kMinRangePercent, 100.0);
        return raised ? RangeSource::Pfr : RangeSource::Vpip;
    }
    static const double kPositionPercents[3] = {kEarlyRangePercent, 27.0, 40.0};
    percent = kPositionPercents[std::clamp(opponent.positionClass, 0, 2)];
    return RangeSource::Position;
}

Estimator::Estimator(int trials, std::optional<std::uint64_t> seed)
    : m_trials(std::max(1, trials))
{
    brisquel::SeedXoshiro(m_rng, seed ? *seed : brisquel::NextLibrarySeed());
    m_spectrum.Init();
    StrategyRanges ranges;
    ranges.MakeSrategyRanges();
    Spec early;
    std::wstring text;
    m_spectrum.GetSpecByPercent(kEarlyRangePercent, early, text, 0);
    m_positionRanges[0] = early.combos;
    m_positionRanges[1] = Unordered(ranges.m_sets[1]);
    m_positionRanges[2] = Unordered(ranges.m_sets[0]);
}

const std::vector<std::pair<int, int>> &Estimator::RangeFor(const Opponent &opponent)
{
    double percent = 0.0;
    if (ChooseRange(opponent, percent) == RangeSource::Position)
        return m_positionRanges[std::clamp(opponent.positionClass, 0, 2)];
    const long key = std::lround(percent * 10.0);
    auto found = m_percentRanges.find(key);
    if (found == m_percentRanges.end()) {
        Spec spec;
        std::wstring text;
        m_spectrum.GetSpecByPercent(key / 10.0, spec, text, 0);
        found = m_percentRanges.emplace(key, std::move(spec.combos)).first;
    }
    return found->second;
}

Estimate Estimator::Evaluate(const DecisionPoint &point)
{
    Estimate estimate;
    std::uint64_t known = 0;
    if (!CardsUsable(point, known))
        return estimate;
    estimate.valid = true;
    // One price from the single equity figure: the call against everything the player can
    // win; the expected value below weighs each layer by the hands eligible for it.
    estimate.price = PriceOf(WinnablePot(point), point.toCall);
    const int opponents = static_cast<int>(point.opponents.size());
    if (opponents == 0) {
        estimate.random = estimate.range = Equity{1.0, 0.0};
        estimate.evCall = WinnablePot(point);
    } else {
        int board[5] = {};
        std::copy(point.board.begin(), point.board.end(), board);
        const int hole[2] = {point.hole[0], point.hole[1]};
        const double p = brisquel::EquityVsRandom(
            m_rng, hole, board, static_cast<int>(point.board.size()), opponents + 1, m_trials);
        // Ties make the true spread smaller: this is an upper bound.
        estimate.random = Equity{p, std::sqrt(p * (1.0 - p) / m_trials)};
        RangeEquity(point, estimate);
    }
    return estimate;
}

namespace {

int RandomCard(std::uint64_t rng[4], std::uint64_t &dead)
{
    for (;;) {
        const int c = static_cast<int>(brisquel::UniformBelow(rng, 52));
        if (!(dead >> c & 1)) {
            dead |= 1ull << c;
            return c;
        }
    }
}

// A hand of `range` clear of the cards out, else (no range, or none found in a few draws) two
// random cards; its cards are out after it.
brisquel::Hand RangeHand(const brisquel::EvalTables &tables,
                         const std::vector<std::pair<int, int>> &range, std::uint64_t rng[4],
                         std::uint64_t &dead)
{
    int a = -1, b = -1;
    for (int attempt = 0; attempt < kRangeDrawAttempts && !range.empty(); ++attempt) {
        const auto &combo = range[brisquel::UniformBelow(rng, range.size())];
        if (!(dead >> combo.first & 1) && !(dead >> combo.second & 1)) {
            a = combo.first;
            b = combo.second;
            dead |= (1ull << a) | (1ull << b);
            break;
        }
    }
    if (a < 0) {
        a = RandomCard(rng, dead);
        b = RandomCard(rng, dead);
    }
    return brisquel::CardHand(tables, a) + brisquel::CardHand(tables, b);
}

// The share of a pot against the opponents eligible for it (bit i: opponent i).
template <typename Value>
double ShareOf(const std::vector<Value> &theirs, Value mine, std::uint64_t opponents)
{
    int tied = 1;
    for (size_t i = 0; i < theirs.size(); ++i) {
        if (!(opponents >> i & 1))
            continue;
        if (theirs[i] > mine)
            return 0.0;
        tied += theirs[i] == mine ? 1 : 0;
    }
    return 1.0 / tied;
}

} // namespace

void Estimator::RangeEquity(const DecisionPoint &point, Estimate &estimate)
{
    const brisquel::EvalTables &tables = brisquel::Tables();
    std::uint64_t known = 0;
    CardsUsable(point, known);
    std::vector<const std::vector<std::pair<int, int>> *> ranges;
    std::vector<std::optional<playout::ComboSampler>> weighted;
    for (const Opponent &opponent : point.opponents) {
        if (opponent.weights.size() == static_cast<size_t>(playout::kComboCount)) {
            ranges.push_back(nullptr);
            weighted.emplace_back(playout::HandWeights{opponent.seat, opponent.weights});
        } else {
            ranges.push_back(&RangeFor(opponent));
            weighted.emplace_back();
        }
    }
    // Drawn only when a weighted range needs it, so that ranges without weights keep the
    // estimate's stream (and its figures) as they were.
    const bool anyWeighted =
        std::any_of(weighted.begin(), weighted.end(), [](const auto &w) { return w.has_value(); });
    std::uint64_t weightedRng = anyWeighted ? brisquel::NextXoshiro(m_rng) : 0;
    const size_t count = ranges.size();
    std::vector<brisquel::Hand> hands(count);
    std::vector<decltype(brisquel::Evaluate(tables, hands[0]))> theirs(count);

    brisquel::Hand knownBoard;
    for (int c : point.board)
        knownBoard += brisquel::CardHand(tables, c);
    const int missing = 5 - static_cast<int>(point.board.size());
    const std::vector<Layer> layers = Layers(point);
    double sum = 0.0;
    double sumSquares = 0.0;
    double chipsSum = 0.0;
    double chipsSquares = 0.0;
    for (int trial = 0; trial < m_trials; ++trial) {
        std::uint64_t dead = known;
        for (size_t i = 0; i < count; ++i) {
            if (weighted[i]) {
                const auto [a, b] = weighted[i]->Draw(weightedRng, dead);
                dead |= (1ull << a) | (1ull << b);
                hands[i] = brisquel::CardHand(tables, a) + brisquel::CardHand(tables, b);
                continue;
            }
            hands[i] = RangeHand(tables, *ranges[i], m_rng, dead);
        }
        brisquel::Hand board = knownBoard;
        for (int k = 0; k < missing; ++k)
            board += brisquel::CardHand(tables, RandomCard(m_rng, dead));
        const auto mine =
            brisquel::Evaluate(tables, board + brisquel::CardHand(tables, point.hole[0]) +
                                           brisquel::CardHand(tables, point.hole[1]));
        for (size_t i = 0; i < count; ++i)
            theirs[i] = brisquel::Evaluate(tables, board + hands[i]);
        const auto shareOf = [&](std::uint64_t opponents) {
            return ShareOf(theirs, mine, opponents);
        };
        const double share = shareOf(~0ull);
        sum += share;
        sumSquares += share * share;
        double chips = -point.toCall;
        for (const Layer &layer : layers)
            chips += static_cast<double>(layer.chips) * shareOf(layer.opponents);
        chipsSum += chips;
        chipsSquares += chips * chips;
    }
    const auto meanAndError = [this](double total, double squares) {
        const double mean = total / m_trials;
        const double variance = std::max(0.0, squares / m_trials - mean * mean);
        return Equity{mean, std::sqrt(variance / m_trials)};
    };
    estimate.range = meanAndError(sum, sumSquares);
    const Equity ev = meanAndError(chipsSum, chipsSquares);
    estimate.evCall = ev.value;
    estimate.evCallError = ev.standardError;
}

void TakeRanges(DecisionPoint &point, const std::vector<playout::HandWeights> &ranges,
                const std::function<int(int)> &seatOf)
{
    for (Opponent &opponent : point.opponents) {
        const int seat = seatOf ? seatOf(opponent.seat) : opponent.seat;
        for (const playout::HandWeights &range : ranges)
            if (range.seat == seat)
                opponent.weights = range.weights;
    }
}

Verdict Judge(Move move, const Estimate &estimate)
{
    const double equity = estimate.range.value;
    const double needed = estimate.price.needed;
    switch (move) {
    case Move::Fold:
        return Hundredths(equity - needed) >= Hundredths(kVerdictMargin) ? Verdict::TooTight
                                                                         : Verdict::Ok;
    case Move::Call:
        return Hundredths(needed - equity) >= Hundredths(kVerdictMargin) ? Verdict::TooLoose
                                                                         : Verdict::Ok;
    case Move::Check:
        return Verdict::Ok;
    case Move::Bet:
    case Move::Raise:
        return Verdict::NotJudged;
    }
    return Verdict::NotJudged;
}

double ChipsLost(Move move, const Estimate &estimate)
{
    switch (Judge(move, estimate)) {
    case Verdict::TooTight:
        return std::max(0.0, estimate.evCall);
    case Verdict::TooLoose:
        return std::max(0.0, -estimate.evCall);
    default:
        return 0.0;
    }
}

const char *MoveName(Move move)
{
    static const char *const kNames[] = {"fold", "check", "call", "bet", "raise"};
    return kNames[static_cast<int>(move)];
}

const char *VerdictName(Verdict verdict)
{
    static const char *const kNames[] = {"ok", "too tight", "too loose", "-"};
    return kNames[static_cast<int>(verdict)];
}

std::string VerdictText(Verdict price, const playout::Advice &advice)
{
    return advice.grade != playout::Grade::NotGraded ? playout::GradeText(advice)
                                                     : VerdictName(price);
}

std::string PanelLine(const Estimate &estimate)
{
    if (!estimate.valid)
        return {};
    const std::string equity = "Equity " + std::to_string(Percent(estimate.range.value)) + " % ";
    if (estimate.price.needed <= 0.0)
        return equity + kDot + " nothing to call";
    return equity + kDot + " needs " + std::to_string(Percent(estimate.price.needed)) + " % (" +
           PotOddsText(estimate.price) + ")";
}

std::string PaneLine(const std::string &street, Move move, int amount, const DecisionPoint &point,
                     const Estimate &estimate, const playout::Advice &graded)
{
    const bool hasGrade = graded.grade != playout::Grade::NotGraded;
    const int equity = Percent(estimate.range.value);
    const int needed = Percent(estimate.price.needed);
    std::string line = "Coach: " + street + " " + MoveName(move);
    switch (move) {
    case Move::Fold:
        line += " to " + std::to_string(point.toCall);
        break;
    case Move::Call:
    case Move::Bet:
    case Move::Raise:
        line += " " + std::to_string(amount);
        break;
    case Move::Check:
        break;
    }
    line += " into " + std::to_string(point.pot) + ", equity " + std::to_string(equity) + " %";
    const std::string verdict = VerdictText(Judge(move, estimate), graded);
    if (move == Move::Bet || move == Move::Raise)
        return hasGrade ? line + ": " + verdict : line;
    if (move == Move::Check)
        return line + ": " + verdict;
    // The price explains a call or a fold; the verdict is the grade where there is one.
    const char *relation = equity < needed ? "<" : (equity > needed ? ">" : "=");
    // Chips against the other choice: a call's expected value, or what a fold gave up.
    const double worth = move == Move::Call ? estimate.evCall : -estimate.evCall;
    return line + " " + relation + " " + std::to_string(needed) + " % needed: " + verdict + " (" +
           Signed(worth) + ")";
}

} // namespace coach
