#include "pokerlib/Carrowby.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <vector>

bool isExist(int v, const int *array, int n)
{
    if (!array)
        return false;
    for (int i = 0; i < n; ++i)
        if (array[i] == v)
            return true;
    return false;
}

bool comparefun(int a, int b)
{
    return a > b;
}

// Main and side pots by contribution level. Each level's chips go to the best score (> 0)
// among the seats that reached it, split evenly, odd chips to the tied winners from seat 0
// on; a level nobody eligible reached returns to whoever put it in (an uncalled bet), so the
// winnings always add up to the contributions.
void GameResult(const int *contributions, const int *scores, int *winnings, int count)
{
    if (!contributions || !scores || !winnings || count <= 0)
        return;
    std::vector<long long> paid(count);
    std::vector<long long> levels;
    for (int i = 0; i < count; ++i) {
        winnings[i] = 0;
        paid[i] = std::max(contributions[i], 0); // a negative stake puts nothing in
        if (paid[i] > 0)
            levels.push_back(paid[i]);
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

    std::vector<long long> won(count, 0);
    std::vector<int> winners;
    long long previous = 0;
    for (const long long level : levels) {
        long long pot = 0;
        int best = 0;
        for (int i = 0; i < count; ++i) {
            pot += std::min(paid[i], level) - std::min(paid[i], previous);
            if (paid[i] >= level && scores[i] > 0)
                best = std::max(best, scores[i]);
        }
        winners.clear();
        if (best > 0) {
            for (int i = 0; i < count; ++i)
                if (paid[i] >= level && scores[i] == best)
                    winners.push_back(i);
        }
        if (winners.empty()) {
            for (int i = 0; i < count; ++i)
                won[i] += std::min(paid[i], level) - std::min(paid[i], previous);
        } else {
            const auto k = static_cast<long long>(winners.size());
            const long long share = pot / k;
            const long long odd = pot % k;
            for (long long w = 0; w < k; ++w)
                won[winners[w]] += share + (w < odd ? 1 : 0);
        }
        previous = level;
    }
    for (int i = 0; i < count; ++i)
        winnings[i] = int(std::min<long long>(won[i], INT_MAX));
}

std::wstring charTOwchar(const char *text)
{
    // UTF-8 in, one wide character per code point out; broken sequences become U+FFFD.
    std::wstring out;
    if (!text)
        return out;
    const auto *p = reinterpret_cast<const unsigned char *>(text);
    while (*p) {
        unsigned c = *p;
        int extra = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            out += wchar_t(0xFFFD);
            ++p;
            continue;
        }
        ++p;
        bool ok = true;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (*p & 0x3F);
            ++p;
        }
        out += ok ? wchar_t(cp) : wchar_t(0xFFFD);
    }
    return out;
}

std::string GetExecDir()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}
