// The range tracker on games between the personas where every card is known: the judge's
// equity against the tracker's weights should match, on average, its equity against the cards
// the seat really held; against any hand it should not.

#include "playout/RangeCheck.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using playout::RangeSituation;

// Cells resting on this many decisions are held to the bound.
constexpr int kWellPopulated = 40;
constexpr double kBoundPoints = 1.5;

class RangeAccuracy : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        testsupport::TempFolder folder("brisquel_ranges");
        playout::RangeCheckOptions options;
        options.games = 3;
        options.seats = 6;
        options.lastHand = 60;
        options.seed = 21;
        options.equityTrials = 1500;
        options.folder = folder.str();
        s_result = new playout::RangeCheckResult(playout::CheckRanges(options));
    }
    static void TearDownTestSuite()
    {
        delete s_result;
        s_result = nullptr;
    }
    static playout::RangeCheckResult *s_result;
};

playout::RangeCheckResult *RangeAccuracy::s_result = nullptr;

TEST_F(RangeAccuracy, WellPopulatedCellsAreWithinTheBound)
{
    const playout::RangeCheckResult &r = *s_result;
    ASSERT_GT(r.hands, 100);
    int checked = 0;
    for (const auto &persona : r.cells)
        for (int s = 0; s < playout::kRangeSituations; ++s) {
            const playout::DiffStats &d = persona[s].model;
            if (d.n < kWellPopulated)
                continue;
            ++checked;
            // The interval must reach into the bound: a bias the sample cannot tell from noise.
            EXPECT_LE(std::abs(d.Mean()) - d.HalfWidth95(), kBoundPoints)
                << playout::RangeSituationName(RangeSituation(s)) << "\n"
                << playout::FormatRangeCheck(r);
        }
    EXPECT_GE(checked, 6) << playout::FormatRangeCheck(r);
}

// Any hand misreads a seat that has bet or raised: the judge's equity comes out far too high.
TEST_F(RangeAccuracy, UniformWeightsAreClearlyWorse)
{
    const playout::RangeCheckResult &r = *s_result;
    double modelError = 0.0, uniformError = 0.0;
    int n = 0;
    bool someUniformCellFarOff = false;
    for (const auto &persona : r.cells)
        for (int s = 0; s < playout::kRangeSituations; ++s) {
            if (RangeSituation(s) == RangeSituation::NotActed)
                continue;
            const playout::RangeCheckCell &c = persona[s];
            if (c.model.n < 10)
                continue;
            modelError += c.model.n * std::abs(c.model.Mean());
            uniformError += c.uniform.n * std::abs(c.uniform.Mean());
            n += c.model.n;
            someUniformCellFarOff |=
                std::abs(c.uniform.Mean()) - c.uniform.HalfWidth95() > 3 * kBoundPoints;
        }
    ASSERT_GT(n, 0);
    EXPECT_GT(uniformError / n, 2.5 * modelError / n) << playout::FormatRangeCheck(r);
    EXPECT_TRUE(someUniformCellFarOff) << playout::FormatRangeCheck(r);
}

// Before a seat acts its weights are any hand: both columns measure the same thing.
TEST_F(RangeAccuracy, NotActedYetIsTheUniformControlItself)
{
    for (const auto &persona : s_result->cells) {
        const playout::RangeCheckCell &c = persona[int(RangeSituation::NotActed)];
        ASSERT_GT(c.model.n, 0);
        EXPECT_NEAR(c.model.Mean(), c.uniform.Mean(), 1.0);
    }
}

} // namespace
