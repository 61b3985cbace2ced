#include "pokerlib/PotSplit.h"

#include <algorithm>
#include <climits>

namespace brisquel {

std::vector<Pot> CutPots(const std::vector<long long> &put, const std::vector<long long> &reach)
{
    const size_t count = put.size();
    std::vector<long long> levels;
    for (long long r : reach)
        if (r > 0)
            levels.push_back(r);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    std::vector<Pot> pots;
    long long previous = 0;
    for (size_t l = 0; l < levels.size(); ++l) {
        // The top pot takes the chips nobody still in matched.
        const long long level = l + 1 < levels.size() ? levels[l] : LLONG_MAX;
        Pot pot;
        for (size_t s = 0; s < count; ++s) {
            pot.chips += std::clamp(std::max(put[s], 0LL), previous, level) - previous;
            if (s < reach.size() && reach[s] >= levels[l])
                pot.eligible.push_back(static_cast<int>(s));
        }
        previous = level;
        if (!pots.empty() && pot.eligible == pots.back().eligible)
            pots.back().chips += pot.chips;
        else
            pots.push_back(std::move(pot));
    }
    return pots;
}

std::vector<long long> SharePot(long long chips, const std::vector<int> &winners, int button,
                                int seats)
{
    if (winners.empty())
        return {};
    const auto k = static_cast<long long>(winners.size());
    std::vector<long long> shares(winners.size(), chips / k);
    // Distance of each winner from the button in the order of play: the seat after the
    // button is 0 steps, the button itself is the last. Without a table to go round, the
    // winners' own order.
    const int ring = std::max(seats, 1);
    std::vector<size_t> order(winners.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto steps = [&](int seat) { return ((seat - button - 1) % ring + ring) % ring; };
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return steps(winners[a]) < steps(winners[b]); });
    for (long long odd = 0; odd < chips % k; ++odd)
        ++shares[order[static_cast<size_t>(odd)]];
    return shares;
}

std::vector<long long> SplitPots(const std::vector<long long> &put,
                                 const std::vector<unsigned> &scores, int button)
{
    const size_t count = put.size();
    std::vector<long long> paid(count), won(count, 0), reach(count);
    for (size_t s = 0; s < count; ++s)
        paid[s] = std::max(put[s], 0LL);
    if (count == 0)
        return won;
    const auto top = static_cast<size_t>(std::max_element(paid.begin(), paid.end()) - paid.begin());
    long long second = 0;
    for (size_t s = 0; s < count; ++s)
        if (s != top)
            second = std::max(second, paid[s]);
    won[top] = paid[top] - second;
    paid[top] = second;
    for (size_t s = 0; s < count; ++s)
        reach[s] = s < scores.size() && scores[s] > 0 ? paid[s] : 0;

    const std::vector<Pot> pots = CutPots(paid, reach);
    if (pots.empty()) {
        for (size_t s = 0; s < count; ++s)
            won[s] += paid[s];
        return won;
    }
    const int seats = static_cast<int>(count);
    for (const Pot &pot : pots) {
        unsigned best = 0;
        for (int s : pot.eligible)
            best = std::max(best, scores[static_cast<size_t>(s)]);
        std::vector<int> winners;
        for (int s : pot.eligible)
            if (scores[static_cast<size_t>(s)] == best)
                winners.push_back(s);
        const std::vector<long long> shares = SharePot(pot.chips, winners, button, seats);
        for (size_t i = 0; i < winners.size(); ++i)
            won[static_cast<size_t>(winners[i])] += shares[i];
    }
    return won;
}

} // namespace brisquel
