#include "playout/Advice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace playout {

int ComboIndex(int a, int b)
{
    if (a > b)
        std::swap(a, b);
    // Pairs (0,1) .. (0,51), (1,2) .. (1,51), ...: row a starts after the a rows before it.
    return a * 51 - a * (a - 1) / 2 + (b - a - 1);
}

std::pair<int, int> ComboCards(int index)
{
    // Read in the inner loops of the range tracker and the board tables: a table, not a search.
    static const auto table = [] {
        std::array<std::pair<std::uint8_t, std::uint8_t>, kComboCount> t{};
        int i = 0;
        for (int a = 0; a < 52; ++a)
            for (int b = a + 1; b < 52; ++b)
                t[std::size_t(i++)] = {std::uint8_t(a), std::uint8_t(b)};
        return t;
    }();
    const auto &cards = table[std::size_t(std::clamp(index, 0, kComboCount - 1))];
    return {cards.first, cards.second};
}

std::string OptionLabel(const Option &option)
{
    switch (option.kind) {
    case OptionKind::Fold:
        return "fold";
    case OptionKind::Check:
        return "check";
    case OptionKind::Call:
        return "call";
    case OptionKind::Bet:
        return "bet " + std::to_string(option.total);
    case OptionKind::Raise:
        return "raise to " + std::to_string(option.total);
    case OptionKind::AllIn:
        return "all in";
    }
    return {};
}

Grade GradeOf(double lossBb)
{
    if (lossBb <= kOkLossBb)
        return Grade::Ok;
    if (lossBb < kSmallMistakeBb)
        return Grade::SmallMistake;
    if (lossBb < kMistakeBb)
        return Grade::Mistake;
    return Grade::Blunder;
}

const char *GradeName(Grade grade)
{
    switch (grade) {
    case Grade::Ok:
        return "ok";
    case Grade::SmallMistake:
        return "small mistake";
    case Grade::Mistake:
        return "mistake";
    case Grade::Blunder:
        return "blunder";
    case Grade::NotGraded:
        break;
    }
    return "-";
}

namespace {

// The standard error of option k's value less option c's: from their covariance where the
// options were played on the same deals.
double DifferenceError(const Advice &advice, int k, int c)
{
    if (k == c)
        return 0.0;
    const size_t n = advice.options.size();
    if (advice.covariance.size() == n * n) {
        const auto cov = [&](int i, int j) { return advice.covariance[size_t(i) * n + size_t(j)]; };
        return std::sqrt(std::max(0.0, cov(k, k) + cov(c, c) - 2.0 * cov(k, c)));
    }
    const double a = advice.options[size_t(k)].errorBb;
    const double b = advice.options[size_t(c)].errorBb;
    return std::sqrt(a * a + b * b);
}

// The loss's bounds, `below` standard errors under it and `above` over it: the loss is the
// largest of the other options' leads over the chosen one, so its bounds are the largest of
// their bounds.
std::pair<double, double> LossBounds(const Advice &advice, double below, double above)
{
    const int n = static_cast<int>(advice.options.size());
    const int c = advice.chosen;
    const double chosenEv = advice.options[size_t(c)].evBb;
    double low = 0.0;
    double high = 0.0;
    for (int k = 0; k < n; ++k) {
        const double lead = advice.options[size_t(k)].evBb - chosenEv;
        const double error = DifferenceError(advice, k, c);
        low = std::max(low, lead - below * error);
        high = std::max(high, lead + above * error);
    }
    return {low, high};
}

} // namespace

bool GradeSure(const Advice &advice, double errors)
{
    if (advice.grade == Grade::NotGraded)
        return true;
    const auto [low, high] = LossBounds(advice, errors + kHarsherErrors - kSureErrors, errors);
    return GradeOf(low) == GradeOf(high);
}

