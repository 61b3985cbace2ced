#include "pokerlib/Evaluator.h"
#include "pokerlib/CardCodes.h"
#include "pokerlib/HandValue.h"

#include <algorithm>

namespace brisquel {

namespace {

constexpr int kMaxCards = 7;
constexpr std::uint32_t kRowSize = 1u << EvalTables::kRowShift;

// The low bits of a key sum pick the row, the high bits the column: the low bits mix all
// ranks and so spread the rows evenly, which lets them interleave tightly.
std::uint32_t RowOf(std::uint32_t key)
{
    return key & (kRowSize - 1);
}
std::uint32_t ColumnOf(std::uint32_t key)
{
    return key >> EvalTables::kRowShift;
}

struct RankEntry
{
    std::uint32_t key;
    std::uint32_t natural;
};

// Every rank multiset of at most seven cards, with its sum of keys and its non-flush value.
void CollectMultisets(int rank, int cards, int counts[13], std::uint32_t key,
                      std::vector<RankEntry> &out)
{
    if (rank == 13) {
        if (cards != kMaxCards)
            return;
        const unsigned noSuits[4] = {};
        out.push_back({key, EvaluateCounts(counts, noSuits)});
        return;
    }
    for (int c = 0; c <= 4 && cards + c <= kMaxCards; ++c) {
        counts[rank] = c;
        CollectMultisets(rank + 1, cards + c, counts, key + c * EvalTables::kRankKeys[rank], out);
    }
    counts[rank] = 0;
}

// Table size that offsets give, or 0 when two entries would share a slot.
std::uint32_t Placement(const std::vector<RankEntry> &entries,
                        const std::vector<std::uint32_t> &offsets)
{
    std::vector<std::uint8_t> taken;
    std::uint32_t size = 0;
    for (const auto &e : entries) {
        const std::uint32_t slot = offsets[RowOf(e.key)] + ColumnOf(e.key);
        if (slot >= taken.size())
            taken.resize(slot + 1 + kRowSize, 0);
        if (taken[slot])
            return 0;
        taken[slot] = 1;
        size = std::max(size, slot + 1);
    }
    return size;
}

// Row displacement: rows with most entries first, each at the lowest offset where all of its
// entries land on free slots. Takes seconds, hence the stored result.
std::vector<std::uint32_t> SearchOffsets(const std::vector<RankEntry> &entries)
{
    std::uint32_t maxKey = 0;
    for (const auto &e : entries)
        maxKey = std::max(maxKey, e.key);
    const std::uint32_t columns = ColumnOf(maxKey) + 1;
    std::vector<std::vector<std::uint32_t>> rowColumns(kRowSize);
    for (const auto &e : entries)
        rowColumns[RowOf(e.key)].push_back(ColumnOf(e.key));
    std::vector<std::uint32_t> order(kRowSize);
    for (std::uint32_t r = 0; r < kRowSize; ++r)
        order[r] = r;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return rowColumns[a].size() > rowColumns[b].size();
    });

    std::vector<std::uint8_t> taken;
    std::vector<std::uint32_t> offsets(kRowSize, 0);
    std::uint32_t firstFree = 0;
    for (const std::uint32_t row : order) {
        const auto &cols = rowColumns[row];
        if (cols.empty())
            break;
        const std::uint32_t lowest = *std::min_element(cols.begin(), cols.end());
        std::uint32_t offset = firstFree > lowest ? firstFree - lowest : 0;
        for (;; ++offset) {
            if (taken.size() < offset + columns)
                taken.resize(offset + columns, 0);
            bool fits = true;
            for (const auto c : cols)
                if (taken[offset + c]) {
                    fits = false;
                    break;
                }
            if (fits)
                break;
        }
        offsets[row] = offset;
        for (const auto c : cols)
            taken[offset + c] = 1;
        while (firstFree < taken.size() && taken[firstFree])
            ++firstFree;
    }
    return offsets;
}

