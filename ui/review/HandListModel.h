#pragma once
// The hands of one game as a table: number, time, the player's cards, board, pot, the player's
// result and whether it came to a showdown. The model holds the game it was given.
//
// Threads: UI thread only.

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
    // "1" in the coach column for a hand with a decision the coach found too loose or tight.
    static constexpr int kMistakeRole = Qt::UserRole + 1;

    // The coach's grade of each hand (by index): the chips its worst decision lost, in big
    // blinds, 0 when none lost any; unset hands are not judged.
    struct CoachGrade
    {
        bool judged = false;
        double bigBlindsLost = 0;
        QString verdict; // of the worst decision: "too loose" or "too tight"
    };
    // Until the coach has judged the game the column reads `pending`.
    void setCoachGrades(std::vector<CoachGrade> grades, QString pending);

    explicit CHandListModel(QObject *parent = nullptr);

    void setGame(history::Game game, int playerSeat);
    const history::Game &game() const { return m_game; }
    int playerSeat() const { return m_playerSeat; }

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

// "Ah Kd"; "" for unknown cards.
QString CardsText(const std::vector<int> &cards);
