#pragma once
// Table evaluator for the hot paths. A hand is the sum of its cards' entries, so a shared
// board is summed once and each hole pair added to it; evaluation is one table read.
//
// key, low 32 bits: the sum of per-rank keys chosen so that every rank multiset of up to
// seven cards has its own sum (tools/find_rank_keys.cpp); a row-displacement perfect hash
// maps the sum into a packed table. key, high 32 bits: four-bit card counts per suit, which
// reveal a flush; the flush suit's 13-bit rank mask then indexes the flush table. With seven
// cards a flush excludes quads and full houses, so the flush table alone decides.
//
// Only seven-card hands are indexed: the samplers always hold seven cards, and five- or
// six-card sets go through HandValue.h. Values are compact (1 .. about 5,600, higher wins,
// equal only for equal hands); Natural() turns one into the readable form of HandValue.h. The
// tables are computed at build time, copied out on first use and read-only afterwards, safe to
// share between threads.

#include <bit>
#include <cstdint>
#include <vector>

namespace brisquel {

struct Hand
{
    std::uint64_t key = 0;
    std::uint64_t mask = 0; // bit 16 * suit + rank index per card

    Hand operator+(const Hand &o) const { return Hand{key + o.key, mask + o.mask}; }
    Hand &operator+=(const Hand &o)
    {
        key += o.key;
        mask += o.mask;
        return *this;
    }
};

class EvalTables
{
public:
    static constexpr int kRowShift = 12;
    static constexpr std::uint32_t kRankKeys[13] = {
        1, 5, 24, 112, 521, 2247, 9244, 30823, 103066, 250154, 667453, 1526359, 3453520};

    std::vector<std::uint16_t> rankValues;  // packed by the perfect hash
    std::vector<std::uint32_t> rowOffsets;  // per value of a key sum's low kRowShift bits
    std::vector<std::uint16_t> flushValues; // per 13-bit rank mask
    std::vector<std::uint32_t> natural;     // compact value -> HandValue.h form
    Hand cards[52];
    // The cards' keys alone, 8 bytes apart: summing from card integers is then one add per card.
    std::uint64_t cardKeys[52];

    std::size_t Bytes() const;
};

// Row offsets of the perfect hash as stored in RankHashOffsets.cpp, and the search that
// produces them (tools/make_hash_offsets.cpp).
extern const std::uint32_t kStoredRowOffsets[1u << EvalTables::kRowShift];
std::vector<std::uint32_t> SearchRowOffsets();

// Builds a fresh set of tables; tools/make_eval_tables.cpp stores the result at build time.
EvalTables BuildEvalTables();
// The tables as stored at build time (generated source in the build tree).
EvalTables StoredEvalTables();

// The stored tables, copied out on the first call.
const EvalTables &Tables();

inline Hand CardHand(const EvalTables &t, int card)
{
    return t.cards[card];
}

inline std::uint16_t Evaluate(const EvalTables &t, const Hand &hand)
{
    const std::uint32_t suitCounts = std::uint32_t(hand.key >> 32);
    // A count of five or more sets bit 3 of its nibble once three is added.
    const std::uint32_t flush = (suitCounts + 0x3333u) & 0x8888u;
    if (flush) {
        const int suit = std::countr_zero(flush) >> 2;
        return t.flushValues[(hand.mask >> (16 * suit)) & 0x1FFF];
    }
    const std::uint32_t rankKey = std::uint32_t(hand.key);
    return t.rankValues[t.rowOffsets[rankKey & ((1u << EvalTables::kRowShift) - 1)] +
                        (rankKey >> EvalTables::kRowShift)];
}

// Seven card integers (0..51, distinct). Only the keys are summed: the suit counts alone tell
// whether a flush is possible, and the rank masks are summed only then (about 3 % of hands).
inline std::uint16_t EvaluateCards7(const EvalTables &t, const int *cards)
{
    // Three in every suit count, so that a fifth card of one suit sets bit 3 of its nibble.
    std::uint64_t key = 0x3333ull << 32;
    for (int i = 0; i < 7; ++i)
        key += t.cardKeys[unsigned(cards[i])];
    const std::uint32_t flush = std::uint32_t(key >> 32) & 0x8888u;
    if (flush) [[unlikely]] {
        const int suit = std::countr_zero(flush) >> 2;
        std::uint64_t mask = 0;
        for (int i = 0; i < 7; ++i)
            mask |= t.cards[cards[i]].mask;
        return t.flushValues[(mask >> (16 * suit)) & 0x1FFF];
    }
    const std::uint32_t rankKey = std::uint32_t(key);
    return t.rankValues[t.rowOffsets[rankKey & ((1u << EvalTables::kRowShift) - 1)] +
                        (rankKey >> EvalTables::kRowShift)];
}

inline std::uint32_t Natural(const EvalTables &t, std::uint16_t value)
{
    return t.natural[value];
}

} // namespace brisquel
