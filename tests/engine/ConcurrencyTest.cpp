// A stand-in user-interface thread that paints, toggles the statistics and answers for the
// human while the game thread plays; meant to be run under ThreadSanitizer as well.
#include "tests/engine/EngineTestSupport.h"

#include <random>
#include <set>
#include <thread>

using namespace enginetest;

namespace {

// Like the action panel: PrepareDecision only marks the panel ready; the UI thread answers.
class PanelHuman : public IHumanPlayer
{
public:
    void PrepareDecision(int) override
    {
        ++m_count;
        m_prepared = true;
    }
    std::atomic<size_t> m_count{0};
    bool RunAddChipsDialog(int &chips) override
    {
        chips = 1000;
        return true;
    }
    std::atomic<bool> m_prepared{false};
};

class CallingDecider : public IDecider
{
public:
    int DecidePreflop(const CGameTable &t, int seat, EasyRandom &) override
    {
        return Answer(t, seat);
    }
    int DecidePostflop(const CGameTable &t, int seat, int, EasyRandom &) override
    {
        return Answer(t, seat);
    }

private:
    int Answer(const CGameTable &t, int seat)
    {
        const int owed = std::max(0, t.m_amountToCall - t.m_bet[seat]);
        switch (m_generator() % 4) {
        case 0:
            return 0;
        case 1:
            return std::min(t.m_stack[seat], owed + 40);
        default:
            return std::min(t.m_stack[seat], owed);
        }
    }
    std::mt19937 m_generator{11};
};

} // namespace

class Concurrency : public GameFixture
{
};

TEST_F(Concurrency, PaintingAndAnsweringWhileTheGameRuns)
{
    PanelHuman human;
    CallingDecider decider;
    m_game.SetHumanPlayer(&human);
    m_game.SetDecider(&decider);
    m_game.m_onHandEnd = [](CDunmereGame &game) {
        if (game.m_handNumber >= 150)
            game.m_stopRequested = true;
    };
    GameSetupItems items = Items({"Hero", "Master", "Tim", "Maniac"}, {1000, 1000, 1000, 1000});
    m_game.StartGame(items);
    m_game.StartDeal();

    std::atomic<bool> done{false};
    std::thread ui([&] {
        std::mt19937 generator(3);
        size_t painted = 0;
        while (!done) {
            {
                std::lock_guard<std::mutex> lock(m_game.StateMutex());
                for (const CPlayerRect &box : m_game.m_playerRects)
                    painted += box.m_stackText.size() + box.m_actionText.size() +
                               box.m_winText.size() + box.m_statRect.m_lines[0].size();
                painted += m_game.m_potText.size() + m_game.m_actions.size();
            }
            if (human.m_prepared.exchange(false)) {
                int amount;
                bool fold;
                {
                    std::lock_guard<std::mutex> lock(m_game.StateMutex());
                    const CGameTable &t = m_game.m_table;
                    amount = std::max(0, std::min(t.m_stack[0], t.m_amountToCall - t.m_bet[0]));
                    fold = generator() % 5 == 0;
                }
                m_game.SubmitHumanDecision(fold ? 0 : amount, fold);
            }
            if (generator() % 50 == 0)
                m_game.ToggleStatistics();
            std::this_thread::yield();
        }
        EXPECT_GT(painted, 0u);
    });
    m_game.WaitForGameEnd();
    done = true;
    ui.join();

    const CGameTable &t = m_game.m_table;
    int total = 0;
    for (int s = 0; s < 4; ++s)
        total += t.m_stack[s];
    EXPECT_EQ(total, 4000 + m_game.m_chipsAdded);
    EXPECT_EQ(m_program.m_closeCount, 1);
    EXPECT_GT(human.m_count.load(), 0u);
}

// Without pauses the game thread would otherwise keep the state locked from hand to hand, and
// a window could neither paint nor take a command until the game ended.
TEST_F(Concurrency, AWaitingPainterGetsInDuringAGameWithoutPauses)
{
    CallingDecider decider;
    m_game.SetDecider(&decider);
    GameSetupItems items =
        Items({"Master", "Tim", "Maniac", "Professor"}, {100000, 100000, 100000, 100000});
    m_game.StartGame(items);
    m_game.StartDeal();

    std::vector<int> handsSeen;
    bool endedBeforeTheStop = false;
    std::thread ui([&] {
        for (int i = 0; i < 20; ++i) {
            {
                auto lock = m_game.LockState();
                handsSeen.push_back(m_game.m_handNumber);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        endedBeforeTheStop = !m_game.GameThreadRunning();
        m_game.StopGame();
    });
    m_game.WaitForGameEnd();
    ui.join();
    ASSERT_FALSE(endedBeforeTheStop);
    // The game went on between the painter's visits: it got in while hands were played.
    EXPECT_GE(std::set<int>(handsSeen.begin(), handsSeen.end()).size(), 3u);
}
