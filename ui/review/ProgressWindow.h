#pragma once
// "Progress…": three charts from the files. This game: the player's chips after every hand,
// the hands that reached a showdown marked. All games: the running balance of each name of
// PokerDB.db3 against the game number. Per game: the player's VPIP, PFR and 3-bet (or another
// name's) with the hands behind each figure. Each chart can be saved as a PNG.
//
// Threads: UI thread only.

#include "storage/LedgerReader.h"

#include <QString>
#include <QWidget>

#include <functional>

class QChartView;
class QComboBox;
class QLabel;
class QTabWidget;

class CProgressWindow : public QWidget
{
    Q_OBJECT
public:
    // outputFolder holds "HandHistory" (this game: its latest file); databasePath PokerDB.db3.
    CProgressWindow(QString outputFolder, QString databasePath, QWidget *parent = nullptr);

    // Reads the files again and redraws the charts.
    void reload();

    // Asks where to save a chart; tests replace it. Empty: not saved.
    std::function<QString(const QString &suggestedName)> m_askSavePath;

    QChartView *gameChart() const { return m_gameChart; }
    QChartView *balanceChart() const { return m_balanceChart; }
    QChartView *statisticsChart() const { return m_statisticsChart; }
    QTabWidget *tabs() const { return m_tabs; }

private:
    // A chart with its message line above and, below, `extra` and the save button.
    QWidget *makePage(QChartView *&view, QLabel *&message, const QString &name,
                      const QString &pngName, QWidget *extra = nullptr);
    void loadGame();
    void loadLedger();
    void drawStatistics(const QString &name);
    void save(QChartView *view, QLabel *message, const QString &pngName);

    QString m_outputFolder;
    QString m_databasePath;
    QTabWidget *m_tabs = nullptr;
    QChartView *m_gameChart = nullptr;
    QChartView *m_balanceChart = nullptr;
    QChartView *m_statisticsChart = nullptr;
    QLabel *m_gameMessage = nullptr;
    QLabel *m_balanceMessage = nullptr;
    QLabel *m_statisticsMessage = nullptr;
    QComboBox *m_statisticsName = nullptr;
    LedgerContents m_ledger;
};