void Settle(Advice &advice)
{
    advice.best = -1;
    for (int i = 0; i < static_cast<int>(advice.options.size()); ++i)
        if (advice.best < 0 || advice.options[i].evBb > advice.options[advice.best].evBb)
            advice.best = i;
    advice.lossBb = 0.0;
    advice.lossErrorBb = 0.0;
    advice.grade = Grade::NotGraded;
    advice.uncertain = false;
    if (advice.best < 0 || advice.chosen < 0 ||
        advice.chosen >= static_cast<int>(advice.options.size()))
        return;
    const int c = advice.chosen;
    advice.lossBb = advice.options[size_t(advice.best)].evBb - advice.options[size_t(c)].evBb;
    advice.lossErrorBb = DifferenceError(advice, advice.best, c);
    advice.grade = GradeOf(advice.lossBb);
    const auto [low, high] = LossBounds(advice, kHarsherErrors, kSureErrors);
    advice.uncertain = GradeOf(low) != GradeOf(high);
    // A loss not clear of a threshold gets the milder grade beside it, never more than one
    // grade below the estimate's: a harsher grade is given only when it is sure, and a loss
    // that sits on a threshold gets the same grade from every sample.
    if (advice.uncertain && advice.grade != Grade::Ok)
        advice.grade =
            std::max(GradeOf(low), static_cast<Grade>(static_cast<int>(advice.grade) - 1));
}

std::string GradeText(const Advice &advice)
{
    std::string text = GradeName(advice.grade);
    if (advice.grade != Grade::NotGraded && advice.uncertain)
        text += " (uncertain)";
    return text;
}

namespace {

// The best option against a typical player where it is not the best against the opponents'
// own code, by more than an ok loss; otherwise -1 (two answers worth the same are no exploit).
int ExploitedStandard(const Advice &advice)
{
    const int n = static_cast<int>(advice.options.size());
    if (!advice.valid || advice.best < 0 || advice.best >= n || advice.standardBest < 0 ||
        advice.standardBest >= n || advice.standardBest == advice.best)
        return -1;
    const double gain =
        advice.options[size_t(advice.best)].evBb - advice.options[size_t(advice.standardBest)].evBb;
    return gain > kOkLossBb ? advice.standardBest : -1;
}

} // namespace

std::string LiveLine(const Advice &advice)
{
    if (!advice.valid || advice.best < 0)
        return {};
    const Option &best = advice.options[advice.best];
    const int standard = ExploitedStandard(advice);
    // Two lines under the panel hold one name, not a full table's.
    const std::string whom = advice.exploited.find(',') == std::string::npos
                                 ? advice.exploited
                                 : std::string("these opponents");
    std::string line = (standard >= 0 ? "Best vs " + whom + ": " : "Best: ") + OptionLabel(best);
    for (int i = 0; i < static_cast<int>(advice.options.size()); ++i) {
        if (i == advice.best)
            continue;
        const double cost = best.evBb - advice.options[i].evBb;
        char number[32];
        std::snprintf(number, sizeof number, "%.1f", cost);
        // A cost that rounds to nothing carries no minus sign.
        const bool nothing = std::string(number) == "0.0";
        line += " \u00b7 " + OptionLabel(advice.options[i]) + (nothing ? " " : " \u2212") + number +
                " bb";
    }
    if (standard >= 0)
        line += " \u00b7 vs a typical player: " + OptionLabel(advice.options[size_t(standard)]);
    return line;
}

std::string ExploitLine(const Advice &advice)
{
    const int standard = ExploitedStandard(advice);
    if (standard < 0)
        return {};
    const Option &best = advice.options[size_t(advice.best)];
    char gain[32];
    std::snprintf(gain, sizeof gain, "%.1f", best.evBb - advice.options[size_t(standard)].evBb);
    return "Best vs " + advice.exploited + ": " + OptionLabel(best) + " +" + gain +
           " bb \u00b7 vs a typical player: " + OptionLabel(advice.options[size_t(standard)]);
}

} // namespace playout
