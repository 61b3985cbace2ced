#include "practice/Sm2.h"

#include <algorithm>
#include <cmath>

namespace practice {

Sm2State Sm2Answer(const Sm2State &state, int quality)
{
    const int q = std::clamp(quality, 0, 5);
    Sm2State next = state;
    if (q < 3) {
        next.repetitions = 0;
        next.intervalDays = 1;
    } else {
        ++next.repetitions;
        next.intervalDays =
            next.repetitions == 1 ? 1
            : next.repetitions == 2
                ? 6
                // A fraction of a day is rounded up, as the algorithm says.
                : static_cast<int>(std::ceil(state.intervalDays * state.ease - 1e-9));
    }
    const int miss = 5 - q;
    next.ease = std::max(kLeastEase, state.ease + (0.1 - miss * (0.08 + miss * 0.02)));
    return next;
}

} // namespace practice
