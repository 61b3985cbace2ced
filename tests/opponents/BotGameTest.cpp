#include "opponents/BotGame.h"
#include "opponents/Roster.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using testsupport::TempFolder;

namespace {

BotGameOptions Options(const TempFolder &folder, int seats, std::uint64_t seed)
{
    BotGameOptions o;
    o.names = DefaultBotNames(seats);
    o.stacks.assign(static_cast<size_t>(seats), 1500);
    o.gameTypeId = 4; // "9 players Turbo"
    o.seed = seed;
    o.outputFolder = folder.str();
    return o;
}

int SeatsWithChips(const BotGameResult &r)
{
    int count = 0;
    for (const BotSeatResult &seat : r.seats)
        count += seat.finalStack > 0 ? 1 : 0;
    return count;
}

TEST(BotGame, DefaultLineUpHasNoHumanAndCoversTenSeats)
{
    EXPECT_EQ(DefaultBotNames(2), (std::vector<std::string>{"Professor", "Master"}));
    const auto ten = DefaultBotNames(10);
    ASSERT_EQ(ten.size(), 10u);
    EXPECT_EQ(ten[8], "Professor");
    EXPECT_EQ(ten[9], "Master");
    for (const auto &name : ten)
        EXPECT_NE(PersonaOfName(name), kPersonaHero);
}

TEST(BotGame, TournamentsPlayToOnePlayerKeepingEveryChip)
{
    const TempFolder folder;
    for (int seats : {2, 9, 10}) {
        for (std::uint64_t seed = 1; seed <= 2; ++seed) {
            const BotGameResult r = RunBotGame(Options(folder, seats, seed));
            SCOPED_TRACE("seats " + std::to_string(seats) + " seed " + std::to_string(seed));
            EXPECT_GT(r.handsPlayed, 0);
            EXPECT_EQ(SeatsWithChips(r), 1);
            EXPECT_EQ(r.finalChips(), r.startChips());
        }
    }
}

TEST(BotGame, SameSeedRepeatsTheGameAndTheLastHandStops)
{
    const TempFolder folder;
    BotGameOptions o = Options(folder, 6, 42);
    o.lastHand = 25;
    const BotGameResult a = RunBotGame(o);
    const BotGameResult b = RunBotGame(o);
    EXPECT_EQ(a.handsPlayed, 25);
    ASSERT_EQ(a.seats.size(), b.seats.size());
    for (size_t s = 0; s < a.seats.size(); ++s) {
        EXPECT_EQ(a.seats[s].finalStack, b.seats[s].finalStack) << s;
        EXPECT_EQ(a.seats[s].stat.m_N, b.seats[s].stat.m_N) << s;
    }
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "HistoryGame.log"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "HandHistory"));
}

// Plays one scripted hand of four seats; the script sees the table and the seat's role.
struct ScriptedDecider : IDecider
{
    struct Roles
    {
        int button = -1, sb = -1, bb = -1, utg = -1;
    } roles;
    std::function<int(const CGameTable &, int seat, const Roles &)> preflop;

    int DecidePreflop(const CGameTable &t, int seat, EasyRandom &) override
    {
        if (roles.button < 0) { // before anyone folds
            roles.button = t.m_button;
            roles.sb = t.NextActiveSeat(t.m_button);
            roles.bb = t.NextActiveSeat(roles.sb);
            roles.utg = t.NextActiveSeat(roles.bb);
        }
        return preflop(t, seat, roles);
    }
    int DecidePostflop(const CGameTable &, int, int, EasyRandom &) override { return 0; }
};

int ToCall(const CGameTable &t, int seat)
{
    return t.m_amountToCall - t.m_bet[seat];
}

BotGameResult PlayOneHand(ScriptedDecider &decider)
{
    BotGameOptions o;
    o.names = {"Tim", "Tim", "Tim", "Tim"};
    o.stacks.assign(4, 1000);
    o.lastHand = 1;
    o.seed = 9;
    o.decider = &decider;
    const TempFolder folder;
    o.outputFolder = folder.str();
    return RunBotGame(o);
}

void ExpectCounts(const CPokerStat &s, int n, int opp, int vpip, int pfr, int threeBet)
{
    EXPECT_EQ(s.m_hands, 1);
    EXPECT_EQ(s.m_N, n);
    EXPECT_EQ(s.m_vpipOpportunities, opp);
    EXPECT_EQ(s.m_VPIP, vpip);
    EXPECT_EQ(s.m_PFR, pfr);
    EXPECT_EQ(s.m_3bet, threeBet);
}

TEST(EngineStatistics, EveryoneFoldsToTheBigBlind)
{
    ScriptedDecider d;
    d.preflop = [](const CGameTable &, int, const ScriptedDecider::Roles &) { return 0; };
    const BotGameResult r = PlayOneHand(d);
    ExpectCounts(r.seats[d.roles.bb].stat, 0, 0, 0, 0, 0);
    for (int s : {d.roles.utg, d.roles.button, d.roles.sb})
        ExpectCounts(r.seats[s].stat, 1, 1, 0, 0, 0);
}

TEST(EngineStatistics, BigBlindChecksBehindLimpers)
{
    ScriptedDecider d;
    d.preflop = [](const CGameTable &t, int seat, const ScriptedDecider::Roles &) {
        return ToCall(t, seat);
    };
    const BotGameResult r = PlayOneHand(d);
    ExpectCounts(r.seats[d.roles.bb].stat, 1, 0, 0, 0, 0);
    for (int s : {d.roles.utg, d.roles.button, d.roles.sb})
        ExpectCounts(r.seats[s].stat, 1, 1, 1, 0, 0);
}

TEST(EngineStatistics, LimperReraisesTheButton)
{
    ScriptedDecider d;
    d.preflop = [](const CGameTable &t, int seat, const ScriptedDecider::Roles &roles) {
        if (seat == roles.utg)
            return t.m_lastAction[seat] == 0 ? ToCall(t, seat) : 200 - t.m_bet[seat];
        if (seat == roles.button)
            return t.m_amountToCall == t.m_bigBlind ? 60 - t.m_bet[seat] : ToCall(t, seat);
        return 0;
    };
    const BotGameResult r = PlayOneHand(d);
    ExpectCounts(r.seats[d.roles.utg].stat, 1, 1, 1, 0, 1);
    ExpectCounts(r.seats[d.roles.button].stat, 1, 1, 1, 1, 0);
    ExpectCounts(r.seats[d.roles.sb].stat, 1, 1, 0, 0, 0);
    ExpectCounts(r.seats[d.roles.bb].stat, 1, 1, 0, 0, 0);
}

} // namespace
