// The action panel in a real heads-up game: the human on the button posts the small blind,
// decides first before the flop and last after it, and the panel offers only legal totals.

#include "engine/Game.h"
#include "engine/GameState.h"
#include "ui/action_panel/DlgPlayerChoose.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

class TestPanelHeadsUp : public QObject
{
    Q_OBJECT
private slots:
    void buttonDecidesFirst();
};

namespace {

// The human's decisions go to a panel of their own, as in the program.
class PanelHuman : public IHumanPlayer
{
public:
    explicit PanelHuman(CDlgPlayerChoose *&panel)
        : m_panel(panel)
    {}
    void PrepareDecision(int sliderMax) override { m_panel->PrepareDecision(sliderMax); }
    bool RunAddChipsDialog(int &) override { return false; }

private:
    CDlgPlayerChoose *&m_panel;
};

// The opponent checks or calls whatever it faces.
class Caller : public IDecider
{
public:
    int DecidePreflop(const CGameTable &t, int seat, EasyRandom &) override
    {
        return std::clamp(t.m_amountToCall - t.m_bet[seat], 0, t.m_stack[seat]);
    }
    int DecidePostflop(const CGameTable &t, int seat, int, EasyRandom &r) override
    {
        return DecidePreflop(t, seat, r);
    }
};

} // namespace

// A whole heads-up hand with the human on the button, played on the panel: the button posts
// the small blind and decides first before the flop, last after it.
void TestPanelHeadsUp::buttonDecidesFirst()
{
    QTemporaryDir folder;
    CDunmereGame game;
    CDlgPlayerChoose *panel = CDlgPlayerChoose::CreatePanel(game, nullptr);
    panel->resize(panel->minimumSize());
    PanelHuman human(panel);
    Caller caller;
    game.SetOutputFolder(folder.path().toStdString());
    game.SetPauseFactor(0);
    game.SetHumanPlayer(&human);
    game.SetDecider(&caller);
    game.SetSeed(7);
    game.SetStackedDraws({12, 5}); // the human draws the high card: the button
    game.m_onHandEnd = [](CDunmereGame &g) { g.m_stopRequested = true; };
    GameSetupItems items;
    items.seatCount = 2;
    items.names = {"Hero", "Tim"};
    items.stacks = {1000, 1000};
    items.smallBlind = 10;
    items.bigBlind = 20;
    game.StartGame(items);
    game.StartDeal();
    auto nextDecision = [&] {
        return QTest::qWaitFor(
                   [&] { return panel->IsDecisionPrepared() || !game.GameThreadRunning(); },
                   10000) &&
               panel->IsDecisionPrepared();
    };

    QVERIFY(nextDecision());
    panel->grab();
    QCOMPARE(panel->checkCallButton()->text(), QString("CALL 10"));
    QVERIFY(!panel->potButton()->isEnabled()); // 30 is below the minimum raise
    QTest::mouseClick(panel->minButton(), Qt::LeftButton);
    panel->grab();
    QCOMPARE(panel->raiseButton()->text(), QString("RAISE TO 40"));
    QTest::mouseClick(panel->raiseButton(), Qt::LeftButton);
    for (int street = 0; street < 3; ++street) {
        QVERIFY(nextDecision());
        panel->grab();
        QCOMPARE(panel->checkCallButton()->text(), QString("CHECK"));
        QCOMPARE(panel->raiseButton()->text(), QString("BET 20"));
        QTest::mouseClick(panel->checkCallButton(), Qt::LeftButton);
    }
    game.WaitForGameEnd();
    delete panel;

    std::string history;
    for (const auto &entry :
         std::filesystem::directory_iterator(folder.filePath("HandHistory").toStdString())) {
        if (entry.path().extension() != ".txt") // not the game's own log beside it
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        history = text.str();
    }
    for (const char *lines :
         {"Hero_0: posts small blind 10\r\nTim_1: posts big blind 20\r\n",
          "*** HOLE CARDS ***\r\nHero_0: raises 30\r\nTim_1: calls 20\r\n*** FLOP ***",
          "\r\nTim_1: checks\r\nHero_0: checks\r\n*** TURN ***"})
        QVERIFY2(history.find(lines) != std::string::npos, lines);
}

QTEST_MAIN(TestPanelHeadsUp)
#include "tst_panel_heads_up.moc"
