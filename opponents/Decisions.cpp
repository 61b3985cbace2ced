#include "opponents/Decisions.h"

#include "opponents/Roster.h"
#include "pokerlib/CardCodes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int kAce = 14;
constexpr int kKing = 13;
constexpr int kJack = 11;
constexpr int kTen = 10;
constexpr int kEight = 8;
constexpr int kSix = 6;
constexpr int kAceKingSum = 27;
constexpr int kManiacHighSum = 21;
using brisquel::kBoardFirst;
// Master ignores an opponent's raising figure until it rests on this many hands.
constexpr int kMinStatHands = 20;
// Maniac's draws over 0..100: a small pair goes in above 30, an unraised junk hand above 90.
constexpr int kManiacPairDraw = 30;
constexpr int kManiacJunkDraw = 90;
// Combination codes below which Tim and Maniac give up after the flop.
constexpr int kManiacMinCode = 19;
constexpr int kTimFlopMinCode = 23;
constexpr int kTimLaterMinCode = 27;

int RankOf(int card)
{
    return brisquel::RankOf(card) + 2;
}

// Everything a decision reads, gathered once.
struct Situation
{
    const CGameTable &table;
    int seat;
    int hole[2];
    int r1, r2;
    bool pair;
    int sum;
    // Chip amounts in 64 bits: sizes such as 3 * bb must not overflow at the largest blinds.
    long long bb, hb, level;
    long long stack, mybet;
    long long potTotal;

    Situation(const CGameTable &t, int s)
        : table(t)
        , seat(s)
    {
        hole[0] = t.m_cards[2 * s];
        hole[1] = t.m_cards[2 * s + 1];
        r1 = RankOf(hole[0]);
        r2 = RankOf(hole[1]);
        pair = r1 == r2;
        sum = r1 + r2;
        bb = t.m_bigBlind;
        hb = t.m_amountToCall;
        level = std::max(bb, hb);
        stack = t.m_stack[s];
        mybet = t.m_bet[s];
        potTotal = t.m_pot;
        for (int bet : t.m_bet)
            potTotal += bet;
    }

    bool PairOf(int rank) const { return pair && r1 == rank; }
    bool PairAtLeast(int rank) const { return pair && r1 >= rank; }

    // "bet X": never more than the stack, nor more than the deepest opponent can match.
    int Bet(long long x) const
    {
        long long amount = x;
        if (amount > 0) {
            amount = std::min<long long>(amount, stack);
            const int cap = table.MaxOpponentStack(seat);
            if (mybet + amount > cap)
                amount = static_cast<long long>(cap) - mybet;
        }
        if (amount < 0)
            amount = 0;
        return static_cast<int>(amount);
    }
};

// Trunc of a chip estimate, guarded against a non-finite estimate from an empty range.
long long Trunc(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<long long>(value);
}

// The next multiple of the big blind above v, at least one big blind.
long long SizeAbove(long long v, long long bb)
{
    if (bb <= 0)
        return v;
    return v < bb ? bb : bb * (v / bb + 1);
}

double Finite(double p)
{
    return std::isfinite(p) ? p : 0.0;
}

int ProfessorPreflop(const Situation &s, IDecisionOdds &odds)
{
    const int none[5] = {-1, -1, -1, -1, -1};
    const double p = Finite(odds.ProbabilityOfWin(s.hole, none, 0, s.table.CountActive()));
    if (p > 0.5) {
        if (s.hb <= 3 * s.bb)
            return s.Bet(3LL * s.hb);
        const int group = odds.Group(s.hole[0], s.hole[1]);
        if (group == 0)
            return 0;
        if (s.PairAtLeast(kKing))
            return s.Bet(s.stack);
        if (group == 1 || group == 2)
            return s.Bet(std::min(s.stack, s.hb));
        return 0;
    }
    if (p > 0.4)
        return s.hb == s.bb ? s.Bet(s.bb) : 0;
    return 0;
}

bool InRange(const std::set<std::pair<int, int>> &range, const Situation &s)
{
    // The higher card first; a pair puts the second hole card first.
    std::pair<int, int> key;
    if (s.r1 > s.r2)
        key = {s.hole[0], s.hole[1]};
    else
        key = {s.hole[1], s.hole[0]};
    return range.find(key) != range.end();
}

