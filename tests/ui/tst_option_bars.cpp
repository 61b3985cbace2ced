// The options' values where the player sees them: the bars of one decision (what they show for
// values given by hand), the words of the pane's line after a hand, and the replayer drawing
// the bars of the player's decisions of a bot game as a person steps through it.

#include "tests/ui/ReviewFixtures.h"
#include "ui/coach/AdviceText.h"
#include "ui/review/DecisionValuer.h"
#include "ui/review/HandsWindow.h"
#include "ui/review/OptionBars.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using playout::Advice;
using playout::Option;
using playout::OptionKind;

namespace {

Option Valued(OptionKind kind, int put, int total, double evBb, double errorBb)
{
    Option o;
    o.kind = kind;
    o.put = put;
    o.total = total;
    o.evBb = evBb;
    o.errorBb = errorBb;
    o.samples = 400;
    return o;
}

// Facing a bet of 20 with 0 in front: fold, call 20, raise to 60, all in for 1000.
Advice FacingABet(double callBb, double raiseBb, double errorBb = 0.05, double allInErrorBb = 1.0)
{
    Advice advice;
    advice.valid = true;
    advice.final = true;
    advice.options = {Valued(OptionKind::Fold, 0, 0, 0.0, 0.0),
                      Valued(OptionKind::Call, 20, 20, callBb, errorBb),
                      Valued(OptionKind::Raise, 60, 60, raiseBb, errorBb),
                      Valued(OptionKind::AllIn, 1000, 1000, -2.5, allInErrorBb)};
    playout::Settle(advice);
    return advice;
}

// Nothing owed, 10 in front already: check, bet to 40, all in.
Advice NothingOwed()
{
    Advice advice;
    advice.valid = true;
    advice.options = {Valued(OptionKind::Check, 0, 10, 0.6, 0.01),
                      Valued(OptionKind::Bet, 30, 40, 0.9, 0.01),
                      Valued(OptionKind::AllIn, 990, 1000, -4.0, 0.5)};
    playout::Settle(advice);
    return advice;
}

QString Text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

class TestOptionBars : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void movesCountAsTheirOption_data();
    void movesCountAsTheirOption();
    void paneLineNamesTheOptionsAndTheGrade();
    void barsShowTheValuesTheyAreGiven();
    void replayerDrawsThePlayersDecisions();
    void valuesOfADecisionNoLongerShownAreDropped();

private:
    QTemporaryDir m_bots;
};

void TestOptionBars::initTestCase()
{
    QVERIFY(m_bots.isValid());
    const auto games = PlayBotGamesWithLedger(m_bots.path(), {31u});
    QCOMPARE(games.size(), size_t(1));
    QCOMPARE(HistoryFiles(m_bots.path()).size(), 1);
}

void TestOptionBars::movesCountAsTheirOption_data()
{
    QTest::addColumn<int>("which"); // 0: facing a bet, 1: nothing owed
    QTest::addColumn<int>("put");
    QTest::addColumn<bool>("fold");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<double>("lossBb");
    QTest::addColumn<QString>("grade");
    // Raise +1.2, call +0.8: calling gives away 0.4 bb, beyond 0.25 by more than the 3.5
    // standard errors a harsher grade asks for (3.5 × √(0.02² + 0.02²) = 0.10), below 1: a
    // small mistake.
    QTest::newRow("call") << 0 << 20 << false << "call" << true << 0.4 << "small mistake";
    QTest::newRow("fold") << 0 << 0 << true << "fold" << true << 1.2 << "mistake";
    QTest::newRow("best") << 0 << 60 << false << "raise to 60" << true << 0.0 << "ok";
    // A raise to 75 was not valued: it counts as the raise nearest to it.
    QTest::newRow("odd raise") << 0 << 75 << false << "raise to 60" << false << 0.0 << "ok";
    QTest::newRow("odd shove") << 0 << 900 << false << "all in" << false << 3.7 << "blunder";
    // Folding where checking was free gives up the check's 0.6 bb against the bet's 0.9.
    QTest::newRow("fold, free check") << 1 << 0 << true << "fold" << true << 0.9 << "small mistake";
    QTest::newRow("check") << 1 << 0 << false << "check" << true << 0.3 << "small mistake";
}

