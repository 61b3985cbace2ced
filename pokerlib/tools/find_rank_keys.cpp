// Searches the per-rank keys of the table evaluator: the smallest increasing keys such that
// the key sums of all rank multisets of at most seven cards (each rank at most four times)
// are distinct. Prints the keys and the largest sum.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

int main()
{
    constexpr int kMaxCards = 7;
    // sums[n] holds the key sums of the multisets of n cards over the ranks chosen so far.
    std::vector<std::vector<std::uint32_t>> sums(kMaxCards + 1);
    sums[0].push_back(0);
    std::vector<std::uint8_t> seen;
    std::uint8_t stamp = 0;
    std::uint32_t keys[13];
    std::uint32_t candidate = 0;
    for (int r = 0; r < 13; ++r) {
        for (;; ++candidate) {
            std::uint32_t maxSum = 0;
            for (int n = 0; n <= kMaxCards; ++n)
                for (auto s : sums[n])
                    if (s > maxSum)
                        maxSum = s;
            const std::uint64_t limit = std::uint64_t(maxSum) + 4ull * candidate + 1;
            // Stamps instead of clearing: a value counts as seen only under this round's stamp.
            if (seen.size() < limit)
                seen.resize(limit, 0);
            if (++stamp == 0) {
                std::fill(seen.begin(), seen.end(), 0);
                stamp = 1;
            }
            bool ok = true;
            for (int n = 0; n <= kMaxCards && ok; ++n)
                for (auto s : sums[n]) {
                    for (int c = 0; c <= 4 && n + c <= kMaxCards; ++c) {
                        const std::uint64_t v = s + std::uint64_t(c) * candidate;
                        if (seen[v] == stamp) {
                            ok = false;
                            break;
                        }
                        seen[v] = stamp;
                    }
                    if (!ok)
                        break;
                }
            if (ok)
                break;
        }
        keys[r] = candidate;
        std::vector<std::vector<std::uint32_t>> next(kMaxCards + 1);
        for (int n = 0; n <= kMaxCards; ++n)
            for (auto s : sums[n])
                for (int c = 0; c <= 4 && n + c <= kMaxCards; ++c)
                    next[n + c].push_back(s + c * candidate);
        sums.swap(next);
        std::fprintf(stderr, "rank %d key %u\n", r, candidate);
        ++candidate;
    }
    std::uint32_t maxSum = 0;
    std::size_t total = 0;
    for (auto &v : sums) {
        total += v.size();
        for (auto s : v)
            if (s > maxSum)
                maxSum = s;
    }
    for (int r = 0; r < 13; ++r)
        std::printf("%u, ", keys[r]);
    std::printf("\nmax sum %u, multisets %zu\n", maxSum, total);
}
