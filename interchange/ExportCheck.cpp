#include "interchange/Interchange.h"

#include "interchange/HandMath.h"

#include <map>

namespace interchange {

namespace {

// What a hand comes to: its pot, and what each player won or lost, by name.
std::map<std::string, long long> Outcome(const history::Hand &hand)
{
    std::map<std::string, long long> outcome{{"", hand.pot}};
    for (const history::HandSeat &seat : hand.seats) {
        if (seat.inHand)
            outcome[seat.name] += seat.won - seat.invested;
    }
    return outcome;
}

// Whether the one hand of `game`, written in the format, reads back as it was played; else why.
// The readers read each hand on its own, so a hand checked alone reads as it would in the file.
bool ReadsBack(const history::Game &game, Format format, std::string &why)
{
    static const std::string kSource = "written";
    ImportResult result;
    std::string error;
    if (!ImportText(ExportGame(game, format), kSource, result, error)) {
        // "written:12: a acts after folding": the reason, without the text's line.
        const size_t reason = error.find(": ", kSource.size() + 1);
        why = reason == std::string::npos ? error : error.substr(reason + 2);
        return false;
    }
    if (result.games.size() != 1 || result.games[0].hands.size() != 1 ||
        Outcome(result.games[0].hands[0]) != Outcome(game.hands[0])) {
        why = "it reads back with other chips than were played";
        return false;
    }
    return true;
}

} // namespace

std::string ExportReadable(const std::vector<history::Game> &games, Format format,
                           std::vector<std::string> &leftOut, std::vector<std::string> *notes)
{
    std::vector<history::Game> kept;
    for (const history::Game &game : games) {
        history::Game checked = game, one = game;
        checked.hands.clear();
        for (const history::Hand &hand : game.hands) {
            one.hands.assign(1, hand);
            std::string why;
            const std::string disagreement = detail::Settle(hand).warning;
            if (notes && !disagreement.empty())
                notes->push_back(game.historyPath + ": hand " + std::to_string(hand.number) + ": " +
                                 disagreement + "; the winnings are written as played");
            if (ReadsBack(one, format, why))
                checked.hands.push_back(hand);
            else
                leftOut.push_back(game.historyPath + ": hand " + std::to_string(hand.number) +
                                  " is left out of the export: " + why);
        }
        kept.push_back(std::move(checked));
    }
    return ExportGames(kept, format);
}

} // namespace interchange
