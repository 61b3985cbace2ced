#include "pokerlib/HandValue.h"
#include "pokerlib/CardCodes.h"

#include <bit>

namespace brisquel {

namespace {

constexpr unsigned kWheelMask = 0x100F; // ace, five, four, three, deuce

int HighestRank(unsigned mask)
{
    return std::bit_width(mask) - 1;
}

// The count highest ranks of a mask packed into nibbles (fewer when the mask has fewer bits).
std::uint32_t TopRanks(unsigned mask, int count)
{
    std::uint32_t packed = 0;
    for (int taken = 0; taken < count && mask != 0; ++taken) {
        const int r = HighestRank(mask);
        packed |= std::uint32_t(r) << (16 - 4 * taken);
        mask &= ~(1u << r);
    }
    return packed;
}

std::uint32_t Make(HandCategory category, std::uint32_t nibbles)
{
    return (std::uint32_t(category) << kCategoryShift) | nibbles;
}

} // namespace

int StraightTop(unsigned rankMask)
{
    // Bit r survives when ranks r-4 .. r are all present.
    const unsigned runs =
        rankMask & (rankMask << 1) & (rankMask << 2) & (rankMask << 3) & (rankMask << 4) & 0x1FFFu;
    if (runs != 0)
        return HighestRank(runs);
    return (rankMask & kWheelMask) == kWheelMask ? 3 : -1;
}

// Baseline x86-64 has no popcnt instruction; a second copy uses it, picked once at load time
// on processors that have it. Not under the sanitizers, whose run-time is not ready yet when
// the loader picks the copy.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__POPCNT__) && !defined(__clang__) &&     \
    !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("popcnt", "default")))
#endif
std::uint32_t
EvaluateCounts(const int counts[13], const unsigned suitMasks[4])
{
    std::uint32_t best = 0;
    for (int s = 0; s < 4; ++s) {
        const unsigned mask = suitMasks[s];
        if (std::popcount(mask) < 5)
            continue;
        const int top = StraightTop(mask);
        const std::uint32_t v = top >= 0 ? Make(kStraightFlush, std::uint32_t(top) << 16)
                                         : Make(kFlush, TopRanks(mask, 5));
        if (v > best)
            best = v;
    }
    if (CategoryOf(best) == kStraightFlush)
        return best;

    unsigned present = 0;
    int quads = -1, trips[2] = {-1, -1}, pairs[3] = {-1, -1, -1};
    int tripCount = 0, pairCount = 0;
    for (int r = 12; r >= 0; --r) {
        const int c = counts[r];
        if (c > 0)
            present |= 1u << r;
        if (c >= 4 && quads < 0)
            quads = r;
        else if (c == 3 && tripCount < 2)
            trips[tripCount++] = r;
        else if (c == 2 && pairCount < 3)
            pairs[pairCount++] = r;
    }

    std::uint32_t v = 0;
    if (quads >= 0) {
        const unsigned rest = present & ~(1u << quads);
        v = Make(kQuads, (std::uint32_t(quads) << 16) | (TopRanks(rest, 1) >> 4));
    } else if (tripCount > 0 && (tripCount > 1 || pairCount > 0)) {
        int pair = pairs[0];
        if (tripCount > 1 && trips[1] > pair)
            pair = trips[1];
        v = Make(kFullHouse, (std::uint32_t(trips[0]) << 16) | (std::uint32_t(pair) << 12));
    } else if (best != 0) {
        return best; // flush beats everything below a full house
    } else if (const int top = StraightTop(present); top >= 0) {
        v = Make(kStraight, std::uint32_t(top) << 16);
    } else if (tripCount > 0) {
        const unsigned rest = present & ~(1u << trips[0]);
        v = Make(kTrips, (std::uint32_t(trips[0]) << 16) | (TopRanks(rest, 2) >> 4));
    } else if (pairCount >= 2) {
        const unsigned rest = present & ~(1u << pairs[0]) & ~(1u << pairs[1]);
        v = Make(kTwoPair, (std::uint32_t(pairs[0]) << 16) | (std::uint32_t(pairs[1]) << 12) |
                               (TopRanks(rest, 1) >> 8));
    } else if (pairCount == 1) {
        const unsigned rest = present & ~(1u << pairs[0]);
        v = Make(kOnePair, (std::uint32_t(pairs[0]) << 16) | (TopRanks(rest, 3) >> 4));
    } else {
        v = Make(kHighCard, TopRanks(present, 5));
    }
    return v > best ? v : best;
}

std::uint32_t EvaluateCards(const int *cards, int n)
{
    int counts[13] = {};
    unsigned suitMasks[4] = {};
    for (int i = 0; i < n; ++i) {
        const int c = cards[i];
        if (c < 0 || c > 51)
            continue;
        ++counts[brisquel::RankOf(c)];
        suitMasks[brisquel::SuitOf(c)] |= 1u << brisquel::RankOf(c);
    }
    return EvaluateCounts(counts, suitMasks);
}

} // namespace brisquel
