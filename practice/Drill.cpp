#include "practice/Drill.h"

#include "coach/Review.h"
#include "interchange/Interchange.h"
#include "playout/Advisor.h"
#include "practice/Variations.h"

#include <algorithm>
#include <cstdio>

namespace practice {

namespace {

bool IsDecision(history::ActionKind kind)
{
    return kind != history::ActionKind::Ante && kind != history::ActionKind::SmallBlind &&
           kind != history::ActionKind::BigBlind;
}

// The game of the file holding the spot's hand with the spot's player in it.
const history::Game *GameOfSpot(const std::vector<history::Game> &games, const Spot &spot,
                                int &gameSeat, const history::Hand *&hand)
{
    for (const history::Game &game : games) {
        for (size_t s = 0; s < game.seats.size(); ++s) {
            if (game.seats[s].name != spot.player)
                continue;
            for (const history::Hand &h : game.hands)
                if (h.number == spot.hand && game.seatInHand(h, static_cast<int>(s)) >= 0) {
                    gameSeat = static_cast<int>(s);
                    hand = &h;
                    return &game;
                }
        }
    }
    return nullptr;
}

} // namespace

bool DealSpot(const Spot &spot, Dealt &dealt, std::string &error)
{
    std::vector<history::Game> games;
    std::vector<std::string> warnings;
    // Imported files hold many tables: every one of them, to find the spot's.
    if (!interchange::ReadAnyGames(spot.game, true, games, error, warnings))
        return false;
    int gameSeat = -1;
    const history::Hand *hand = nullptr;
    const history::Game *game = GameOfSpot(games, spot, gameSeat, hand);
    if (!game) {
        error = spot.game + ": hand " + std::to_string(spot.hand) + " of " + spot.player +
                " is not in the file any more";
        return false;
    }
    const int seat = game->seatInHand(*hand, gameSeat);
    int action = -1;
    for (int a = 0, k = 0; a < static_cast<int>(hand->actions.size()); ++a) {
        const history::Action &act = hand->actions[static_cast<size_t>(a)];
        if (act.seat == seat && IsDecision(act.kind) && k++ == spot.decision) {
            action = a;
            break;
        }
    }
    if (action < 0) {
        error = spot.game + ": hand " + std::to_string(spot.hand) + " has no such decision";
        return false;
    }
    dealt.spot = spot;
    dealt.hand = *hand;
    dealt.seat = seat;
    dealt.action = action;
    // A variation's cards, board and stack replace the ones played, at the table and in the
    // play-outs; the rest of the board as dealt where it does not clash with them.
    const double factor = StackFactor(spot.variant);
    for (history::HandSeat &handSeat : dealt.hand.seats)
        if (handSeat.seat == seat) {
            handSeat.cards = {spot.hole[0], spot.hole[1]};
            handSeat.startStack = static_cast<int>(handSeat.startStack * factor);
        }
    std::vector<int> &board = dealt.hand.board;
    if (board.size() >= spot.board.size() &&
        !std::equal(spot.board.begin(), spot.board.end(), board.begin())) {
        std::vector<int> used = spot.board;
        for (const history::HandSeat &handSeat : dealt.hand.seats)
            used.insert(used.end(), handSeat.cards.begin(), handSeat.cards.end());
        for (size_t k = 0; k < board.size(); ++k) {
            if (k < spot.board.size()) {
                board[k] = spot.board[k];
                continue;
            }
            int card = board[k];
            for (int next = 0; std::count(used.begin(), used.end(), card) > 0; ++next)
                card = next;
            board[k] = card;
            used.push_back(card);
        }
    }
    const size_t h = static_cast<size_t>(hand - game->hands.data());
    const std::vector<playout::ReadDecision> decisions =
        playout::DecisionsInHand(*game, *hand, seat, coach::StatisticsBeforeHands(*game)[h]);
    dealt.soFar.reset();
    if (spot.decision < static_cast<int>(decisions.size())) {
        auto soFar = std::make_shared<playout::HandSoFar>(
            *decisions[static_cast<size_t>(spot.decision)].hand);
        soFar->seats[soFar->seat].cards[0] = spot.hole[0];
        soFar->seats[soFar->seat].cards[1] = spot.hole[1];
        soFar->seats[soFar->seat].startStack =
            static_cast<int>(soFar->seats[soFar->seat].startStack * factor);
        soFar->board = spot.board;
        dealt.soFar = std::move(soFar);
    }
    return true;
}

bool DealNext(Store &store, std::int64_t now, const std::string &last, Deal &deal,
              std::string &error)
{
    deal = {};
    if (!store.Load(deal.spots, error) || !store.Tries(deal.tries, error))
        return false;
    // A spot whose file is gone is passed over for this session, not dropped from the deck.
    std::vector<Spot> askable = deal.spots;
    std::string after = last.empty() && !deal.tries.empty() ? deal.tries.back().spot : last;
    while (const std::optional<size_t> next = NextSpot(askable, now, after)) {
        std::string why;
        if (DealSpot(askable[*next], deal.dealt, why)) {
            deal.found = true;
            return true;
        }
        deal.skipped.push_back(why);
        askable.erase(askable.begin() + static_cast<std::ptrdiff_t>(*next));
    }
    return true;
}

bool AnswerSpot(Store &store, Spot &spot, const Answer &answer, std::int64_t now, Graded &graded,
                std::string &error, std::string &saveError)
{
    if (!GradeAnswer(spot, answer, graded, error))
        return false;
    Schedule(spot, graded, now);
    if (!store.Answered(spot, {spot.key(), now, graded.right, graded.advice.lossBb}, saveError))
        saveError = "the answer is not saved: " + saveError;
    return true;
}

void AddTypical(const playout::HandSoFar &soFar, int millis, std::uint64_t seed,
                playout::Advice &advice)
{
    playout::AdviseSettings settings;
    settings.firstAnswerMillis = millis;
    settings.maxMillis = millis;
    settings.seed = seed;
    playout::AddStandard(soFar, settings, advice);
}

std::string MasteryLine(const std::vector<Spot> &spots, const std::vector<Try> &tries,
                        const LeakKey &leak, int last, std::int64_t now)
{
    for (const Leak &l : Leaks(spots)) {
        if (l.key != leak)
            continue;
        const Mastery m = MasteryOf(l, tries, last, now);
        if (m.tries == 0)
            return "first drill of this leak · " + std::to_string(m.due) + " due";
        char loss[32];
        std::snprintf(loss, sizeof loss, "%.1f", m.lossPerTryBb);
        return std::to_string(m.right) + " of " + std::to_string(m.tries) + " right · " + loss +
               " bb lost per drill · " + std::to_string(m.due) + " due";
    }
    return {};
}

Mastery DrilledMastery(const std::vector<Spot> &spots, const std::vector<Try> &tries,
                       history::Street street, coach::Position position, Faced faced, int last,
                       std::int64_t now)
{
    Leak drilled;
    for (const Spot &spot : spots)
        if (spot.leak.street == street && spot.leak.position == position &&
            spot.leak.faced == faced)
            drilled.spots.push_back(&spot);
    return MasteryOf(drilled, tries, last, now);
}

std::string DrilledLine(const Mastery &mastery)
{
    if (mastery.tries == 0)
        return {};
    return "you drilled this spot: " + std::to_string(mastery.right) + " of " +
           std::to_string(mastery.tries) + " right";
}

} // namespace practice
