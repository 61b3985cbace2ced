// The range parser on any text: a range it accepts holds each of the 1326 combinations at most
// once; one it refuses says why.
#include "pokerlib/RangeNotation.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    brisquel::ComboList combos;
    std::string error;
    if (!brisquel::ParseRange(text, combos, error)) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    std::set<std::pair<int, int>> seen;
    for (const auto &combo : combos) {
        if (combo.first < 0 || combo.first >= 52 || combo.second < 0 || combo.second >= 52 ||
            combo.first == combo.second || !seen.insert(combo).second)
            __builtin_trap();
    }
    if (combos.size() > 1326)
        __builtin_trap();
    return 0;
}
