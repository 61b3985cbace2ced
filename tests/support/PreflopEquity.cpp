#include "tests/support/PreflopEquity.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numeric>
#include <sstream>

namespace testsupport {

namespace {

const char kRanks[] = "23456789TJQKA";
const char kSuits[] = "cdhs";

int Top(unsigned mask)
{
    return 31 - std::countl_zero(mask);
}

// The `count` highest ranks of mask, four bits each, the highest first.
int Kickers(unsigned mask, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const int rank = Top(mask);
        value = value << 4 | rank;
        mask &= ~(1u << rank);
    }
    return value;
}

// The highest rank ending five ranks in a row (the wheel ends on the five), -1 without.
int StraightTop(unsigned mask)
{
    const unsigned wheel = (mask << 1 | mask >> 12) & 0x1FFF; // the ace below the deuce too
    for (int top = 12; top >= 4; --top) {
        const unsigned run = 0x1Fu << (top - 4);
        if ((mask & run) == run)
            return top;
    }
    return (wheel & 0x1F) == 0x1F ? 3 : -1;
}

int Value(int category, int rest)
{
    return category << 20 | rest;
}

// The hand from the ranks held in each suit.
int ValueOfSuits(const unsigned suits[4])
{
    const unsigned s0 = suits[0], s1 = suits[1], s2 = suits[2], s3 = suits[3];
    const unsigned all = s0 | s1 | s2 | s3;
    for (int s = 0; s < 4; ++s) {
        if (std::popcount(suits[s]) >= 5) {
            const int top = StraightTop(suits[s]);
            if (top >= 0)
                return Value(8, top);
            return Value(5, Kickers(suits[s], 5));
        }
    }
    const unsigned quads = s0 & s1 & s2 & s3;
    if (quads)
        return Value(7, Top(quads) << 4 | Top(all & ~quads));
    const unsigned trips = (s0 & s1 & s2) | (s0 & s1 & s3) | (s0 & s2 & s3) | (s1 & s2 & s3);
    const unsigned pairs = (s0 & s1) | (s0 & s2) | (s0 & s3) | (s1 & s2) | (s1 & s3) | (s2 & s3);
    if (trips) {
        const int t = Top(trips);
        const unsigned others = pairs & ~(1u << t);
        if (others)
            return Value(6, t << 4 | Top(others));
    }
    const int straight = StraightTop(all);
    if (straight >= 0)
        return Value(4, straight);
    if (trips) {
        const int t = Top(trips);
        return Value(3, t << 8 | Kickers(all & ~(1u << t), 2));
    }
    if (std::popcount(pairs) >= 2) {
        const int high = Top(pairs), low = Top(pairs & ~(1u << high));
        return Value(2, high << 8 | low << 4 | Top(all & ~(1u << high | 1u << low)));
    }
    if (pairs) {
        const int p = Top(pairs);
        return Value(1, p << 12 | Kickers(all & ~(1u << p), 3));
    }
    return Value(0, Kickers(all, 5));
}

// Every suit order: a board and its images under them give every class the same counts.
std::array<std::array<int, 4>, 24> SuitOrders()
{
    std::array<std::array<int, 4>, 24> orders{};
    std::array<int, 4> order{0, 1, 2, 3};
    for (auto &out : orders) {
        out = order;
        std::next_permutation(order.begin(), order.end());
    }
    return orders;
}

std::uint32_t BoardKey(std::array<int, 5> board)
{
    std::sort(board.begin(), board.end());
    std::uint32_t key = 0;
    for (int card : board)
        key = key << 6 | static_cast<std::uint32_t>(card);
    return key;
}

struct Tally
{
    // win[a][b]: deal-and-board counts where a hand of a beats one of b; tie likewise.
    std::vector<std::array<std::int64_t, kClassCount>> win, tie;
    Tally()
        : win(kClassCount)
        , tie(kClassCount)
    {
        for (int a = 0; a < kClassCount; ++a) {
            win[a].fill(0);
            tie[a].fill(0);
        }
    }
};

// Adds one board, `weight` times, to the tally: every live hand ranked, then each hand's
// wins and ties against every class counted from the classes ranked below it, less the hands
// that share one of its cards.
void CountBoard(const std::array<int, 5> &board, std::int64_t weight, Tally &tally,
                const std::vector<std::array<int, 52>> &classOf)
{
    unsigned suits[4] = {0, 0, 0, 0};
    bool used[52] = {};
    for (int card : board) {
        suits[card & 3] |= 1u << (card >> 2);
        used[card] = true;
    }
    int live[47], liveCount = 0;
    for (int c = 0; c < 52; ++c) {
        if (!used[c])
            live[liveCount++] = c;
    }
    static thread_local std::array<std::array<int, 52>, 52> valueOf;
    struct Ranked
    {
        int value, cls, a, b;
    };
    std::vector<Ranked> hands;
    hands.reserve(1081);
    for (int i = 0; i < liveCount; ++i) {
        for (int j = i + 1; j < liveCount; ++j) {
            const int a = live[i], b = live[j];
            unsigned s[4] = {suits[0], suits[1], suits[2], suits[3]};
            s[a & 3] |= 1u << (a >> 2);
            s[b & 3] |= 1u << (b >> 2);
            const int value = ValueOfSuits(s);
            valueOf[a][b] = valueOf[b][a] = value;
            hands.push_back({value, classOf[a][b], a, b});
        }
    }
    std::sort(hands.begin(), hands.end(),
              [](const Ranked &x, const Ranked &y) { return x.value < y.value; });
    std::array<std::int64_t, kClassCount> below{};
    std::array<int, kClassCount> group{};
    std::vector<int> groupClasses;
    for (size_t first = 0; first < hands.size();) {
        size_t end = first;
        groupClasses.clear();
        for (; end < hands.size() && hands[end].value == hands[first].value; ++end) {
            if (group[hands[end].cls]++ == 0)
                groupClasses.push_back(hands[end].cls);
        }
        for (int a : groupClasses) {
            const std::int64_t times = weight * group[a];
            std::array<std::int64_t, kClassCount> &win = tally.win[a];
            for (int b = 0; b < kClassCount; ++b)
                win[b] += times * below[b];
            for (int b : groupClasses)
                tally.tie[a][b] += times * group[b];
        }
        for (int a : groupClasses) {
            below[a] += group[a];
            group[a] = 0;
        }
        first = end;
    }
    // The counts above paired hands that share a card (and each hand with itself): take them
    // out again.
    for (const Ranked &h : hands) {
        tally.tie[h.cls][h.cls] -= weight;
        for (int mine : {h.a, h.b}) {
            const int other = mine == h.a ? h.b : h.a;
            for (int k = 0; k < liveCount; ++k) {
                const int c = live[k];
                if (c == mine || c == other)
                    continue;
                const int value = valueOf[mine][c];
                if (value < h.value)
                    tally.win[h.cls][classOf[mine][c]] -= weight;
                else if (value == h.value)
                    tally.tie[h.cls][classOf[mine][c]] -= weight;
            }
        }
    }
}

std::vector<std::array<int, 52>> ClassGrid()
{
    std::vector<std::array<int, 52>> grid(52);
    for (int a = 0; a < 52; ++a) {
        for (int b = 0; b < 52; ++b)
            grid[a][b] = a == b ? -1 : ClassOf(a, b);
    }
    return grid;
}

} // namespace

