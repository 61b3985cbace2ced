#pragma once
// The window shown when a game ends: how it went for the player (hands, net chips, big blinds
// per 100 hands, the result at all-in equity, the biggest pots won and lost, and with the
// coach on the decisions that cost most), and "Review hands…" to open the replayer at a hand.
//
// Threads: UI thread only, but for the coach's review, which runs as a job of CBackgroundJobs.

#include "summary/GameSummary.h"
#include "ui/jobs/BackgroundJobs.h"

#include <QWidget>

#include <functional>
#include <vector>

class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

class CGameSummaryWindow : public QWidget
{
    Q_OBJECT
public:
    // game: the game just ended, read back from its files; withCoach: list the costliest
    // decisions (worked out here, from the files).
    CGameSummaryWindow(const history::Game &game, bool withCoach, QWidget *parent = nullptr);
    ~CGameSummaryWindow() override; // waits for the coach's review

    // True once the coach's line is filled in (at once without the coach).
    bool coachReady() const { return m_coachReady; }

    const summary::GameSummary &figures() const { return m_summary; }
    QComboBox *handChoice() const { return m_hands; }
    QPushButton *reviewButton() const { return m_review; }
    QPushButton *closeButton() const { return m_close; }
    // The shown text of the figure named (the object name of its label).
    QString figureText(const QString &name) const;

signals:
    // "Review hands…": the hand's index in the game's list of hands.
    void reviewRequested(int handIndex);

private:
    // The window's parts, top to bottom.
    QFormLayout *makeFigures();
    void addPotLines(QVBoxLayout *box, const std::vector<summary::PotResult> &pots,
                     const QString &name, const QString &title);
    void addCostliest(QVBoxLayout *box, const history::Game &game, int seat);
    QHBoxLayout *makeButtons(const history::Game &game);
    // The coach's costliest decisions of the seat, a line each (run as the job).
    static QString CostliestText(const history::Game &game, int seat,
                                 const std::function<bool()> &wanted);

    summary::GameSummary m_summary;
    bool m_coachReady = true;
    QLabel *m_costly = nullptr;
    QComboBox *m_hands = nullptr;
    QPushButton *m_review = nullptr;
    QPushButton *m_close = nullptr;
    CBackgroundJobs m_coachJob; // the coach's review of the game; last, so it stops first
};
