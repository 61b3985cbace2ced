#pragma once
// "Equity lab": 2 to 10 players, each a hand, a range (typed, or picked on the grid of hand
// classes) or a random hand; a board of 0, 3, 4 or 5 cards and dead cards. Counts exactly when
// the work is small enough and samples otherwise, on every core, with a progress bar and
// Stop; then shows each player's win, tie and equity, and for a ranged player the equity of
// each of its hand classes on the grid.
//
// Threads: the window lives on the UI thread; the count runs as a job of CBackgroundJobs, which
// hands its progress and outcome back, and reads only its own copy of the set-up. Closing the
// window stops the count (within a unit of work, a few milliseconds).

#include "pokerlib/EquityCalculator.h"
#include "ui/jobs/BackgroundJobs.h"

#include <QWidget>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class CDlgCards;
class CRangeGrid;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

class CEquityLabWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMaxPlayers = brisquel::kMaxEquityPlayers;
    // Sampled trials when exact counting would take too long: a standard error near 0.05 %.
    static constexpr std::uint64_t kTrials = 1'000'000;
    // Per hand class of the heat map, when sampled.
    static constexpr std::uint64_t kClassTrials = 20'000;

    explicit CEquityLabWindow(QWidget *parent = nullptr);
    ~CEquityLabWindow() override;

    QSpinBox *playerCount() const { return m_players; }
    QLineEdit *playerEdit(int p) const { return m_rows[std::size_t(p)].edit; }
    QRadioButton *playerChoice(int p) const { return m_rows[std::size_t(p)].choice; }
    QLabel *comboLabel(int p) const { return m_rows[std::size_t(p)].combos; }
    QLabel *resultLabel(int p) const { return m_rows[std::size_t(p)].result; }
    CRangeGrid *grid() const { return m_grid; }
    QSlider *topSlider() const { return m_top; }
    QLabel *topLabel() const { return m_topLabel; }
    QLabel *gridLabel() const { return m_gridLabel; }
    QLineEdit *boardEdit() const { return m_board; }
    QLineEdit *deadEdit() const { return m_dead; }
    QPushButton *boardButton() const { return m_pickBoard; }
    QPushButton *deadButton() const { return m_pickDead; }
    QPushButton *calculateButton() const { return m_calculate; }
    QPushButton *stopButton() const { return m_stop; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *statusLabel() const { return m_status; }
    bool isRunning() const { return m_counting; }

    // Runs the card picker modally (tests replace it to script the clicks).
    std::function<int(CDlgCards &)> m_runPicker;

signals:
    // A count ended: finished, stopped or refused.
    void finished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct Row
    {
        QRadioButton *choice = nullptr;
        QLineEdit *edit = nullptr;
        QLabel *combos = nullptr;
        QLabel *result = nullptr;
    };
    struct Outcome; // what the worker hands back

    QGroupBox *createPlayersBox();
    QGroupBox *createCardsBox();
    QGroupBox *createGridBox();
    // Calculate, Stop, the progress bar; the status line below them.
    QHBoxLayout *createRunRow();
    void showPlayers(int count);
    void choosePlayer(int p);
    void onGridPicked();
    void onTopSlider(int percent);
    void onPlayerEdited(int p);
    // The slider and its label for the chosen player's range of `combos` combinations.
    void showShare(std::size_t combos);
    void onInputChanged();
    void pickCards(QLineEdit *edit, const QLineEdit *other, int maxCards);
    void onCalculate();
    void onStop();
    void onProgress(double done, bool heat);
    void onFinished(const Outcome &outcome);
    void setRunning(bool running);
    // The set-up from the widgets; false with a message when something cannot be read.
    bool readSetup(brisquel::EquitySetup &setup, QString &message) const;

    QSpinBox *m_players = nullptr;
    std::array<Row, kMaxPlayers> m_rows{};
    CRangeGrid *m_grid = nullptr;
    QSlider *m_top = nullptr;
    QLabel *m_topLabel = nullptr;
    QLabel *m_gridLabel = nullptr;
    QLineEdit *m_board = nullptr;
    QLineEdit *m_dead = nullptr;
    QPushButton *m_pickBoard = nullptr;
    QPushButton *m_pickDead = nullptr;
    QPushButton *m_calculate = nullptr;
    QPushButton *m_stop = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    int m_chosen = 0;
    bool m_syncing = false;        // the grid and a player's text are being matched to each other
    unsigned m_inputsVersion = 0;  // counts the changes to any input
    unsigned m_countedVersion = 0; // the inputs the last count started from

    std::vector<std::array<double, 169>> m_heat; // per player, after a count; empty cells < 0
    std::vector<bool> m_heatFits;                // false once the player's range was changed
    bool m_counting = false; // from Calculate until the count's outcome is shown
    // Asked by Stop, a change of the inputs or closing: the count ends early, and still says so.
    std::atomic<bool> m_stopWanted{false};
    CBackgroundJobs m_count; // last, so it stops first
};
