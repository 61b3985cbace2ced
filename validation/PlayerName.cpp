#include "validation/PlayerName.h"

#include "lineformat/GameLines.h"
#include "validation/PrintableText.h"

namespace {

// The hand-history reader ends a name at the first " (" of a seat line ("Seat 1: Ann_1 (1000 in
// chips)") and at the first " [ " of the "Dealt to Ann_0 [ Ah Kd ]" line, and takes every line
// that starts with the hand header's words for a header.
const char *const kCutters[] = {" (", " [ "};
using gamelines::kHandPrefix;

} // namespace

std::string PlayerNameProblem(const std::string &name)
{
    if (name.empty())
        return "is empty";
    int length = 0;
    bool control = false;
    for (std::size_t i = 0; i < name.size();) {
        char32_t code = 0;
        if (!NextCodePoint(name, i, code))
            return "is not UTF-8 text";
        control = control || IsControlCharacter(code);
        ++length;
    }
    if (control)
        return "contains a control character";
    if (length > kMaxPlayerNameLength)
        return "is longer than " + std::to_string(kMaxPlayerNameLength) + " characters";
    for (const char *cutter : kCutters) {
        if (name.find(cutter) != std::string::npos)
            return std::string("contains \"") + cutter +
                   "\", where the hand history could not be read back";
    }
    if (name.rfind(kHandPrefix, 0) == 0)
        return std::string("starts like a hand's header (\"") + kHandPrefix +
               "\"), so the hand history could not be read back";
    return {};
}
