// Makes PushFoldChart.inc, the heads-up jam-or-fold chart of PushFold.h:
//   typical_gen_pushfold [EQUITY_CACHE] > typical/PushFoldChart.inc
//
// 1. Every class against every class, all in before the flop, counted exactly by pokerlib
//    (every pair of combinations that share no card, every board), which gives the equity and
//    the number of such pairs. EQUITY_CACHE, when given, keeps that table between runs: read
//    when the file exists, written when it does not.
// 2. At every stack of the grid, CFR+ (regret matching+, alternating updates, linearly weighted
//    average) solves the jam-or-fold game until neither player gains more than kTarget bb per
//    hand dealt by a best response, summed over both (or kMaxIterations pass).
// 3. Each class takes the action its average strategy plays at least half the time.
// Progress, exploitability and times go to stderr.

#include "pokerlib/EquityCalculator.h"
#include "pokerlib/RangeNotation.h"
#include "typical/PushFold.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kN = typical::kHandClasses;
constexpr std::uint64_t kBoards = 1'712'304; // 48 choose 5
constexpr double kTarget = 1e-6;
constexpr int kMaxIterations = 200'000;
constexpr int kCheckEvery = 50;

std::string ClassName(int k)
{
    static const char kRanks[] = "23456789TJQKA";
    const int row = k / 13, column = k % 13;
    if (row == column)
        return {kRanks[row], kRanks[row]};
    if (row > column)
        return {kRanks[row], kRanks[column], 's'};
    return {kRanks[column], kRanks[row], 'o'};
}

int Combos(int k)
{
    const int row = k / 13, column = k % 13;
    return row == column ? 6 : row > column ? 4 : 12;
}

struct Equities
{
    // weight[a][b]: pairs of combinations of a and b that share no card; equity[a][b]: a's.
    std::vector<double> weight = std::vector<double>(kN * kN);
    std::vector<double> equity = std::vector<double>(kN * kN);
};

double CpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

bool Compute(Equities &e)
{
    std::vector<brisquel::ComboList> combos(kN);
    for (int k = 0; k < kN; ++k) {
        std::string error;
        if (!brisquel::ParseRange(ClassName(k), combos[std::size_t(k)], error) ||
            int(combos[std::size_t(k)].size()) != Combos(k)) {
            std::fprintf(stderr, "class %s: %s\n", ClassName(k).c_str(), error.c_str());
            return false;
        }
    }
    for (int a = 0; a < kN; ++a) {
        for (int b = a; b < kN; ++b) {
            brisquel::EquitySetup setup;
            setup.players = {{combos[std::size_t(a)]}, {combos[std::size_t(b)]}};
            setup.exact = true;
            setup.threads = 1;
            const brisquel::EquityResult r = brisquel::CalculateEquity(setup);
            if (!r.ok || r.deals % kBoards != 0) {
                std::fprintf(stderr, "%s v %s: %s\n", ClassName(a).c_str(), ClassName(b).c_str(),
                             r.ok ? "odd deal count" : r.error.c_str());
                return false;
            }
            const double pairs = double(r.deals / kBoards);
            e.weight[std::size_t(a * kN + b)] = e.weight[std::size_t(b * kN + a)] = pairs;
            e.equity[std::size_t(a * kN + b)] = r.players[0].equity;
            e.equity[std::size_t(b * kN + a)] = r.players[1].equity;
        }
        std::fprintf(stderr, "equities: %s done, %.0f s CPU\n", ClassName(a).c_str(), CpuSeconds());
    }
    return true;
}

bool Load(const std::string &path, Equities &e)
{
    std::FILE *f = std::fopen(path.c_str(), "r");
    if (!f)
        return false;
    int read = 0;
    for (int i = 0; i < kN * kN; ++i)
        read += std::fscanf(f, "%lf %lf", &e.weight[std::size_t(i)], &e.equity[std::size_t(i)]);
    std::fclose(f);
    return read == 2 * kN * kN;
}

void Save(const std::string &path, const Equities &e)
{
    std::FILE *f = std::fopen(path.c_str(), "w");
    if (!f)
        return;
    for (int i = 0; i < kN * kN; ++i)
        std::fprintf(f, "%.0f %.17g\n", e.weight[std::size_t(i)], e.equity[std::size_t(i)]);
    std::fclose(f);
}

// The game at one stack, in chips of bb summed over the pairs of combinations.
// The small blind's hand i against the big blind's j: fold -0.5; jam and fold +1; jam and
// call 2 S eq - S, that is +1 plus m[i][j] = w (2 S eq - S - 1).
struct Game
{
    double stack = 0;
    std::vector<double> m = std::vector<double>(kN * kN);
    std::array<double, kN> w{}; // pairs per small blind class
    double total = 0;

