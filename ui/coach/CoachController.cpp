#include "ui/coach/CoachController.h"

#include "coach/TableDecision.h"
#include "engine/Game.h"
#include "playout/Advisor.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/coach/AdviceText.h"
#include "ui/output_pane/OutputWnd.h"

#include "practice/Drill.h"
#include "ui/practice/MasteryChart.h"
#include "vocabulary/GameVocabulary.h"

#include <QLabel>

#include <ctime>
#include <filesystem>

namespace {

// The leak a decision at the table falls in: its street, the seat's position and the bets and
// raises of the street before it, as the practice deck groups the decisions of the files.
void PlaceInDeck(const CGameTable &table, const std::vector<CAction> &actions, int seat,
                 history::Street &street, coach::Position &position, practice::Faced &faced)
{
    street = table.m_boardCount >= 5   ? history::Street::River
             : table.m_boardCount == 4 ? history::Street::Turn
             : table.m_boardCount >= 3 ? history::Street::Flop
                                       : history::Street::Preflop;
    const rules::BlindSeats blinds = table.BlindSeats();
    position = seat == blinds.small || seat == blinds.big       ? coach::Position::Blinds
               : table.m_positionClass[seat] >= kPositionLate   ? coach::Position::Late
               : table.m_positionClass[seat] == kPositionMiddle ? coach::Position::Middle
                                                                : coach::Position::Early;
    using namespace actionkind;
    int bets = 0;
    for (const CAction &action : actions) {
        if (action.m_kind == kFlop || action.m_kind == kTurn || action.m_kind == kRiver)
            bets = 0;
        bets += action.m_kind == kBet || action.m_kind == kRaise;
    }
    faced = bets == 0   ? practice::Faced::None
            : bets == 1 ? practice::Faced::Bet
                        : practice::Faced::Raise;
}

// The coach's own random source: drawing from the library's seed source would change what the
// computer opponents draw, and so the game, depending on whether the coach is on.
constexpr std::uint64_t kCoachSeed = 0xC0AC4;
constexpr QRgb kLineColour = 0xFFB8E0A8; // a soft green on the dark panel

constexpr QRgb kAdviceColour = 0xFFF0E0A0; // the options' values: a pale gold

// The lines' places under the panel's amount box, in the panel's pixels; the options' values
// may take two lines at a full table.
const QRect kLineRect(21, 143, 411, 18);
const QRect kAdviceRect(21, 161, 415, 36);

// After the first values (playout::kTableFirstAnswerMillis) the play-outs go on refining them
// while the human thinks, up to this long, so that the final answer, the standard one beside
// it included, comes within three seconds.
constexpr int kLongestAdviceMillis = 2500;
// The standard answer's play-outs after a decision: short, since closing waits for them.
constexpr int kStandardAdviceMillis = 500;

QLabel *CoachLabel(QWidget *parent, const QString &name, QRect rect, QRgb colour)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->hide();
    return label;
}

} // namespace

CCoachController::CCoachController(CDunmereGame &game, CDlgPlayerChoose *panel, COutputWnd *pane,
                                   QObject *parent)
    : QObject(parent)
    , m_game(game)
    , m_panel(panel)
    , m_pane(pane)
    , m_estimates(coach::kDefaultTrials, kCoachSeed)
{
    m_line = CoachLabel(panel, QStringLiteral("CoachLine"), kLineRect, kLineColour);
    m_adviceLine = CoachLabel(panel, QStringLiteral("CoachAdvice"), kAdviceRect, kAdviceColour);
    m_adviceLine->setWordWrap(true);
    connect(panel, &CDlgPlayerChoose::decided, this, &CCoachController::OnDecided);
    connect(this, &CCoachController::inboxFilled, this, &CCoachController::ProcessInbox,
            Qt::QueuedConnection);
}

CCoachController::~CCoachController() = default;

void CCoachController::setEnabled(bool on)
{
    const bool was = m_enabled.exchange(on);
    if (!on) {
        m_line->hide();
        m_adviceLine->hide();
        m_liveDecision = 0;
    } else if (!was && m_panel && m_panel->IsDecisionPrepared()) {
        // Ticked while the human decides: this decision is advised, not only the next one.
        DecisionStarting();
        DecisionShown();
    }
}

