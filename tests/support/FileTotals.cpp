#include "tests/support/FileTotals.h"

#include "tests/support/TextLines.h"

#include <algorithm>
#include <regex>
#include <sstream>

namespace testsupport {

namespace {

constexpr long long kDeep = 1000000000000LL; // a stack written "inf"

// "1,500", "$0.25", "€2": in hundredths for money, else as written.
long long Amount(std::string text, bool money)
{
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    const size_t digit = text.find_first_of("0123456789");
    if (text.find("inf") != std::string::npos)
        return kDeep;
    if (digit == std::string::npos)
        return 0;
    text = text.substr(digit);
    const size_t dot = text.find('.');
    long long whole = std::stoll(text.substr(0, dot));
    if (!money)
        return whole;
    // "$0.3 from pot": the digits after the point alone.
    std::string cents = dot == std::string::npos ? "" : text.substr(dot + 1, 2);
    cents.resize(std::min(cents.size(), cents.find_first_not_of("0123456789")));
    cents.resize(2, '0');
    return whole * 100 + std::stoll(cents);
}

// The chips of one hand as a tracker follows them.
struct Ledger
{
    std::map<std::string, long long> put, street, back;
    long long bet = 0; // the street's largest total
    void Add(const std::string &name, long long chips, bool live)
    {
        put[name] += chips;
        if (live) {
            street[name] += chips;
            bet = std::max(bet, street[name]);
        }
    }
    void To(const std::string &name, long long total) { Add(name, total - street[name], true); }
    void NewStreet()
    {
        street.clear();
        bet = 0;
    }
    long long Pot() const
    {
        long long pot = 0;
        for (const auto &[name, chips] : put)
            pot += chips;
        return pot;
    }
    // The part of the largest total nobody matched, and whose it is.
    long long Uncalled(std::string &owner) const
    {
        long long top = 0, second = 0;
        for (const auto &[name, chips] : put) {
            if (chips > top) {
                second = top;
                top = chips;
                owner = name;
            } else {
                second = std::max(second, chips);
            }
        }
        return top - second;
    }
};

// A hand whose header is line `line` of `count`; the one before ends there.
void StartHand(std::vector<HandTotals> &hands, const std::string &key, size_t line, size_t count,
               long long rake)
{
    if (!hands.empty())
        hands.back().end = line;
    hands.push_back({key, line, count + 1, true, {}, 0, rake});
}

// The longest seated name the line starts with.
std::string LongestName(const std::string &line, const std::vector<std::string> &names)
{
    std::string name;
    for (const std::string &n : names) {
        if (line.compare(0, n.size(), n) == 0 && n.size() > name.size())
            name = n;
    }
    return name;
}

} // namespace

std::vector<HandTotals> PokerStarsTotals(const std::string &text)
{
    const std::vector<std::string> lines = Lines(text);
    // GGPoker writes the same text under "Poker Hand #RC123:".
    const std::regex header(
        R"(^(?:\xEF\xBB\xBF)?(?:PokerStars .*?(?:Hand|Game) #|Poker Hand #[A-Z]*)(\d+):.*?\(([^)]*)\))");
    const std::regex seat(R"(^Seat \d+: (.+) \(([^ ]+) in chips)");
    const std::regex act(
        R"(^: (posts the ante|posts small blind|posts big blind|posts small & big blinds|calls|bets|raises [^ ]+ to) ([^ ]+))");
    const std::regex total(R"(^Total pot ([^ ]+).*\| Rake ([^ ]+))");
    const std::regex taken(R"(\| (?:Jackpot|Bingo|Fortune|Tax) ([^ ]+))");
    std::vector<HandTotals> hands;
    std::vector<std::string> names;
    Ledger ledger;
    std::map<std::string, long long> won;
    bool money = false, summary = false, smallPosted = false, returned = false;
    long long bigBlind = 0, totalPot = -1;
    const auto finish = [&] {
        if (hands.empty())
            return;
        HandTotals &hand = hands.back();
        hand.pot = ledger.Pot();
        std::string owner;
        const long long uncalled = ledger.Uncalled(owner);
        if (!returned && uncalled > 0 && totalPot == hand.pot - uncalled)
            ledger.back[owner] += uncalled;
        for (const std::string &name : names)
            hand.net[name] = won[name] + ledger.back[name] - ledger.put[name];
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        std::smatch m;
        if (std::regex_search(line, m, header)) {
            finish();
            StartHand(hands, m[1], i + 1, lines.size(), -1);
            const std::string blinds = m[2];
            money = blinds.find_first_of("$.\xE2\xA3") != std::string::npos;
            bigBlind = Amount(blinds.substr(blinds.find('/') + 1), money);
            names.clear();
            ledger = Ledger{};
            won.clear();
            summary = smallPosted = returned = false;
            totalPot = -1;
            continue;
        }
        if (hands.empty())
            continue;
        if (!summary && std::regex_search(line, m, seat) &&
            std::find(names.begin(), names.end(), m[1].str()) == names.end()) {
            names.push_back(m[1]);
            continue;
        }
        if (line.rfind("*** SUMMARY", 0) == 0)
            summary = true;
        if (line.rfind("*** FLOP", 0) == 0 || line.rfind("*** TURN", 0) == 0 ||
            line.rfind("*** RIVER", 0) == 0 || line.rfind("*** FIRST", 0) == 0)
            ledger.NewStreet();
        if (std::regex_search(line, m, total)) {
            totalPot = Amount(m[1], money);
            hands.back().rake = Amount(m[2], money);
            for (auto it = std::sregex_iterator(line.begin(), line.end(), taken);
                 it != std::sregex_iterator(); ++it)
                hands.back().rake += Amount((*it)[1], money);
        }
        if (!summary && line.rfind("Uncalled bet (", 0) == 0) {
            const size_t to = line.find(") returned to ");
            ledger.back[line.substr(to + 14)] += Amount(line.substr(14, to - 14), money);
            returned = true;
            continue;
        }
        const std::string name = LongestName(line, names);
        if (name.empty() || summary)
            continue;
        const std::string rest = line.substr(name.size());
        if (std::regex_search(rest, m, act)) {
            const std::string verb = m[1];
            const long long chips = Amount(m[2], money);
            if (verb == "posts the ante")
                ledger.Add(name, chips, false);
            else if (verb == "posts small blind")
                ledger.Add(name, chips, !smallPosted); // a second one is dead
            else if (verb == "posts small & big blinds") {
                ledger.Add(name, chips - bigBlind, false);
                ledger.Add(name, bigBlind, true);
            } else if (verb.rfind("raises", 0) == 0)
                ledger.To(name, chips);
            else
                ledger.Add(name, chips, true);
            smallPosted = smallPosted || verb == "posts small blind";
        } else if (rest.rfind(" collected ", 0) == 0) {
            won[name] += Amount(rest.substr(11), money);
        } else if (rest.rfind(" cashed out the hand for ", 0) == 0) {
            ledger.back[name] += Amount(rest.substr(25), money);
        } else if (rest.rfind(": Pays Cashout Risk (", 0) == 0) {
            ledger.back[name] -= Amount(rest.substr(21), money);
        }
    }
    finish();
    return hands;
}

namespace {

// The items of a one-line TOML array, quotes taken off.
std::vector<std::string> Items(const std::string &array)
{
    std::vector<std::string> items;
    std::string item;
    char quote = 0;
    for (char c : array.substr(array.find('[') + 1)) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                item += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ',' || c == ']') {
            if (!item.empty())
                items.push_back(item);
            item.clear();
        } else if (c != ' ') {
            item += c;
        }
    }
    return items;
}

