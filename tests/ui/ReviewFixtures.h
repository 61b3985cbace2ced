#pragma once
// What the review windows' tests share: bot games saved into a ledger, the files they leave,
// the points of a chart, and the labels and buttons of a window.

#include "opponents/BotGame.h"
#include "storage/PokerTables.h"
#include "storage/SessionSave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtCharts/QChartView>
#include <QtCharts/QXYSeries>
#include <QtTest>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace {

// Four-seat bot games of 40 hands, one per seed, each saved into the folder's PokerDB.db3.
inline std::vector<BotGameResult> PlayBotGamesWithLedger(const QString &folder,
                                                         std::initializer_list<std::uint64_t> seeds)
{
    std::vector<BotGameResult> games;
    for (std::uint64_t seed : seeds) {
        CPokerDatabase db;
        if (!OpenDatabase(db, folder.toStdString()))
            return {};
        BotGameOptions options;
        options.names = DefaultBotNames(4);
        options.stacks = {1000, 1000, 1000, 1000};
        options.lastHand = 40;
        options.seed = seed;
        options.outputFolder = folder.toStdString();
        options.saveResults = [&db](CDunmereGame &game) { SaveSessionResults(db, game); };
        games.push_back(RunBotGame(options));
    }
    return games;
}

inline QString ReadText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

inline QStringList HistoryFiles(const QString &folder)
{
    QDir dir(QDir(folder).filePath(QStringLiteral("HandHistory")));
    QStringList files;
    for (const QString &name : dir.entryList({QStringLiteral("HH_*.txt")}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

inline QList<QPointF> Points(QChartView *view, const QString &seriesName)
{
    for (QAbstractSeries *series : view->chart()->series()) {
        if (series->name() == seriesName)
            return static_cast<QXYSeries *>(series)->points();
    }
    return {};
}

// The text of a label of the window, empty when it is hidden.
inline QString ShownText(QWidget &window, const char *name)
{
    auto *label = window.findChild<QLabel *>(QLatin1String(name));
    return label && !label->isHidden() ? label->text() : QString();
}

// Clicks a window's button by its object name, as a person does, and lets Qt deliver it.
inline void ClickButton(QWidget *window, const char *buttonName)
{
    auto *button = window->findChild<QPushButton *>(QLatin1String(buttonName));
    QVERIFY2(button, buttonName);
    QVERIFY2(button->isEnabled(), buttonName);
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

} // namespace
