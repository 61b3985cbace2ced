#include "history/HistoryReader.h"

#include "history/HistoryParser.h"
#include "history/LogParser.h"
#include "history/TextPatterns.h"
#include "pokerlib/CardNames.h"

#include <algorithm>

// The public face of the readers. The work is done in: TextPatterns (text helpers), LogParser
// (the game log and its pairing), HistoryParser (the hand history), ChipLedger (each hand's
// chips), HistoryFiles (files and folders); the line forms themselves are in lineformat/.
namespace history {

using detail::EndsWith;
using detail::StartsWith;

const char *StreetName(Street street)
{
    switch (street) {
    case Street::Preflop:
        return "preflop";
    case Street::Flop:
        return "flop";
    case Street::Turn:
        return "turn";
    case Street::River:
        return "river";
    }
    return "";
}

const char *ActionName(ActionKind kind)
{
    switch (kind) {
    case ActionKind::Ante:
        return "ante";
    case ActionKind::SmallBlind:
        return "small blind";
    case ActionKind::BigBlind:
        return "big blind";
    case ActionKind::Fold:
        return "fold";
    case ActionKind::Check:
        return "check";
    case ActionKind::Call:
        return "call";
    case ActionKind::Bet:
        return "bet";
    case ActionKind::Raise:
        return "raise";
    }
    return "";
}

int Hand::boardCountAt(Street street) const
{
    static const int kCounts[] = {0, 3, 4, 5};
    return std::min(kCounts[static_cast<int>(street)], static_cast<int>(board.size()));
}

namespace {

int PostedAbove(const Hand &hand, ActionKind kind, int header)
{
    int inForce = header;
    for (const Action &action : hand.actions)
        if (action.kind == kind && !action.allIn)
            inForce = std::max(inForce, action.amount);
    return inForce;
}

} // namespace

int Hand::smallBlindInForce() const
{
    return PostedAbove(*this, ActionKind::SmallBlind, smallBlind);
}

int Hand::bigBlindInForce() const
{
    return PostedAbove(*this, ActionKind::BigBlind, bigBlind);
}

int Game::seatInHand(const Hand &hand, int seat) const
{
    if (importedFrom.empty() || seat < 0 || static_cast<size_t>(seat) >= seats.size())
        return seat;
    if (seats[static_cast<size_t>(seat)].name.empty())
        return -1; // a seat nobody sat in
    for (const HandSeat &here : hand.seats) {
        if (here.name == seats[static_cast<size_t>(seat)].name)
            return here.seat;
    }
    return -1;
}

int Game::humanSeat() const
{
    for (const GameSeat &seat : seats) {
        if (seat.human)
            return seat.seat;
    }
    return -1;
}

int Game::seatOf(const std::string &name) const
{
    for (const GameSeat &seat : seats) {
        if (seat.name == name)
            return seat.seat;
    }
    for (const GameSeat &seat : seats) {
        const std::string suffix = "_" + std::to_string(seat.seat);
        if (EndsWith(seat.name, suffix) && seat.name.size() - suffix.size() == name.size() &&
            StartsWith(seat.name, name))
            return seat.seat;
    }
    return -1;
}

int CardFromText(const std::string &text)
{
    if (text.size() != 2)
        return -1;
    return brisquel::ParseCard(text);
}

std::string CardText(int card)
{
    std::string out;
    for (wchar_t c : brisquel::CardName(card))
        out += static_cast<char>(c);
    return out;
}

namespace {

bool ParseGameUnguarded(const std::string &historyText, const std::string &logText, Game &game,
                        std::string &error, const std::string &source)
{
    game = Game{};
    if (historyText.find('\0') != std::string::npos) {
        error = source + " is not a hand-history file of this program: it holds binary data";
        return false;
    }
    bool complete = true;
    const std::vector<std::string> lines = detail::SplitLines(historyText, complete);
    detail::HistoryParser parser(game, source);
    if (!parser.Parse(lines, complete, error))
        return false;
    const detail::LogGame *log = nullptr;
    std::vector<detail::LogGame> logGames;
    if (!logText.empty()) {
        logGames = detail::ParseLog(logText);
        log = detail::PairLog(logGames, game, parser.Headers());
    }
    game.logPaired = log != nullptr;
    if (!log)
        game.warnings.push_back(
            logText.empty()
                ? "No game log: antes count as 0 and only the human's cards are known."
                : "No game in the game log matches this hand history: antes count as 0 and "
                  "only the human's cards are known.");
    parser.Finish(log);
    return true;
}

} // namespace

bool ParseGame(const std::string &historyText, const std::string &logText, Game &game,
               std::string &error, const std::string &source)
{
    try {
        return ParseGameUnguarded(historyText, logText, game, error, source);
    } catch (const std::exception &e) {
        game = Game{};
        error = source + " cannot be read: " + e.what();
        return false;
    }
}

} // namespace history
