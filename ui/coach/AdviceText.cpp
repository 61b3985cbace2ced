#include "ui/coach/AdviceText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>

namespace coachui {

std::string SignedBb(double bb)
{
    char number[32];
    std::snprintf(number, sizeof number, "%.1f", std::abs(bb));
    const bool nothing = std::string(number) == "0.0";
    return (nothing ? "" : bb < 0 ? "\u2212" : "+") + std::string(number) + " bb";
}

std::string PaneAdviceLine(const playout::Advice &advice, int put, bool exact)
{
    const int count = static_cast<int>(advice.options.size());
    if (!advice.valid || advice.best < 0 || advice.chosen < 0 || advice.chosen >= count)
        return {};
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (a == advice.best || b == advice.best)
            return a == advice.best && b != advice.best;
        return advice.options[static_cast<size_t>(a)].evBb >
               advice.options[static_cast<size_t>(b)].evBb;
    });
    std::string line = "  options: ";
    for (size_t k = 0; k < order.size(); ++k) {
        const playout::Option &o = advice.options[static_cast<size_t>(order[k])];
        if (k > 0)
            line += " \u00b7 ";
        line += playout::OptionLabel(o) + " " + SignedBb(o.evBb);
        if (order[k] == advice.best)
            line += " (best)";
    }
    const playout::Option &option = advice.options[static_cast<size_t>(advice.chosen)];
    const std::string chosen = playout::OptionLabel(option);
    std::string moveLabel = chosen;
    if (!exact) {
        playout::Option made = option;
        const bool facingBet =
            std::any_of(advice.options.begin(), advice.options.end(), [](const playout::Option &o) {
                return o.kind == playout::OptionKind::Call;
            });
        made.kind = facingBet ? playout::OptionKind::Raise : playout::OptionKind::Bet;
        made.total = option.total - option.put + put;
        moveLabel = playout::OptionLabel(made);
    }
    line += "; you: " + (exact ? chosen : moveLabel + " \u2248 " + chosen) + ", " +
            playout::GradeText(advice);
    const std::string loss = SignedBb(-advice.lossBb);
    if (loss != "0.0 bb")
        line += " (" + loss + ")";
    return line;
}

} // namespace coachui