// A value waiting for its compact form, and where that goes: a slot of the rank table, or a
// flush mask marked by kFlushSlot.
struct Pending
{
    std::uint32_t natural;
    std::uint32_t slot;
};
constexpr std::uint32_t kFlushSlot = 1u << 31;

// Least significant byte first, three passes: natural values stay below 2^24.
void SortByNatural(std::vector<Pending> &items)
{
    std::vector<Pending> buffer(items.size());
    for (int shift = 0; shift < 24; shift += 8) {
        std::uint32_t starts[257] = {};
        for (const Pending &p : items)
            ++starts[((p.natural >> shift) & 0xFF) + 1];
        for (int i = 1; i < 257; ++i)
            starts[i] += starts[i - 1];
        for (const Pending &p : items)
            buffer[starts[(p.natural >> shift) & 0xFF]++] = p;
        items.swap(buffer);
    }
}

} // namespace

EvalTables BuildEvalTables()
{
    EvalTables t;
    for (int c = 0; c < 52; ++c) {
        const int suit = brisquel::SuitOf(c), rank = brisquel::RankOf(c);
        t.cards[c].key = EvalTables::kRankKeys[rank] | (1ull << (32 + 4 * suit));
        t.cards[c].mask = 1ull << (16 * suit + rank);
        t.cardKeys[c] = t.cards[c].key;
    }

    std::vector<RankEntry> entries;
    entries.reserve(80000);
    int counts[13] = {};
    CollectMultisets(0, 0, counts, 0, entries);

    std::vector<std::uint32_t> flushNatural(1u << 13);
    for (unsigned m = 0; m < (1u << 13); ++m) {
        int fc[13] = {};
        for (int r = 0; r < 13; ++r)
            fc[r] = (m >> r) & 1;
        const unsigned suits[4] = {m, 0, 0, 0};
        flushNatural[m] = EvaluateCounts(fc, suits);
    }

    // Offsets stored in the source; searched afresh only if they stopped fitting the keys.
    std::vector<std::uint32_t> offsets(kStoredRowOffsets, kStoredRowOffsets + kRowSize);
    std::uint32_t size = Placement(entries, offsets);
    if (size == 0) {
        offsets = SearchOffsets(entries);
        size = Placement(entries, offsets);
    }
    t.rowOffsets = offsets;
    t.rankValues.assign(size, 0);
    t.flushValues.resize(flushNatural.size());

    // Compact values: the rank of each natural value among all that occur, flush masks of
    // fewer than five cards included. A radix sort orders the values in linear time.
    std::vector<Pending> pending;
    pending.reserve(entries.size() + flushNatural.size());
    for (const auto &e : entries)
        pending.push_back({e.natural, offsets[RowOf(e.key)] + ColumnOf(e.key)});
    for (std::uint32_t m = 0; m < flushNatural.size(); ++m)
        pending.push_back({flushNatural[m], kFlushSlot | m});
    SortByNatural(pending);
    t.natural.reserve(8192);
    t.natural.push_back(0); // compact 0 is no hand, even where a natural value is 0
    for (const Pending &p : pending) {
        if (t.natural.size() == 1 || p.natural != t.natural.back())
            t.natural.push_back(p.natural);
        const auto compact = std::uint16_t(t.natural.size() - 1);
        if (p.slot & kFlushSlot)
            t.flushValues[p.slot & ~kFlushSlot] = compact;
        else
            t.rankValues[p.slot] = compact;
    }
    t.natural.shrink_to_fit();
    return t;
}

std::size_t EvalTables::Bytes() const
{
    return rankValues.size() * sizeof(std::uint16_t) + rowOffsets.size() * sizeof(std::uint32_t) +
           flushValues.size() * sizeof(std::uint16_t) + natural.size() * sizeof(std::uint32_t) +
           sizeof(cards) + sizeof(cardKeys);
}

std::vector<std::uint32_t> SearchRowOffsets()
{
    std::vector<RankEntry> entries;
    int counts[13] = {};
    CollectMultisets(0, 0, counts, 0, entries);
    return SearchOffsets(entries);
}

} // namespace brisquel