void TestOptionBars::movesCountAsTheirOption()
{
    QFETCH(int, which);
    QFETCH(int, put);
    QFETCH(bool, fold);
    QFETCH(QString, chosen);
    QFETCH(bool, exact);
    QFETCH(double, lossBb);
    QFETCH(QString, grade);
    const Advice given = which == 0 ? FacingABet(0.8, 1.2, 0.02, 0.15) : NothingOwed();
    bool same = !exact;
    const Advice graded = playout::WithMove(given, put, fold, &same);
    QVERIFY(graded.chosen >= 0);
    QCOMPARE(Text(playout::OptionLabel(graded.options[size_t(graded.chosen)])), chosen);
    QCOMPARE(same, exact);
    QVERIFY2(std::abs(graded.lossBb - lossBb) < 1e-9, qPrintable(QString::number(graded.lossBb)));
    QCOMPARE(QString::fromLatin1(playout::GradeName(graded.grade)), grade);
}

void TestOptionBars::paneLineNamesTheOptionsAndTheGrade()
{
    QCOMPARE(Text(coachui::PaneAdviceLine(playout::WithMove(FacingABet(0.8, 1.2, 0.02), 20, false),
                                          20, true)),
             QStringLiteral("  options: raise to 60 +1.2 bb (best) \u00b7 call +0.8 bb \u00b7 "
                            "fold 0.0 bb \u00b7 all in \u22122.5 bb; you: call, small mistake "
                            "(\u22120.4 bb)"));
    bool exact = true;
    const Advice odd = playout::WithMove(FacingABet(0.8, 1.2), 75, false, &exact);
    QCOMPARE(Text(coachui::PaneAdviceLine(odd, 75, exact)),
             QStringLiteral("  options: raise to 60 +1.2 bb (best) \u00b7 call +0.8 bb \u00b7 "
                            "fold 0.0 bb \u00b7 all in \u22122.5 bb; you: raise to 75 \u2248 "
                            "raise to 60, ok"));
    // A bet over what is in front already, and a loss the estimate is not sure of.
    const Advice check = playout::WithMove(NothingOwed(), 0, false);
    QCOMPARE(Text(coachui::PaneAdviceLine(check, 0, true)),
             QStringLiteral("  options: bet 40 +0.9 bb (best) \u00b7 check +0.6 bb \u00b7 all in "
                            "\u22124.0 bb; you: check, small mistake (\u22120.3 bb)"));
    // Not clear of the ok threshold: the milder grade, said to be unsure.
    const Advice unsure = playout::WithMove(FacingABet(0.8, 1.2, 0.5), 20, false);
    QCOMPARE(Text(coachui::PaneAdviceLine(unsure, 20, true)).section(QStringLiteral("; "), 1),
             QStringLiteral("you: call, ok (uncertain) (\u22120.4 bb)"));
    Advice undecided = playout::WithMove(FacingABet(0.8, 1.2, 0.02), 20, false);
    undecided.uncertain = true; // the play-outs stopped at their limit
    QCOMPARE(Text(coachui::PaneAdviceLine(undecided, 20, true)).section(QStringLiteral("; "), 1),
             QStringLiteral("you: call, small mistake (uncertain) (\u22120.4 bb)"));
    // No line without values or without the move.
    QVERIFY(coachui::PaneAdviceLine(FacingABet(0.8, 1.2), 20, true).empty());
    QVERIFY(coachui::PaneAdviceLine(Advice{}, 20, true).empty());
    QCOMPARE(Text(coachui::SignedBb(-0.04)), QStringLiteral("0.0 bb"));
    QCOMPARE(Text(coachui::SignedBb(0.05)), QStringLiteral("+0.1 bb"));
}

