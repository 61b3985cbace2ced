#include "practice/PlayRest.h"

#include "engine/BettingSteps.h"
#include "opponents/Decisions.h"
#include "playout/Advisor.h"
#include "playout/FastOdds.h"
#include "typical/TypicalPlayer.h"
#include "vocabulary/GameVocabulary.h"

#include <random>

namespace practice {

namespace {

constexpr int kBoardFirst = 20; // the board's cards in CGameTable::m_cards
constexpr int kEquityTrials = 64;

replay::TableState TableOf(const playout::PlayState &state, replay::StepKind kind,
                           std::string caption)
{
    const CGameTable &t = state.table;
    replay::TableState table;
    table.kind = kind;
    table.street = static_cast<history::Street>(std::clamp(state.street + 1, 0, 3));
    table.boardCount = t.m_boardCount;
    table.pot = t.m_pot;
    table.caption = std::move(caption);
    for (int s = 0; s < t.m_seatCount; ++s) {
        replay::SeatState seat;
        seat.inHand = t.m_inGame[s] != 0;
        seat.folded = t.m_folded[s];
        seat.stack = t.m_stack[s];
        seat.bet = t.m_bet[s];
        seat.cards = {t.m_cards[2 * s], t.m_cards[2 * s + 1]};
        table.seats.push_back(seat);
    }
    return table;
}

std::string ActionCaption(const CGameTable &t, const std::string &name, int seat, int put,
                          bool fold)
{
    const int toCall = std::max(0, t.m_amountToCall - t.m_bet[seat]);
    if (fold)
        return name + " folds";
    if (put == 0)
        return name + " checks";
    const std::string allIn = put >= t.m_stack[seat] ? " and is all in" : "";
    if (put <= toCall)
        return name + " calls " + std::to_string(put) + allIn;
    const int total = t.m_bet[seat] + put;
    return name + (t.m_amountToCall > 0 ? " raises to " : " bets ") + std::to_string(total) + allIn;
}

// The cards in sight, as a mask: the hole cards known and the board so far.
std::uint64_t CardsInSight(const CGameTable &t)
{
    std::uint64_t used = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        for (int c : {t.m_cards[2 * s], t.m_cards[2 * s + 1]})
            if (t.m_inGame[s] && c >= 0 && c < 52)
                used |= 1ULL << c;
    for (int k = 0; k < t.m_boardCount; ++k)
        used |= 1ULL << t.m_cards[kBoardFirst + k];
    return used;
}

// The hole cards no one knows, each seat's drawn from its range.
void DrawHiddenHands(CGameTable &t, const std::vector<playout::ComboSampler> &samplers,
                     std::uint64_t seed, std::uint64_t &used)
{
    std::uint64_t rng = seed | 1;
    for (int s = 0; s < t.m_seatCount; ++s)
        if (t.m_inGame[s] && (t.m_cards[2 * s] < 0 || t.m_cards[2 * s + 1] < 0)) {
            const auto [a, b] = samplers[static_cast<size_t>(s)].Draw(rng, used);
            t.m_cards[2 * s] = a;
            t.m_cards[2 * s + 1] = b;
            used |= (1ULL << a) | (1ULL << b);
        }
}

// The five cards the hand runs out with: the board so far, then cards not in sight at random.
std::vector<int> RunOut(const CGameTable &t, std::uint64_t used, std::mt19937_64 &random)
{
    std::vector<int> board(t.m_cards + kBoardFirst, t.m_cards + kBoardFirst + t.m_boardCount);
    while (board.size() < 5) {
        int card = static_cast<int>(random() % 52);
        if (used & (1ULL << card))
            continue;
        used |= 1ULL << card;
        board.push_back(card);
    }
    return board;
}

// The step that shows a street's new cards.
replay::TableState StreetStep(const playout::PlayState &state)
{
    const CGameTable &t = state.table;
    std::string cards;
    for (int k = 0; k < t.m_boardCount; ++k)
        cards += " " + history::CardText(t.m_cards[kBoardFirst + k]);
    replay::TableState street = TableOf(state, replay::StepKind::Street, "");
    street.caption = std::string(history::StreetName(street.street)) + ":" + cards;
    return street;
}

// Who decides for the seats after the answer, each as the models play.
struct Models
{
    std::vector<playout::ComboSampler> samplers; // the ranges the player's policy plays against
    std::mt19937_64 &random;
    playout::CFastOdds odds;
    EasyRandom easy;

