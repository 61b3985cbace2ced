#include "interchange/HandMath.h"
#include "interchange/Interchange.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace interchange {

namespace {

using history::ActionKind;
using history::Street;

const char *const kStreetNames[4] = {"", "Flop", "Turn", "River"};

// "2023.11.14  22:13:20" -> "2023/11/14 22:13:20"; empty when the text holds no such time.
std::string StampText(const std::string &time, bool slashes)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (std::sscanf(time.c_str(), "%d.%d.%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6 || y < 0 ||
        y > 9999 || mo < 0 || mo > 99 || d < 0 || d > 99 || h < 0 || h > 99 || mi < 0 || mi > 99 ||
        s < 0 || s > 99)
        return ""; // not a time this writer can put in a hand number

    char buffer[40];
    if (slashes)
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    else
        std::snprintf(buffer, sizeof buffer, "%04d%02d%02d%02d%02d%02d", y, mo, d, h, mi, s);
    return buffer;
}

std::string Roman(int n)
{
    static const std::pair<int, const char *> kDigits[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string out;
    for (const auto &[value, text] : kDigits) {
        for (; n >= value; n -= value)
            out += text;
    }
    return out;
}

std::string Cards(const std::vector<int> &cards, size_t from, size_t to)
{
    std::string out;
    for (size_t i = from; i < to && i < cards.size(); ++i)
        out += (out.empty() ? "" : " ") + history::CardText(cards[i]);
    return "[" + out + "]";
}

std::string Hole(const history::HandSeat &seat)
{
    return Cards({seat.cards[0], seat.cards[1]}, 0, 2);
}

bool Known(const history::HandSeat &seat)
{
    return seat.cards[0] >= 0 && seat.cards[1] >= 0;
}

// The action as a tracker reads it: raises as "raises <increase> to <total>".
std::string ActionLine(const history::Action &a)
{
    const std::string allIn = a.allIn ? " and is all-in" : "";
    const std::string chips = std::to_string(a.amount);
    switch (a.kind) {
    case ActionKind::Ante:
        return ": posts the ante " + chips + allIn;
    case ActionKind::SmallBlind:
        return ": posts small blind " + chips + allIn;
    case ActionKind::BigBlind:
        return ": posts big blind " + chips + allIn;
    case ActionKind::Fold:
        return ": folds";
    case ActionKind::Check:
        return a.amount > 0 ? ": calls " + chips + allIn : ": checks";
    case ActionKind::Call:
    case ActionKind::Bet:
    case ActionKind::Raise:
        break;
    }
    const int before = a.streetTotal - a.amount + a.toCall; // the largest bet before it
    if (a.amount == 0)
        return a.toCall > 0 ? ": folds" : ": checks";
    if (a.amount <= a.toCall)
        return ": calls " + chips + allIn;
    if (before == 0)
        return ": bets " + chips + allIn;
    return ": raises " + std::to_string(a.streetTotal - before) + " to " +
           std::to_string(a.streetTotal) + allIn;
}

bool TournamentLike(const history::Game &game)
{
    for (const history::Hand &hand : game.hands) {
        if (hand.smallBlind != game.hands.front().smallBlind ||
            hand.bigBlind != game.hands.front().bigBlind)
            return true;
    }
    return false;
}

// A name as a PokerStars line may carry it: one that begins like a line of the format's own
// ("*** FLOP ***", "Dealt to ", ...) would be read as that line, so it goes out behind a '_'.
std::string WritableName(const std::string &name)
{
    for (const char *own :
         {"*** ", "Dealt to ", "Uncalled bet (", "Seat ", "PokerStars ", "Total pot ", "Table '"})
        if (name.rfind(own, 0) == 0)
            return "_" + name;
    return name;
}

std::string SeatName(const history::Hand &hand, int seat)
{
    return WritableName(hand.seats[static_cast<size_t>(seat)].name);
}

std::string ActionText(const history::Hand &hand, const history::Action &action)
{
    return SeatName(hand, action.seat) + ActionLine(action) + "\n";
}

// The header line, the table line and a line per seat dealt in.
void WriteHeader(const history::Game &game, const history::Hand &hand, const std::string &stamp,
                 const std::string &tableName, bool tournament, int level, std::string &out)
{
    std::string time = StampText(hand.timeText, true);
    if (time.empty())
        time = StampText(game.started, true);
    if (time.empty())
        time = "2000/01/01 00:00:00";
    char number[16];
    std::snprintf(number, sizeof number, stamp.empty() ? "%d" : "%04d", hand.number);
    // An imported hand goes out under its room's own number.
    const bool own = !hand.id.empty() && hand.id.size() <= 19 &&
                     hand.id.find_first_not_of("0123456789") == std::string::npos;
    const std::string id = own ? hand.id : stamp + number;
    const std::string blinds =
        "(" + std::to_string(hand.smallBlind) + "/" + std::to_string(hand.bigBlind) + ")";
    out += "PokerStars Hand #" + id + ": ";
    if (tournament)
        out += "Tournament #" + (stamp.empty() ? std::string("1") : stamp) +
               ", Freeroll  Hold'em No Limit - Level " + Roman(level) + " " + blinds;
    else
        out += " Hold'em No Limit " + blinds;
    out += " - " + time + " ET\n";
    out += "Table '" + tableName + "' " + std::to_string(hand.seats.size()) + "-max" +
           (tournament ? "" : " (Play Money)") + " Seat #" + std::to_string(hand.button + 1) +
           " is the button\n";
    for (const history::HandSeat &seat : hand.seats) {
        if (seat.inHand)
            out += "Seat " + std::to_string(seat.seat + 1) + ": " + WritableName(seat.name) + " (" +
                   std::to_string(seat.startStack) + " in chips)\n";
    }
}

// The forced bets, the hole cards dealt to the player, each street's cards and actions, and
// the uncalled bet given back.
void WriteActions(const history::Game &game, const history::Hand &hand,
                  const detail::Settlement &settled, std::string &out)
{
    // The unmatched chips go back at the end of the street of the owner's last bet.
    int uncalledStreet = -1;
    for (const history::Action &a : hand.actions) {
        if (a.seat == settled.uncalledSeat && a.amount > 0 && a.kind != ActionKind::Ante)
            uncalledStreet = static_cast<int>(a.street);
    }
    const auto returnUncalled = [&] {
        if (settled.uncalledSeat >= 0)
            out += "Uncalled bet (" + std::to_string(settled.uncalled) + ") returned to " +
                   SeatName(hand, settled.uncalledSeat) + "\n";
    };

    size_t next = 0;
    // Antes and blinds come before the hole cards.
    while (next < hand.actions.size() && hand.actions[next].street == Street::Preflop &&
           (hand.actions[next].kind == ActionKind::Ante ||
            hand.actions[next].kind == ActionKind::SmallBlind ||
            hand.actions[next].kind == ActionKind::BigBlind)) {
        // A blind of no chips (the ante took the last) has no line; the summary still names
        // the seat's blind.
        if (hand.actions[next].amount > 0 || hand.actions[next].kind == ActionKind::Ante)
            out += ActionText(hand, hand.actions[next]);
        ++next;
    }
    out += "*** HOLE CARDS ***\n";
    // The player it was dealt to, wherever he sits this hand.
    const int human = game.seatInHand(hand, game.humanSeat());
    if (human >= 0 && static_cast<size_t>(human) < hand.seats.size() &&
        hand.seats[static_cast<size_t>(human)].inHand &&
        Known(hand.seats[static_cast<size_t>(human)]))
        out += "Dealt to " + SeatName(hand, human) + " " +
               Hole(hand.seats[static_cast<size_t>(human)]) + "\n";
    int lastStreet = 0;
    for (int street = 0; street < 4; ++street) {
        static const size_t kBoardCount[4] = {0, 3, 4, 5};
        if (street > 0) {
            if (hand.board.size() < kBoardCount[street])
                break;
            out += std::string("*** ") +
                   (street == 1   ? "FLOP"
                    : street == 2 ? "TURN"
                                  : "RIVER") +
                   " *** " + Cards(hand.board, 0, street == 1 ? 3 : kBoardCount[street - 1]);
            if (street > 1)
                out += " " + Cards(hand.board, kBoardCount[street - 1], kBoardCount[street]);
            out += "\n";
        }
        lastStreet = street;
        for (; next < hand.actions.size() && static_cast<int>(hand.actions[next].street) <= street;
             ++next)
            out += ActionText(hand, hand.actions[next]);
        if (street == uncalledStreet)
            returnUncalled();
    }
    // Actions on a street whose cards are missing (none in a sound file) still count.
    for (; next < hand.actions.size(); ++next)
        out += ActionText(hand, hand.actions[next]);
    if (uncalledStreet > lastStreet || (uncalledStreet < 0 && settled.uncalledSeat >= 0))
        returnUncalled();
}

void WriteShowdown(const history::Hand &hand, std::string &out)
{
    out += "*** SHOW DOWN ***\n";
    for (int s : detail::SeatsFromButton(hand)) {
        const history::HandSeat &seat = hand.seats[static_cast<size_t>(s)];
        if (seat.folded)
            continue;
        if (Known(seat)) {
            const std::string what = detail::Describe(seat.cards, hand.board);
            out += WritableName(seat.name) + ": shows " + Hole(seat) +
                   (what.empty() ? "" : " (" + what + ")") + "\n";
        } else {
            out += WritableName(seat.name) + ": mucks hand\n";
        }
    }
}

// The "collected" lines, pot by pot where the pot was split without rake; what each seat
// collected, by seat.
std::vector<int> WriteCollected(const history::Hand &hand, const detail::Settlement &settled,
                                int rake, std::string &out)
{
    std::vector<int> collected(hand.seats.size(), 0);
    const size_t potCount = settled.pots.size();
    if (settled.split && rake == 0) {
        for (size_t p = potCount; p-- > 0;) {
            std::string from = "pot";
            if (potCount > 1)
                from = p == 0 ? "main pot"
                              : (potCount > 2 ? "side pot-" + std::to_string(p) : "side pot");
            for (const auto &[seat, chips] : settled.pots[p].shares) {
                out += SeatName(hand, seat) + " collected " + std::to_string(chips) + " from " +
                       from + "\n";
                collected[static_cast<size_t>(seat)] += chips;
            }
        }
    } else {
        for (const history::HandSeat &seat : hand.seats) {
            const int chips = seat.won - (seat.seat == settled.uncalledSeat ? settled.uncalled : 0);
            if (chips > 0) {
                out +=
                    WritableName(seat.name) + " collected " + std::to_string(chips) + " from pot\n";
                collected[static_cast<size_t>(seat.seat)] = chips;
            }
        }
    }
    return collected;
}

// " folded before Flop (didn't bet)", " folded on the Turn", ...
std::string FoldedText(const history::Hand &hand, const history::HandSeat &seat)
{
    int street = 0;
    bool putIn = false;
    for (const history::Action &a : hand.actions) {
        if (a.seat != seat.seat)
            continue;
        if (a.kind == ActionKind::Fold)
            street = static_cast<int>(a.street);
        else if (a.kind != ActionKind::Ante && a.amount > 0)
            putIn = true;
    }
    return street == 0 ? std::string(" folded before Flop") + (putIn ? "" : " (didn't bet)")
                       : std::string(" folded on the ") + kStreetNames[street];
}

void WriteSummary(const history::Hand &hand, const detail::Settlement &settled, int rake,
                  bool showdown, const std::vector<int> &collected, std::string &out)
{
    out += "*** SUMMARY ***\n";
    int total = 0;
    for (const detail::Pot &pot : settled.pots)
        total += pot.amount;
    out += "Total pot " + std::to_string(total);
    const size_t potCount = settled.pots.size();
    if (settled.split && rake == 0 && potCount > 1) {
        out += " Main pot " + std::to_string(settled.pots[0].amount) + ".";
        for (size_t p = 1; p < potCount; ++p)
            out += " Side pot" + (potCount > 2 ? "-" + std::to_string(p) : std::string()) + " " +
                   std::to_string(settled.pots[p].amount) + ".";
    }
    out += " | Rake " + std::to_string(rake) + "\n";
    if (!hand.board.empty())
        out += "Board " + Cards(hand.board, 0, hand.board.size()) + "\n";
    for (const history::HandSeat &seat : hand.seats) {
        if (!seat.inHand)
            continue;
        out += "Seat " + std::to_string(seat.seat + 1) + ": " + WritableName(seat.name);
        if (seat.seat == hand.button)
            out += " (button)";
        if (seat.seat == hand.smallBlindSeat)
            out += " (small blind)";
        if (seat.seat == hand.bigBlindSeat)
            out += " (big blind)";
        const int chips = collected[static_cast<size_t>(seat.seat)];
        if (seat.folded) {
            out += FoldedText(hand, seat);
        } else if (showdown && Known(seat)) {
            const std::string what = detail::Describe(seat.cards, hand.board);
            const std::string with = what.empty() ? "" : " with " + what;
            out += " showed " + Hole(seat) +
                   (chips > 0 ? " and won (" + std::to_string(chips) + ")" + with
                              : " and lost" + with);
        } else if (chips > 0) {
            out += " collected (" + std::to_string(chips) + ")";
        } else {
            out += showdown ? " mucked" : "";
        }
        out += "\n";
    }
}

void WriteHand(const history::Game &game, const history::Hand &hand, const std::string &stamp,
               const std::string &tableName, bool tournament, int level, std::string &out)
{
    WriteHeader(game, hand, stamp, tableName, tournament, level, out);
    const detail::Settlement settled = detail::Settle(hand);
    WriteActions(game, hand, settled, out);
    int stillIn = 0;
    for (const history::HandSeat &seat : hand.seats)
        stillIn += seat.inHand && !seat.folded ? 1 : 0;
    const bool showdown = hand.showdown && stillIn >= 2;
    if (showdown)
        WriteShowdown(hand, out);
    // What the winners were paid short of the pot is the house's (hands read from a site).
    int paid = 0;
    for (const history::HandSeat &seat : hand.seats)
        paid += seat.won;
    const int rake = std::max(0, hand.pot - paid);
    const std::vector<int> collected = WriteCollected(hand, settled, rake, out);
    WriteSummary(hand, settled, rake, showdown, collected, out);
    out += "\n\n";
}

} // namespace

bool FormatFromName(const std::string &name, Format &format)
{
    if (name == "pokerstars")
        format = Format::PokerStars;
    else if (name == "phh")
        format = Format::Phh;
    else
        return false;
    return true;
}

const char *FormatExtension(Format format)
{
    return format == Format::PokerStars ? ".txt" : ".phhs";
}

std::string ExportGame(const history::Game &game, Format format)
{
    return format == Format::PokerStars ? ExportPokerStars(game) : ExportPhh(game);
}

std::string ExportPokerStars(const history::Game &game)
{
    std::string out;
    if (game.hands.empty())
        return out;
    // Hand numbers start again with every game: the game's start time in front keeps them
    // apart in a tracker's database.
    const std::string stamp = StampText(game.started, false);
    const bool tournament = TournamentLike(game);
    const std::string table = "Brisquel " + (stamp.empty() ? std::string("1") : stamp);
    int level = 1;
    for (size_t h = 0; h < game.hands.size(); ++h) {
        const history::Hand &hand = game.hands[h];
        if (h > 0 && (hand.bigBlind != game.hands[h - 1].bigBlind ||
                      hand.smallBlind != game.hands[h - 1].smallBlind))
            ++level;
        WriteHand(game, hand, stamp, tournament ? stamp.empty() ? "1 1" : stamp + " 1" : table,
                  tournament, level, out);
    }
    return out;
}

} // namespace interchange
