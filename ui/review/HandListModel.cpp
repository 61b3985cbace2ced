#include "ui/review/HandListModel.h"

#include "outcome/HandOutcome.h"
#include "ui/review/BoundedText.h"

#include <map>

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

std::vector<CHandListModel::CoachGrade> CoachGradesOf(const history::Game &game,
                                                      const std::vector<coach::ReviewRow> &rows)
{
    std::vector<CHandListModel::CoachGrade> grades(game.hands.size());
    std::map<int, size_t> handOfNumber;
    for (size_t h = 0; h < game.hands.size(); ++h) {
        grades[h].judged = true;
        handOfNumber.emplace(game.hands[h].number, h);
    }
    for (const coach::ReviewRow &row : rows) {
        const auto found = handOfNumber.find(row.hand);
        if (found == handOfNumber.end())
            continue;
        CHandListModel::CoachGrade &grade = grades[found->second];
        grade.decided = true;
        if (row.advice.grade == playout::Grade::NotGraded)
            continue;
        const bool worse =
            !grade.graded || row.advice.grade > grade.grade ||
            (row.advice.grade == grade.grade && row.advice.lossBb > grade.bigBlindsLost);
        if (!worse)
            continue;
        grade.graded = true;
        grade.grade = row.advice.grade;
        grade.bigBlindsLost = row.advice.lossBb;
        grade.verdict = QString::fromStdString(playout::GradeText(row.advice));
    }
    return grades;
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
    const int player = playerSeatIn(hand);
    const bool seated = player >= 0 && static_cast<size_t>(player) < hand.seats.size();
    const CoachGrade grade = static_cast<size_t>(index.row()) < m_grades.size()
                                 ? m_grades[static_cast<size_t>(index.row())]
                                 : CoachGrade{};
    const bool mistake = grade.graded && grade.grade != playout::Grade::Ok;
    if (role == Qt::ToolTipRole && index.column() == kCoach && grade.graded)
        return tr("The worst decision of the hand: %1, %2 big blinds lost")
            .arg(grade.verdict)
            .arg(grade.bigBlindsLost, 0, 'f', 1);
    if (role == kMistakeRole && index.column() == kCoach)
        return mistake ? QStringLiteral("1") : QString();
    if (role == kSortRole)
        return index.column() != kCoach ? data(index, Qt::DisplayRole)
               : grade.graded           ? QVariant(grade.bigBlindsLost)
                                        : QVariant(-1.0);
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
        return BoundedText(time.section(QLatin1Char(' '), -1));
    }
    case kCards:
        if (!seated)
            return QString();
        return CardsText({hand.seats[static_cast<size_t>(player)].cards[0],
                          hand.seats[static_cast<size_t>(player)].cards[1]});
    case kBoard:
        return CardsText(hand.board);
    case kPot:
        return outcome::OutcomeOf(hand).pot; // a bet nobody called is not part of it
    case kResult: {
        if (!seated)
            return {};
        const history::HandSeat &seat = hand.seats[static_cast<size_t>(player)];
        return seat.won - seat.invested;
    }
    case kShowdown:
        // How the hand ended: won by folds (empty), shown down, or all in before the river.
        switch (outcome::OutcomeOf(hand).ending) {
        case outcome::Ending::Showdown:
            return tr("yes");
        case outcome::Ending::AllIn:
            return tr("all in");
        case outcome::Ending::Folds:
            break;
        }
        return QString();
    case kCoach:
        if (!grade.judged)
            return m_pending;
        if (!grade.graded) // no decision to judge, or none that could be graded
            return grade.decided ? tr("—") : QString();
        // What it lost, and whether the grade is sure, are in the tip: the list keeps its
        // width.
        return QString::fromLatin1(playout::GradeName(grade.grade));
    default:
        return {};
    }
}

QVariant CHandListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const kTitles[kColumnCount] = {
        QT_TR_NOOP("Hand"), QT_TR_NOOP("Time"),   QT_TR_NOOP("Your cards"), QT_TR_NOOP("Board"),
        QT_TR_NOOP("Pot"),  QT_TR_NOOP("Result"), QT_TR_NOOP("Showdown"),   QT_TR_NOOP("Coach")};
    return section >= 0 && section < kColumnCount ? tr(kTitles[section]) : QVariant();
}
