#include "ui/review/DecisionValuer.h"

#include "coach/Review.h"
#include "ui/coach/AdviceText.h"

namespace {

// Values shown soon after the replay stops on a decision, then refined for a while; the same
// seed every time, so that a decision looked at again shows the same values.
constexpr int kFirstValuesMillis = 500;
constexpr int kLongestValuingMillis = 10000;
constexpr std::uint64_t kReplaySeed = 0xBA125;

} // namespace

CDecisionValuer::CDecisionValuer(QObject *parent)
    : QObject(parent)
{
    m_settings.firstAnswerMillis = kFirstValuesMillis;
    m_settings.maxMillis = kLongestValuingMillis;
    m_settings.seed = kReplaySeed;
    connect(this, &CDecisionValuer::inboxFilled, this, &CDecisionValuer::takeResults,
            Qt::QueuedConnection);
    m_worker = std::thread(&CDecisionValuer::workerMain, this);
}

CDecisionValuer::~CDecisionValuer()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        ++m_generation;
    }
    m_wake.notify_all();
    m_worker.join();
}

void CDecisionValuer::setGame(std::shared_ptr<const history::Game> game, int seat)
{
    m_game = std::move(game);
    m_seat = seat;
    cancel();
}

bool CDecisionValuer::request(int hand, int action)
{
    if (hand == m_hand && action == m_action)
        return false;
    m_hand = hand;
    m_action = action;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shownGeneration = ++m_generation;
        m_pending = Request{m_shownGeneration, m_game, m_seat, hand, action, m_settings};
    }
    m_wake.notify_one();
    return true;
}

void CDecisionValuer::cancel()
{
    m_hand = -1;
    m_action = -1;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_shownGeneration = ++m_generation;
    m_pending.reset();
}

bool CDecisionValuer::current(int generation)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_stopping && generation == m_generation;
}

void CDecisionValuer::post(Result result)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_inbox.push_back(std::move(result));
    }
    emit inboxFilled();
}

void CDecisionValuer::workerMain()
{
    for (;;) {
        Request request;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_pending.has_value(); });
            if (m_stopping)
                return;
            request = std::move(*m_pending);
            m_pending.reset();
        }
        work(request);
    }
}

void CDecisionValuer::work(const Request &request)
{
    Result failed;
    failed.generation = request.generation;
    const history::Game *game = request.game.get();
    if (!game || request.hand < 0 || request.hand >= static_cast<int>(game->hands.size())) {
        failed.reason = tr("No values: the hand is not in the game shown.");
        post(std::move(failed));
        return;
    }
    if (m_statsGame != request.game) {
        m_stats = coach::StatisticsBeforeHands(*game);
        m_statsGame = request.game;
    }
    const auto hand = static_cast<size_t>(request.hand);
    const std::vector<playout::ReadDecision> decisions =
        playout::DecisionsInHand(*game, game->hands[hand], request.seat,
                                 hand < m_stats.size() ? m_stats[hand] : std::vector<CPokerStat>{});
    // The decisions come in the order of the actions, the blinds and antes left out.
    const std::vector<history::Action> &actions = game->hands[hand].actions;
    int ordinal = 0;
    for (int a = 0; a < request.action && a < static_cast<int>(actions.size()); ++a) {
        const history::Action &action = actions[static_cast<size_t>(a)];
        ordinal += action.seat == request.seat && action.kind != history::ActionKind::Ante &&
                   action.kind != history::ActionKind::SmallBlind &&
                   action.kind != history::ActionKind::BigBlind;
    }
    if (ordinal >= static_cast<int>(decisions.size())) {
        failed.reason = tr("No values: the player's cards are not known for this hand.");
        post(std::move(failed));
        return;
    }
    const playout::ReadDecision &decision = decisions[static_cast<size_t>(ordinal)];
    const auto send = [&](const playout::Advice &advice) {
        Result result;
        result.generation = request.generation;
        if (!advice.valid) {
            result.reason = tr("No values: the hand does not replay.");
        } else {
            result.valued = true;
            result.advice = playout::WithMove(advice, decision.put, decision.fold, &result.exact);
        }
        post(std::move(result));
    };
    const playout::Advice advice =
        playout::Advise(*decision.hand, request.settings, [&](const playout::Advice &better) {
            if (!current(request.generation))
                return false;
            send(better);
            return true;
        });
    if (!current(request.generation))
        return;
    send(advice);
    // Then the standard answer beside it, where a computer opponent is still in.
    playout::Advice both = advice;
    playout::AddStandard(*decision.hand, request.settings, both);
    if (!both.standard.empty() && current(request.generation))
        send(both);
}

void CDecisionValuer::takeResults()
{
    std::deque<Result> results;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        results.swap(m_inbox);
    }
    for (const Result &result : results) {
        // A decision no longer shown: its values are dropped.
        if (result.generation != m_shownGeneration)
            continue;
        if (result.valued)
            emit advised(result.advice, result.exact);
        else
            emit unavailable(result.reason);
    }
}