    Game(const Equities &e, double s)
        : stack(s)
    {
        for (int i = 0; i < kN; ++i)
            for (int j = 0; j < kN; ++j) {
                const std::size_t ij = std::size_t(i * kN + j);
                m[ij] = e.weight[ij] * (2 * s * e.equity[ij] - s - 1);
                w[std::size_t(i)] += e.weight[ij];
                total += e.weight[ij];
            }
    }

    // The small blind's gain from jamming over folding with each class, against calls c.
    void JamGain(const std::array<double, kN> &c, std::array<double, kN> &gain) const
    {
        for (int i = 0; i < kN; ++i) {
            const double *row = &m[std::size_t(i * kN)];
            double sum = 0;
            for (int j = 0; j < kN; ++j)
                sum += row[j] * c[std::size_t(j)];
            gain[std::size_t(i)] = 1.5 * w[std::size_t(i)] + sum;
        }
    }

    // The big blind's gain from calling over folding with each class, against jams s.
    void CallGain(const std::array<double, kN> &s, std::array<double, kN> &gain) const
    {
        gain.fill(0);
        for (int i = 0; i < kN; ++i) {
            const double *row = &m[std::size_t(i * kN)];
            const double si = s[std::size_t(i)];
            if (si == 0)
                continue;
            for (int j = 0; j < kN; ++j)
                gain[std::size_t(j)] -= si * row[j];
        }
    }

    // What each player gains per hand dealt by a best response to the other's strategy.
    std::pair<double, double> BestResponseGains(const std::array<double, kN> &s,
                                                const std::array<double, kN> &c) const
    {
        std::array<double, kN> jam{}, call{};
        JamGain(c, jam);
        CallGain(s, call);
        double sbNow = 0, sbBest = 0, bbNow = 0, bbBest = 0;
        for (std::size_t k = 0; k < std::size_t(kN); ++k) {
            sbNow += s[k] * jam[k];
            sbBest += std::max(0.0, jam[k]);
            bbNow += c[k] * call[k];
            bbBest += std::max(0.0, call[k]);
        }
        return {(sbBest - sbNow) / total, (bbBest - bbNow) / total};
    }
};

struct Solution
{
    std::array<double, kN> jam{}, call{}; // average strategies
    int iterations = 0;
    double sbGain = 0, bbGain = 0;         // best-response gains against the averages
    double pureSbGain = 0, pureBbGain = 0; // against the chart's pure actions
};

// Regret matching+ over the two actions of every class (act, or fold).
struct Regrets
{
    std::array<double, kN> act{}, fold{};

    void Strategy(std::array<double, kN> &p) const
    {
        for (std::size_t k = 0; k < std::size_t(kN); ++k) {
            const double sum = act[k] + fold[k];
            p[k] = sum > 0 ? act[k] / sum : 0.5;
        }
    }
    void Add(const std::array<double, kN> &p, const std::array<double, kN> &gain)
    {
        for (std::size_t k = 0; k < std::size_t(kN); ++k) {
            // Values relative to folding: act = gain, fold = 0, current = p * gain.
            const double now = p[k] * gain[k];
            act[k] = std::max(0.0, act[k] + gain[k] - now);
            fold[k] = std::max(0.0, fold[k] - now);
        }
    }
};

Solution Solve(const Game &g)
{
    Regrets sb, bb;
    std::array<double, kN> s{}, c{}, gain{}, sumS{}, sumC{};
    s.fill(0.5);
    c.fill(0.5);
    double weights = 0;
    Solution out;
    for (int t = 1; t <= kMaxIterations; ++t) {
        g.JamGain(c, gain);
        sb.Add(s, gain);
        sb.Strategy(s);
        g.CallGain(s, gain);
        bb.Add(c, gain);
        bb.Strategy(c);
        weights += t;
        for (std::size_t k = 0; k < std::size_t(kN); ++k) {
            sumS[k] += t * s[k];
            sumC[k] += t * c[k];
        }
        if (t % kCheckEvery == 0 || t == kMaxIterations) {
            for (std::size_t k = 0; k < std::size_t(kN); ++k) {
                out.jam[k] = sumS[k] / weights;
                out.call[k] = sumC[k] / weights;
            }
            out.iterations = t;
            std::tie(out.sbGain, out.bbGain) = g.BestResponseGains(out.jam, out.call);
            if (out.sbGain + out.bbGain < kTarget)
                break;
        }
    }
    std::array<double, kN> pureJam{}, pureCall{};
    for (std::size_t k = 0; k < std::size_t(kN); ++k) {
        pureJam[k] = out.jam[k] >= 0.5 ? 1 : 0;
        pureCall[k] = out.call[k] >= 0.5 ? 1 : 0;
    }
    std::tie(out.pureSbGain, out.pureBbGain) = g.BestResponseGains(pureJam, pureCall);
    return out;
}

