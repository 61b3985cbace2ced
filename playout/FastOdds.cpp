#include "playout/FastOdds.h"

#include "playout/Advice.h"
#include "pokerlib/CardCodes.h"
#include "pokerlib/Evaluator.h"
#include "pokerlib/HandValue.h"
#include "pokerlib/Rng.h"
#include "pokerlib/Sampler.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <vector>

namespace playout {

namespace {

constexpr int kClasses = 169;
using brisquel::kMaxSeats;
// Against the top of the spectrum: entries at every whole percent, read in between by a
// straight line (the library's own answer is a 5,000-deal sample, noisier than the line's bend).
constexpr int kTopSteps = 100;
// Seeds of the table entries: fixed, so that every process fills the same values and two
// threads filling one entry at once store the same number.
constexpr std::uint64_t kWinSeed = 0x5EED'0001'0000'0000ull;
constexpr std::uint64_t kTopSeed = 0x5EED'0002'0000'0000ull;

int RankIndex(int card)
{
    return brisquel::RankOf(card);
}

// The starting-hand class of two cards, in a 13 x 13 grid of rank indices: pairs on the
// diagonal, suited hands with the higher rank as the row, offsuit hands with it as the column.
int ClassOf(int a, int b)
{
    const int hi = std::max(RankIndex(a), RankIndex(b));
    const int lo = std::min(RankIndex(a), RankIndex(b));
    const bool suited = brisquel::SameSuit(a, b);
    return suited ? hi * 13 + lo : lo * 13 + hi;
}

// Two cards of a class: clubs, and diamonds for the second card of a pair or an offsuit hand.
void ClassCards(int index, int cards[2])
{
    const int row = index / 13, column = index % 13;
    if (row == column) {
        cards[0] = row;
        cards[1] = 13 + row;
    } else if (row > column) { // suited
        cards[0] = row;
        cards[1] = column;
    } else {
        cards[0] = column;
        cards[1] = 13 + row;
    }
}

bool UsableHole(const int hole[2])
{
    return hole && hole[0] >= 0 && hole[0] < 52 && hole[1] >= 0 && hole[1] < 52 &&
           hole[0] != hole[1];
}

// Lazily filled entries; a negative value marks one not computed yet.
template <std::size_t N> struct LazyTable
{
    std::array<std::atomic<float>, N> values;
    LazyTable()
    {
        for (auto &v : values)
            v.store(-1.0f, std::memory_order_relaxed);
    }
};

LazyTable<kClasses *(kMaxSeats + 1)> &WinTable()
{
    static LazyTable<kClasses *(kMaxSeats + 1)> table;
    return table;
}

LazyTable<kClasses *(kTopSteps + 1)> &TopTable()
{
    static LazyTable<kClasses *(kTopSteps + 1)> table;
    return table;
}

const CStatSpectr &Spectrum()
{
    static const CStatSpectr spectrum = [] {
        CStatSpectr s;
        s.Init();
        return s;
    }();
    return spectrum;
}

double PreflopWin(int cls, int players)
{
    std::atomic<float> &entry = WinTable().values[std::size_t(cls * (kMaxSeats + 1) + players)];
    float v = entry.load(std::memory_order_acquire);
    if (v < 0.0f) {
        int cards[2];
        ClassCards(cls, cards);
        const int none[5] = {-1, -1, -1, -1, -1};
        std::uint64_t rng[4];
        brisquel::SeedXoshiro(rng, kWinSeed + std::uint64_t(cls * 16 + players));
        v = float(brisquel::EquityVsRandom(rng, cards, none, 0, players, kFastPreflopTrials));
        entry.store(v, std::memory_order_release);
    }
    return v;
}

double PreflopAgainstTop(int cls, int step)
{
    std::atomic<float> &entry = TopTable().values[std::size_t(cls * (kTopSteps + 1) + step)];
    float v = entry.load(std::memory_order_acquire);
    if (v < 0.0f) {
        int cards[2];
        ClassCards(cls, cards);
        const int none[5] = {-1, -1, -1, -1, -1};
        Spec spec;
        std::wstring unused;
        Spectrum().GetSpecByPercent(100.0 * step / kTopSteps, spec, unused, 1);
        std::uint64_t rng[4];
        brisquel::SeedXoshiro(rng, kTopSeed + std::uint64_t(cls * 256 + step));
        v = float(brisquel::EquityVsRange(rng, cards, none, 0, spec, kFastTopTrials));
        entry.store(v, std::memory_order_release);
    }
    return v;
}

const std::array<std::int8_t, 52 * 52> &GroupTable()
{
    static const std::array<std::int8_t, 52 * 52> table = [] {
        std::array<std::int8_t, 52 * 52> t{};
        for (int a = 0; a < 52; ++a)
            for (int b = 0; b < 52; ++b)
                t[std::size_t(a * 52 + b)] =
                    a == b ? std::int8_t(0) : std::int8_t(SklanskyGroup(CCard(a), CCard(b)));
        return t;
    }();
    return table;
}

// Equity against 1..kMaxSeats - 1 opponents, into out[k - 1], when each is worse with
// probability w and level with t. The opponents share one deck: "not beaten" is read as holding
// none of d cards that beat us (d found from w + t for one opponent), so that k hands miss them
// all as 2k cards drawn from n; ties among those are taken as independent, and the pot shared:
// the mean of 1 / (1 + ties) over Binomial(k, a) is (1 - (1 - a)^(k + 1)) / ((k + 1) a).
// The n cards an opponent's hand comes from once the board is complete and ours is known.
constexpr int kCardsLeft = 52 - 5 - 2;

void SharedEquities(double w, double t, int opponents, double out[kMaxSeats - 1])
{
    const double u = w + t;
    out[0] = w + t / 2;
    if (u <= 0.0) {
        std::fill(out + 1, out + opponents, 0.0);
        return;
    }
    // Read in the board tables' inner loop: the divisions taken out of it. pairShare[k]:
    // 1 / ((n - 2k)(n - 2k - 1)); inverse[k]: 1 / (k + 1).
    static const auto tables = [] {
        std::array<std::array<double, kMaxSeats>, 2> v{};
        constexpr int n = kCardsLeft;
        for (int k = 0; k < kMaxSeats; ++k) {
            v[0][std::size_t(k)] = 1.0 / (double(n - 2 * k) * (n - 2 * k - 1));
            v[1][std::size_t(k)] = 1.0 / (k + 1);
        }
        return v;
    }();
    const auto &pairShare = tables[0];
    const auto &inverse = tables[1];
    constexpr int n = kCardsLeft;
    const double m = 0.5 + std::sqrt(0.25 + u * n * (n - 1)); // (n - d), the larger root
    const double a = t / u;
    const double perTie = a > 1e-12 ? 1.0 / a : 0.0;
    double missAll = u;                        // m (m - 1) / (n (n - 1))
    double noTiePower = (1.0 - a) * (1.0 - a); // (1 - a)^(k + 1)
    for (int k = 2; k <= opponents; ++k) {
        const double i = 2.0 * (k - 1);
        missAll *= std::max(0.0, (m - i) * (m - i - 1) * pairShare[std::size_t(k - 1)]);
        noTiePower *= 1.0 - a;
        const double shares =
            perTie == 0.0 ? 1.0 : (1.0 - noTiePower) * perTie * inverse[std::size_t(k)];
        out[k - 1] = missAll * shares;
    }
}

} // namespace

// Every combination's equity on one board against 1 to 9 random hands. Each run-out is
// evaluated once for all combinations; a combination's opponents are then counted from the
// combinations that beat or tie it and share none of its cards, as the sampler deals them:
// exact against one opponent, within a few points against many (SharedEquities).
struct CFastOdds::BoardTable
{
    std::uint64_t boardMask = 0;
    int questions = 0;
    bool built = false;
    int maxPlayers = 0; // built for 2..maxPlayers players
    // Per opponent count (1..9) and combination; -1 where the combination clashes with the board.
    std::vector<float> equity;

