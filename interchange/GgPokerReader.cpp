// GGPoker's hand histories are PokerStars text with a few words of their own: the first line
// ("Poker Hand #RC3892132122: Hold'em No Limit ($0.02/$0.05) - 2025/09/17 05:58:38", hand
// numbers behind two letters), "*** SHOWDOWN ***", and a summary that takes jackpot, bingo,
// fortune and tax from the pot besides the rake. Those lines are put into PokerStars' words, one
// for one so that messages name the file's own lines, and read by the PokerStars reader.
// Rush & Cash hands, each at a table of its own, make one game.
#include "interchange/HandMath.h"
#include "interchange/Interchange.h"
#include "interchange/RoomHand.h"

#include <cstdio>

namespace interchange {

namespace {

using detail::StartsWith;

bool IsHandStart(const std::string &line)
{
    return StartsWith(line, "Poker Hand #") && line.find(": ") != std::string::npos;
}

// "Poker Hand #RC3892132122: ..." -> "PokerStars Hand #3892132122: ...".
std::string HeaderLine(const std::string &line)
{
    size_t digits = 12;
    while (digits < line.size() && line[digits] >= 'A' && line[digits] <= 'Z')
        ++digits;
    return "PokerStars Hand #" + line.substr(digits);
}

// "Total pot $1.8 | Rake $0.08 | Jackpot $0.07 | Bingo $0 | ..." -> "Total pot $1.8 | Rake 15":
// all that is taken is the rake, written as PokerStars' reader reads the hand's amounts.
std::string TotalLine(const std::string &line, bool money)
{
    const size_t first = line.find(" | ");
    if (first == std::string::npos)
        return line;
    long long taken = 0;
    for (size_t bar = first; bar != std::string::npos; bar = line.find(" | ", bar + 3)) {
        const size_t space = line.find(' ', bar + 3);
        const size_t end = std::min(line.find(' ', space + 1), line.find(" | ", space));
        if (space == std::string::npos)
            return line;
        const auto amount = detail::ParseAmount(line.substr(space + 1, end - space - 1), true);
        if (!amount)
            return line; // left for the reader to refuse, with this line's number
        taken += *amount;
    }
    char rake[48];
    if (money)
        std::snprintf(rake, sizeof rake, "%lld.%02lld", taken / 100, taken % 100);
    else
        std::snprintf(rake, sizeof rake, "%lld", taken / 100);
    return line.substr(0, first) + " | Rake " + rake;
}

// Whether the hand's amounts are money: its blinds have a sign or cents.
bool Money(const std::string &header)
{
    const size_t game = header.find("Hold'em No Limit");
    const size_t open = game == std::string::npos ? game : header.find('(', game);
    const size_t close = open == std::string::npos ? open : header.find(')', open);
    return close != std::string::npos &&
           header.substr(open + 1, close - open - 1).find_first_not_of("0123456789/,") !=
               std::string::npos;
}

} // namespace

bool LooksLikeGgPoker(const std::string &text)
{
    return detail::AnyLine(text, IsHandStart);
}

bool ImportGgPoker(const std::string &text, const std::string &source, ImportResult &result,
                   std::string &error)
{
    std::vector<std::string> lines = detail::SplitLines(text);
    bool any = false, money = false;
    std::string words;
    for (std::string &line : lines) {
        if (IsHandStart(line)) {
            any = true;
            money = Money(line);
            line = HeaderLine(line);
        } else if (StartsWith(line, "Table 'RushAndCash")) {
            // Each fast-fold hand has a table of its own; the pool is one table, as PokerStars
            // names its Zoom pools, its players followed by name.
            const size_t digits = line.find_first_not_of("0123456789", 18);
            line.erase(18, digits == std::string::npos ? 0 : digits - 18);
        } else if (StartsWith(line, "*** SHOWDOWN ***")) {
            line = "*** SHOW DOWN ***";
        } else if (StartsWith(line, "Total pot ")) {
            line = TotalLine(line, money);
        }
        words += line;
        words += '\n';
    }
    if (!any) {
        error = detail::NoHandError(lines, source, "GGPoker");
        return false;
    }
    return ImportPokerStars(words, source, result, error);
}

} // namespace interchange