HandTotals PhhHand(const std::map<std::string, std::string> &fields, bool money)
{
    HandTotals hand;
    const auto list = [&](const char *key) {
        const auto found = fields.find(key);
        return found == fields.end() ? std::vector<std::string>() : Items(found->second);
    };
    const std::vector<std::string> stacks = list("starting_stacks"), antes = list("antes"),
                                   blinds = list("blinds_or_straddles"),
                                   finishing = list("finishing_stacks"),
                                   winnings = list("winnings"), players = list("players"),
                                   actions = list("actions");
    const size_t n = stacks.size();
    const auto name = [&](size_t p) {
        return p < players.size() ? players[p] : "p" + std::to_string(p + 1);
    };
    // Heads-up the forced bets are listed the other way round.
    const auto owner = [&](size_t i) { return n == 2 ? 1 - i : i; };
    Ledger ledger;
    for (size_t i = 0; i < n && i < antes.size(); ++i)
        ledger.Add(name(owner(i)), Amount(antes[i], money), false);
    // A blind written negative was posted out of turn: live up to the big blind when it comes to
    // that much, dead otherwise.
    long long bigBlind = 0;
    for (size_t i = 0, seen = 0; i < n && i < blinds.size() && seen < 2; ++i) {
        if (blinds[i][0] != '-' && Amount(blinds[i], money) > 0) {
            bigBlind = Amount(blinds[i], money);
            ++seen;
        }
    }
    for (size_t i = 0; i < n && i < blinds.size(); ++i) {
        const long long chips = Amount(blinds[i], money);
        const long long live = blinds[i][0] != '-' ? chips : chips >= bigBlind ? bigBlind : 0;
        ledger.Add(name(owner(i)), live, true);
        ledger.Add(name(owner(i)), chips - live, false);
    }
    for (const std::string &action : actions) {
        std::istringstream words(action);
        std::string actor, verb, argument;
        words >> actor >> verb >> argument;
        if (actor == "d" && verb == "db")
            ledger.NewStreet();
        if (actor.size() < 2 || actor[0] != 'p')
            continue;
        const size_t p = std::stoul(actor.substr(1)) - 1;
        const long long left = Amount(stacks[p], money) - ledger.put[name(p)];
        if (verb == "cc")
            ledger.Add(name(p), std::min(ledger.bet - ledger.street[name(p)], left), true);
        else if (verb == "cbr")
            ledger.To(name(p), Amount(argument, money));
    }
    hand.pot = ledger.Pot();
    long long listed = 0;
    for (const std::string &w : winnings)
        listed += Amount(w, money);
    const bool stacksKnown =
        finishing.size() == n &&
        std::none_of(finishing.begin(), finishing.end(),
                     [](const std::string &s) { return s.find("inf") != std::string::npos; });
    std::string top;
    const long long uncalled = ledger.Uncalled(top);
    hand.known = stacksKnown || listed > 0;
    for (size_t p = 0; p < n && hand.known; ++p) {
        if (stacksKnown)
            hand.net[name(p)] = Amount(finishing[p], money) - Amount(stacks[p], money);
        else
            hand.net[name(p)] = Amount(winnings[p], money) - ledger.put[name(p)] +
                                (name(p) == top && listed + uncalled <= hand.pot ? uncalled : 0);
    }
    return hand;
}

} // namespace