    void Build(std::uint64_t rng[4], const int board[5], int boardCount, int players);
};

namespace {

// One board's run-outs counted for every combination: the scratch of the counting, kept from
// one run-out to the next, and the sums it leaves.
class RunOutCounter
{
public:
    static constexpr int kCounts = kMaxSeats - 1;

    RunOutCounter(const brisquel::EvalTables &tables, int maxPlayers)
        : sum(std::size_t(kCounts) * kComboCount, 0.0)
        , runs(kComboCount, 0)
        , m_t(tables)
        , m_valueCount(tables.natural.size())
        , m_maxPlayers(maxPlayers)
        , m_value(kComboCount)
        , m_bucket(m_valueCount + 1)
        , m_order(kComboCount)
        , m_beat(kComboCount)
        , m_tie(kComboCount)
    {}

    // Every combination's share against each count of opponents on the complete board `full`.
    void Count(const brisquel::Hand &full, std::uint64_t fullMask)
    {
        const int liveCount = Evaluate(full, fullMask);
        SortByValue();
        CountBeatAndTie(liveCount);
        AddEquities(liveCount);
    }

    std::vector<double> sum; // per opponent count and combination
    std::vector<int> runs;   // per combination

private:
    static const std::array<std::array<std::uint8_t, 2>, kComboCount> &Pairs()
    {
        static const auto pairs = [] {
            std::array<std::array<std::uint8_t, 2>, kComboCount> p{};
            for (int c = 0; c < kComboCount; ++c) {
                const auto [a, b] = ComboCards(c);
                p[std::size_t(c)] = {std::uint8_t(a), std::uint8_t(b)};
            }
            return p;
        }();
        return pairs;
    }

