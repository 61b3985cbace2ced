// The Progress window's charts, drawn from what the window has read; and what they share: a
// fresh chart, axes of whole and of real numbers, the tips of a series' points.
#include "ui/review/ProgressCharts.h"
#include "ui/review/ProgressWindow.h"

#include "lineformat/GameLines.h"
#include "ui/review/BoundedText.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QToolTip>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxGameTicks = 12;
constexpr double kGamePad = 0.3;
constexpr double kShowdownMarkerSize = 9;

// An axis of whole numbers (hands, games) from first to last, with `pad` to spare at both ends
// so that the end points and their labels stay clear of the frame.
QValueAxis *CountAxis(const QString &title, int first, int last, double pad = 0)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%d"));
    if (last <= first) {
        first -= 1;
        last += 1;
    }
    axis->setRange(first - pad, last + pad);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(first);
    axis->setTickInterval(std::max(1.0, std::ceil(double(last - first) / kMaxGameTicks)));
    return axis;
}

QValueAxis *ValueAxis(const QString &title, double low, double high)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    if (high <= low) {
        low -= 1;
        high += 1;
    }
    const double margin = (high - low) * 0.08;
    // Chips and hands are never negative: such an axis starts at 0.
    axis->setRange(low >= 0 ? std::max(0.0, low - margin) : low - margin, high + margin);
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

// Shows `tip(i)` for the point of `series` nearest to the hovered one.
template <typename Tip> void TipOnHover(QXYSeries *series, Tip tip)
{
    QObject::connect(series, &QXYSeries::hovered, series,
                     [series, tip](const QPointF &point, bool entered) {
                         if (!entered) {
                             QToolTip::hideText();
                             return;
                         }
                         const QList<QPointF> points = series->points();
                         int nearest = -1;
                         double distance = 0;
                         for (int i = 0; i < points.size(); ++i) {
                             const double d = std::abs(points[i].x() - point.x());
                             if (nearest < 0 || d < distance) {
                                 nearest = i;
                                 distance = d;
                             }
                         }
                         if (nearest >= 0)
                             QToolTip::showText(QCursor::pos(), tip(nearest));
                     });
}

} // namespace

QString HistoryFolderText(const QString &outputFolder)
{
    return QDir::toNativeSeparators(
        QDir(outputFolder).filePath(QLatin1String(gamelines::kHistoryFolder)));
}

void ShowText(QLabel *label, const QString &text, bool error)
{
    label->setText(BoundedText(text, kMaxMessageChars));
    label->setStyleSheet(error ? QStringLiteral("color: #B00020; font-weight: bold;")
                               : QStringLiteral("color: #1B5E20;"));
    label->setVisible(!text.isEmpty());
}

QChart *FreshChart(QChartView *view, const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
    return chart;
}

void CProgressWindow::drawGame()
{
    const std::vector<replay::ChipsPoint> &points = m_gamePoints;
    if (points.empty())
        return;
    QChart *chart = FreshChart(m_gameChart, {});
    const QString file = QFileInfo(m_gameFile).fileName();
    chart->setTitle(tr("This game (%1): %2's chips after every hand").arg(file, m_gamePlayer));
    auto *chips = new QLineSeries;
    chips->setName(tr("Chips"));
    chips->setPointsVisible(points.size() < 60);
    auto *showdowns = new QScatterSeries;
    showdowns->setName(tr("Showdown"));
    showdowns->setMarkerSize(kShowdownMarkerSize);
    showdowns->setColor(QColor(0xA9, 0x39, 0x0A));
    double low = points.front().chips, high = low;
    for (const replay::ChipsPoint &p : points) {
        chips->append(p.hand, p.chips);
        if (p.showdown)
            showdowns->append(p.hand, p.chips);
        low = std::min<double>(low, p.chips);
        high = std::max<double>(high, p.chips);
    }
    std::vector<QXYSeries *> lines{chips, showdowns};
    // The chips had every all-in been settled at its equity: the luck of the all-ins taken out.
    const int latest = int(m_historyFiles.size()) - 1;
    const GameFigures *figures = latest >= 0 && size_t(latest) < m_figures.size() &&
                                         m_figures[size_t(latest)] &&
                                         m_historyFiles[latest] == m_gameFile
                                     ? &*m_figures[size_t(latest)]
                                     : nullptr;
    if (figures && figures->adjusted) {
        auto *adjusted = new QLineSeries;
        adjusted->setName(tr("All-in adjusted"));
        adjusted->setPen(QPen(QColor(0x6A, 0x1B, 0x9A), 2, Qt::DashLine));
        double luck = 0;
        size_t next = 0;
        for (const replay::ChipsPoint &p : points) {
            for (; next < figures->allIns.size() && figures->allIns[next].hand <= p.hand; ++next)
                luck += figures->allIns[next].delta;
            adjusted->append(p.hand, p.chips + luck);
            low = std::min(low, p.chips + luck);
            high = std::max(high, p.chips + luck);
        }
        TipOnHover(adjusted, [adjusted](int i) {
            const QPointF p = adjusted->at(i);
            return tr("Hand #%1: %2 chips all-in adjusted").arg(p.x()).arg(p.y(), 0, 'f', 1);
        });
        lines.push_back(adjusted);
    }
    for (QXYSeries *series : lines)
        chart->addSeries(series);
    QValueAxis *x = CountAxis(tr("Hand"), points.front().hand, points.back().hand);
    QValueAxis *y = ValueAxis(tr("Chips"), std::min(low, 0.0), high);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QXYSeries *series : lines) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    TipOnHover(chips, [chips](int i) {
        const QPointF p = chips->at(i);
        return tr("Hand #%1: %2 chips").arg(p.x()).arg(p.y());
    });
}