std::vector<HandTotals> PhhTotals(const std::string &text)
{
    const std::vector<std::string> lines = Lines(text);
    const bool money =
        text.find("currency") != std::string::npos ||
        std::regex_search(text,
                          std::regex(R"((stacks|antes|straddles|winnings) = \[[^\]]*\d\.\d)"));
    std::vector<HandTotals> hands;
    std::map<std::string, std::string> fields;
    size_t start = 1;
    const auto finish = [&](size_t end) {
        if (fields.empty())
            return;
        HandTotals hand = PhhHand(fields, money);
        const auto number = fields.find("hand");
        hand.key = number != fields.end() ? number->second : "#" + std::to_string(hands.size() + 1);
        hand.key.erase(std::remove(hand.key.begin(), hand.key.end(), '\''), hand.key.end());
        hand.line = start;
        hand.end = end;
        hands.push_back(hand);
        fields.clear();
    };
    std::string open; // an array's key while its lines go on
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        if (!open.empty()) {
            fields[open] += line;
            if (line.find(']') != std::string::npos)
                open.clear();
            continue;
        }
        if (!line.empty() && line[0] == '[') {
            finish(i + 1);
            start = i + 1;
            continue;
        }
        const size_t equals = line.find(" = ");
        if (equals == std::string::npos || line[0] == '#')
            continue;
        fields[line.substr(0, equals)] = line.substr(equals + 3);
        if (line.compare(equals + 3, 1, "[") == 0 && line.find(']', equals) == std::string::npos)
            open = line.substr(0, equals);
    }
    finish(lines.size() + 1);
    return hands;
}

