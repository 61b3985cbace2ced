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
}

CDecisionValuer::~CDecisionValuer() = default;

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
    m_jobs.start([this, request = Request{m_game, m_seat, hand, action, m_settings}](
                     const CBackgroundJobs::Job &job) { work(request, job); });
    return true;
}

void CDecisionValuer::cancel()
{
    m_hand = -1;
    m_action = -1;
    m_jobs.stop();
}

void CDecisionValuer::work(const Request &request, const CBackgroundJobs::Job &job)
{
    const auto fail = [this, &job](const QString &reason) {
        job.deliver([this, reason] { emit unavailable(reason); });
    };
    const history::Game *game = request.game.get();
    if (!game || request.hand < 0 || request.hand >= static_cast<int>(game->hands.size())) {
        fail(tr("No values: the hand is not in the game shown."));
        return;
    }
    const auto hand = static_cast<size_t>(request.hand);
    std::vector<CPokerStat> before;
    {
        // A stale job may still be reading them while this one starts.
        std::lock_guard<std::mutex> lock(m_statsMutex);
        if (m_statsGame != request.game) {
            m_stats = coach::StatisticsBeforeHands(*game);
            m_statsGame = request.game;
        }
        if (hand < m_stats.size())
            before = m_stats[hand];
    }
    const std::vector<playout::ReadDecision> decisions =
        playout::DecisionsInHand(*game, game->hands[hand], request.seat, before);
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
        fail(tr("No values: the player's cards are not known for this hand."));
        return;
    }
    const playout::ReadDecision &decision = decisions[static_cast<size_t>(ordinal)];
    const auto send = [&](const playout::Advice &advice) {
        if (!advice.valid)
            return fail(tr("No values: the hand does not replay."));
        bool exact = true;
        playout::Advice moved = playout::WithMove(advice, decision.put, decision.fold, &exact);
        job.deliver([this, moved = std::move(moved), exact] { emit advised(moved, exact); });
    };
    const playout::Advice advice =
        playout::Advise(*decision.hand, request.settings, [&](const playout::Advice &better) {
            if (!job.wanted())
                return false;
            send(better);
            return true;
        });
    if (!job.wanted())
        return;
    send(advice);
    // Then the standard answer beside it, where a computer opponent is still in.
    playout::Advice both = advice;
    playout::AddStandard(*decision.hand, request.settings, both);
    if (!both.standard.empty() && job.wanted())
        send(both);
}