void CCoachController::DecisionStarting()
{
    if (!m_enabled.load())
        return;
    Decision decision;
    std::shared_ptr<const playout::HandSoFar> hand;
    {
        auto lock = m_game.LockState();
        const CGameTable &table = m_game.m_table;
        decision.point = coach::TableDecision(table, m_game.m_actions, kHumanSeat);
        decision.hand = m_game.m_handNumber;
        decision.street = coach::StreetOfBoard(table.m_boardCount);
        decision.stack = table.m_stack[kHumanSeat];
        PlaceInDeck(table, m_game.m_actions, kHumanSeat, decision.deckStreet, decision.position,
                    decision.faced);
        hand = playout::CaptureLive(m_game, kHumanSeat);
    }
    {
        std::lock_guard<std::mutex> lock(m_jobsMutex);
        decision.id = ++m_nextId;
        m_startingJob = Job{decision.id, decision.point, std::move(hand)};
    }
    // Queued before the panel shows its buttons, so that no click can come before it.
    InboxItem item;
    item.kind = InboxItem::Register;
    item.decision = std::move(decision);
    Post(std::move(item));
}

void CCoachController::Post(InboxItem item)
{
    {
        std::lock_guard<std::mutex> lock(m_jobsMutex);
        m_inbox.push_back(std::move(item));
    }
    emit inboxFilled();
}

void CCoachController::ProcessInbox()
{
    std::deque<InboxItem> items;
    {
        std::lock_guard<std::mutex> lock(m_jobsMutex);
        items.swap(m_inbox);
    }
    for (InboxItem &item : items) {
        switch (item.kind) {
        case InboxItem::Register:
            m_openDecision = item.decision.id;
            m_decisions[item.decision.id] = std::move(item.decision);
            break;
        case InboxItem::HandOver:
            OnHandEnded(item.hand);
            break;
        }
    }
}

void CCoachController::DecisionShown()
{
    std::optional<Job> job;
    {
        std::lock_guard<std::mutex> lock(m_jobsMutex);
        if (!m_startingJob)
            return;
        // Only now: an estimate must not reach the panel before its buttons do.
        m_liveDecision = m_startingJob->id;
        job.swap(m_startingJob);
    }
    m_adviser.queue([this, job = *job](const CBackgroundJobs::Job &work) {
        if (job.hand)
            AdviseOn(job, work);
    });
    m_estimator.queue(
        [this, job = *job](const CBackgroundJobs::Job &work) { Estimate(job, work); });
}

void CCoachController::HandEnded(int handNumber)
{
    m_liveDecision = 0;
    InboxItem item;
    item.kind = InboxItem::HandOver;
    item.hand = handNumber;
    Post(std::move(item));
}

void CCoachController::Estimate(const Job &job, const CBackgroundJobs::Job &work)
{
    // The equity line reads the ranges the play-outs of the options' values read.
    coach::DecisionPoint point = job.point;
    if (job.hand)
        coach::TakeRanges(point, RangesOf(job));
    const coach::Estimate estimate = m_estimates.Evaluate(point);
    work.deliver([this, id = job.id, estimate] { OnEstimate(id, estimate); });
}

const std::vector<playout::HandWeights> &CCoachController::RangesOf(const Job &job)
{
    std::call_once(job.ranges->once,
                   [&job] { job.ranges->weights = playout::SeatRanges(*job.hand); });
    return job.ranges->weights;
}

void CCoachController::AdviseOn(const Job &job, const CBackgroundJobs::Job &work)
{
    if (!work.wanted())
        return;
    playout::AdviseSettings settings;
    settings.firstAnswerMillis = playout::kTableFirstAnswerMillis;
    settings.maxMillis = kLongestAdviceMillis;
    settings.seed = kCoachSeed + static_cast<std::uint64_t>(job.id);
    settings.ranges = [&job](const playout::HandSoFar &) { return RangesOf(job); };
    // A decision already taken still gets its first values, for the pane after the hand.
    const auto post = [this, &job, &work](const playout::Advice &advice) {
        work.deliver([this, id = job.id, advice] { OnAdvice(id, advice); });
    };
    playout::Advice advice =
        playout::Advise(*job.hand, settings, [&](const playout::Advice &better) {
            post(better);
            return work.wanted() && m_liveDecision.load() == job.id;
        });
    // The standard answer beside the one against the computer opponents' own code, for the
    // pane after the hand: a short sample, so that the hand's lines are not held back.
    settings.maxMillis = kStandardAdviceMillis;
    if (work.wanted())
        playout::AddStandard(*job.hand, settings, advice);
    post(advice);
}

