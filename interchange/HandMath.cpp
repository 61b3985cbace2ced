#include "interchange/HandMath.h"

#include "pokerlib/HandValue.h"
#include "pokerlib/PotSplit.h"

#include <algorithm>
#include <map>

namespace interchange::detail {

namespace {

const char *const kRankNames[13] = {"Deuce", "Three", "Four", "Five",  "Six",  "Seven", "Eight",
                                    "Nine",  "Ten",   "Jack", "Queen", "King", "Ace"};
const char *const kRankPlurals[13] = {"Deuces", "Threes", "Fours", "Fives", "Sixes",
                                      "Sevens", "Eights", "Nines", "Tens",  "Jacks",
                                      "Queens", "Kings",  "Aces"};

} // namespace

bool SplitByStrength(const history::Hand &hand, std::vector<Pot> &pots)
{
    const std::vector<int> order = SeatsFromButton(hand);
    const int count = static_cast<int>(hand.seats.size());
    for (Pot &pot : pots) {
        pot.shares.clear();
        unsigned best = 0;
        std::vector<int> winners;
        for (int seat : order) {
            if (std::find(pot.eligible.begin(), pot.eligible.end(), seat) == pot.eligible.end())
                continue;
            const unsigned value = pot.eligible.size() == 1 ? 1 : HandStrength(hand, seat);
            if (value == 0)
                return false;
            if (value > best) {
                best = value;
                winners.clear();
            }
            if (value == best)
                winners.push_back(seat);
        }
        if (winners.empty())
            return false;
        const std::vector<long long> shares =
            brisquel::SharePot(pot.amount, winners, ButtonOf(hand), count);
        for (size_t w = 0; w < winners.size(); ++w)
            pot.shares.emplace_back(winners[w], static_cast<int>(shares[w]));
    }
    return true;
}

namespace {

// Pays the pots in order from what each seat is known to have won.
bool SplitByWinnings(std::vector<Pot> &pots, std::map<int, int> won)
{
    for (Pot &pot : pots) {
        pot.shares.clear();
        int left = pot.amount;
        for (int seat : pot.eligible) {
            const int take = std::min(left, won[seat]);
            if (take > 0) {
                pot.shares.emplace_back(seat, take);
                won[seat] -= take;
                left -= take;
            }
        }
        if (left != 0)
            return false;
    }
    for (const auto &[seat, rest] : won) {
        if (rest != 0)
            return false;
    }
    return true;
}

} // namespace

int ButtonOf(const history::Hand &hand)
{
    const int count = static_cast<int>(hand.seats.size());
    return hand.button >= 0 && hand.button < count ? hand.button : count - 1;
}

std::vector<int> SeatsFromButton(const history::Hand &hand)
{
    std::vector<int> order;
    const int count = static_cast<int>(hand.seats.size());
    const int button = ButtonOf(hand);
    for (int step = 1; step <= count; ++step) {
        const int seat = (button + step) % count;
        if (hand.seats[static_cast<size_t>(seat)].inHand)
            order.push_back(seat);
    }
    return order;
}

unsigned HandStrength(const history::Hand &hand, int seat)
{
    const history::HandSeat &s = hand.seats[static_cast<size_t>(seat)];
    if (s.cards[0] < 0 || s.cards[1] < 0)
        return 0;
    std::vector<int> cards(hand.board);
    cards.push_back(s.cards[0]);
    cards.push_back(s.cards[1]);
    return brisquel::EvaluateCards(cards.data(), static_cast<int>(cards.size())) + 1;
}

Settlement Settle(const history::Hand &hand)
{
    Settlement result;
    const size_t count = hand.seats.size();
    std::vector<int> put(count);
    for (size_t s = 0; s < count; ++s)
        put[s] = hand.seats[s].invested;
    // Chips nobody matched go back to their owner before the pots are made.
    size_t top = 0;
    for (size_t s = 1; s < count; ++s)
        top = put[s] > put[top] ? s : top;
    int second = 0;
    for (size_t s = 0; s < count; ++s)
        second = s != top ? std::max(second, put[s]) : second;
    if (count > 0 && put[top] > second && hand.seats[top].won >= put[top] - second) {
        result.uncalledSeat = static_cast<int>(top);
        result.uncalled = put[top] - second;
        put[top] = second;
    }

    std::vector<long long> putChips(put.begin(), put.end()), reach(count, 0);
    for (size_t s = 0; s < count; ++s)
        if (hand.seats[s].inHand && !hand.seats[s].folded)
            reach[s] = put[s];
    for (const brisquel::Pot &pot : brisquel::CutPots(putChips, reach))
        result.pots.push_back(Pot{static_cast<int>(pot.chips), pot.eligible, {}});

    std::map<int, int> won;
    for (size_t s = 0; s < count; ++s) {
        const int back = static_cast<int>(s) == result.uncalledSeat ? result.uncalled : 0;
        if (hand.seats[s].won - back != 0)
            won[static_cast<int>(s)] = hand.seats[s].won - back;
    }
    std::vector<Pot> byStrength = result.pots;
    if (SplitByStrength(hand, byStrength)) {
        std::map<int, int> paid;
        for (const Pot &pot : byStrength) {
            for (const auto &[seat, chips] : pot.shares)
                paid[seat] += chips;
        }
        if (paid == won) {
            result.pots = byStrength;
            result.split = true;
            return result;
        }
        // The hands shown say otherwise than the winnings: the winnings stand, as the hand
        // was paid, but not without a word.
        for (const auto &[seat, chips] : won)
            if (paid[seat] != chips) {
                result.warning = hand.seats[static_cast<size_t>(seat)].name + " won " +
                                 std::to_string(chips) + " where the hands shown give " +
                                 std::to_string(paid[seat]);
                break;
            }
        for (const auto &[seat, chips] : paid)
            if (result.warning.empty() && !won.count(seat))
                result.warning = hand.seats[static_cast<size_t>(seat)].name +
                                 " won nothing where the hands shown give " + std::to_string(chips);
    }
    result.split = SplitByWinnings(result.pots, won);
    return result;
}

std::string Describe(const std::array<int, 2> &hole, const std::vector<int> &board)
{
    if (hole[0] < 0 || hole[1] < 0 || board.size() < 3)
        return "";
    std::vector<int> cards(board);
    cards.push_back(hole[0]);
    cards.push_back(hole[1]);
    const std::uint32_t value =
        brisquel::EvaluateCards(cards.data(), static_cast<int>(cards.size()));
    const int r0 = brisquel::RankNibble(value, 0);
    const int r1 = brisquel::RankNibble(value, 1);
    const auto straight = [&](const char *what) {
        return std::string(what) + kRankNames[r0 == 3 ? 12 : r0 - 4] + " to " + kRankNames[r0];
    };
    switch (brisquel::CategoryOf(value)) {
    case brisquel::kHighCard:
        return std::string("high card ") + kRankNames[r0];
    case brisquel::kOnePair:
        return std::string("a pair of ") + kRankPlurals[r0];
    case brisquel::kTwoPair:
        return std::string("two pair, ") + kRankPlurals[r0] + " and " + kRankPlurals[r1];
    case brisquel::kTrips:
        return std::string("three of a kind, ") + kRankPlurals[r0];
    case brisquel::kStraight:
        return straight("a straight, ");
    case brisquel::kFlush:
        return std::string("a flush, ") + kRankNames[r0] + " high";
    case brisquel::kFullHouse:
        return std::string("a full house, ") + kRankPlurals[r0] + " full of " + kRankPlurals[r1];
    case brisquel::kQuads:
        return std::string("four of a kind, ") + kRankPlurals[r0];
    default:
        return r0 == 12 ? std::string("a Royal Flush") : straight("a straight flush, ");
    }
}

void Replay(history::Hand &hand, int humanSeat)
{
    const size_t count = hand.seats.size();
    std::vector<int> stack(count), bet(count, 0);
    for (size_t s = 0; s < count; ++s) {
        history::HandSeat &seat = hand.seats[s];
        stack[s] = seat.startStack;
        seat.invested = 0;
        seat.folded = false;
    }
    hand.pot = 0;
    history::Street street = history::Street::Preflop;
    int largest = 0, bigBlindPosted = 0;
    for (history::Action &action : hand.actions) {
        if (action.street != street) {
            street = action.street;
            std::fill(bet.begin(), bet.end(), 0);
            largest = 0;
        }
        const size_t i = static_cast<size_t>(action.seat);
        int active = 0;
        for (const history::HandSeat &seat : hand.seats)
            active += seat.inHand && !seat.folded ? 1 : 0;
        const bool forced = action.kind == history::ActionKind::Ante ||
                            action.kind == history::ActionKind::SmallBlind ||
                            action.kind == history::ActionKind::BigBlind;
        action.potBefore = hand.pot;
        action.toCall = forced ? 0 : std::max(0, largest - bet[i]);
        action.stackBefore = stack[i];
        action.activeBefore = active;
        if (action.kind == history::ActionKind::SmallBlind)
            hand.smallBlindSeat = action.seat;
        // A second big blind is a player's entering one; the first is the table's.
        if (action.kind == history::ActionKind::BigBlind && bigBlindPosted++ == 0)
            hand.bigBlindSeat = action.seat;
        if (action.kind == history::ActionKind::Fold)
            hand.seats[i].folded = true;
        if (action.kind != history::ActionKind::Ante)
            bet[i] += action.amount;
        action.streetTotal = bet[i];
        stack[i] -= action.amount;
        hand.seats[i].invested += action.amount;
        hand.pot += action.amount;
        action.allIn = action.amount > 0 && stack[i] <= 0;
        largest = std::max(largest, bet[i]);
    }
    hand.winners.clear();
    for (history::HandSeat &seat : hand.seats) {
        seat.endStack = seat.startStack - seat.invested + seat.won + seat.chipsAdded;
        seat.busted = seat.inHand && seat.endStack <= 0;
        if (seat.seat == humanSeat && seat.cards[0] >= 0)
            seat.cardsShown = true;
        if (seat.won > 0)
            hand.winners.push_back(
                {seat.seat, seat.won,
                 seat.folded || !hand.showdown ? std::string() : Describe(seat.cards, hand.board)});
    }
    // Positions as the engine counts them: the two seats before the big blind and the big
    // blind itself are late, the three before those middle, the rest early.
    const int bigBlind = hand.bigBlindSeat;
    if (bigBlind < 0 || static_cast<size_t>(bigBlind) >= count)
        return;
    hand.seats[static_cast<size_t>(bigBlind)].positionClass = 2;
    int met = 0;
    for (size_t step = 1; step < count; ++step) {
        history::HandSeat &seat =
            hand.seats[(static_cast<size_t>(bigBlind) + count - step) % count];
        if (!seat.inHand)
            continue;
        seat.positionClass = met < 2 ? 2 : (met < 5 ? 1 : 0);
        ++met;
    }
}

} // namespace interchange::detail
