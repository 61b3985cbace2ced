#pragma once
// "Progress…": four charts from the files. This game: the player's chips after every hand,
// the hands that reached a showdown marked, and the same chips with every all-in before the
// river settled at its equity. All games: the running balance of each name of PokerDB.db3
// against the game number. VPIP, PFR, 3-bet: the player's figures per game (or another
// name's) with the hands behind each figure. Coach per game: each hand history's result, the
// same all-in adjusted, and the coach's big blinds lost per 100 hands. Drills: each drilled
// leak's share of right answers (Practice.db3 beside PokerDB.db3). Each chart can be saved as a
// PNG.
//
// Threads: UI thread only; the games' reviews run on a worker (CProgressReviewer), stopped
// when the window closes.

#include "replay/HandReplay.h"
#include "storage/LedgerReader.h"
#include "ui/review/ProgressFigures.h"
#include "ui/review/ProgressReviewer.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QProgressBar;
class QTabWidget;

class CProgressWindow : public QWidget
{
    Q_OBJECT
public:
    // outputFolder holds "HandHistory" (this game: its latest file); databasePath PokerDB.db3,
    // beside which the games' figures are cached. `figure` works out one game's figures on the
    // worker thread (tests replace it); empty: FigureGame.
    CProgressWindow(QString outputFolder, QString databasePath, QWidget *parent = nullptr,
                    CProgressReviewer::Figure figure = {});
    ~CProgressWindow() override;

    // Reads the files again and redraws the charts.
    void reload();

    // Asks where to save a chart; tests replace it. Empty: not saved.
    std::function<QString(const QString &suggestedName)> m_askSavePath;

    QChartView *gameChart() const { return m_gameChart; }
    QChartView *balanceChart() const { return m_balanceChart; }
    QChartView *statisticsChart() const { return m_statisticsChart; }
    QChartView *perGameChart() const { return m_perGameChart; }
    QChartView *drillsChart() const { return m_drillsChart; }
    QTabWidget *tabs() const { return m_tabs; }
    // Games are being reviewed for the per-game chart.
    bool isReviewing() const { return m_reviewing; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // A chart with its message line above and, below, `extra` and the save button.
    QWidget *makePage(QChartView *&view, QLabel *&message, const QString &name,
                      const QString &pngName, QWidget *extra = nullptr);
    void loadGame();
    void drawGame();
    // The figures of every game from the cache, then a review of the others.
    void loadFigures();
    void startReview();
    void takeFigures(int index, const GameFigures &figures);
    void endReview();
    void writeCache();
    void drawPerGame();
    void loadLedger();
    void drawBalances(QChart *balances);
    void drawStatistics(const QString &name);
    void save(QChartView *view, QLabel *message, const QString &pngName);

    QString m_outputFolder;
    QString m_databasePath;
    QTabWidget *m_tabs = nullptr;
    QChartView *m_gameChart = nullptr;
    QChartView *m_balanceChart = nullptr;
    QChartView *m_statisticsChart = nullptr;
    QChartView *m_perGameChart = nullptr;
    QChartView *m_drillsChart = nullptr;
    QLabel *m_drillsMessage = nullptr;
    QLabel *m_gameMessage = nullptr;
    QLabel *m_perGameMessage = nullptr;
    QLabel *m_reviewLabel = nullptr;
    QProgressBar *m_reviewBar = nullptr;
    QLabel *m_balanceMessage = nullptr;
    QLabel *m_statisticsMessage = nullptr;
    QComboBox *m_statisticsName = nullptr;
    LedgerContents m_ledger;

    // This game: its file, its player's name and chips after every hand.
    QString m_gameFile;
    QString m_gamePlayer;
    std::vector<replay::ChipsPoint> m_gamePoints;

    // Per game, oldest first: the history files and what is known of each.
    QStringList m_historyFiles;
    std::vector<std::optional<GameFigures>> m_figures;
    QString m_cachePath;
    bool m_cacheSound = false;   // the cache file on disk holds what m_figures holds
    std::vector<int> m_toReview; // indices of m_historyFiles the running review figures
    int m_reviewed = 0;          // how many of them are done
    bool m_reviewing = false;
    std::unique_ptr<CProgressReviewer> m_reviewer;
};