void CCoachController::OnEstimate(int id, const coach::Estimate &estimate)
{
    const auto found = m_decisions.find(id);
    if (found == m_decisions.end())
        return;
    found->second.estimate = estimate;
    // A result for a decision already taken is stale for the panel.
    if (id == m_openDecision && m_enabled.load() && estimate.valid) {
        const QString text = QString::fromStdString(coach::PanelLine(estimate));
        m_line->setText(text);
        m_line->show();
        emit panelLineShown(text);
    }
    FlushFinishedHands();
}

void CCoachController::OnAdvice(int id, playout::Advice advice)
{
    const auto found = m_decisions.find(id);
    if (found == m_decisions.end())
        return;
    if (id == m_openDecision && m_enabled.load() && advice.valid) {
        const QString text = QString::fromStdString(playout::LiveLine(advice));
        m_adviceLine->setText(text);
        m_adviceLine->show();
        emit adviceShown(text);
    }
    const bool final = advice.final;
    found->second.advice = std::move(advice);
    if (final)
        FlushFinishedHands();
}

void CCoachController::OnDecided(int amount, bool fold)
{
    m_line->hide();
    m_adviceLine->hide();
    // The worker may have this decision's play-outs in hand: they stop at their next estimate.
    int expected = m_openDecision;
    m_liveDecision.compare_exchange_strong(expected, 0);
    const auto found = m_decisions.find(m_openDecision);
    m_openDecision = 0;
    if (found == m_decisions.end())
        return;
    Decision &decision = found->second;
    decision.move = coach::MoveOf(decision.point, amount, fold, decision.stack);
    decision.amount = amount;
    decision.fold = fold;
    FlushFinishedHands();
}

void CCoachController::OnHandEnded(int handNumber)
{
    m_lastEndedHand = std::max(m_lastEndedHand, handNumber);
    m_line->hide();
    m_adviceLine->hide();
    m_openDecision = 0;
    FlushFinishedHands();
}

std::string CCoachController::DrilledLine(const Decision &decision)
{
    if (m_drillStore.empty())
        return {};
    // Read once per hand at most: a few rows of a small file.
    if (m_drillsReadForHand != decision.hand) {
        m_drillsReadForHand = decision.hand;
        m_drillSpots.clear();
        m_drillTries.clear();
        practice::Store store;
        std::string error;
        if (!std::filesystem::exists(m_drillStore) || !store.Open(m_drillStore, error) ||
            !store.Load(m_drillSpots, error) || !store.Tries(m_drillTries, error))
            m_drillSpots.clear();
    }
    return practice::DrilledLine(practice::DrilledMastery(
        m_drillSpots, m_drillTries, decision.deckStreet, decision.position, decision.faced,
        kMasteryTries, static_cast<std::int64_t>(std::time(nullptr))));
}

void CCoachController::FlushFinishedHands()
{
    // In decision order; a decision still being estimated holds back the ones after it.
    for (auto it = m_decisions.begin(); it != m_decisions.end();) {
        const Decision &decision = it->second;
        if (decision.hand > m_lastEndedHand)
            break;
        if (decision.move && (!decision.estimate || !decision.advice || !decision.advice->final))
            break;
        // The move graded against the options' values: its grade is the verdict of both lines.
        bool exact = true;
        playout::Advice graded;
        if (decision.move && decision.advice->valid)
            graded =
                playout::WithMove(*decision.advice, decision.fold ? 0 : decision.amount,
                                  decision.fold || *decision.move == coach::Move::Fold, &exact);
        if (decision.move && decision.estimate->valid) {
            const QString text = QString::fromStdString(
                coach::PaneLine(decision.street, *decision.move, decision.amount, decision.point,
                                *decision.estimate, graded));
            m_pane->AppendWrappedLine(text);
            emit paneLineWritten(text);
        }
        if (graded.valid) {
            const QString text =
                QString::fromStdString(coachui::PaneAdviceLine(graded, decision.amount, exact));
            if (!text.isEmpty()) {
                m_pane->AppendWrappedLine(text);
                emit paneLineWritten(text);
            }
            const std::string standard = playout::ExploitLine(graded);
            if (!standard.empty()) {
                const QString line = QString::fromStdString("  " + standard);
                m_pane->AppendWrappedLine(line);
                emit paneLineWritten(line);
            }
            const std::string drilled = DrilledLine(decision);
            if (!drilled.empty()) {
                const QString line = QString::fromStdString("  " + drilled);
                m_pane->AppendWrappedLine(line);
                emit paneLineWritten(line);
            }
        }
        it = m_decisions.erase(it);
    }
}
