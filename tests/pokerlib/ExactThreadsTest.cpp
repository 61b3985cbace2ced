#include "pokerlib/EquityCalculator.h"
#include "pokerlib/ExactEquity.h"
#include "tests/support/Cards.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace brisquel;
using testsupport::Cards;

EquityPlayer Player(const std::string &text)
{
    EquityPlayer p;
    if (text.size() == 5 && text[2] == ' ') {
        const auto c = Cards(text);
        p.combos = {{c[0], c[1]}};
        return p;
    }
    std::string error;
    EXPECT_TRUE(ParseRange(text, p.combos, error)) << error;
    return p;
}

struct ThreadsCase
{
    std::vector<std::string> players;
    const char *board;
};
void PrintTo(const ThreadsCase &c, std::ostream *os)
{
    *os << testing::PrintToString(c.players) << " board " << c.board;
}

EquitySetup ExactSetup(const ThreadsCase &c, int threads)
{
    EquitySetup s;
    for (const std::string &text : c.players)
        s.players.push_back(Player(text));
    s.board = Cards(c.board);
    s.exact = true;
    s.threads = threads;
    return s;
}

class ExactOnAnyThreads : public ::testing::TestWithParam<ThreadsCase>
{
};

// The work is split differently for each thread count; the counts must not change by one.
TEST_P(ExactOnAnyThreads, SameCountsAsOneThread)
{
    const EquityResult one = CalculateEquity(ExactSetup(GetParam(), 1));
    ASSERT_TRUE(one.ok) << one.error;
    EXPECT_EQ(one.threads, 1);
    for (const int threads : {2, 3, 8}) {
        const EquityResult r = CalculateEquity(ExactSetup(GetParam(), threads));
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.threads, threads);
        EXPECT_EQ(r.deals, one.deals);
        EXPECT_EQ(r.showdowns, one.showdowns);
        for (std::size_t p = 0; p < one.players.size(); ++p) {
            EXPECT_EQ(r.players[p].win, one.players[p].win) << threads << " " << p;
            EXPECT_EQ(r.players[p].tie, one.players[p].tie) << threads << " " << p;
            EXPECT_EQ(r.players[p].equity, one.players[p].equity) << threads << " " << p;
        }
    }
}

// One layout before the flop, a few on the flop (few patterns, so few units), many layouts,
// three players on the turn.
INSTANTIATE_TEST_SUITE_P(Jobs, ExactOnAnyThreads,
                         ::testing::Values(ThreadsCase{{"As Ks", "Qd Qc"}, ""},
                                           ThreadsCase{{"Ah Kh", "Qs Qd"}, "Qh 7h 2c"},
                                           ThreadsCase{{"As Kd", "QQ+,AKs"}, ""},
                                           ThreadsCase{{"QQ+,AKs", "JJ-99,AQs+"}, "Td 7h 2c"},
                                           ThreadsCase{{"Ah Kh", "Qs Qd", "JTs"}, "Qh 7h 2c 9d"}),
                         support::PrintedName());

// Exact jobs from two threads at once, one of them stopped mid-way, as the equity lab and the
// coach may run them.
TEST(ExactOnAnyThreads, TwoCallersAtOnceOneStopped)
{
    const EquitySetup plain = ExactSetup({{"As Kd", "QQ+,AKs"}, ""}, 2);
    const EquityResult expected = CalculateEquity(plain);
    ASSERT_TRUE(expected.ok) << expected.error;
    std::atomic<int> wrong{0};
    std::thread other([&] {
        for (int i = 0; i < 4; ++i) {
            EquitySetup stopped = plain;
            int calls = 0;
            stopped.progress = [&calls](double) { return ++calls < 20; };
            const EquityResult r = CalculateEquity(stopped);
            wrong += r.ok || r.error != "the calculation was stopped" || calls != 20;
        }
    });
    for (int i = 0; i < 4; ++i) {
        const EquityResult r = CalculateEquity(plain);
        wrong +=
            !r.ok || r.players[0].equity != expected.players[0].equity || r.deals != expected.deals;
    }
    other.join();
    EXPECT_EQ(wrong.load(), 0);
}

// A card as the counter's masks hold it: thirteen ranks (deuce first) per suit.
std::uint64_t Bit(int rank, int suit)
{
    return std::uint64_t(1) << (13 * suit + rank);
}

// Counting only asks whether the work fits: that quick plan lets in exactly what the figure of
// showdowns lets in, at the limit and one below it, and the counts that follow are the same.
TEST(ExactCounterPlan, QuickPlanAcceptsWhatTheFigureAcceptsAndCountsTheSame)
{
    constexpr int kAce = 12, kKing = 11, kQueen = 10;
    ExactJob job;
    job.players = 2;
    job.hands[0] = Bit(kAce, 0) | Bit(kKing, 1);
    job.rangedSeats = {1};
    job.ranged.resize(1);
    for (int rank : {kQueen, kKing, kAce}) // every pair of queens or better left to deal
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                if (!((Bit(rank, a) | Bit(rank, b)) & job.hands[0]))
                    job.ranged[0].push_back(Bit(rank, a) | Bit(rank, b));
    ExactCounter figure(job);
    const std::uint64_t showdowns = figure.Plan(kMaxExactShowdowns);
    ASSERT_GT(showdowns, 0u);
    ASSERT_LE(showdowns, kMaxExactShowdowns);

    ExactCounter quick(job);
    EXPECT_LE(quick.Plan(showdowns, {}, ExactCounter::PlanFor::kCount), showdowns);
    EXPECT_EQ(quick.Layouts(), figure.Layouts());
    ExactCount a, b;
    ASSERT_EQ(figure.Run(1, {}, a), RunEnd::kDone);
    ASSERT_EQ(quick.Run(2, {}, b), RunEnd::kDone);
    EXPECT_EQ(a.byWinners, b.byWinners);
    EXPECT_EQ(a.deals, 12u * 1'712'304u); // six pairs of queens, three of kings, three of aces

    ExactCounter refused(job);
    EXPECT_GT(refused.Plan(showdowns - 1, {}, ExactCounter::PlanFor::kCount), showdowns - 1);
}

} // namespace