    // Every live combination's value, counted into buckets by value; the live count.
    int Evaluate(const brisquel::Hand &full, std::uint64_t fullMask)
    {
        const auto &pairs = Pairs();
        std::fill(m_bucket.begin(), m_bucket.end(), 0);
        m_live.fill(0);
        int liveCount = 0;
        for (int c = 0; c < kComboCount; ++c) {
            const auto [a, b] = pairs[std::size_t(c)];
            if ((fullMask >> a & 1) || (fullMask >> b & 1)) {
                m_value[std::size_t(c)] = 0;
                continue;
            }
            const std::uint16_t v = brisquel::Evaluate(m_t, full + m_t.cards[a] + m_t.cards[b]);
            m_value[std::size_t(c)] = v;
            ++m_bucket[m_valueCount - v]; // strongest first
            ++m_live[a];
            ++m_live[b];
            ++liveCount;
        }
        return liveCount;
    }

    void SortByValue()
    {
        int start = 0;
        for (int &n : m_bucket) {
            const int count = n;
            n = start;
            start += count;
        }
        for (int c = 0; c < kComboCount; ++c)
            if (m_value[std::size_t(c)] != 0)
                m_order[std::size_t(m_bucket[m_valueCount - m_value[std::size_t(c)]]++)] =
                    std::int16_t(c);
    }

    // Down the order a group of equal values at a time: the combinations above a group beat
    // it, those within tie it, less the ones sharing a card with the hand in question.
    void CountBeatAndTie(int liveCount)
    {
        const auto &pairs = Pairs();
        m_above.fill(0);
        int aboveCount = 0;
        for (int i = 0; i < liveCount;) {
            const std::uint16_t v = m_value[std::size_t(m_order[std::size_t(i)])];
            int end = i;
            while (end < liveCount && m_value[std::size_t(m_order[std::size_t(end)])] == v) {
                const auto [a, b] = pairs[std::size_t(m_order[std::size_t(end)])];
                ++m_inGroup[a];
                ++m_inGroup[b];
                ++end;
            }
            const int groupCount = end - i;
            for (int k = i; k < end; ++k) {
                const std::size_t c = std::size_t(m_order[std::size_t(k)]);
                const auto [a, b] = pairs[c];
                m_beat[c] = aboveCount - m_above[a] - m_above[b];
                m_tie[c] = groupCount - (m_inGroup[a] + m_inGroup[b] - 1);
            }
            for (int k = i; k < end; ++k) {
                const auto [a, b] = pairs[std::size_t(m_order[std::size_t(k)])];
                ++m_above[a];
                ++m_above[b];
                m_inGroup[a] = 0;
                m_inGroup[b] = 0;
            }
            aboveCount += groupCount;
            i = end;
        }
    }

