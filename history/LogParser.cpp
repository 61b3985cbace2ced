#include "history/LogParser.h"

#include "history/TextPatterns.h"
#include "lineformat/GameLines.h"

namespace history::detail {

using gamelines::kHandPrefix;
using gamelines::Match;

std::vector<LogGame> ParseLog(const std::string &text)
{
    std::vector<LogGame> games(1);
    bool complete = true;
    int hand = -1;
    int ante = 0;
    for (const std::string &line : SplitLines(text, complete)) {
        std::vector<int> n;
        std::vector<std::string> w;
        if (Match(line, gamelines::kLogPlayers) || Match(line, TrimRight(gamelines::kLogPlayers))) {
            games.emplace_back();
            games.back().hasStart = true;
            hand = -1;
            ante = 0;
        } else if (Match(line, gamelines::kLogGameSeat, &n, &w)) {
            games.back().seats.push_back({w[0], w[1], n[1]});
        } else if (StartsWith(line, kHandPrefix)) {
            size_t pos = sizeof kHandPrefix - 1;
            if (const auto number = NumberAt(line, pos)) {
                hand = *number;
                games.back().hands[hand].header = Trim(line);
            }
        } else if (Match(line, gamelines::kLogBlindsAnte, &n)) {
            ante = n[2];
        } else if (Match(line, gamelines::kLogBlinds, &n)) {
            ante = 0;
        } else if (hand >= 0 && Match(line, gamelines::kLogHoleCards, &n, &w)) {
            const std::vector<int> cards = CardsOf(w[0]);
            LogHand &logHand = games.back().hands[hand];
            logHand.ante = ante;
            if (cards.size() == 2 && cards[0] >= 0 && cards[1] >= 0)
                logHand.cards[n[0]] = {cards[0], cards[1]};
        }
    }
    if (!games.front().hasStart && games.front().hands.empty())
        games.erase(games.begin());
    return games;
}

const LogGame *PairLog(const std::vector<LogGame> &games, const Game &game,
                       const std::vector<std::pair<int, std::string>> &headers)
{
    for (auto it = games.rbegin(); it != games.rend(); ++it) {
        const LogGame &log = *it;
        if (log.hasStart) {
            if (log.seats.size() != game.seats.size())
                continue;
            bool same = true;
            for (size_t s = 0; s < log.seats.size() && same; ++s)
                same = log.seats[s].name == game.seats[s].name &&
                       log.seats[s].strategy == game.seats[s].strategy &&
                       log.seats[s].stack == game.seats[s].stack;
            if (!same)
                continue;
        }
        int common = 0;
        bool agree = true;
        for (const auto &[number, header] : headers) {
            const auto found = log.hands.find(number);
            if (found == log.hands.end())
                continue;
            ++common;
            if (found->second.header != header) {
                agree = false;
                break;
            }
        }
        if (!agree)
            continue;
        // A trimmed log's first part has no seat lines: it needs a hand in common.
        if (common > 0 || (log.hasStart && headers.empty()))
            return &log;
    }
    return nullptr;
}

} // namespace history::detail
