#pragma once
// The evaluator's tables as computed at build time, as arrays of fixed address: a look-up then
// needs no load of a table pointer first (as it does through EvalTables' vectors), and the
// compiler addresses the arrays directly. Same values as Tables(); read-only, any thread.

#include "pokerlib/Evaluator.h"

namespace brisquel {

namespace stored {
extern const std::uint16_t kRankValues[];
extern const std::uint32_t kRowOffsets[];
extern const std::uint16_t kFlushValues[];
extern const std::uint64_t kCards[]; // per card its key, then its rank mask
} // namespace stored

inline Hand StoredCard(int card)
{
    return Hand{stored::kCards[2 * card], stored::kCards[2 * card + 1]};
}

// The non-flush value of a sum of rank keys.
inline std::uint16_t StoredRankValue(std::uint32_t rankKey)
{
    return stored::kRankValues[stored::kRowOffsets[rankKey & ((1u << EvalTables::kRowShift) - 1)] +
                               (rankKey >> EvalTables::kRowShift)];
}

// A seven-card hand, as Evaluate does it.
inline std::uint16_t EvaluateStored(const Hand &hand)
{
    const std::uint32_t suitCounts = std::uint32_t(hand.key >> 32);
    const std::uint32_t flush = (suitCounts + 0x3333u) & 0x8888u;
    if (flush) [[unlikely]] {
        const int suit = std::countr_zero(flush) >> 2;
        return stored::kFlushValues[(hand.mask >> (16 * suit)) & 0x1FFF];
    }
    return StoredRankValue(std::uint32_t(hand.key));
}

} // namespace brisquel
