#include "tests/interchange/TrackerCheck.h"
#include "tests/support/Referee.h"

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>

namespace trackercheck {

namespace {

struct Player
{
    int seat = 0;
    long long stack = 0; // behind
    long long street = 0;
    long long total = 0;
    bool folded = false;
    bool allIn = false;
};

struct HandCheck
{
    std::string id;
    std::map<std::string, Player> players;
    std::vector<std::string> seatOrder; // names by seat
    std::map<std::string, long long> returned, won;
    long long current = 0;
    long long collected = 0, totalPot = -1, rake = 0;
    std::vector<long long> pots; // main and side, when the total lists them
    std::vector<int> summarySeats;
    Report *report = nullptr;
    referee::Hand rules; // turns and sizes, by the seats' numbers
    int street = 0;

    void Problem(const std::string &what)
    {
        report->problems.push_back("hand " + id + ": " + what);
    }
    void NewStreet()
    {
        rules.Street(street++);
        for (auto &[name, p] : players)
            p.street = 0;
        current = 0;
    }
    void Put(Player &p, const std::string &name, long long chips, bool saysAllIn)
    {
        if (chips > p.stack)
            Problem(name + " puts in " + std::to_string(chips) + " with " +
                    std::to_string(p.stack));
        p.stack -= chips;
        p.street += chips;
        p.total += chips;
        p.allIn = p.stack == 0;
        if (saysAllIn != p.allIn)
            Problem(name + ": \"and is all-in\" is " + (saysAllIn ? "wrong" : "missing"));
    }
};

} // namespace

Report CheckPokerStars(const std::string &text)
{
    Report report;
    std::istringstream in(text);
    std::string line;
    const std::regex header(
        R"(^PokerStars Hand #(\d+): +(Tournament #\d+, Freeroll  Hold'em No Limit - Level [IVXLC]+ |Hold'em No Limit )\((\d+)/(\d+)\) - \d{4}/\d\d/\d\d \d\d:\d\d:\d\d ET$)");
    const std::regex table(
        R"(^Table '[^']+' (\d+)-max( \(Play Money\))? Seat #(\d+) is the button$)");
    const std::regex seatLine(R"(^Seat (\d+): (.+) \((\d+) in chips\)$)");
    const std::regex post(
        R"(^(.+): posts (the ante|small blind|big blind) (\d+)( and is all-in)?$)");
    const std::regex act(
        R"(^(.+): (folds|checks|calls (\d+)|bets (\d+)|raises (\d+) to (\d+))( and is all-in)?$)");
    const std::regex street(R"(^\*\*\* (FLOP|TURN|RIVER) \*\*\* \[([^\]]+)\]( \[([^\]]+)\])?$)");
    const std::regex uncalled(R"(^Uncalled bet \((\d+)\) returned to (.+)$)");
    const std::regex collected(R"(^(.+) collected (\d+) from (pot|main pot|side pot(-\d+)?)$)");
    const std::regex total(
        R"(^Total pot (\d+)( Main pot (\d+)\.((?: Side pot(?:-\d+)? \d+\.)+))? \| Rake (\d+)$)");
    const std::regex summarySeat(
        R"(^Seat (\d+): (.+?)( \(button\))?( \(small blind\))?( \(big blind\))? (folded (before Flop( \(didn't bet\))?|on the (Flop|Turn|River))|showed \[.. ..\] and (won \((\d+)\)|lost)( with .+)?|collected \((\d+)\)|mucked)$)");
    std::smatch m;
    std::map<std::string, long long> lastEnd;
    HandCheck hand;
    bool inHand = false, summary = false;
    std::string board;
    const auto finish = [&] {
        if (!inHand)
            return;
        hand.rules.Finish();
        for (std::string &fault : hand.rules.faults)
            report.problems.push_back(std::move(fault));
        long long pot = 0, returned = 0;
        for (auto &[name, p] : hand.players)
            pot += p.total;
        for (auto &[name, chips] : hand.returned)
            returned += chips;
        if (hand.totalPot != pot - returned)
            hand.Problem("total pot " + std::to_string(hand.totalPot) + " but " +
                         std::to_string(pot - returned) + " was put in and kept");
        if (hand.collected + hand.rake != hand.totalPot)
            hand.Problem("collected " + std::to_string(hand.collected) + " of a pot of " +
                         std::to_string(hand.totalPot));
        if (!hand.pots.empty() && hand.pots != hand.rules.Pots())
            hand.Problem("the main and side pots are not those the players' chips make");
        std::vector<int> seats;
        for (auto &[name, p] : hand.players)
            seats.push_back(p.seat);
        std::sort(seats.begin(), seats.end());
        if (hand.summarySeats != seats)
            hand.Problem("the summary does not list every seat once in seat order");
        // The stacks the next hand must start with.
        lastEnd.clear();
        for (auto &[name, p] : hand.players)
            lastEnd[name] = p.stack + hand.returned[name] + hand.won[name];
        inHand = false;
    };
    while (std::getline(in, line)) {
        if (std::regex_match(line, m, header)) {
            finish();
            const std::map<std::string, long long> previous = lastEnd;
            hand = HandCheck{};
            hand.report = &report;
            hand.id = m[1];
            hand.rules.Begin(hand.id, std::stoll(m[4]));
            inHand = true;
            summary = false;
            ++report.hands;
            lastEnd = previous;
            continue;
        }
        if (!inHand || line.empty())
            continue;
        if (std::regex_match(line, m, table)) {
            hand.rules.Button(std::stoi(m[3]));
            continue;
        }
        if (!summary && std::regex_match(line, m, seatLine)) {
            Player p;
            p.seat = std::stoi(m[1]);
            p.stack = std::stoll(m[3]);
            const std::string name = m[2];
            if (!hand.seatOrder.empty() && hand.players[hand.seatOrder.back()].seat >= p.seat)
                hand.Problem("seat lines out of order");
            if (lastEnd.count(name) && lastEnd[name] != p.stack)
                hand.Problem(name + " starts with " + std::to_string(p.stack) +
                             ", the hand before left " + std::to_string(lastEnd[name]));
            hand.players[name] = p;
            hand.rules.Deal(p.seat, p.stack);
            hand.seatOrder.push_back(name);
            continue;
        }
        if (std::regex_match(line, m, post)) {
            Player &p = hand.players[m[1]];
            const long long chips = std::stoll(m[3]);
            if (m[2] == "the ante") {
                hand.rules.Ante(p.seat, chips);
                p.stack -= chips;
                p.total += chips;
                p.allIn = p.stack == 0;
                if (p.stack < 0)
                    hand.Problem("an ante beyond the stack");
            } else {
                hand.rules.Blind(p.seat, chips, m[2] == "big blind");
                hand.Put(p, m[1], chips, m[4].matched);
                hand.current = std::max(hand.current, p.street);
            }
            continue;
        }
        if (line == "*** HOLE CARDS ***")
            hand.rules.Street(hand.street++);
        if (line == "*** HOLE CARDS ***" || line == "*** SHOW DOWN ***" ||
            line.rfind("Dealt to ", 0) == 0 || line.find(": shows [") != std::string::npos ||
            line.find(": mucks hand") != std::string::npos)
            continue;
        if (line == "*** SUMMARY ***") {
            summary = true;
            continue;
        }
        if (std::regex_match(line, m, street)) {
            board = m[2].str() + (m[4].matched ? " " + m[4].str() : "");
            hand.NewStreet();
            continue;
        }
        if (!summary && std::regex_match(line, m, act)) {
            const std::string name = m[1];
            if (!hand.players.count(name)) {
                hand.Problem("an action by someone not seated: " + line);
                continue;
            }
            Player &p = hand.players[name];
            if (p.folded || p.allIn)
                hand.Problem(name + " acts after folding or going all-in");
            const std::string verb = m[2];
            const bool allIn = m[7].matched;
            if (verb == "folds") {
                hand.rules.Act(p.seat, referee::Move::Fold, 0);
                p.folded = true;
            } else if (verb == "checks") {
                hand.rules.Act(p.seat, referee::Move::Check, 0);
            } else if (m[3].matched) {
                hand.rules.Act(p.seat, referee::Move::Call, std::stoll(m[3]));
                hand.Put(p, name, std::stoll(m[3]), allIn);
            } else if (m[4].matched) {
                if (hand.current != 0)
                    hand.Problem(name + " bets into a bet");
                hand.rules.Act(p.seat, referee::Move::Raise, std::stoll(m[4]));
                hand.Put(p, name, std::stoll(m[4]), allIn);
                hand.current = p.street;
            } else {
                const long long by = std::stoll(m[5]), to = std::stoll(m[6]);
                if (to - by != hand.current)
                    hand.Problem(name + " raises " + std::to_string(by) + " to " +
                                 std::to_string(to) + " over a bet of " +
                                 std::to_string(hand.current));
                hand.rules.Act(p.seat, referee::Move::Raise, to - p.street);
                hand.Put(p, name, to - p.street, allIn);
                hand.current = to;
            }
            continue;
        }
        if (std::regex_match(line, m, uncalled)) {
            const std::string name = m[2];
            int top = -1;
            if (std::stoll(m[1]) != hand.rules.Uncalled(&top) || top != hand.players[name].seat)
                hand.Problem("uncalled bet " + m[1].str() + " is not what " + name +
                             " put in beyond the others");
            hand.returned[name] += std::stoll(m[1]);
            continue;
        }
        if (!summary && std::regex_match(line, m, collected)) {
            hand.collected += std::stoll(m[2]);
            hand.won[m[1]] += std::stoll(m[2]);
            continue;
        }
        if (std::regex_match(line, m, total)) {
            hand.totalPot = std::stoll(m[1]);
            hand.rake = std::stoll(m[5]);
            if (m[2].matched) {
                hand.pots = {std::stoll(m[3])};
                const std::regex side(R"(Side pot(?:-\d+)? (\d+)\.)");
                const std::string sides = m[4];
                for (std::sregex_iterator it(sides.begin(), sides.end(), side), end; it != end;
                     ++it)
                    hand.pots.push_back(std::stoll((*it)[1]));
            }
            continue;
        }
        if (line.rfind("Board [", 0) == 0) {
            if (line != "Board [" + board + "]")
                hand.Problem("the summary's board differs from the streets'");
            continue;
        }
        if (summary && std::regex_match(line, m, summarySeat)) {
            hand.summarySeats.push_back(std::stoi(m[1]));
            continue;
        }
        hand.Problem("a line no tracker reads: \"" + line + "\"");
    }
    finish();
    return report;
}

} // namespace trackercheck
