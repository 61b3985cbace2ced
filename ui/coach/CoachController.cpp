#include "ui/coach/CoachController.h"

#include "ui/action_panel/DlgPlayerChoose.h"
#include "engine/Game.h"
#include "ui/output_pane/OutputWnd.h"
#include "coach/TableDecision.h"

#include <QLabel>

namespace {

// The coach's own random source: drawing from the library's seed source would change what the
// computer opponents draw, and so the game, depending on whether the coach is on.
constexpr std::uint64_t kCoachSeed = 0xC0AC4;
constexpr QRgb kLineColour = 0xFFB8E0A8; // a soft green on the dark panel

// The line's place under the panel's amount box, in the panel's pixels.
const QRect kLineRect(21, 143, 411, 18);

} // namespace

CCoachController::CCoachController(CDunmereGame &game, CDlgPlayerChoose *panel, COutputWnd *pane,
                                   QObject *parent)
    : QObject(parent)
    , m_game(game)
    , m_panel(panel)
    , m_pane(pane)
{
    m_line = new QLabel(panel);
    m_line->setObjectName(QStringLiteral("CoachLine"));
    m_line->setGeometry(kLineRect);
    QPalette palette = m_line->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(kLineColour));
    m_line->setPalette(palette);
    QFont font = m_line->font();
    font.setBold(true);
    m_line->setFont(font);
    m_line->hide();
    connect(panel, &CDlgPlayerChoose::decided, this, &CCoachController::OnDecided);
    connect(this, &CCoachController::inboxFilled, this, &CCoachController::ProcessInbox,
            Qt::QueuedConnection);
    m_worker = std::thread(&CCoachController::WorkerMain, this);
}

CCoachController::~CCoachController()
{
    {
        std::lock_guard<std::mutex> lock(m_jobsMutex);
        m_stopping = true;
    }
    m_jobsCv.notify_all();
    m_worker.join();
}

void CCoachController::setEnabled(bool on)
{
    m_enabled = on;
    if (!on)
        m_line->hide();
}

void CCoachController::DecisionStarting()
{
    if (!m_enabled.load())
        return;
    Decision decision;
    {
        auto lock = m_game.LockState();
        const CGameTable &table = m_game.m_table;
        decision.point = coach::TableDecision(table, m_game.m_actions, kHumanSeat);
        decision.hand = m_game.m_handNumber;
        decision.street = coach::StreetOfBoard(table.m_boardCount);
        decision.stack = table.m_stack[kHumanSeat];
    }
    {
        std::lock_guard<std::mutex> lock(m_jobsMutex);
        decision.id = ++m_nextId;
        m_startingJob = Job{decision.id, decision.point};
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
        case InboxItem::Estimated:
            OnEstimate(item.id, item.estimate);
            break;
        case InboxItem::HandOver:
            OnHandEnded(item.hand);
            break;
        }
    }
}

void CCoachController::DecisionShown()
{
    {
        std::lock_guard<std::mutex> lock(m_jobsMutex);
        if (!m_startingJob)
            return;
        // Only now: an estimate must not reach the panel before its buttons do.
        m_jobs.push_back(std::move(*m_startingJob));
        m_startingJob.reset();
    }
    m_jobsCv.notify_one();
}

void CCoachController::HandEnded(int handNumber)
{
    InboxItem item;
    item.kind = InboxItem::HandOver;
    item.hand = handNumber;
    Post(std::move(item));
}

void CCoachController::WorkerMain()
{
    coach::Estimator estimator(coach::kDefaultTrials, kCoachSeed);
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_jobsMutex);
            m_jobsCv.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        InboxItem item;
        item.kind = InboxItem::Estimated;
        item.id = job.id;
        item.estimate = estimator.Evaluate(job.point);
        Post(std::move(item));
    }
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

void CCoachController::OnDecided(int amount, bool fold)
{
    m_line->hide();
    const auto found = m_decisions.find(m_openDecision);
    m_openDecision = 0;
    if (found == m_decisions.end())
        return;
    Decision &decision = found->second;
    decision.move = coach::MoveOf(decision.point, amount, fold, decision.stack);
    decision.amount = amount;
    FlushFinishedHands();
}

void CCoachController::OnHandEnded(int handNumber)
{
    m_lastEndedHand = std::max(m_lastEndedHand, handNumber);
    m_line->hide();
    m_openDecision = 0;
    FlushFinishedHands();
}

void CCoachController::FlushFinishedHands()
{
    // In decision order; a decision still being estimated holds back the ones after it.
    for (auto it = m_decisions.begin(); it != m_decisions.end();) {
        const Decision &decision = it->second;
        if (decision.hand > m_lastEndedHand)
            break;
        if (decision.move && !decision.estimate)
            break;
        if (decision.move && decision.estimate->valid) {
            const QString text = QString::fromStdString(
                coach::PaneLine(decision.street, *decision.move, decision.amount, decision.point,
                                *decision.estimate));
            m_pane->AppendOutputLine(text);
            emit paneLineWritten(text);
        }
        it = m_decisions.erase(it);
    }
}
