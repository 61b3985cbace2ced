#include "tests/interchange/TrackerCheck.h"

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
    long long bigBlind = 0;
    long long current = 0, lastRaise = 0;
    long long collected = 0, totalPot = -1, mainAndSide = 0, rake = 0;
    std::vector<int> summarySeats;
    Report *report = nullptr;
    // Whose turn it is: the first after the last blind posted before the flop, after the
    // button on later streets, then round the table past those folded or all-in.
    int button = 0, lastBlindSeat = 0;
    bool preflop = true;
    int lastActorSeat = -1;

    void CheckTurn(const std::string &name)
    {
        const int from = lastActorSeat >= 0 ? lastActorSeat : (preflop ? lastBlindSeat : button);
        std::vector<std::pair<int, std::string>> ring;
        for (auto &[n, p] : players) {
            if (!p.folded && !p.allIn)
                ring.emplace_back(p.seat, n);
        }
        std::sort(ring.begin(), ring.end());
        if (ring.empty())
            return;
        auto next = std::upper_bound(ring.begin(), ring.end(), std::make_pair(from, std::string("\xff")));
        const std::string &expected = (next == ring.end() ? ring.front() : *next).second;
        if (expected != name)
            Deviation(name + " acts in " + expected + "'s turn");
        lastActorSeat = players[name].seat;
    }

    void Problem(const std::string &what) { report->problems.push_back("hand " + id + ": " + what); }
    void Deviation(const std::string &what)
    {
        report->ruleDeviations.push_back("hand " + id + ": " + what);
    }
    void NewStreet()
    {
        preflop = false;
        lastActorSeat = -1;
        for (auto &[name, p] : players)
            p.street = 0;
        current = 0;
        lastRaise = bigBlind;
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
    const std::regex header(R"(^PokerStars Hand #(\d+): +(Tournament #\d+, Freeroll  Hold'em No Limit - Level [IVXLC]+ |Hold'em No Limit )\((\d+)/(\d+)\) - \d{4}/\d\d/\d\d \d\d:\d\d:\d\d ET$)");
    const std::regex table(R"(^Table '[^']+' (\d+)-max( \(Play Money\))? Seat #(\d+) is the button$)");
    const std::regex seatLine(R"(^Seat (\d+): (.+) \((\d+) in chips\)$)");
    const std::regex post(R"(^(.+): posts (the ante|small blind|big blind) (\d+)( and is all-in)?$)");
    const std::regex act(R"(^(.+): (folds|checks|calls (\d+)|bets (\d+)|raises (\d+) to (\d+))( and is all-in)?$)");
    const std::regex street(R"(^\*\*\* (FLOP|TURN|RIVER) \*\*\* \[([^\]]+)\]( \[([^\]]+)\])?$)");
    const std::regex uncalled(R"(^Uncalled bet \((\d+)\) returned to (.+)$)");
    const std::regex collected(R"(^(.+) collected (\d+) from (pot|main pot|side pot(-\d+)?)$)");
    const std::regex total(R"(^Total pot (\d+)( Main pot (\d+)\.((?: Side pot(?:-\d+)? \d+\.)+))? \| Rake (\d+)$)");
    const std::regex summarySeat(R"(^Seat (\d+): (.+?)( \(button\))?( \(small blind\))?( \(big blind\))? (folded (before Flop( \(didn't bet\))?|on the (Flop|Turn|River))|showed \[.. ..\] and (won \((\d+)\)|lost)( with .+)?|collected \((\d+)\)|mucked)$)");
    std::smatch m;
    std::map<std::string, long long> lastEnd;
    HandCheck hand;
    bool inHand = false, summary = false;
    std::string board;
    const auto finish = [&] {
        if (!inHand)
            return;
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
        if (hand.mainAndSide != 0 && hand.mainAndSide != hand.totalPot)
            hand.Problem("main and side pots do not make the total");
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
            hand.bigBlind = std::stoll(m[4]);
            inHand = true;
            summary = false;
            ++report.hands;
            lastEnd = previous;
            continue;
        }
        if (!inHand || line.empty())
            continue;
        if (std::regex_match(line, m, table)) {
            hand.button = std::stoi(m[3]);
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
            hand.seatOrder.push_back(name);
            continue;
        }
        if (std::regex_match(line, m, post)) {
            Player &p = hand.players[m[1]];
            const long long chips = std::stoll(m[3]);
            if (m[2] == "the ante") {
                p.stack -= chips;
                p.total += chips;
                p.allIn = p.stack == 0;
                if (p.stack < 0)
                    hand.Problem("an ante beyond the stack");
            } else {
                hand.Put(p, m[1], chips, m[4].matched);
                hand.current = std::max(hand.current, p.street);
                hand.lastBlindSeat = p.seat;
            }
            hand.lastRaise = hand.bigBlind;
            continue;
        }
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
            hand.CheckTurn(name);
            const long long owed = hand.current - p.street;
            const std::string verb = m[2];
            const bool allIn = m[7].matched;
            if (verb == "folds") {
                p.folded = true;
            } else if (verb == "checks") {
                if (owed != 0)
                    hand.Problem(name + " checks facing " + std::to_string(owed));
            } else if (m[3].matched) {
                const long long chips = std::stoll(m[3]);
                if (chips != std::min(owed, p.stack))
                    hand.Problem(name + " calls " + std::to_string(chips) + " owing " +
                                 std::to_string(owed));
                hand.Put(p, name, chips, allIn);
            } else if (m[4].matched) {
                const long long chips = std::stoll(m[4]);
                if (hand.current != 0)
                    hand.Problem(name + " bets into a bet");
                if (chips < hand.bigBlind && !allIn)
                    hand.Deviation(name + " bets less than the big blind");
                hand.Put(p, name, chips, allIn);
                hand.lastRaise = chips;
                hand.current = p.street;
            } else {
                const long long by = std::stoll(m[5]), to = std::stoll(m[6]);
                if (to - by != hand.current)
                    hand.Problem(name + " raises " + std::to_string(by) + " to " +
                                 std::to_string(to) + " over a bet of " +
                                 std::to_string(hand.current));
                if (by < hand.lastRaise && !allIn)
                    hand.Deviation(name + " raises by " + std::to_string(by) + ", less than " +
                                   std::to_string(hand.lastRaise));
                hand.Put(p, name, to - p.street, allIn);
                hand.lastRaise = std::max(hand.lastRaise, by);
                hand.current = to;
            }
            continue;
        }
        if (std::regex_match(line, m, uncalled)) {
            const std::string name = m[2];
            long long other = 0;
            for (auto &[n, p] : hand.players)
                other = n != name ? std::max(other, p.total) : other;
            if (std::stoll(m[1]) != hand.players[name].total - other)
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
                hand.mainAndSide = std::stoll(m[3]);
                const std::regex side(R"(Side pot(?:-\d+)? (\d+)\.)");
                const std::string sides = m[4];
                for (std::sregex_iterator it(sides.begin(), sides.end(), side), end; it != end; ++it)
                    hand.mainAndSide += std::stoll((*it)[1]);
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