int MasterPreflop(const Situation &s, IDecisionOdds &odds)
{
    const CGameTable &t = s.table;
    const int raisers = t.CountRaisersAbove(s.seat, s.bb);
    const int callers = t.CountCallers(s.seat);

    if (raisers >= 2)
        return s.PairOf(kAce) ? s.Bet(s.stack) : 0;

    if (raisers == 1) {
        if (s.PairAtLeast(kKing))
            return s.Bet(s.stack);
        if (s.mybet > 0 && s.hb - s.mybet <= 3 * s.bb)
            return s.Bet(s.hb - s.mybet);
        if (t.m_lastRaiser < 0)
            return 0;
        const CPokerStat &raiser = t.m_players[t.m_lastRaiser].m_stat;
        if (raiser.m_N < kMinStatHands) {
            if (odds.Group(s.hole[0], s.hole[1]) == 1)
                return s.Bet(s.stack);
            if (s.sum >= kAceKingSum)
                return s.Bet(s.hb - s.mybet);
            return 0;
        }
        const double ev =
            Finite(odds.ProbabilityAgainstTop(s.hole, raiser.m_pfrRatio * 100, t.m_spectrum)) *
            s.potTotal;
        if (ev <= s.hb)
            return 0;
        const long long size = SizeAbove(Trunc(ev - s.hb), s.bb);
        if (size < s.hb - s.mybet)
            return 0;
        return s.Bet(s.hb);
    }

    if (callers == 0) {
        const int smallBlind = t.BlindSeats().small;
        const int openRaise = static_cast<int>(std::min(3 * s.bb, s.stack));
        if ((s.seat == t.m_button || s.seat == smallBlind) && InRange(t.m_ranges.m_sets[0], s))
            return openRaise;
        if (s.seat == t.PreviousActiveSeat(t.m_button) && InRange(t.m_ranges.m_sets[1], s))
            return openRaise;
        if (s.seat == smallBlind && s.bb > 0) {
            const bool suited = brisquel::SameSuit(s.hole[0], s.hole[1]);
            if (static_cast<double>(s.stack) / s.bb < PushThreshold(s.r1, s.r2, suited)) {
                long long amount = s.stack;
                const int cap = t.MaxOpponentStack(s.seat);
                if (s.mybet + amount > cap)
                    amount = static_cast<long long>(cap) - s.mybet;
                // An opponent all in for less than this blind leaves nothing to push.
                return static_cast<int>(std::max(0LL, amount));
            }
        }
    }

    if (s.PairAtLeast(kTen) || s.sum >= kAceKingSum)
        return s.Bet(3LL * s.level);
    const int group = odds.Group(s.hole[0], s.hole[1]);
    if (group == 0)
        return 0;
    if (group <= 6 && s.hb <= s.bb)
        return s.Bet(s.bb);
    if (s.mybet <= 0 || s.hb - s.mybet > s.bb)
        return 0;
    if (s.hb > s.mybet)
        return s.Bet(s.hb - s.mybet);
    return s.Bet(s.bb);
}

int TimPreflop(const Situation &s)
{
    const CGameTable &t = s.table;
    if (s.PairAtLeast(kJack) || s.sum >= kAceKingSum)
        return s.Bet(3LL * s.level);
    if (!s.pair)
        return 0;

    const int raisers = t.CountRaisersAbove(s.seat, s.bb);
    const int callers = t.CountCallers(s.seat);
    const int positionClass = t.m_positionClass[s.seat];
    const int call = s.Bet(s.level);
    const int raise = s.Bet(3LL * s.level);

    if (s.r1 <= kSix) {
        if (raisers != 0 || positionClass != 2)
            return 0;
        if (callers >= 3)
            return call;
        return callers == 1 ? raise : 0;
    }
    if (raisers > 0)
        return 0;

    switch (positionClass) {
    case 0:
        if (s.r1 == 7)
            return 0;
        if (s.r1 == kTen)
            return call;
        return callers == 1 || callers == 2 ? call : 0;
    case 1:
        if (s.r1 == 7)
            return callers == 3 ? call : 0;
        if (s.r1 == kEight)
            return callers >= 1 ? call : 0;
        return callers >= 1 ? call : raise;
    default:
        if (s.r1 == kTen)
            return callers >= 3 ? call : raise;
        if (callers >= 2)
            return call;
        return callers == 1 ? raise : 0;
    }
}

int ManiacPreflop(const Situation &s, EasyRandom &random)
{
    const int raisers = s.table.CountRaisersAbove(s.seat, s.bb);
    if (raisers >= 1)
        return s.PairAtLeast(kJack) || s.sum >= kAceKingSum ? s.Bet(s.stack) : 0;
    if (s.PairAtLeast(kEight) || s.sum >= kManiacHighSum)
        return s.Bet(s.stack);
    if (s.pair)
        return random.DrawRandomNumber() > kManiacPairDraw ? s.Bet(s.stack) : 0;
    if (s.hb != s.bb)
        return 0;
    return random.DrawRandomNumber() > kManiacJunkDraw ? s.Bet(s.stack) : 0;
}

int ProfessorPostflop(const Situation &s, const int board[5], IDecisionOdds &odds)
{
    const double p =
        Finite(odds.ProbabilityOfWin(s.hole, board, s.table.m_boardCount, s.table.CountActive()));
    if (p > 0.5)
        return s.Bet(3LL * s.level);
    if (p > 0.4) {
        const long long owed = s.hb - s.mybet;
        return owed <= 3 * s.bb ? s.Bet(owed) : 0;
    }
    return 0;
}