int CardOf(const std::string &text)
{
    if (text.size() != 2)
        return -1;
    const char *rank = std::find(kRanks, kRanks + 13, text[0]);
    const char *suit = std::find(kSuits, kSuits + 4, text[1]);
    if (rank == kRanks + 13 || suit == kSuits + 4)
        return -1;
    return static_cast<int>(rank - kRanks) * 4 + static_cast<int>(suit - kSuits);
}

std::string CardName(int card)
{
    return {kRanks[card >> 2], kSuits[card & 3]};
}

int HandValue(const std::array<int, 7> &cards)
{
    unsigned suits[4] = {0, 0, 0, 0};
    for (int card : cards)
        suits[card & 3] |= 1u << (card >> 2);
    return ValueOfSuits(suits);
}

int ClassOf(int a, int b)
{
    const int high = std::max(a >> 2, b >> 2), low = std::min(a >> 2, b >> 2);
    const int row = 12 - high, column = 12 - low;
    if (high == low || (a & 3) == (b & 3))
        return row * 13 + column;
    return column * 13 + row;
}

std::string ClassName(int index)
{
    const int row = index / 13, column = index % 13;
    if (row == column)
        return {kRanks[12 - row], kRanks[12 - row]};
    if (row < column)
        return {kRanks[12 - row], kRanks[12 - column], 's'};
    return {kRanks[12 - column], kRanks[12 - row], 'o'};
}

int ClassIndex(const std::string &name)
{
    for (int i = 0; i < kClassCount; ++i) {
        if (ClassName(i) == name)
            return i;
    }
    return -1;
}

std::vector<std::array<int, 2>> ClassHands(int index)
{
    static const std::vector<std::vector<std::array<int, 2>>> hands = [] {
        std::vector<std::vector<std::array<int, 2>>> all(kClassCount);
        for (int a = 51; a >= 0; --a) {
            for (int b = a - 1; b >= 0; --b)
                all[ClassOf(a, b)].push_back({a, b});
        }
        return all;
    }();
    return hands[index];
}

