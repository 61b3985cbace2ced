#include "pokerlib/Carrowby.h"
#include "pokerlib/PotSplit.h"

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

void GameResult(const int *contributions, const int *scores, int *winnings, int count, int button)
{
    if (!contributions || !scores || !winnings || count <= 0)
        return;
    std::vector<long long> put(contributions, contributions + count);
    std::vector<unsigned> score(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        score[static_cast<size_t>(i)] = scores[i] > 0 ? static_cast<unsigned>(scores[i]) : 0;
    const std::vector<long long> won = brisquel::SplitPots(put, score, button);
    for (int i = 0; i < count; ++i)
        winnings[i] = int(std::min<long long>(won[static_cast<size_t>(i)], INT_MAX));
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
