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

} // namespace

RestOfHand PlayRest(const playout::HandSoFar &soFar, int put, bool fold, std::uint64_t seed)
{
    RestOfHand rest;
    playout::PlayState state;
    std::string error;
    if (soFar.seat < 0 || !playout::Rebuild(soFar, state, error))
        return rest;
    CGameTable &t = state.table;
    // The cards no one knows: each seat's from its range, the board's at random.
    std::uint64_t used = 0;
    const auto take = [&used](int card) { used |= 1ULL << card; };
    for (int s = 0; s < t.m_seatCount; ++s)
        for (int c : {t.m_cards[2 * s], t.m_cards[2 * s + 1]})
            if (t.m_inGame[s] && c >= 0 && c < 52)
                take(c);
    for (int k = 0; k < t.m_boardCount; ++k)
        take(t.m_cards[kBoardFirst + k]);
    std::uint64_t rng = seed | 1;
    std::vector<playout::ComboSampler> samplers;
    const std::vector<playout::HandWeights> ranges = playout::SeatRanges(soFar);
    for (int s = 0; s < 10; ++s) {
        playout::HandWeights weights;
        for (const playout::HandWeights &w : ranges)
            if (w.seat == s)
                weights = w;
        samplers.emplace_back(weights);
    }
    for (int s = 0; s < t.m_seatCount; ++s)
        if (t.m_inGame[s] && (t.m_cards[2 * s] < 0 || t.m_cards[2 * s + 1] < 0)) {
            const auto [a, b] = samplers[static_cast<size_t>(s)].Draw(rng, used);
            t.m_cards[2 * s] = a;
            t.m_cards[2 * s + 1] = b;
            take(a);
            take(b);
        }
    std::mt19937_64 random(seed);
    rest.board.assign(t.m_cards + kBoardFirst, t.m_cards + kBoardFirst + t.m_boardCount);
    while (rest.board.size() < 5) {
        int card = static_cast<int>(random() % 52);
        if (used & (1ULL << card))
            continue;
        take(card);
        rest.board.push_back(card);
    }
    const auto name = [&soFar](int s) { return soFar.seats[s].name; };
    const auto deal = [&](int street) {
        const int count = street + 3; // the flop's three cards, then one a street
        for (int k = t.m_boardCount; k < count && k < 5; ++k)
            t.m_cards[kBoardFirst + k] = rest.board[static_cast<size_t>(k)];
        t.m_boardCount = std::min(count, 5);
        return true;
    };

    playout::CFastOdds odds(seed);
    EasyRandom easy;
    easy.SetFixedSeed(seed);
    std::string caption = ActionCaption(t, name(soFar.seat), soFar.seat, put, fold);
    state.Act(put, fold);
    rest.steps.push_back(TableOf(state, replay::StepKind::Action, caption));
    rest.steps.back().actor = soFar.seat;
    int boardShown = t.m_boardCount;
    for (int o = state.NextToAct(deal); o >= 0; o = state.NextToAct(deal)) {
        if (t.m_boardCount != boardShown) {
            boardShown = t.m_boardCount;
            std::string cards;
            for (int k = 0; k < t.m_boardCount; ++k)
                cards += " " + history::CardText(t.m_cards[kBoardFirst + k]);
            replay::TableState street = TableOf(state, replay::StepKind::Street, "");
            street.caption = std::string(history::StreetName(street.street)) + ":" + cards;
            rest.steps.push_back(std::move(street));
        }
        const int persona = t.m_players[o].m_persona;
        int answer = 0;
        if (o == soFar.seat)
            answer = playout::CoachAnswer(t, o, samplers, kEquityTrials);
        else if (persona < kFirstBotPersona || persona > kLastBotPersona)
            answer = typical::Decide(t, o, state.street,
                                     std::uniform_real_distribution<double>(0, 1)(random), odds);
        else if (state.street < 0)
            answer = DecidePreflop(t, o, easy, odds);
        else
            answer = DecidePostflop(t, o, state.street, easy, odds);
        // As the play-outs act: less than the call, and not all in, is a fold.
        const int mended = betting::MendAnswer(t, o, answer);
        const int toCall = std::max(0, t.m_amountToCall - t.m_bet[o]);
        const bool folds = mended < toCall && mended < t.m_stack[o];
        caption = ActionCaption(t, name(o), o, mended, folds);
        state.Act(mended, false);
        rest.steps.push_back(TableOf(state, replay::StepKind::Action, caption));
        rest.steps.back().actor = o;
    }
    // Nobody left to bet: at a showdown the rest of the board, then the pot.
    const bool showdown = t.CountActive() > 1;
    if (showdown)
        deal(2);
    int winnings[10] = {};
    state.Payout(winnings);
    replay::TableState result = TableOf(state, replay::StepKind::Result, "");
    std::string winners;
    for (int s = 0; s < t.m_seatCount; ++s) {
        replay::SeatState &seat = result.seats[static_cast<size_t>(s)];
        seat.won = winnings[s];
        seat.stack += winnings[s];
        seat.bet = 0;
        seat.faceUp = s == soFar.seat || (showdown && !seat.folded && seat.inHand);
        if (winnings[s] > 0)
            winners +=
                (winners.empty() ? "" : ", ") + name(s) + " wins " + std::to_string(winnings[s]);
    }
    result.pot = 0;
    result.caption = winners;
    rest.steps.push_back(std::move(result));
    for (replay::TableState &step : rest.steps)
        step.seats[static_cast<size_t>(soFar.seat)].faceUp = true;
    return rest;
}

} // namespace practice
