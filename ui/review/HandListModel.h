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
        kColumnCount
    };

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
};

// "Ah Kd"; "" for unknown cards.
QString CardsText(const std::vector<int> &cards);