std::vector<HandTotals> RoomTotals(const std::string &text, bool winamax)
{
    const std::vector<std::string> lines = Lines(text);
    const std::regex header(
        winamax ? R"(^Winamax Poker - .*HandId: #([^ ]+) - Holdem no limit \(([^)]*)\))"
                : R"(^\*\*\*\*\* .*Hand History for Game (\d+) )");
    const std::regex seat(winamax ? R"(^Seat \d+: (.+) \([^)]*\)$)" : R"(^Seat \d+: (.+) \( )");
    // Winamax writes raises as totals, 888 as the chips put in.
    const std::regex act(
        winamax
            ? R"(^ (posts ante|posts small blind|posts big blind|calls|bets|raises [^ ]+ to) ([^ ]+)( out of position)?)"
            : R"(^ (posts ante|posts small blind|posts big blind|posts dead blind|calls|bets|raises) \[([^\]]+)\])");
    const std::regex collected(winamax ? R"(^ collected ([^ ]+) from)"
                                       : R"(^ collected \[ ([^ ]+) \])");
    std::vector<HandTotals> hands;
    std::vector<std::string> names;
    Ledger ledger;
    std::map<std::string, long long> won;
    bool money = false, summary = false;
    const auto finish = [&] {
        if (hands.empty())
            return;
        hands.back().pot = ledger.Pot();
        std::string owner;
        const long long uncalled = ledger.Uncalled(owner);
        // 888 gives an uncalled bet back without a word, unless what was collected holds it (a
        // big blind nobody called); Winamax counts it in what is collected.
        long long collectedAll = 0;
        for (const auto &[name, chips] : won)
            collectedAll += chips;
        if (!winamax && collectedAll + uncalled <= hands.back().pot)
            ledger.back[owner] += uncalled;
        for (const std::string &name : names)
            hands.back().net[name] = won[name] + ledger.back[name] - ledger.put[name];
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        std::smatch m;
        if (std::regex_search(line, m, header)) {
            finish();
            StartHand(hands, m[1], i + 1, lines.size(), winamax ? 0 : -1);
            money = !winamax || m[2].str().find_first_of(".\xE2") != std::string::npos;
            names.clear();
            ledger = Ledger{};
            won.clear();
            summary = false;
            continue;
        }
        if (hands.empty())
            continue;
        // 888's tournament chips are written as money.
        if (!winamax && line.rfind("Tournament #", 0) == 0)
            money = false;
        if (std::regex_search(line, m, seat) && !summary &&
            std::find(names.begin(), names.end(), m[1].str()) == names.end()) {
            names.push_back(m[1]);
            continue;
        }
        summary = summary || line.find("SUMMARY") != std::string::npos;
        if (line.find("*** FLOP") == 0 || line.find("*** TURN") == 0 ||
            line.find("*** RIVER") == 0 || line.find("** Dealing f") == 0 ||
            line.find("** Dealing t") == 0 || line.find("** Dealing r") == 0)
            ledger.NewStreet();
        if (winamax && line.rfind("Total pot ", 0) == 0 &&
            line.find("| Rake ") != std::string::npos)
            hands.back().rake = Amount(line.substr(line.find("| Rake ") + 7), money);
        const std::string name = LongestName(line, names);
        if (name.empty())
            continue;
        const std::string rest = line.substr(name.size());
        if (std::regex_search(rest, m, act) && !summary) {
            const std::string verb = m[1];
            const std::string amount = m[2];
            const bool dead = m.size() > 3 && m[3].matched && verb == "posts small blind";
            if (verb == "posts ante" || dead)
                ledger.Add(name, Amount(amount, money), false);
            else if (verb == "posts dead blind" && amount.find(" + ") != std::string::npos) {
                ledger.Add(name, Amount(amount.substr(0, amount.find(" + ")), money), false);
                ledger.Add(name, Amount(amount.substr(amount.find(" + ") + 3), money), true);
            } else if (verb.rfind("raises ", 0) == 0)
                ledger.To(name, Amount(amount, money));
            else
                ledger.Add(name, Amount(amount, money), true);
        } else if (std::regex_search(rest, m, collected)) {
            won[name] += Amount(m[1], money);
        }
    }
    finish();
    return hands;
}

} // namespace testsupport
