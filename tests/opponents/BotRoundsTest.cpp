// Whole games between the personas, every betting round checked against the rules of play.
#include "opponents/BotGame.h"
#include "tests/engine/RoundAudit.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct AuditTotals
{
    int games = 0;
    int hands = 0;
    int roundsWithAllInSeat = 0;
    int bigBlindChecks = 0;
};

// At fixed blinds short stacks play on for hundreds of hands; the first ones see the most
// all-in seats.
constexpr int kShortStackHands = 50;

// Plays one game per seed (to the end, or to lastHand) and expects no fault in any round.
AuditTotals PlayAudited(int seats, int stack, int gameTypeId, int seeds, int lastHand = 0)
{
    const testsupport::TempFolder folder;
    AuditTotals totals;
    for (int seed = 1; seed <= seeds; ++seed) {
        enginetest::RoundAudit audit;
        BotGameOptions o;
        o.names = DefaultBotNames(seats);
        o.stacks.assign(static_cast<size_t>(seats), stack);
        o.gameTypeId = gameTypeId;
        o.lastHand = lastHand;
        o.seed = static_cast<std::uint64_t>(seed);
        o.outputFolder = folder.str();
        o.onHandEnd = [&audit](const CDunmereGame &game) { audit.AfterHand(game); };
        const BotGameResult r = RunBotGame(o);
        EXPECT_EQ(r.finalChips(), r.startChips()) << "seed " << seed;
        EXPECT_TRUE(audit.faults.empty())
            << seats << " seats, seed " << seed << ", " << audit.faults.size()
            << " faults, first: " << audit.faults.front();
        ++totals.games;
        totals.hands += audit.hands;
        totals.roundsWithAllInSeat += audit.roundsWithAllIn;
        totals.bigBlindChecks += audit.bigBlindChecks;
    }
    return totals;
}

TEST(BotRounds, ShortStacksAtFixedBlindsNeverCostATurn)
{
    for (int seats : {6, 9}) {
        const AuditTotals totals = PlayAudited(seats, 300, 0, 30, kShortStackHands);
        // The games must really go past all-in seats for the check to mean anything.
        EXPECT_GT(totals.roundsWithAllInSeat, totals.games) << seats << " seats";
    }
}

TEST(BotRounds, TurboBigBlindsCheckBehindCallsAtAnteLevels)
{
    const AuditTotals totals = PlayAudited(9, 1500, 4, 12);
    EXPECT_GT(totals.bigBlindChecks, 0);
    EXPECT_GT(totals.roundsWithAllInSeat, totals.games);
}

} // namespace
