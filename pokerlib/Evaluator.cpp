#include "Evaluator.h"
#include "HandValue.h"

#include <bit>

namespace brisquel {

std::uint32_t Evaluate(const Hand &hand)
{
    int counts[13] = {};
    unsigned suits[4];
    for (int s = 0; s < 4; ++s) {
        suits[s] = unsigned(hand.mask >> (16 * s)) & 0x1FFF;
        for (unsigned m = suits[s]; m; m &= m - 1)
            ++counts[std::countr_zero(m)];
    }
    return EvaluateCounts(counts, suits);
}

} // namespace brisquel