int MasterPostflop(const Situation &s, const int board[5], IDecisionOdds &odds)
{
    const double ev =
        Finite(odds.ProbabilityOfWin(s.hole, board, s.table.m_boardCount, s.table.CountActive())) *
        s.potTotal;
    if (s.hb <= 0)
        return s.Bet(SizeAbove(Trunc(ev), s.bb));

    const long long free = s.stack - s.mybet;
    if (ev > free)
        return s.Bet(std::max(free, s.hb));
    if (ev > s.hb - s.mybet) {
        const long long v = Trunc(ev - s.mybet);
        if (v - s.hb < s.hb)
            return s.Bet(s.hb - s.mybet);
        return s.Bet(s.bb * (v / std::max(s.bb, 1LL) + 1));
    }
    const long long m = std::min(s.hb, s.stack);
    if (m < ev) {
        const long long size = SizeAbove(Trunc(ev - m), s.bb);
        if (size < m - s.mybet)
            return 0;
        return s.Bet(size);
    }
    return m < ev + s.bb ? s.Bet(m) : 0;
}

int TimPostflop(const Situation &s, const int board[5], int street, IDecisionOdds &odds)
{
    if (s.PairOf(kAce))
        return s.Bet(s.stack);
    const int code = odds.Combination(s.hole, board, s.table.m_boardCount);
    if (code < (street == 0 ? kTimFlopMinCode : kTimLaterMinCode))
        return 0;
    return s.Bet(3LL * s.level);
}

int ManiacPostflop(const Situation &s, const int board[5], IDecisionOdds &odds)
{
    if (odds.Combination(s.hole, board, s.table.m_boardCount) >= kManiacMinCode)
        return s.Bet(s.stack);
    if (s.hb > 3 * s.bb)
        return 0;
    return s.Bet(s.hb);
}

