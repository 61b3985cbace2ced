// The Hands window's coach: the player's decisions of the game shown judged as a background
// job, each one's verdict at its step, and the values of the options there.
#include "ui/review/HandsWindow.h"

#include "ui/review/DecisionValuer.h"
#include "ui/review/HandListModel.h"
#include "ui/review/OptionBars.h"
#include "ui/review/ProgressFigures.h"

#include <QCheckBox>
#include <QLabel>
#include <QTableView>

namespace {

// A choice the player made, as the coach judges them: not an ante or a blind.
bool IsDecision(const history::Action &action)
{
    return action.kind != history::ActionKind::Ante &&
           action.kind != history::ActionKind::SmallBlind &&
           action.kind != history::ActionKind::BigBlind;
}

// The coach's line for each of the seat's decisions, by (hand index, action index).
QHash<QPair<int, int>, QString> VerdictLines(const history::Game &game, int seat,
                                             const std::vector<coach::ReviewRow> &rows)
{
    // The k-th decision of the seat in a hand is that hand's k-th row.
    QHash<QPair<int, int>, QString> verdicts;
    size_t row = 0;
    for (size_t h = 0; h < game.hands.size(); ++h) {
        const history::Hand &hand = game.hands[h];
        for (size_t a = 0; a < hand.actions.size(); ++a) {
            const history::Action &action = hand.actions[a];
            if (action.seat != seat || !IsDecision(action))
                continue;
            while (row < rows.size() && rows[row].hand < hand.number)
                ++row;
            if (row >= rows.size() || rows[row].hand != hand.number)
                break;
            const coach::ReviewRow &r = rows[row++];
            verdicts.insert({int(h), int(a)}, QString::fromStdString(coach::PaneLine(
                                                  history::StreetName(r.street), r.move, r.amount,
                                                  r.point, r.estimate, r.advice)));
        }
    }
    return verdicts;
}

} // namespace

void CHandsWindow::startVerdicts()
{
    m_coachJob.stop();
    m_valuer->setGame(std::make_shared<const history::Game>(m_model->game()),
                      m_model->playerSeat());
    m_verdicts.clear();
    m_coachProblem.clear();
    // The play-outs take seconds: one word says so, where the filter waits for them, rather
    // than one in every row, wider than the grades the list leaves room for.
    m_model->setCoachGrades({}, tr("…"));
    m_list->resizeColumnToContents(CHandListModel::kCoach);
    m_verdictsReady = m_model->game().hands.empty();
    showReviewing(!m_verdictsReady);
    if (m_verdictsReady)
        return;
    // The job has its own copy of the game.
    m_coachJob.start([this, game = m_model->game(), seat = m_model->playerSeat(),
                      options = m_reviewOptions](const CBackgroundJobs::Job &job) {
        coach::Estimator estimator;
        std::vector<coach::ReviewRow> rows;
        coach::ReviewSummary summary;
        std::string error;
        const bool judged = coach::ReviewGame(
            game, seat, estimator, rows, summary, error, [&job] { return job.wanted(); }, options);
        if (!job.wanted())
            return;
        const QHash<QPair<int, int>, QString> verdicts =
            judged ? VerdictLines(game, seat, rows) : QHash<QPair<int, int>, QString>();
        const QString problem =
            judged ? QString() : tr("Coach: %1").arg(QString::fromStdString(error));
        std::vector<CHandListModel::CoachGrade> grades;
        if (judged)
            grades = CoachGradesOf(game, rows);
        job.deliver([this, verdicts, problem, grades = std::move(grades)] {
            takeVerdicts(verdicts, problem, grades);
        });
    });
}

void CHandsWindow::takeVerdicts(QHash<QPair<int, int>, QString> verdicts, const QString &problem,
                                const std::vector<CHandListModel::CoachGrade> &grades)
{
    m_model->setCoachGrades(grades, problem.isEmpty() ? QString() : tr("—"));
    m_list->resizeColumnToContents(CHandListModel::kCoach);
    fitListWidth();
    m_verdicts = std::move(verdicts);
    m_coachProblem = problem;
    m_verdictsReady = true;
    showReviewing(false);
    showCoachLine();
}

void CHandsWindow::showReviewing(bool reviewing)
{
    m_mistakesOnly->setEnabled(!reviewing);
    m_mistakesOnly->setText(reviewing ? tr("Hands with mistakes (reviewing…)")
                                      : tr("Hands with mistakes"));
}

void CHandsWindow::showCoachLine()
{
    QString coach;
    if (m_replay) {
        const replay::TableState &state = m_replay->at(m_step);
        const history::Action *action = state.actionIndex >= 0
                                            ? &m_model->game()
                                                   .hands[static_cast<size_t>(m_hand)]
                                                   .actions[static_cast<size_t>(state.actionIndex)]
                                            : nullptr;
        const bool decision =
            action &&
            state.actor ==
                m_model->playerSeatIn(m_model->game().hands[static_cast<size_t>(m_hand)]) &&
            IsDecision(*action);
        showOptionValues(decision);
        if (decision) {
            if (!m_verdictsReady)
                coach = tr("Coach: reviewing the decisions of this game…");
            else if (!m_coachProblem.isEmpty())
                coach = m_coachProblem;
            else
                coach = m_verdicts.value({m_hand, state.actionIndex},
                                         tr("Coach: no verdict for this decision"));
        }
    }
    m_coach->setText(coach);
}

void CHandsWindow::showOptionValues(bool decision)
{
    if (!decision) {
        m_valuer->cancel();
        m_bars->hide();
        return;
    }
    if (m_valuer->request(m_hand, m_replay->at(m_step).actionIndex))
        m_bars->setMessage(tr("Valuing the options…"));
    m_bars->show();
}