int DisjointDeals(int a, int b)
{
    int deals = 0;
    for (const auto &x : ClassHands(a)) {
        for (const auto &y : ClassHands(b))
            deals += x[0] != y[0] && x[0] != y[1] && x[1] != y[0] && x[1] != y[1];
    }
    return deals;
}

EquityTable ExactClassEquities()
{
    const auto orders = SuitOrders();
    const auto classOf = ClassGrid();
    Tally tally;
    std::array<int, 5> board{};
    for (board[0] = 0; board[0] < 52; ++board[0])
        for (board[1] = board[0] + 1; board[1] < 52; ++board[1])
            for (board[2] = board[1] + 1; board[2] < 52; ++board[2])
                for (board[3] = board[2] + 1; board[3] < 52; ++board[3])
                    for (board[4] = board[3] + 1; board[4] < 52; ++board[4]) {
                        // Only the least key of its suit pattern is counted, for all 24/fixed.
                        const std::uint32_t key = BoardKey(board);
                        int same = 0;
                        bool least = true;
                        for (const auto &order : orders) {
                            std::array<int, 5> image{};
                            for (int i = 0; i < 5; ++i)
                                image[i] = (board[i] & ~3) | order[board[i] & 3];
                            const std::uint32_t other = BoardKey(image);
                            same += other == key;
                            if (other < key) {
                                least = false;
                                break;
                            }
                        }
                        if (least)
                            CountBoard(board, 24 / same, tally, classOf);
                    }
    EquityTable table(kClassCount);
    for (int a = 0; a < kClassCount; ++a) {
        for (int b = 0; b < kClassCount; ++b) {
            const double total =
                static_cast<double>(tally.win[a][b] + tally.win[b][a] + tally.tie[a][b]);
            table[a][b] = (tally.win[a][b] + 0.5 * tally.tie[a][b]) / total;
        }
    }
    return table;
}

double DirectClassEquity(int a, int b)
{
    double won = 0, deals = 0;
    for (const auto &x : ClassHands(a)) {
        for (const auto &y : ClassHands(b)) {
            if (x[0] == y[0] || x[0] == y[1] || x[1] == y[0] || x[1] == y[1])
                continue;
            int rest[48], n = 0;
            for (int c = 0; c < 52; ++c) {
                if (c != x[0] && c != x[1] && c != y[0] && c != y[1])
                    rest[n++] = c;
            }
            std::array<int, 7> mine{x[0], x[1]}, theirs{y[0], y[1]};
            for (int i = 0; i < n; ++i)
                for (int j = i + 1; j < n; ++j)
                    for (int k = j + 1; k < n; ++k)
                        for (int l = k + 1; l < n; ++l)
                            for (int m = l + 1; m < n; ++m) {
                                const int board[5] = {rest[i], rest[j], rest[k], rest[l], rest[m]};
                                std::copy(board, board + 5, mine.begin() + 2);
                                std::copy(board, board + 5, theirs.begin() + 2);
                                const int v = HandValue(mine), w = HandValue(theirs);
                                won += v > w ? 1.0 : v == w ? 0.5 : 0.0;
                                deals += 1;
                            }
        }
    }
    return won / deals;
}

bool ReadEquityTable(const std::string &path, EquityTable &table, std::string &error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    table.assign(kClassCount, {});
    std::string line;
    int row = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        if (row >= kClassCount || name != ClassName(row)) {
            error = path + ": the row \"" + name + "\" is out of its place";
            return false;
        }
        for (int b = 0; b < kClassCount; ++b) {
            long millionths = -1;
            if (!(fields >> millionths) || millionths < 0 || millionths > 1000000) {
                error = path + ": row " + name + " is short or holds no share";
                return false;
            }
            table[row][b] = millionths / 1e6;
        }
        ++row;
    }
    if (row != kClassCount) {
        error = path + ": " + std::to_string(row) + " rows, not 169";
        return false;
    }
    return true;
}

std::string EquityTableText(const EquityTable &table)
{
    std::ostringstream out;
    out << "# class";
    for (int b = 0; b < kClassCount; ++b)
        out << ' ' << ClassName(b);
    out << '\n';
    for (int a = 0; a < kClassCount; ++a) {
        out << ClassName(a);
        for (int b = 0; b < kClassCount; ++b)
            out << ' ' << std::lround(table[a][b] * 1e6);
        out << '\n';
    }
    return out.str();
}

} // namespace testsupport