// All games: the running balance of each name of the ledger, a line each.
void CProgressWindow::drawBalances(QChart *balances)
{
    int games = 1;
    double low = 0, high = 0;
    std::vector<QLineSeries *> lines;
    for (const std::string &name : LedgerNames(m_ledger)) {
        const std::vector<BalancePoint> points = BalanceSeries(m_ledger, name);
        if (points.empty())
            continue;
        auto *line = new QLineSeries;
        line->setName(BoundedText(QString::fromStdString(name)));
        line->setPointsVisible(true);
        QStringList dates;
        for (const BalancePoint &p : points) {
            line->append(p.game, p.balance);
            dates << QString::fromStdString(p.date).trimmed();
            low = std::min(low, p.balance);
            high = std::max(high, p.balance);
        }
        games = std::max(games, points.back().game);
        const QString who = line->name();
        TipOnHover(line, [line, dates, who](int i) {
            return tr("%1, game %2 (%3): balance %4")
                .arg(who)
                .arg(line->at(i).x())
                .arg(dates.value(i))
                .arg(line->at(i).y());
        });
        balances->addSeries(line);
        lines.push_back(line);
    }
    QValueAxis *gameAxis = CountAxis(tr("Game"), 1, games, kGamePad);
    QValueAxis *balanceAxis = ValueAxis(tr("Balance (chips)"), low, high);
    balances->addAxis(gameAxis, Qt::AlignBottom);
    balances->addAxis(balanceAxis, Qt::AlignLeft);
    for (QLineSeries *line : lines) {
        line->attachAxis(gameAxis);
        line->attachAxis(balanceAxis);
    }
}

void CProgressWindow::drawStatistics(const QString &nameText)
{
    const std::string name = nameText.toStdString();
    QChart *statistics =
        FreshChart(m_statisticsChart, tr("VPIP, PFR and 3-bet of each game (%1)").arg(nameText));
    const std::vector<GameStatistics> perGame = StatisticsPerGame(m_ledger, name);
    if (perGame.empty()) {
        if (!m_ledger.isEmpty())
            ShowText(m_statisticsMessage,
                     tr("%1 holds no statistics of %2 yet.")
                         .arg(QDir::toNativeSeparators(m_databasePath), nameText),
                     true);
        return;
    }
    ShowText(m_statisticsMessage, {}, false);
    auto *vpip = new QLineSeries;
    vpip->setName(tr("VPIP %"));
    auto *pfr = new QLineSeries;
    pfr->setName(tr("PFR %"));
    auto *threeBet = new QLineSeries;
    threeBet->setName(tr("3-bet %"));
    auto *hands = new QLineSeries;
    hands->setName(tr("Hands (right scale)"));
    hands->setPen(QPen(Qt::gray, 1.5, Qt::DashLine));
    hands->setPointLabelsVisible(true);
    hands->setPointLabelsFormat(QStringLiteral("@yPoint"));
    hands->setPointLabelsClipping(false);
    int mostHands = 1;
    for (const GameStatistics &g : perGame) {
        vpip->append(g.game, g.vpip);
        pfr->append(g.game, g.pfr);
        threeBet->append(g.game, g.threeBet);
        hands->append(g.game, g.hands);
        mostHands = std::max(mostHands, g.hands);
    }
    QValueAxis *x = CountAxis(tr("Game"), 1, perGame.back().game, kGamePad);
    auto *percent = new QValueAxis;
    percent->setTitleText(tr("Per cent of the game's hands"));
    percent->setRange(0, 100);
    percent->setLabelFormat(QStringLiteral("%d"));
    QValueAxis *handAxis = ValueAxis(tr("Hands"), 0, mostHands);
    statistics->addAxis(x, Qt::AlignBottom);
    statistics->addAxis(percent, Qt::AlignLeft);
    statistics->addAxis(handAxis, Qt::AlignRight);
    for (QLineSeries *line : {vpip, pfr, threeBet, hands}) {
        line->setPointsVisible(true);
        statistics->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(line == hands ? handAxis : percent);
        TipOnHover(line, [line, perGame](int i) {
            const GameStatistics &g = perGame[static_cast<size_t>(i)];
            return tr("Game %1 (%2): %3 %4 over %5 hands")
                .arg(g.game)
                .arg(QString::fromStdString(g.date).trimmed(), line->name())
                .arg(line->at(i).y(), 0, 'f', 1)
                .arg(g.hands);
        });
    }
}