// Push thresholds in big blinds, by high rank (ace first) and low rank (king first);
// entries below the diagonal are unused.
struct PushEntry
{
    double suited;
    double offsuit;
};
// clang-format off
const PushEntry kPush[12][12] = {
    // A: K Q J T 9 8 7 6 5 4 3 2
    {{277.254996, 165.943592}, {137.1055955, 96.3351085}, {91.610668, 68.155235},
     {69.4565415, 53.132356}, {52.062394, 40.858098}, {44.9328245, 35.4782565},
     {39.5879525, 31.373873}, {35.3722665, 28.075615}, {36.146064, 28.2710435},
     {33.3252645, 25.969745}, {31.1376575, 24.222719}, {29.0709965, 22.586172}},
    // K: Q .. 2
    {{}, {43.3138475, 29.385832}, {36.3106285, 25.419394}, {31.402779, 22.473269},
     {23.906179, 17.877076}, {19.955405, 15.2369435}, {18.665326, 14.2705926},
     {17.4450005, 13.3378545}, {16.1516655, 12.340487}, {15.0816415, 11.4225105},
     {14.1909025, 10.6961095}, {13.3654215, 9.9997075}},
    // Q: J .. 2
    {{}, {}, {24.75772, 16.408411}, {21.904732, 14.8582005}, {16.259853, 11.7097695},
     {13.359276, 9.909663}, {11.3426185, 8.53866755}, {10.892582, 8.1475695},
     {10.16093, 7.51749053}, {9.458176, 6.8310835}, {8.8670055, 6.251616},
     {8.320516, 5.651475}},
    // J: T .. 2
    {{}, {}, {}, {18.053261, 11.542626}, {12.856262, 8.89969}, {10.3181215, 7.4338805},
     {8.5972605, 6.333019}, {7.3592985, 5.3903375}, {7.024208, 4.9936465},
     {6.4777355, 4.453119}, {6.020172, 3.9573605}, {5.5693635, 3.4428825}},
    // T: 9 .. 2
    {{}, {}, {}, {}, {11.245741, 7.416103}, {8.7328525, 6.078492}, {7.099713, 5.1023775},
     {5.960544, 4.2859775}, {4.97345, 3.4604785}, {4.630033, 3.124256},
     {4.207859, 2.7402105}, {3.769418, 2.416127}},
    // 9: 8 .. 2. Nine-eight offsuit: the suited-to-offsuit ratio of the neighbouring
    // connectors (about 2/3) puts it near 5.1, between nine-seven and ten-eight offsuit.
    {{}, {}, {}, {}, {}, {7.6466715, 5.1}, {6.1257085, 4.2854815}, {5.0488365, 3.5370755},
     {4.1305215, 2.8254135}, {3.2918205, 2.1728915}, {3.0294955, 2.000152},
     {2.679649, 1.7926095}},
    // 8: 7 .. 2
    {{}, {}, {}, {}, {}, {}, {5.555276, 3.752866}, {4.497373, 3.0499175},
     {3.6195855, 2.406115}, {2.8463865, 1.868948}, {2.2319045, 1.4974135},
     {2.2319045, 1.3979185}},
    // 7: 6 .. 2
    {{}, {}, {}, {}, {}, {}, {}, {4.1592085, 2.719563}, {3.29708, 2.1348985},
     {2.5546005, 1.6833735}, {2.0090165, 1.365986}, {1.6107545, 1.1216545}},
    // 6: 5 .. 2
    {{}, {}, {}, {}, {}, {}, {}, {}, {3.103694, 1.9861525}, {2.3846105, 1.585156},
     {1.8885865, 1.2956715}, {1.5274045, 1.0698725}},
    // 5: 4 .. 2
    {{}, {}, {}, {}, {}, {}, {}, {}, {}, {2.425147, 1.6106465}, {1.925527, 1.320137},
     {1.5574995, 1.090801}},
    // 4: 3, 2
    {{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {1.7010815, 1.1830365}, {1.3981115, 0.988073}},
    // 3: 2
    {{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {1.2837305, 0.912687}},
};

// Pairs from kings down to deuces.
const double kPushPairs[12] = {476.9977325, 239.0040985, 159.6067945, 119.9105085,
                               95.7069665,  79.648447,   67.4238525,  57.674266,
                               49.3149365,  40.989795,   32.7204105,  24.0270595};
// clang-format on

} // namespace

double PushThreshold(int rank1, int rank2, bool suited)
{
    const int high = std::max(rank1, rank2);
    const int low = std::min(rank1, rank2);
    if (high == low) {
        if (high == kAce)
            return std::numeric_limits<double>::infinity();
        return kPushPairs[kKing - high];
    }
    const PushEntry &e = kPush[kAce - high][kKing - low];
    return suited ? e.suited : e.offsuit;
}

double CLibraryOdds::ProbabilityOfWin(const int hole[2], const int board[5], int boardCount,
                                      int players)
{
    PokerLogic logic;
    logic.trialCount = kDecisionTrials;
    return logic.getProbabilityOfWin(hole, board, boardCount, players);
}

double CLibraryOdds::ProbabilityAgainstTop(const int hole[2], double pct,
                                           const CStatSpectr &spectrum)
{
    Spec spec;
    std::wstring text;
    spectrum.GetSpecByPercent(pct, spec, text, 1);
    const int none[5] = {-1, -1, -1, -1, -1};
    PokerLogic logic;
    logic.trialCount = kDecisionTrials;
    return logic.getProbabilityOfWinBySpectr(hole, none, 0, spec);
}

int CLibraryOdds::Combination(const int hole[2], const int board[5], int boardCount)
{
    PokerLogic logic;
    logic.trialCount = kDecisionTrials;
    return logic.getCombination(hole, board, boardCount);
}

int CLibraryOdds::Group(int first, int second)
{
    return SklanskyGroup(CCard(first), CCard(second));
}

int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random, IDecisionOdds &odds)
{
    random.SetInterval(0, 100);
    const Situation s(table, seat);
    switch (table.m_players[seat].m_persona) {
    case kPersonaMaster:
        return MasterPreflop(s, odds);
    case kPersonaManiac:
        return ManiacPreflop(s, random);
    case kPersonaProfessor:
        return ProfessorPreflop(s, odds);
    case kPersonaTim:
        return TimPreflop(s);
    default:
        return 0;
    }
}

int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random)
{
    CLibraryOdds odds;
    return DecidePreflop(table, seat, random, odds);
}

int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random,
                   IDecisionOdds &odds)
{
    random.SetInterval(0, 100);
    const Situation s(table, seat);
    const int *board = table.m_cards + kBoardFirst;
    switch (table.m_players[seat].m_persona) {
    case kPersonaMaster:
        return MasterPostflop(s, board, odds);
    case kPersonaManiac:
        return ManiacPostflop(s, board, odds);
    case kPersonaProfessor:
        return ProfessorPostflop(s, board, odds);
    case kPersonaTim:
        return TimPostflop(s, board, street, odds);
    default:
        return 0;
    }
}

int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random)
{
    CLibraryOdds odds;
    return DecidePostflop(table, seat, street, random, odds);
}

int CPersonaDecider::DecidePreflop(const CGameTable &table, int seat, EasyRandom &random)
{
    return ::DecidePreflop(table, seat, random, m_odds ? *m_odds : m_library);
}

int CPersonaDecider::DecidePostflop(const CGameTable &table, int seat, int street,
                                    EasyRandom &random)
{
    return ::DecidePostflop(table, seat, street, random, m_odds ? *m_odds : m_library);
}
