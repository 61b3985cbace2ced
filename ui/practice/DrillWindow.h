#pragma once
// "Drill…": the practice deck's spots asked one at a time. The spot is drawn on a table like
// the live one (seats, cards, pot, the actions so far); FOLD, CHECK or CALL and BET or RAISE
// at one of the sizes the coach valued answer it (F1, F2, F3; F4 picks all in, as at the
// table). The answer is graded at once with the spot's own values, shown as the replayer's
// bars, then valued against a typical player beside; the rest of the hand can be stepped
// through as the models play it after the answer, and "Next spot" deals the one due next.
//
// Threads: UI thread only; the deck's store, the hand's file and the play-outs are read by jobs
// of CBackgroundJobs run one after another on its worker, which is stopped and joined when the
// window is destroyed.

#include "practice/Drill.h"
#include "replay/HandReplay.h"
#include "ui/jobs/BackgroundJobs.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class COptionBars;
class CTableCanvas;
class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QPushButton;

class CDrillWindow : public QWidget
{
    Q_OBJECT
public:
    // `storePath`: Practice.db3 in the data folder.
    explicit CDrillWindow(QString storePath, QWidget *parent = nullptr);

    // Deals the spot due now (what "Next spot" does).
    void dealNext();
    // Milliseconds of play-outs against a typical player after each answer (tests: short).
    void setTypicalMillis(int millis) { m_typicalMillis = millis; }

    // For the tests: the controls as the player sees them.
    CTableCanvas *table() const { return m_table; }
    QPushButton *foldButton() const { return m_fold; }
    QPushButton *checkCallButton() const { return m_checkCall; }
    QPushButton *raiseButton() const { return m_raise; }
    QList<QPushButton *> sizeButtons() const;
    QPushButton *nextButton() const { return m_next; }
    QPushButton *backButton() const { return m_back; }
    QPushButton *forwardButton() const { return m_forward; }
    COptionBars *bars() const { return m_bars; }
    QLabel *spotLabel() const { return m_spotLabel; }
    QLabel *masteryLabel() const { return m_masteryLabel; }
    QLabel *gradeLabel() const { return m_gradeLabel; }
    QLabel *stepLabel() const { return m_stepLabel; }
    QLabel *messageLabel() const { return m_message; }
    // A job of the spot shown has not ended.
    bool isBusy() const { return m_busy > 0; }

private:
    // Runs `work` on the worker after the jobs before it; "Next spot" waits for its end. What it
    // delivers is dropped once another spot is dealt.
    void run(CBackgroundJobs::Work work);

    void createLabels();
    QHBoxLayout *createAnswerButtons();
    void createSizeRow();
    void createGradeArea();
    QHBoxLayout *createStepRow();
    void connectControls();
    // The action panel's keys; they act only through a control that is shown and enabled.
    void addShortcuts();

    void showDeal(const practice::Deal &deal);
    void answer(practice::Answer::Kind kind);
    void showGraded(const practice::Graded &graded, const std::string &saveError,
                    const std::string &mastery);
    void showStep(int step);
    void setAnswering(bool on);
    void setMessage(const QString &text);

    QString m_storePath;
    int m_typicalMillis = practice::kTypicalMillis;

    // UI thread.
    std::optional<practice::Dealt> m_dealt;
    std::unique_ptr<replay::HandReplay> m_replay;
    int m_askStep = 0; // the replay's step at the decision
    // The rest of the hand after the answer, played by the models (empty: not yet).
    std::vector<replay::TableState> m_rest;
    history::Hand m_restHand; // the hand with the board the models' hand ran out with
    int m_step = 0;
    bool m_answered = false;
    int m_busy = 0; // jobs of the spot shown that have not ended

    CTableCanvas *m_table = nullptr;
    QLabel *m_spotLabel = nullptr;
    QLabel *m_masteryLabel = nullptr;
    QLabel *m_gradeLabel = nullptr;
    QLabel *m_stepLabel = nullptr;
    QLabel *m_message = nullptr;
    QPushButton *m_fold = nullptr;
    QPushButton *m_checkCall = nullptr;
    QPushButton *m_raise = nullptr;
    QHBoxLayout *m_sizeBox = nullptr;
    QLabel *m_sizeCaption = nullptr;
    QButtonGroup *m_sizes = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_forward = nullptr;
    QPushButton *m_next = nullptr;
    COptionBars *m_bars = nullptr;

    // The jobs' own, read and written on the worker only.
    practice::Store m_store;
    bool m_storeOpen = false;
    std::string m_storeNotice;
    practice::Deal m_deal;

    CBackgroundJobs m_jobs; // last, so it stops before what the jobs use is gone
};
