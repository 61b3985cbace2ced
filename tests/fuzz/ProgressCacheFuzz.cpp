// The progress cache's reader on any text: an entry it accepts is within the bounds the
// window lays out (a path, a short reason, at most one all-in a hand, finite numbers); a
// text it cannot trust says so.
#include "progresscache/ProgressCache.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    bool sound = true;
    const std::vector<GameFigures> entries = ParseProgressCache(text, &sound);
    if (size == 0 && sound)
        __builtin_trap();
    for (const GameFigures &f : entries) {
        if (f.path.isEmpty() || f.path.size() > 4096 || f.problem.size() > 1000 || f.size < 0 ||
            f.modified < 0 || f.hands < 0 || f.allIns.size() > static_cast<size_t>(f.hands) ||
            (f.adjusted && !std::isfinite(*f.adjusted)) ||
            (f.evLossPer100 && !std::isfinite(*f.evLossPer100)))
            __builtin_trap();
        for (const AllInHand &a : f.allIns) {
            if (a.hand < 0 || !std::isfinite(a.delta))
                __builtin_trap();
        }
    }
    return 0;
}
