#pragma once
// "Hands…": the hands of a game's hand-history file in a list, and the selected hand replayed on
// a table drawn like the live one: step by step, by street, or played at a chosen speed. It
// reads the files only, never the live game.
//
// Threads: UI thread only, but for the coach's review of the game shown (play-outs grading
// every decision of the player, which take seconds), which runs as a job of CBackgroundJobs.

#include "coach/Review.h"
#include "replay/HandReplay.h"
#include "ui/jobs/BackgroundJobs.h"
#include "ui/review/HandListModel.h"

#include <QString>
#include <QWidget>

#include <QHash>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CDecisionValuer;
class CHandListModel;
class COptionBars;
class CTableCanvas;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSlider;
class QSortFilterProxyModel;
class QSplitter;
class QTableView;
class QTimer;

class CHandsWindow : public QWidget
{
    Q_OBJECT
public:
    // outputFolder: where the program writes "HandHistory" and "HistoryGame.log".
    explicit CHandsWindow(QString outputFolder, QWidget *parent = nullptr);
    ~CHandsWindow() override; // waits for the coach's review of the game shown

    // Lists the folder's games again and shows the latest, the game being played.
    void reload();
    // Shows the game of one hand-history file; false with the reason in the message line.
    // PokerStars-format files and PHH files are read too: each of their tables is one entry
    // of the game list, the first shown.
    bool openFile(const QString &path);
    // Writes the game shown as PokerStars-format hand histories, or PHH when the name ends
    // in ".phh" or ".phhs"; false with the reason in the message line.
    bool exportTo(const QString &path);
    // Selects the hand in row `row` of the list as it is sorted.
    void selectRow(int row);

    // Asks for a file to open; tests replace it.
    std::function<QString()> m_askOpenPath;
    // Asks where to export the game shown; tests replace it.
    std::function<QString()> m_askExportPath;
    // True once the coach has judged the decisions of the game shown (or given up on it).
    bool verdictsReady() const { return m_verdictsReady; }
    // How the coach's review grades the decisions (tests make it short); for games opened
    // after the call.
    void setReviewOptions(const coach::ReviewOptions &options) { m_reviewOptions = options; }

    int step() const { return m_step; }
    int stepCount() const;
    const history::Game &game() const;

signals:

protected:
    // Left, Right and Space step and play wherever the focus is, the hand list included.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The window's parts, top to bottom, left to right.
    void askPathsWithDialogs();
    QHBoxLayout *makeFileRow();
    void makeMessageLine();
    void makeHandList();
    QWidget *makeReplayPane();
    QHBoxLayout *makeStepRow(QWidget *pane);
    QHBoxLayout *makeStreetRow(QWidget *pane);
    QHBoxLayout *makeSpeedRow(QWidget *pane);
    void connectReplay();

    bool stepKey(int key);
    void fitListWidth();
    void showGameAt(int comboIndex);
    bool openTable(const QString &path, int table);
    void listTables(const QString &path, int table, const std::vector<history::Game> &games);
    void showGame(const QString &path, history::Game game);
    void showHand(const QModelIndex &index);
    void setStep(int step);
    void jumpToStreet(int street);
    void togglePlay();
    void updateSpeed();
    void showMessage(const QString &text, bool error);
    // Judges the player's decisions of the game shown on a worker thread.
    void startVerdicts();
    void takeVerdicts(QHash<QPair<int, int>, QString> verdicts, const QString &problem,
                      const std::vector<CHandListModel::CoachGrade> &grades);
    // The filter by grade waits for the grades, and says so.
    void showReviewing(bool reviewing);
    void showCoachLine();
    // The bars of the options at the step shown, when it is a decision of the player.
    void showOptionValues(bool decision);

    QString m_outputFolder;
    QComboBox *m_games = nullptr;
    QCheckBox *m_mistakesOnly = nullptr;
    QLabel *m_message = nullptr;
    CHandListModel *m_model = nullptr;
    QSortFilterProxyModel *m_sorted = nullptr;
    QTableView *m_list = nullptr;
    QSplitter *m_splitter = nullptr;
    CTableCanvas *m_table = nullptr;
    QLabel *m_caption = nullptr;
    QLabel *m_stepLabel = nullptr;
    QLabel *m_coach = nullptr;
    COptionBars *m_bars = nullptr;       // the options' values at a decision of the player
    CDecisionValuer *m_valuer = nullptr; // fills m_bars from its own thread
    QPushButton *m_first = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_play = nullptr;
    QPushButton *m_forward = nullptr;
    QPushButton *m_last = nullptr;
    QPushButton *m_streets[5] = {};
    QSlider *m_speed = nullptr;
    QLabel *m_speedLabel = nullptr;
    QTimer *m_timer = nullptr;

    int m_hand = -1; // into game().hands
    std::optional<replay::HandReplay> m_replay;
    int m_step = 0;

    // The coach's line per (hand index, action index), filled when the review comes back.
    QHash<QPair<int, int>, QString> m_verdicts;
    QString m_coachProblem;
    bool m_verdictsReady = false;
    coach::ReviewOptions m_reviewOptions;
    // A review no longer wanted (a newer game, a Reload) stops at its next decision and is
    // dropped; the window never waits for it but on closing. Last, so it stops first.
    CBackgroundJobs m_coachJob;
};
