#pragma once
// The hands of one game as a table: number, time, the player's cards, board, pot, the player's
// result and whether it came to a showdown. The model holds the game it was given.
//
// Threads: UI thread only.

#include "coach/Review.h"
#include "history/HistoryReader.h"

#include <QAbstractTableModel>

class CHandListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        kHand,
        kTime,
        kCards,
        kBoard,
        kPot,
        kResult,
        kShowdown,
        kCoach,
        kColumnCount
    };
    // "1" in the coach column for a hand with a decision graded a small mistake or worse.
    static constexpr int kMistakeRole = Qt::UserRole + 1;
    // What the list sorts by: the coach column by the loss of the hand's worst decision, the
    // others by what they show.
    static constexpr int kSortRole = Qt::UserRole + 2;

    // The coach's verdict on each hand (by index), from its worst decision: the one with the
    // worst grade, the larger loss among equals. The column shows its grade, the tip what it
    // lost. Unset hands are not judged yet.
    struct CoachGrade
    {
        bool judged = false;
        bool decided = false; // the player made a decision in the hand
        bool graded = false;  // and one of them has a grade
        playout::Grade grade = playout::Grade::NotGraded;
        double bigBlindsLost = 0; // the worst decision's graded loss
        QString verdict;          // of the worst decision: "mistake", "ok (uncertain)"
    };
    // Until the coach has judged the game the column reads `pending`.
    void setCoachGrades(std::vector<CoachGrade> grades, QString pending);

    explicit CHandListModel(QObject *parent = nullptr);

    void setGame(history::Game game, int playerSeat);
    const history::Game &game() const { return m_game; }
    int playerSeat() const { return m_playerSeat; }
    // The player's seat in `hand`: an imported game's player may sit elsewhere each hand.
    int playerSeatIn(const history::Hand &hand) const
    {
        return m_game.seatInHand(hand, m_playerSeat);
    }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    history::Game m_game;
    int m_playerSeat = 0;
    std::vector<CoachGrade> m_grades;
    QString m_pending;
};

// Each hand's verdict from the rows of a review of `game` (judged: every hand).
std::vector<CHandListModel::CoachGrade> CoachGradesOf(const history::Game &game,
                                                      const std::vector<coach::ReviewRow> &rows);

// "Ah Kd"; "" for unknown cards.
QString CardsText(const std::vector<int> &cards);
