#include "tests/support/PushFoldEquilibrium.h"

#include <algorithm>
#include <vector>

namespace testsupport {

namespace {

using Row = std::array<double, kClassCount>;

struct Game
{
    std::vector<Row> deals;  // deals[a][b]: card pairs of a hand of a against one of b
    std::vector<Row> called; // the small blind's result when called, in big blinds
    double allDeals = 0.0;
};

Game MakeGame(const EquityTable &equity, double stack)
{
    Game game{std::vector<Row>(kClassCount), std::vector<Row>(kClassCount), 0.0};
    for (int a = 0; a < kClassCount; ++a) {
        for (int b = 0; b < kClassCount; ++b) {
            game.deals[a][b] = DisjointDeals(a, b);
            game.called[a][b] = stack * (2.0 * equity[a][b] - 1.0);
            game.allDeals += game.deals[a][b];
        }
    }
    return game;
}

// The small blind's value of each action per class against `call`, summed over deals.
void SmallBlindValues(const Game &game, const Row &call, Row &jam, Row &fold)
{
    for (int a = 0; a < kClassCount; ++a) {
        double j = 0.0, f = 0.0;
        for (int b = 0; b < kClassCount; ++b) {
            const double n = game.deals[a][b];
            j += n * (call[b] * game.called[a][b] + (1.0 - call[b]));
            f -= 0.5 * n;
        }
        jam[a] = j;
        fold[a] = f;
    }
}

// The big blind's value of each action per class (its own gains) against `jam`, facing it.
void BigBlindValues(const Game &game, const Row &jam, Row &call, Row &fold)
{
    call.fill(0.0);
    fold.fill(0.0);
    for (int a = 0; a < kClassCount; ++a) {
        for (int b = 0; b < kClassCount; ++b) {
            const double reach = game.deals[a][b] * jam[a];
            call[b] -= reach * game.called[a][b];
            fold[b] -= reach;
        }
    }
}

// The small blind's result per hand when both play these strategies.
double Value(const Game &game, const Row &jam, const Row &call)
{
    Row j{}, f{};
    SmallBlindValues(game, call, j, f);
    double total = 0.0;
    for (int a = 0; a < kClassCount; ++a)
        total += jam[a] * j[a] + (1.0 - jam[a]) * f[a];
    return total / game.allDeals;
}

double Exploitability(const Game &game, const Row &jam, const Row &call)
{
    Row j{}, f{}, c{}, bf{};
    SmallBlindValues(game, call, j, f);
    BigBlindValues(game, jam, c, bf);
    double smallBest = 0.0, bigBest = 0.0;
    for (int a = 0; a < kClassCount; ++a) {
        smallBest += std::max(j[a], f[a]);
        double folded = 0.0; // the big blind's gain from the small blind's folds
        for (int b = 0; b < kClassCount; ++b)
            folded += 0.5 * game.deals[a][b] * (1.0 - jam[a]);
        bigBest += folded;
    }
    for (int b = 0; b < kClassCount; ++b)
        bigBest += std::max(c[b], bf[b]);
    return (smallBest + bigBest) / game.allDeals;
}

// Regret matching: each action in proportion to its positive regret.
void Match(const Row &yes, const Row &no, Row &strategy)
{
    for (int i = 0; i < kClassCount; ++i) {
        const double sum = yes[i] + no[i];
        strategy[i] = sum > 0.0 ? yes[i] / sum : 0.5;
    }
}

} // namespace

PushFoldSolution SolvePushFold(const EquityTable &equity, double stackBb, double exploitabilityBb,
                               int maxIterations)
{
    const Game game = MakeGame(equity, stackBb);
    Row jamRegret{}, foldRegret{}, callRegret{}, passRegret{};
    Row jam{}, call{}, jamSum{}, callSum{};
    double weights = 0.0;
    PushFoldSolution out;
    out.stackBb = stackBb;
    for (int t = 1; t <= maxIterations; ++t) {
        // Alternating updates: the small blind first, then the big blind against its new play.
        Match(jamRegret, foldRegret, jam);
        Match(callRegret, passRegret, call);
        Row vj{}, vf{};
        SmallBlindValues(game, call, vj, vf);
        for (int a = 0; a < kClassCount; ++a) {
            const double v = jam[a] * vj[a] + (1.0 - jam[a]) * vf[a];
            jamRegret[a] = std::max(0.0, jamRegret[a] + vj[a] - v);
            foldRegret[a] = std::max(0.0, foldRegret[a] + vf[a] - v);
        }
        Match(jamRegret, foldRegret, jam);
        Row vc{}, vp{};
        BigBlindValues(game, jam, vc, vp);
        for (int b = 0; b < kClassCount; ++b) {
            const double v = call[b] * vc[b] + (1.0 - call[b]) * vp[b];
            callRegret[b] = std::max(0.0, callRegret[b] + vc[b] - v);
            passRegret[b] = std::max(0.0, passRegret[b] + vp[b] - v);
        }
        Match(callRegret, passRegret, call);
        weights += t;
        for (int i = 0; i < kClassCount; ++i) {
            jamSum[i] += t * jam[i];
            callSum[i] += t * call[i];
        }
        out.iterations = t;
        if (t % 50 == 0 || t == maxIterations) {
            for (int i = 0; i < kClassCount; ++i) {
                out.jam[i] = jamSum[i] / weights;
                out.call[i] = callSum[i] / weights;
            }
            out.exploitabilityBb = Exploitability(game, out.jam, out.call);
            if (out.exploitabilityBb < exploitabilityBb)
                break;
        }
    }
    out.smallBlindValueBb = Value(game, out.jam, out.call);
    return out;
}

double RangeShare(const std::array<double, kClassCount> &strategy)
{
    double played = 0.0;
    for (int i = 0; i < kClassCount; ++i)
        played += strategy[i] * static_cast<double>(ClassHands(i).size());
    return played / 1326.0;
}

} // namespace testsupport
