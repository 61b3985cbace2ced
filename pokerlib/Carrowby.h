#pragma once
// Public interface of the poker library: cards, hand evaluation, probabilities, hand spectrum,
// preset ranges, random numbers and pot division. Plain C++, no Qt.
//
// Card integer: 0..51 as pokerlib/CardCodes.h numbers them; -1 marks an empty slot.
//
// Thread use: every object may be used from one thread at a time; the tables behind the
// evaluator are immutable after their first use and may be read from any thread.
//
// Design of the library:
// - Evaluation is exact: the best five of up to seven cards, kickers included, so compareTo
//   says 0 only for hands of truly equal strength. Names are English ("Full house, Kings
//   full of Sevens", "Pair of Aces", "Straight, Five high"); cards are written "Ah Kd".
// - Probabilities are equity: a win counts 1, a k-way tie 1/k. getProbabilityOfWin deals the
//   missing board and players - 1 random hands, trialCount times; getProbabilityOfWinBySpectr
//   plays one opponent drawn uniformly from the range's combinations that miss the known
//   cards. Unusable input (a card outside 0..51 or repeated) gives 0.
// - The spectrum ranks the 169 starting-hand classes by equity against one random hand
//   (computed by pokerlib/tools/make_spectrum.cpp and stored in SpectrumTable.cpp);
//   GetSpecByPercent(p) gives the best round(p % of 1326) combinations in that order.
// - StrategyRanges: [0] a button / small-blind opening range of about 40 % of hands, [1] a
//   cut-off range of about 27 %, written as the usual range notation in Spectrum.cpp.
// - SklanskyGroup: the Sklansky-Malmuth groups 1..8, 0 outside them.
// - Random numbers come from xoshiro256** seeded through splitmix64, drawn without modulo
//   bias.

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

class CCard
{
public:
    int rank = 0; // 1 ace, 2..13 deuce..king
    int suit = 0; // 0..3

    CCard() = default;
    explicit CCard(int card);
    int ToInt() const;             // back to the card integer
    std::wstring GetName2() const; // "Ah", "Td", "2c"
};

// A set of up to seven cards. After SetValueCombination the set carries its best five-card value.
class CDeck
{
public:
    CDeck() = default;
    void AddCard(CCard card);
    void DeleteCards();
    int Count() const;
    void SetValueCombination();
    // 1 this wins, -1 this loses, 0 truly equal hands; both sets evaluated.
    int compareTo(const CDeck &other) const;
    std::wstring display() const;   // "Full house, Kings full of Sevens", "Pair of Aces"
    std::wstring display2() const;  // "Ah Kd Qs"
    std::uint32_t Strength() const; // orders hands exactly like compareTo

private:
    static constexpr int kMaxCards = 7; // cards beyond the seventh are ignored
    int m_cards[kMaxCards] = {};
    int m_count = 0;
    std::uint32_t m_value = 0;
    bool m_evaluated = false;
};

// Hand range: the hole-card combinations it holds, each as an unordered pair of card integers.
class Spec
{
public:
    std::vector<std::pair<int, int>> combos;
    bool Contains(int a, int b) const;
};

class CStatSpectr
{
public:
    void Init();          // orders the 1326 combinations, strongest class first
    void InitFerrandel(); // completes the start-up pair: fills the order if Init has not
    // The best pct % (0..100) of the 1326 starting combinations; text is not used by callers.
    bool GetSpecByPercent(double pct, Spec &spec, std::wstring &text, int flag) const;

private:
    std::vector<std::pair<int, int>> m_order; // the 1326 combinations, strongest first
};

class StrategyRanges
{
public:
    // [0] button / small-blind opening range, [1] cut-off range; each holds (first, second)
    // card-integer pairs in both orders.
    std::set<std::pair<int, int>> m_sets[2];
    void MakeSrategyRanges();
};

class PokerLogic
{
public:
    int trialCount; // 100000 by default: the odds calculator's count, well under a second
    PokerLogic();
    // Equity of hole against players - 1 random hands, the missing board dealt at random.
    double getProbabilityOfWin(const int hole[2], const int board[5], int boardCount, int players);
    double getProbabilityOfWinBySpectr(const int hole[2], const int board[5], int boardCount,
                                       const Spec &spec);
    // Strength code: 1..13 high card, 14..26 one pair, 27 two pair, 28 trips, 29 straight,
    // 30 flush, 31 full house, 32 quads, 33 straight flush. High card counts its highest rank
    // (deuce 1 .. ace 13), a pair its rank (deuces 14 .. aces 26): 19 is a pair of sevens,
    // 23 a pair of jacks. Works for 2, 5, 6 and 7 cards.
    int getCombination(const int hole[2], const int board[5], int boardCount);

private:
    std::uint64_t m_rng[4]; // xoshiro256** state
};

int SklanskyGroup(CCard first, CCard second);

class EasyRandom
{
public:
    EasyRandom(int lo = 0, int hi = 1);
    void SetTimerSeed();                   // reseeds from the clock, unless a fixed seed was set
    void SetFixedSeed(std::uint64_t seed); // reproducible from here on; SetTimerSeed then keeps it
    void SetInterval(int lo, int hi);
    int DrawRandomNumber(); // uniform in [lo, hi], ends included

private:
    int m_lo = 0;
    int m_hi = 1;
    bool m_fixed = false;
    std::uint64_t m_state[4] = {}; // xoshiro256** state
};

// Makes every PokerLogic sampler created afterwards, and every EasyRandom's timer seed,
// derive from seed, so that a whole run repeats exactly.
void SeedPokerLibrary(std::uint64_t seed);

bool isExist(int v, const int *array, int n);
bool comparefun(int a, int b); // highest first: the highest card drawn wins the button
// The showdown's pay-out by pokerlib/PotSplit.h's SplitPots: scores > 0 for the seats still in,
// odd chips from the first seat after `button`.
void GameResult(const int *contributions, const int *scores, int *winnings, int count, int button);
std::wstring charTOwchar(const char *text); // UTF-8 in; broken bytes become U+FFFD
std::string GetExecDir(); // folder of the running program, without a trailing slash
