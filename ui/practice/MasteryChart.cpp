#include "ui/practice/MasteryChart.h"

#include "practice/Store.h"
#include "ui/review/BoundedText.h"

#include <QDir>
#include <QFileInfo>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

constexpr int kMostLeaks = 12;

} // namespace

QString DrawMasteryChart(QChartView *view, const QString &storePath)
{
    auto *chart = new QChart;
    chart->setTitle(
        QObject::tr("Drills: right answers per leak, over its last %1 drills").arg(kMasteryTries));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
    const QString noDrills =
        QObject::tr("No drill answered yet: \"Drill…\" in the Review panel asks the spots you "
                    "got wrong.");
    if (!QFileInfo::exists(storePath))
        return noDrills;
    practice::Store store;
    std::vector<practice::Spot> spots;
    std::vector<practice::Try> tries;
    std::string error;
    if (!store.Open(storePath.toStdString(), error) || !store.Load(spots, error) ||
        !store.Tries(tries, error))
        return QObject::tr("%1: %2").arg(QDir::toNativeSeparators(storePath),
                                         QString::fromStdString(error));
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    auto *right = new QBarSet(QObject::tr("Right (%)"));
    right->setColor(QColor(0x2E, 0x7D, 0x32));
    right->setLabelColor(Qt::white);
    QStringList categories;
    for (const practice::Leak &leak : practice::Leaks(spots)) {
        const practice::Mastery m = practice::MasteryOf(leak, tries, kMasteryTries, now);
        if (m.tries == 0)
            continue;
        // Two lines: the axis draws its labels as rich text.
        categories << QObject::tr("%1<br>%2 of %3 right · %4 bb lost per drill")
                          .arg(BoundedText(QString::fromStdString(practice::LeakName(leak.key)),
                                           kMaxMessageChars)
                                   .toHtmlEscaped())
                          .arg(m.right)
                          .arg(m.tries)
                          .arg(m.lossPerTryBb, 0, 'f', 2);
        *right << std::round(100.0 * m.right / m.tries);
        if (categories.size() == kMostLeaks)
            break;
    }
    QString note = store.rebuilt() ? QString::fromStdString(store.notice()) : QString();
    if (categories.isEmpty()) {
        delete right;
        return note.isEmpty() ? noDrills : note;
    }
    // The costliest leak on top: a horizontal chart draws its first category at the bottom.
    std::reverse(categories.begin(), categories.end());
    QList<qreal> values;
    for (int i = right->count() - 1; i >= 0; --i)
        values << right->at(i);
    right->remove(0, right->count());
    right->append(values);
    auto *series = new QHorizontalBarSeries;
    series->append(right);
    series->setLabelsVisible(true);
    series->setLabelsFormat(QStringLiteral("@value %"));
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    chart->addSeries(series);
    auto *leaks = new QBarCategoryAxis;
    leaks->append(categories);
    auto *share = new QValueAxis;
    share->setRange(0, 100);
    share->setLabelFormat(QStringLiteral("%d"));
    share->setTitleText(QObject::tr("Right over the last %1 drills (%)").arg(kMasteryTries));
    chart->addAxis(leaks, Qt::AlignLeft);
    chart->addAxis(share, Qt::AlignBottom);
    series->attachAxis(leaks);
    series->attachAxis(share);
    return note;
}