    void AddEquities(int liveCount)
    {
        const auto &pairs = Pairs();
        for (int k = 0; k < liveCount; ++k) {
            const std::size_t c = std::size_t(m_order[std::size_t(k)]);
            const auto [a, b] = pairs[c];
            const int avail = liveCount - (m_live[a] + m_live[b] - 1);
            if (avail <= 0)
                continue;
            const double w = double(avail - m_beat[c] - m_tie[c]) / avail;
            const double l = double(m_tie[c]) / avail;
            double e[kCounts];
            SharedEquities(w, l, m_maxPlayers - 1, e);
            for (int o = 0; o < m_maxPlayers - 1; ++o)
                sum[std::size_t(o) * kComboCount + c] += e[o];
            ++runs[c];
        }
    }

    const brisquel::EvalTables &m_t;
    std::size_t m_valueCount;
    int m_maxPlayers;
    std::vector<std::uint16_t> m_value;
    std::vector<int> m_bucket;
    std::vector<std::int16_t> m_order; // live combinations, strongest first
    std::vector<int> m_beat, m_tie;
    std::array<int, 52> m_above{}, m_inGroup{}, m_live{};
};

} // namespace

void CFastOdds::BoardTable::Build(std::uint64_t rng[4], const int board[5], int boardCount,
                                  int players)
{
    maxPlayers = players;
    const brisquel::EvalTables &t = brisquel::Tables();
    RunOutCounter counter(t, maxPlayers);

    brisquel::Hand fixed;
    for (int i = 0; i < boardCount; ++i)
        fixed += brisquel::CardHand(t, board[i]);
    const auto runOut = [&](const int extra[2], int extraCount) {
        brisquel::Hand full = fixed;
        std::uint64_t fullMask = boardMask;
        for (int i = 0; i < extraCount; ++i) {
            full += brisquel::CardHand(t, extra[i]);
            fullMask |= 1ull << extra[i];
        }
        counter.Count(full, fullMask);
    };

    std::vector<int> deck;
    for (int c = 0; c < 52; ++c)
        if (!(boardMask >> c & 1))
            deck.push_back(c);
    const int missing = 5 - boardCount;
    int extra[2] = {-1, -1};
    if (missing == 0) {
        runOut(extra, 0);
    } else if (missing == 1) {
        for (const int card : deck) {
            extra[0] = card;
            runOut(extra, 1);
        }
    } else {
        // Every turn card, each with a few rivers drawn at random: the turn's share of the
        // spread is taken out of the sample.
        const std::size_t n = deck.size();
        for (std::size_t i = 0; i < n; ++i) {
            for (int r = 0; r < kFlopRiversPerTurn; ++r) {
                std::size_t j = brisquel::UniformBelow(rng, n - 1);
                if (j >= i)
                    ++j;
                extra[0] = deck[i];
                extra[1] = deck[j];
                runOut(extra, 2);
            }
        }
    }
    equity.assign(counter.sum.size(), -1.0f);
    for (std::size_t i = 0; i < std::size_t(maxPlayers - 1) * kComboCount; ++i)
        if (const int n = counter.runs[i % kComboCount]; n > 0)
            equity[i] = float(counter.sum[i] / n);
    built = true;
}

CFastOdds::CFastOdds(std::uint64_t seed)
{
    brisquel::SeedXoshiro(m_state, seed);
    m_seed = seed;
}

CFastOdds::~CFastOdds() = default;

double CFastOdds::ProbabilityOfWin(const int hole[2], const int board[5], int boardCount,
                                   int players)
{
    if (!UsableHole(hole) || boardCount < 0 || boardCount > 5)
        return 0.0;
    players = std::clamp(players, 1, kMaxSeats);
    if (boardCount == 0)
        return PreflopWin(ClassOf(hole[0], hole[1]), players);
    if (boardCount < 3 || !board)
        return brisquel::EquityVsRandom(m_state, hole, board, boardCount, players,
                                        kFastPostflopTrials);

    std::uint64_t mask = 0;
    for (int i = 0; i < boardCount; ++i)
        mask |= 1ull << std::clamp(board[i], 0, 51);
    if ((mask >> hole[0] & 1) || (mask >> hole[1] & 1))
        return 0.0;
    if (players == 1)
        return 1.0;
    // The sample is drawn from the question itself (and the seed), not from a running stream:
    // the same question gets the same answer in every play-out of a decision, so that options
    // leading to the same spot are answered alike, and an answer can be remembered.
    const std::uint32_t tag = 1u | std::uint32_t(std::min(hole[0], hole[1])) << 1 |
                              std::uint32_t(std::max(hole[0], hole[1])) << 7 |
                              std::uint32_t(players) << 13;
    std::uint64_t key = m_seed ^ (std::uint64_t(tag) << 40) ^ (mask * 0x9E3779B97F4A7C15ull);
    const std::uint64_t hashed = brisquel::SplitMix64(key);
    if (m_answers.empty())
        m_answers.resize(kRememberedAnswers);
    Answer &slot = m_answers[hashed & (kRememberedAnswers - 1)];
    if (slot.tag == tag && slot.board == mask)
        return slot.equity;
    // Only questions not yet answered count towards the board's table: a table pays for itself
    // where many hands are asked about on one board, not where a few are asked again and again
    // (the options of one deal in the play-outs, each on a board of its own).
    if (const float *table = BoardEquities(board, boardCount, players, false)) {
        const float e = table[ComboIndex(hole[0], hole[1])];
        if (e >= 0.0f)
            return e;
    }
    std::uint64_t rng[4];
    brisquel::SeedXoshiro(rng, hashed);
    const double equity =
        brisquel::EquityVsRandom(rng, hole, board, boardCount, players, kFastPostflopTrials);
    slot = {mask, tag, equity};
    return equity;
}

void CFastOdds::PrepareBoard(const int board[5], int boardCount, int players)
{
    BoardEquities(board, boardCount, std::clamp(players, 1, kMaxSeats), true);
}

const float *CFastOdds::BoardEquities(const int board[5], int boardCount, int players, bool now)
{
    if (!board || boardCount < 3 || boardCount > 5 || players < 2)
        return nullptr;
    std::uint64_t mask = 0;
    for (int i = 0; i < boardCount; ++i) {
        if (board[i] < 0 || board[i] > 51 || (mask >> board[i] & 1))
            return nullptr;
        mask |= 1ull << board[i];
    }
    if (!m_board)
        m_board = std::make_unique<BoardTable>();
    BoardTable &b = *m_board;
    if (b.boardMask != mask) {
        b.boardMask = mask;
        b.questions = 0;
        b.built = false;
    }
    // Players only leave a hand: a table for this many serves every later question on the
    // board, and is built again only if more are asked about.
    if ((!b.built && (now || ++b.questions >= kBoardTableAfter)) ||
        (b.built && players > b.maxPlayers))
        b.Build(m_state, board, boardCount, players);
    return b.built ? b.equity.data() + std::size_t(players - 2) * kComboCount : nullptr;
}

double CFastOdds::ProbabilityAgainstTop(const int hole[2], double pct, const CStatSpectr &)
{
    // The table's spectrum is the one order every table uses (Carrowby.h).
    if (!UsableHole(hole) || std::isnan(pct))
        return 0.0;
    const double x = std::clamp(pct, 0.0, 100.0) / 100.0 * kTopSteps;
    const int below = std::min(int(x), kTopSteps - 1);
    const double f = x - below;
    const int cls = ClassOf(hole[0], hole[1]);
    const double low = PreflopAgainstTop(cls, below);
    return f <= 0.0 ? low : low + f * (PreflopAgainstTop(cls, below + 1) - low);
}

int CFastOdds::Combination(const int hole[2], const int board[5], int boardCount)
{
    return brisquel::CombinationOfCards(hole, board, boardCount);
}

int CFastOdds::Group(int first, int second)
{
    if (first < 0 || first > 51 || second < 0 || second > 51)
        return SklanskyGroup(CCard(first), CCard(second));
    return GroupTable()[std::size_t(first * 52 + second)];
}

void WarmFastOdds()
{
    for (int players = 2; players <= kMaxSeats; ++players)
        for (int cls = 0; cls < kClasses; ++cls)
            PreflopWin(cls, players);
}

} // namespace playout
