#pragma once
// The main pot and the side pots of a hand, and who takes what from each.
//
// The rule, as card rooms apply it: each pot goes to the best hand among the seats still in
// that put in enough to reach it; tied hands share it evenly and the chips that do not divide
// go one at a time to the tied winners in the order of play, starting from the first seat
// after the button. Chips nobody matched (the top contribution above the second highest) go
// back to their owner; chips of folded seats stay in the pot they reached.

#include <vector>

namespace brisquel {

struct Pot
{
    long long chips = 0;
    std::vector<int> eligible; // the seats still in that may win it, in seat order
};

// The pots from what each seat put in and how far each may win: `reach` is what a seat still
// in has put in (or will have, for a seat that can still match any bet), 0 for a seat that
// folded or is out; negative amounts count as none. Each level a seat still in reaches closes
// a pot, the main pot first; levels with the same seats in make one pot, and chips above the
// highest reach join the top pot. No pot when no seat is still in.
std::vector<Pot> CutPots(const std::vector<long long> &put, const std::vector<long long> &reach);

// Shares `chips` among `winners` (seats of a table of `seats`), the odd chips from the first
// seat after `button` on (in the winners' order without a table). The result is parallel to
// `winners`.
std::vector<long long> SharePot(long long chips, const std::vector<int> &winners, int button,
                                int seats);

// What each seat takes from the pots, by score (higher wins; 0 for a seat not in, folded or
// without a hand). Unmatched chips return first; when no seat has a score every seat takes
// back what it put in. The winnings add up to the contributions, to the chip.
std::vector<long long> SplitPots(const std::vector<long long> &put,
                                 const std::vector<unsigned> &scores, int button);

} // namespace brisquel