void CProgressWindow::drawPerGame()
{
    QChart *chart = FreshChart(m_perGameChart, tr("Per game: your result and the coach's verdict"));
    if (m_historyFiles.isEmpty()) {
        ShowText(m_perGameMessage,
                 tr("No hand history yet in %1: play a game to see its figures.")
                     .arg(HistoryFolderText(m_outputFolder)),
                 true);
        return;
    }
    auto *result = new QLineSeries;
    result->setName(tr("Result (chips)"));
    auto *adjusted = new QLineSeries;
    adjusted->setName(tr("All-in adjusted (chips)"));
    adjusted->setPen(QPen(QColor(0x6A, 0x1B, 0x9A), 2, Qt::DashLine));
    auto *evLoss = new QLineSeries;
    evLoss->setName(tr("EV loss per 100 hands (bb, right scale)"));
    evLoss->setPen(QPen(QColor(0xC6, 0x28, 0x28), 2));
    double low = 0, high = 0, lossHigh = 0;
    QStringList problems;
    QStringList names;
    for (int i = 0; i < m_historyFiles.size(); ++i) {
        const QString file = QFileInfo(m_historyFiles[i]).fileName();
        const std::optional<GameFigures> &f = m_figures[size_t(i)];
        // A short game's loss per 100 hands stands on few hands: the tip says how many.
        names << (f ? tr("%1, %n hand(s)", nullptr, f->hands).arg(file) : file);
        if (!f)
            continue;
        if (!f->problem.isEmpty())
            problems << tr("%1: %2").arg(file, f->problem);
        if (f->hands == 0)
            continue;
        result->append(i + 1, f->result);
        low = std::min<double>(low, f->result);
        high = std::max<double>(high, f->result);
        if (f->adjusted) {
            adjusted->append(i + 1, *f->adjusted);
            low = std::min(low, *f->adjusted);
            high = std::max(high, *f->adjusted);
        }
        if (f->evLossPer100) {
            evLoss->append(i + 1, *f->evLossPer100);
            lossHigh = std::max(lossHigh, *f->evLossPer100);
        }
    }
    ShowText(m_perGameMessage,
             problems.isEmpty()
                 ? QString()
                 : tr("Not every game could be reviewed; they have no EV loss point.\n%1")
                       .arg(problems.join(QLatin1Char('\n'))),
             true);
    QValueAxis *x = CountAxis(tr("Game"), 1, int(m_historyFiles.size()), kGamePad);
    QValueAxis *chips = ValueAxis(tr("Chips won"), low, high);
    // A loss is never below 0: the scale starts there even when every game lost nothing.
    auto *bigBlinds = new QValueAxis;
    bigBlinds->setTitleText(tr("EV loss (bb per 100 hands)"));
    bigBlinds->setRange(0, std::max(1.0, lossHigh * 1.08));
    bigBlinds->applyNiceNumbers();
    bigBlinds->setLabelFormat(QStringLiteral("%.1f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(chips, Qt::AlignLeft);
    chart->addAxis(bigBlinds, Qt::AlignRight);
    std::vector<QLineSeries *> lines{result};
    if (adjusted->count() > 0)
        lines.push_back(adjusted);
    else
        delete adjusted;
    lines.push_back(evLoss);
    for (QLineSeries *line : lines) {
        line->setPointsVisible(true);
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(line == evLoss ? bigBlinds : chips);
        TipOnHover(line, [line, names](int i) {
            const QPointF p = line->at(i);
            return tr("Game %1 (%2): %3 %4")
                .arg(p.x())
                .arg(names.value(int(p.x()) - 1), line->name())
                .arg(p.y(), 0, 'f', line->name().contains(QLatin1String("bb")) ? 1 : 0);
        });
    }
}
