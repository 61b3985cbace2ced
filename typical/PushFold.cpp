#include "typical/PushFold.h"

#include <cmath>
#include <cstdint>

namespace typical {

namespace {

struct ChartRow
{
    double stackBb;
    std::uint64_t jam[3]; // bit k of class k (PushFold.h), word k / 64
    std::uint64_t call[3];
};

constexpr ChartRow kChart[kChartStacks] = {
#include "typical/PushFoldChart.inc"
};

constexpr bool GridInOrder()
{
    for (int n = 0; n < kChartStacks; ++n)
        if (kChart[n].stackBb != kChartMinBb + n * kChartStepBb)
            return false;
    return kChart[kChartStacks - 1].stackBb == kChartMaxBb;
}
static_assert(GridInOrder(), "the chart's rows are the grid's stacks, in order");

const ChartRow &RowFor(double stackBb)
{
    // The nearest grid point at or below; NaN and short stacks take the first row.
    if (!(stackBb > kChartMinBb))
        return kChart[0];
    const int n = int(std::floor((stackBb - kChartMinBb) / kChartStepBb));
    return kChart[n < kChartStacks ? n : kChartStacks - 1];
}

bool Has(const std::uint64_t (&bits)[3], int card1, int card2)
{
    if (card1 < 0 || card1 > 51 || card2 < 0 || card2 > 51 || card1 == card2)
        return false;
    const int k = HandClassOf(card1, card2);
    return (bits[k / 64] >> (k % 64)) & 1;
}

double Share(const std::uint64_t (&bits)[3])
{
    int combos = 0;
    for (int k = 0; k < kHandClasses; ++k) {
        if (!((bits[k / 64] >> (k % 64)) & 1))
            continue;
        const int row = k / 13, column = k % 13;
        combos += row == column ? 6 : row > column ? 4 : 12;
    }
    return combos / 1326.0;
}

} // namespace

bool JamsHeadsUp(int card1, int card2, double stackBb)
{
    return Has(RowFor(stackBb).jam, card1, card2);
}

bool CallsHeadsUp(int card1, int card2, double stackBb)
{
    return Has(RowFor(stackBb).call, card1, card2);
}

double JamShare(double stackBb)
{
    return Share(RowFor(stackBb).jam);
}

double CallShare(double stackBb)
{
    return Share(RowFor(stackBb).call);
}

} // namespace typical