std::array<std::uint64_t, 3> Bits(const std::array<double, kN> &p)
{
    std::array<std::uint64_t, 3> bits{};
    for (int k = 0; k < kN; ++k)
        if (p[std::size_t(k)] >= 0.5)
            bits[std::size_t(k / 64)] |= std::uint64_t(1) << (k % 64);
    return bits;
}

double Share(const std::array<double, kN> &p)
{
    double combos = 0;
    for (int k = 0; k < kN; ++k)
        combos += p[std::size_t(k)] >= 0.5 ? Combos(k) : 0;
    return combos / 1326;
}

// Classes the average strategy mixes (between 2 % and 98 %), with their frequencies.
std::string Mixed(const std::array<double, kN> &p)
{
    std::string text;
    for (int k = kN - 1; k >= 0; --k) {
        const double f = p[std::size_t(k)];
        if (f > 0.02 && f < 0.98) {
            char item[32];
            std::snprintf(item, sizeof item, " %s %.2f", ClassName(k).c_str(), f);
            text += item;
        }
    }
    return text.empty() ? " none" : text;
}

} // namespace

int main(int argc, char **argv)
{
    const auto wallStart = std::chrono::steady_clock::now();
    Equities e;
    const std::string cache = argc > 1 ? argv[1] : "";
    if (cache.empty() || !Load(cache, e)) {
        if (!Compute(e))
            return 1;
        if (!cache.empty())
            Save(cache, e);
    }
    const double equitySeconds = CpuSeconds();

    std::printf("// Generated by typical/tools/GenPushFold.cpp; do not edit.\n"
                "// Heads-up jam or fold, blinds 0.5 / 1 bb, no ante; exact class-against-class "
                "equities,\n"
                "// CFR+ to a summed best-response gain below %g bb per hand dealt.\n"
                "// Per stack: {stack in bb, jam bits, call bits}, bit k of the 169 classes of "
                "PushFold.h\n"
                "// (word k / 64). Comments: shares of the 1326 hands, iterations, what a best "
                "response\n"
                "// gains against the average strategies (SB + BB) and against this chart's "
                "pure actions,\n"
                "// and the classes the average strategies mix.\n",
                kTarget);
    double worstMixed = 0, worstPure = 0;
    for (int n = 0; n < typical::kChartStacks; ++n) {
        const double stack = typical::kChartMinBb + n * typical::kChartStepBb;
        const Solution sol = Solve(Game(e, stack));
        const auto jam = Bits(sol.jam), call = Bits(sol.call);
        std::printf("// %.1f bb: jam %.1f %%, call %.1f %%; %d iterations; gain %.0e + %.0e, "
                    "pure %.0e + %.0e\n",
                    stack, 100 * Share(sol.jam), 100 * Share(sol.call), sol.iterations, sol.sbGain,
                    sol.bbGain, sol.pureSbGain, sol.pureBbGain);
        std::printf("//   mixed jams:%s\n//   mixed calls:%s\n", Mixed(sol.jam).c_str(),
                    Mixed(sol.call).c_str());
        std::printf("{%.1f,\n {0x%016llxULL, 0x%016llxULL, 0x%016llxULL},\n"
                    " {0x%016llxULL, 0x%016llxULL, 0x%016llxULL}},\n",
                    stack, (unsigned long long)jam[0], (unsigned long long)jam[1],
                    (unsigned long long)jam[2], (unsigned long long)call[0],
                    (unsigned long long)call[1], (unsigned long long)call[2]);
        worstMixed = std::max(worstMixed, sol.sbGain + sol.bbGain);
        worstPure = std::max(worstPure, sol.pureSbGain + sol.pureBbGain);
        std::fprintf(stderr, "%.1f bb: %d iterations, gain %.2e, pure %.2e\n", stack,
                     sol.iterations, sol.sbGain + sol.bbGain, sol.pureSbGain + sol.pureBbGain);
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::fprintf(stderr,
                 "worst summed gain: %.2e bb (average strategies), %.2e bb (pure chart)\n"
                 "CPU: %.1f s equities, %.1f s solving; wall %.1f s\n",
                 worstMixed, worstPure, equitySeconds, CpuSeconds() - equitySeconds, wall);
    return 0;
}
