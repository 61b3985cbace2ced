#include "ui/review/HandListModel.h"

CHandListModel::CHandListModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

QString CardsText(const std::vector<int> &cards)
{
    QStringList names;
    for (int card : cards) {
        if (card >= 0)
            names << QString::fromStdString(history::CardText(card));
    }
    return names.join(QLatin1Char(' '));
}

void CHandListModel::setGame(history::Game game, int playerSeat)
{
    beginResetModel();
    m_game = std::move(game);
    m_playerSeat = playerSeat;
    m_grades.clear();
    m_pending.clear();
    endResetModel();
}

void CHandListModel::setCoachGrades(std::vector<CoachGrade> grades, QString pending)
{
    m_grades = std::move(grades);
    m_pending = std::move(pending);
    if (rowCount() > 0)
        emit dataChanged(index(0, kCoach), index(rowCount() - 1, kCoach));
}

int CHandListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_game.hands.size());
}

int CHandListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CHandListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const history::Hand &hand = m_game.hands[static_cast<size_t>(index.row())];
    const bool seated = m_playerSeat >= 0 && static_cast<size_t>(m_playerSeat) < hand.seats.size();
    const CoachGrade grade =
        static_cast<size_t>(index.row()) < m_grades.size() ? m_grades[static_cast<size_t>(index.row())] : CoachGrade{};
    if (role == Qt::ToolTipRole && index.column() == kCoach && grade.bigBlindsLost > 0)
        return tr("The worst decision of the hand: %1, %2 big blinds lost")
            .arg(grade.verdict)
            .arg(grade.bigBlindsLost, 0, 'f', 1);
    if (role == kMistakeRole && index.column() == kCoach)
        return grade.judged && grade.bigBlindsLost > 0 ? QStringLiteral("1") : QString();
    if (role == Qt::TextAlignmentRole)
        return index.column() == kPot || index.column() == kResult || index.column() == kHand ||
                       index.column() == kCoach
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case kHand:
        return hand.number;
    case kTime: {
        // "2023.11.14  22:13:20": the game's hands share the date.
        const QString time = QString::fromStdString(hand.timeText).simplified();
        return time.section(QLatin1Char(' '), -1);
    }
    case kCards:
        if (!seated)
            return QString();
        return CardsText({hand.seats[static_cast<size_t>(m_playerSeat)].cards[0],
                          hand.seats[static_cast<size_t>(m_playerSeat)].cards[1]});
    case kBoard:
        return CardsText(hand.board);
    case kPot:
        return hand.pot;
    case kResult: {
        if (!seated)
            return {};
        const history::HandSeat &seat = hand.seats[static_cast<size_t>(m_playerSeat)];
        return seat.won - seat.invested;
    }
    case kShowdown:
        return hand.showdown ? tr("yes") : QString();
    case kCoach:
        if (!grade.judged)
            return m_pending;
        return grade.bigBlindsLost > 0 ? tr("−%1 bb").arg(grade.bigBlindsLost, 0, 'f', 1)
                                       : tr("ok");
    default:
        return {};
    }
}

QVariant CHandListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const kTitles[kColumnCount] = {
        "Hand", "Time", "Your cards", "Board", "Pot", "Result", "Showdown", "Coach"};
    return section >= 0 && section < kColumnCount ? tr(kTitles[section]) : QVariant();
}