void TestOptionBars::barsShowTheValuesTheyAreGiven()
{
    COptionBars bars;
    bars.resize(700, bars.sizeHint().height());
    bars.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bars));
    bars.setMessage(QStringLiteral("Valuing the options\u2026"));
    QCOMPARE(bars.barCount(), 0);
    QCOMPARE(bars.message(), QStringLiteral("Valuing the options\u2026"));

    bool exact = false;
    const Advice called = playout::WithMove(FacingABet(0.8, 1.2), 20, false, &exact);
    bars.setAdvice(called, exact);
    QVERIFY(bars.message().isEmpty());
    QCOMPARE(bars.barCount(), 4);
    const QStringList texts = {bars.barText(0), bars.barText(1), bars.barText(2), bars.barText(3)};
    QCOMPARE(texts, (QStringList{QStringLiteral("fold  0.0 \u00b1 0.0 bb"),
                                 QStringLiteral("call  +0.8 \u00b1 0.1 bb"),
                                 QStringLiteral("raise to 60  +1.2 \u00b1 0.1 bb"),
                                 QStringLiteral("all in  \u22122.5 \u00b1 1.0 bb")}));
    QCOMPARE(bars.bestBar(), 2);
    QCOMPARE(bars.chosenBar(), 1);
    QCOMPARE(bars.barMark(2), QStringLiteral("best"));
    QCOMPARE(bars.barMark(1), QStringLiteral("you"));
    QVERIFY(bars.barMark(0).isEmpty());

    // Lengths in proportion to the values, gains to the right of zero and losses to its left.
    const QRectF fold = bars.barRect(0), call = bars.barRect(1), raise = bars.barRect(2),
                 shove = bars.barRect(3);
    QCOMPARE(fold.width(), 0.0);
    const double zero = fold.left();
    QCOMPARE(call.left(), zero);
    QCOMPARE(raise.left(), zero);
    QCOMPARE(shove.right(), zero);
    QVERIFY(std::abs(raise.width() / call.width() - 1.2 / 0.8) < 1e-6);
    QVERIFY(std::abs(shove.width() / call.width() - 2.5 / 0.8) < 1e-6);
    QVERIFY(shove.left() >= 0 && raise.right() <= bars.width());
    // One row each, top to bottom.
    QVERIFY(fold.bottom() <= call.top() && call.bottom() <= raise.top());

    // A bet size that was not valued is marked as counting for the nearest.
    const Advice raised = playout::WithMove(FacingABet(0.8, 1.2), 75, false, &exact);
    bars.setAdvice(raised, exact);
    QCOMPARE(bars.barMark(2), QStringLiteral("best \u00b7 you \u2248"));

    // Where the best only beats the computer opponents' code, a line under the bars says so.
    QVERIFY(bars.exploitNote().isEmpty());
    const int plainHeight = bars.sizeHint().height();
    Advice exploit = called;
    exploit.standard = exploit.options;
    exploit.standardBest = 1;
    exploit.exploited = "Maniac_3";
    bars.setAdvice(exploit, true);
    QApplication::processEvents();
    QCOMPARE(bars.exploitNote(), QStringLiteral("Best vs Maniac_3: raise to 60 +0.4 bb \u00b7 "
                                                "vs a typical player: call"));
    QVERIFY(bars.sizeHint().height() > plainHeight);
    if (const QString folder = qEnvironmentVariable("BRISQUEL_SCREENSHOTS"); !folder.isEmpty()) {
        bars.resize(bars.sizeHint());
        bars.grab().save(folder + QStringLiteral("/option_bars.png"));
    }
}