    // The player by the coach's continuation policy, a bot by its own code, anyone else as a
    // typical player.
    int Answer(const playout::PlayState &state, int seat, int player)
    {
        return playout::ModelAnswer(
            state.table, seat, player, state.street, samplers, kEquityTrials,
            [this] { return std::uniform_real_distribution<double>(0, 1)(random); }, easy, odds);
    }
};

// The last step: who won what, the hands shown at a showdown.
replay::TableState ResultStep(const playout::PlayState &state, const playout::HandSoFar &soFar,
                              bool showdown)
{
    int winnings[brisquel::kMaxSeats] = {};
    state.Payout(winnings);
    replay::TableState result = TableOf(state, replay::StepKind::Result, "");
    std::string winners;
    for (int s = 0; s < state.table.m_seatCount; ++s) {
        replay::SeatState &seat = result.seats[static_cast<size_t>(s)];
        seat.won = winnings[s];
        seat.stack += winnings[s];
        seat.bet = 0;
        seat.faceUp = s == soFar.seat || (showdown && !seat.folded && seat.inHand);
        if (winnings[s] > 0)
            winners += (winners.empty() ? "" : ", ") + soFar.seats[s].name + " wins " +
                       std::to_string(winnings[s]);
    }
    result.pot = 0;
    result.caption = winners;
    return result;
}

} // namespace

RestOfHand PlayRest(const playout::HandSoFar &soFar, int put, bool fold, std::uint64_t seed)
{
    RestOfHand rest;
    playout::PlayState state;
    std::string error;
    if (soFar.seat < 0 || !playout::Rebuild(soFar, state, error))
        return rest;
    CGameTable &t = state.table;
    std::uint64_t used = CardsInSight(t);
    std::vector<playout::ComboSampler> samplers = playout::SamplersOf(playout::SeatRanges(soFar));
    DrawHiddenHands(t, samplers, seed, used);
    std::mt19937_64 random(seed);
    rest.board = RunOut(t, used, random);
    Models models{std::move(samplers), random, playout::CFastOdds(seed), EasyRandom()};
    models.easy.SetFixedSeed(seed);
    const auto deal = [&](int street) {
        const int count = street + 3; // the flop's three cards, then one a street
        for (int k = t.m_boardCount; k < count && k < 5; ++k)
            t.m_cards[kBoardFirst + k] = rest.board[static_cast<size_t>(k)];
        t.m_boardCount = std::min(count, 5);
        return true;
    };
    const auto shown = [&](int seat, std::string caption) {
        rest.steps.push_back(TableOf(state, replay::StepKind::Action, std::move(caption)));
        rest.steps.back().actor = seat;
    };

    std::string caption = ActionCaption(t, soFar.seats[soFar.seat].name, soFar.seat, put, fold);
    state.Act(put, fold);
    shown(soFar.seat, caption);
    int boardShown = t.m_boardCount;
    for (int o = state.NextToAct(deal); o >= 0; o = state.NextToAct(deal)) {
        if (t.m_boardCount != boardShown) {
            boardShown = t.m_boardCount;
            rest.steps.push_back(StreetStep(state));
        }
        // As the play-outs act: less than the call, and not all in, is a fold.
        const int mended = betting::MendAnswer(t, o, models.Answer(state, o, soFar.seat));
        const int toCall = std::max(0, t.m_amountToCall - t.m_bet[o]);
        const bool folds = mended < toCall && mended < t.m_stack[o];
        caption = ActionCaption(t, soFar.seats[o].name, o, mended, folds);
        state.Act(mended, false);
        shown(o, caption);
    }
    // Nobody left to bet: at a showdown the rest of the board, then the pot.
    const bool showdown = t.CountActive() > 1;
    if (showdown)
        deal(2);
    rest.steps.push_back(ResultStep(state, soFar, showdown));
    for (replay::TableState &step : rest.steps)
        step.seats[static_cast<size_t>(soFar.seat)].faceUp = true;
    return rest;
}

} // namespace practice