void TestOptionBars::replayerDrawsThePlayersDecisions()
{
    CHandsWindow window(m_bots.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.reload();
    const history::Game &game = window.game();
    QVERIFY(!game.hands.empty());
    auto *bars = window.findChild<COptionBars *>(QStringLiteral("optionBars"));
    auto *caption = window.findChild<QLabel *>(QStringLiteral("caption"));
    QVERIFY(bars && caption);

    // The player is seat 0 of a bot game. Its decisions, as the caption words them.
    static const QRegularExpression decisionVerb(
        QStringLiteral("^: (folds|checks|calls|bets|raises)"));
    int seen = 0;
    QString lastDecision;
    for (int row = 0; row < int(game.hands.size()) && seen < 3; ++row) {
        window.selectRow(row);
        QCoreApplication::processEvents();
        const QString player = QString::fromStdString(game.hands[size_t(row)].seats[0].name);
        for (int step = 0; step < window.stepCount() && seen < 3; ++step) {
            if (step > 0)
                ClickButton(&window, "forward");
            const QString text = caption->text();
            const bool decision =
                text.startsWith(player) && decisionVerb.match(text.mid(player.size())).hasMatch();
            QCOMPARE(bars->isVisible(), decision);
            if (!decision)
                continue;
            // The first values come while the step is shown.
            QTRY_VERIFY_WITH_TIMEOUT(bars->barCount() > 0, 30000);
            const QString verb = decisionVerb.match(text.mid(player.size())).captured(1);
            QVERIFY(bars->chosenBar() >= 0);
            const QString chosen =
                bars->barText(bars->chosenBar()).section(QStringLiteral("  "), 0, 0);
            static const QHash<QString, QString> optionOf = {
                {QStringLiteral("folds"), QStringLiteral("^fold$")},
                {QStringLiteral("checks"), QStringLiteral("^check$")},
                {QStringLiteral("calls"), QStringLiteral("^(call|all in)$")},
                {QStringLiteral("bets"), QStringLiteral("^(bet \\d+|all in)$")},
                {QStringLiteral("raises"), QStringLiteral("^(raise to \\d+|all in)$")}};
            QVERIFY2(QRegularExpression(optionOf.value(verb)).match(chosen).hasMatch(),
                     qPrintable(text + QStringLiteral(" / ") + chosen));
            // Folding is worth nothing from here on; the best bar has the highest value; a
            // fold is offered exactly when a call is.
            bool hasFold = false, hasCall = false;
            for (int b = 0; b < bars->barCount(); ++b) {
                const QString label = bars->barText(b).section(QStringLiteral("  "), 0, 0);
                hasFold |= label == QLatin1String("fold");
                hasCall |= label == QLatin1String("call");
                if (label == QLatin1String("fold"))
                    QCOMPARE(bars->barValue(b), 0.0);
                QVERIFY(bars->barValue(b) <= bars->barValue(bars->bestBar()));
            }
            QCOMPARE(hasFold, hasCall || verb == QLatin1String("folds"));
            if (seen == 0 && !qEnvironmentVariableIsEmpty("BRISQUEL_SCREENSHOTS"))
                window.grab().save(qEnvironmentVariable("BRISQUEL_SCREENSHOTS") +
                                   QStringLiteral("/replayer_bars.png"));
            lastDecision = text;
            ++seen;
        }
    }
    QCOMPARE(seen, 3);

    // Steps that are no decision of the player show no bars.
    ClickButton(&window, "first");
    QVERIFY(bars->isHidden());
    ClickButton(&window, "last");
    QVERIFY(bars->isHidden());
}

void TestOptionBars::valuesOfADecisionNoLongerShownAreDropped()
{
    CHandsWindow window(m_bots.path());
    window.reload();
    auto game = std::make_shared<const history::Game>(window.game());
    // A fold of the player and a later decision of its that is no fold.
    int foldHand = -1, foldAction = -1, otherHand = -1, otherAction = -1;
    for (int h = 0; h < int(game->hands.size()); ++h) {
        const auto &actions = game->hands[size_t(h)].actions;
        for (int a = 0; a < int(actions.size()); ++a) {
            const history::Action &action = actions[size_t(a)];
            if (action.seat != 0 || action.kind == history::ActionKind::Ante ||
                action.kind == history::ActionKind::SmallBlind ||
                action.kind == history::ActionKind::BigBlind)
                continue;
            if (action.kind == history::ActionKind::Fold && foldHand < 0) {
                foldHand = h;
                foldAction = a;
            } else if (action.kind != history::ActionKind::Fold && foldHand >= 0 && otherHand < 0) {
                otherHand = h;
                otherAction = a;
            }
        }
    }
    QVERIFY(foldHand >= 0 && otherHand >= 0);

    CDecisionValuer valuer;
    playout::AdviseSettings settings;
    settings.firstAnswerMillis = 100;
    settings.maxMillis = 5000;
    settings.seed = 3;
    valuer.setSettings(settings);
    valuer.setGame(game, 0);
    QList<Advice> received;
    connect(&valuer, &CDecisionValuer::advised, this,
            [&](const Advice &advice, bool) { received << advice; });
    QVERIFY(valuer.request(foldHand, foldAction));
    QVERIFY(!valuer.request(foldHand, foldAction));  // the same decision: nothing new
    QVERIFY(valuer.request(otherHand, otherAction)); // the fold's values are stale now
    QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), 30000);
    for (const Advice &advice : received)
        QVERIFY(advice.chosen >= 0 &&
                advice.options[size_t(advice.chosen)].kind != OptionKind::Fold);
    valuer.cancel(); // nothing asked for: what is still on its way is dropped
    const qsizetype count = received.size();
    QCoreApplication::processEvents();
    QCOMPARE(received.size(), count);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestOptionBars test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_option_bars.moc"
