#include "history/HistoryReader.h"

#include "lineformat/GameLines.h"
#include "pokerlib/CardNames.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

namespace fs = std::filesystem;

namespace history {

namespace {

using gamelines::kGameStartPrefix;
using gamelines::kHandPrefix;
const char kHistoryFolder[] = "HandHistory";
const char kLogName[] = "HistoryGame.log";
// A hand-history file is small; anything far larger is not one of ours.
constexpr std::uintmax_t kMaxFileBytes = 512u * 1024u * 1024u;

std::string Trim(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string TrimRight(const std::string &text)
{
    return text.substr(0, text.find_last_not_of(" \t\r\n") + 1);
}

bool StartsWith(const std::string &text, const std::string &prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string &text, const std::string &suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Lines without their "\r\n" or "\n"; `complete` is false when the last line has no line end.
std::vector<std::string> SplitLines(const std::string &text, bool &complete)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    complete = text.empty() || text.back() == '\n';
    return lines;
}

// A whole decimal number (optionally negative) at text[pos...]; advances pos.
std::optional<int> NumberAt(const std::string &text, size_t &pos)
{
    int value = 0;
    const char *begin = text.data() + pos;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr == begin)
        return std::nullopt;
    pos = static_cast<size_t>(ptr - text.data());
    return value;
}

using gamelines::AfterName;
using gamelines::Match;

std::vector<int> CardsOf(const std::string &text)
{
    std::vector<int> cards;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find_first_not_of(' ', pos);
        if (start == std::string::npos)
            break;
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        cards.push_back(CardFromText(text.substr(start, end - start)));
        pos = end;
    }
    return cards;
}

// ---- The game log ----------------------------------------------------------------------------

struct LogSeat
{
    std::string name;
    std::string strategy;
    int stack = 0;
};

struct LogHand
{
    std::string header; // trimmed
    int ante = 0;
    std::map<int, std::array<int, 2>> cards;
};

struct LogGame
{
    bool hasStart = false; // false for the part before the first start (a trimmed log)
    std::vector<LogSeat> seats;
    std::map<int, LogHand> hands;
};

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

// ---- The hand history ------------------------------------------------------------------------

class HistoryParser
{
public:
    HistoryParser(Game &game, const std::string &source)
        : m_game(game)
        , m_source(source)
    {}

    bool Parse(const std::vector<std::string> &lines, bool lastLineComplete, std::string &error);
    // Fills in what the log knows, then replays every hand.
    void Finish(const LogGame *log);

    // The raw hands as read, before the replay: header text per hand for the pairing.
    std::vector<std::pair<int, std::string>> Headers() const;

private:
    // One line of a hand, as read.
    struct Line
    {
        int lineNumber = 0;
        std::string text;
    };
    struct RawHand
    {
        Hand hand;
        std::string header;
        std::vector<Line> lines; // everything after the seat lines
        bool complete = false;
    };

    bool ParseLine(const std::string &line, int number, std::string &error);
    std::string Where(int number) const { return m_source + ", line " + std::to_string(number); }
    // The seat whose name the line starts with (the longest such name) and the rest of the line.
    int SeatAtStart(const std::string &line, std::string &rest) const;
    void Replay(RawHand &raw, const LogHand *log);
    void ComputePositions(Hand &hand) const;

    Game &m_game;
    std::string m_source;
    bool m_seenStart = false;
    bool m_seatsDone = false;
    std::vector<RawHand> m_hands;
};

int HistoryParser::SeatAtStart(const std::string &line, std::string &rest) const
{
    int best = -1;
    size_t bestLength = 0;
    for (const GameSeat &seat : m_game.seats) {
        if (!seat.name.empty() && seat.name.size() > bestLength && StartsWith(line, seat.name)) {
            best = seat.seat;
            bestLength = seat.name.size();
        }
    }
    if (best >= 0)
        rest = line.substr(bestLength);
    return best;
}

bool HistoryParser::Parse(const std::vector<std::string> &lines, bool lastLineComplete,
                          std::string &error)
{
    const size_t usable = lastLineComplete || lines.empty() ? lines.size() : lines.size() - 1;
    if (usable < lines.size())
        m_game.truncated = true;
    for (size_t i = 0; i < usable; ++i) {
        if (!ParseLine(lines[i], static_cast<int>(i) + 1, error))
            return false;
    }
    if (!m_seenStart) {
        error = m_source +
                " is not a hand-history file of this program: it has no game start "
                "line (\"" +
                kGameStartPrefix + " ...\")";
        return false;
    }
    if (!m_seatsDone) {
        error = m_source + " is cut off: it ends inside the game's list of seats";
        return false;
    }
    return true;
}

bool HistoryParser::ParseLine(const std::string &line, int number, std::string &error)
{
    const std::string text = line;
    if (Trim(text).empty())
        return true;
    if (!m_seenStart) {
        if (!StartsWith(text, kGameStartPrefix)) {
            error = m_source + " is not a hand-history file of this program: line " +
                    std::to_string(number) + " should start the game with \"" + kGameStartPrefix +
                    " ...\"";
            return false;
        }
        m_seenStart = true;
        std::string stamp = text.substr(sizeof kGameStartPrefix - 1);
        const auto rule = stamp.find(" =");
        m_game.started = Trim(rule == std::string::npos ? stamp : stamp.substr(0, rule));
        return true;
    }
    std::vector<int> n;
    std::vector<std::string> w;
    if (!m_seatsDone) {
        if (Match(text, gamelines::kGameSeat, &n, &w)) {
            if (n[0] != static_cast<int>(m_game.seats.size())) {
                error = Where(number) + ": seat " + std::to_string(n[0]) + " is out of order";
                return false;
            }
            GameSeat seat;
            seat.seat = n[0];
            seat.name = w[0];
            seat.stack = n[1];
            seat.strategy = w[1];
            seat.persona = PersonaOfStrategy(w[1]);
            seat.human = IsHumanPersona(seat.persona);
            m_game.seats.push_back(seat);
            return true;
        }
        if (text.find_first_not_of(gamelines::kGameSeatsEndMark) == std::string::npos) {
            if (m_game.seats.size() < 2 || m_game.seats.size() > 10) {
                error = Where(number) + ": a game needs 2 to 10 seats, the file lists " +
                        std::to_string(m_game.seats.size());
                return false;
            }
            m_seatsDone = true;
            return true;
        }
        error = Where(number) + ": expected a seat line (\"Seat 0: ...\"), found \"" + text + "\"";
        return false;
    }
    if (StartsWith(text, kHandPrefix)) {
        if (!Match(Trim(text), gamelines::kHandHeader, &n, &w)) {
            error = Where(number) + ": a hand header that cannot be read: \"" + text + "\"";
            return false;
        }
        RawHand raw;
        raw.hand.number = n[0];
        raw.hand.smallBlind = n[1];
        raw.hand.bigBlind = n[2];
        raw.hand.timeText = Trim(w[0]);
        raw.header = Trim(text);
        m_hands.push_back(std::move(raw));
        return true;
    }
    if (m_hands.empty()) {
        error = Where(number) + ": expected the first hand's header, found \"" + text + "\"";
        return false;
    }
    RawHand &raw = m_hands.back();
    if (Match(text, gamelines::kTable, &n)) {
        if (n[0] != static_cast<int>(m_game.seats.size()) || n[1] < 0 || n[1] >= n[0]) {
            error = Where(number) + ": the table line does not fit the game's " +
                    std::to_string(m_game.seats.size()) + " seats";
            return false;
        }
        raw.hand.button = n[1];
        return true;
    }
    if (Match(text, gamelines::kHandSeat, &n, &w)) {
        if (n[0] != static_cast<int>(raw.hand.seats.size()) ||
            n[0] >= static_cast<int>(m_game.seats.size())) {
            error = Where(number) + ": seat " + std::to_string(n[0]) + " is out of order";
            return false;
        }
        HandSeat seat;
        seat.seat = n[0];
        seat.name = w[0];
        seat.startStack = n[1];
        seat.inHand = n[1] > 0;
        raw.hand.seats.push_back(seat);
        return true;
    }
    raw.lines.push_back({number, text});
    return true;
}

std::vector<std::pair<int, std::string>> HistoryParser::Headers() const
{
    std::vector<std::pair<int, std::string>> headers;
    for (const RawHand &raw : m_hands)
        headers.emplace_back(raw.hand.number, raw.header);
    return headers;
}

void HistoryParser::Finish(const LogGame *log)
{
    for (RawHand &raw : m_hands) {
        const LogHand *logHand = nullptr;
        if (log) {
            const auto found = log->hands.find(raw.hand.number);
            if (found != log->hands.end())
                logHand = &found->second;
        }
        Replay(raw, logHand);
    }
    // A hand cut off by the end of the file is not a hand to review or chart.
    if (!m_hands.empty() && !m_hands.back().complete) {
        m_game.truncated = true;
        m_game.warnings.push_back("The file ends inside hand #" +
                                  std::to_string(m_hands.back().hand.number) +
                                  "; that hand is left out.");
        m_hands.pop_back();
    } else if (m_game.truncated) {
        m_game.warnings.push_back("The file's last line is cut off.");
    }
    for (RawHand &raw : m_hands) {
        if (!raw.complete) {
            m_game.warnings.push_back("Hand #" + std::to_string(raw.hand.number) +
                                      " has no winner; it is left out.");
            continue;
        }
        m_game.hands.push_back(std::move(raw.hand));
    }
    // Each hand starts with the stacks the previous one ended with.
    for (size_t h = 1; h < m_game.hands.size(); ++h) {
        const Hand &before = m_game.hands[h - 1];
        const Hand &after = m_game.hands[h];
        for (size_t s = 0; s < before.seats.size() && s < after.seats.size(); ++s) {
            if (before.seats[s].endStack != after.seats[s].startStack && m_game.logPaired) {
                m_game.warnings.push_back(
                    "Hand #" + std::to_string(after.number) + ": seat " + std::to_string(s) +
                    " starts with " + std::to_string(after.seats[s].startStack) +
                    " chips, the hand before left it " + std::to_string(before.seats[s].endStack));
                break;
            }
        }
    }
}

void HistoryParser::ComputePositions(Hand &hand) const
{
    const int count = static_cast<int>(hand.seats.size());
    const int bigBlind = hand.bigBlindSeat;
    if (bigBlind < 0 || bigBlind >= count || !hand.seats[static_cast<size_t>(bigBlind)].inHand)
        return;
    AssignPositionClasses(
        count, bigBlind, [&hand](int s) { return hand.seats[static_cast<size_t>(s)].inHand; },
        [&hand](int s, int positionClass) {
            hand.seats[static_cast<size_t>(s)].positionClass = positionClass;
        });
}

void HistoryParser::Replay(RawHand &raw, const LogHand *log)
{
    Hand &hand = raw.hand;
    const size_t seatCount = m_game.seats.size();
    while (hand.seats.size() < seatCount) {
        // A header cut off in the middle of its seat lines.
        HandSeat seat;
        seat.seat = static_cast<int>(hand.seats.size());
        seat.name = m_game.seats[hand.seats.size()].name;
        hand.seats.push_back(seat);
    }
    if (log) {
        hand.ante = log->ante;
        for (const auto &[seat, cards] : log->cards) {
            if (seat >= 0 && static_cast<size_t>(seat) < seatCount)
                hand.seats[static_cast<size_t>(seat)].cards = cards;
        }
    }

    std::vector<int> stack(seatCount), bet(seatCount, 0);
    for (size_t s = 0; s < seatCount; ++s)
        stack[s] = hand.seats[s].startStack;
    Street street = Street::Preflop;
    int largestBet = 0;
    std::map<int, std::string> combinations;
    int winLines = 0;
    bool collected = false;

    const auto activeCount = [&] {
        int active = 0;
        for (const HandSeat &seat : hand.seats)
            active += seat.inHand && !seat.folded ? 1 : 0;
        return active;
    };
    const auto put = [&](int s, ActionKind kind, int amount) {
        const size_t i = static_cast<size_t>(s);
        Action action;
        action.street = street;
        action.seat = s;
        action.kind = kind;
        action.amount = amount;
        action.potBefore = hand.pot;
        const bool forced = kind == ActionKind::Ante || kind == ActionKind::SmallBlind ||
                            kind == ActionKind::BigBlind;
        action.toCall = forced ? 0 : std::max(0, largestBet - bet[i]);
        action.stackBefore = stack[i];
        action.activeBefore = activeCount();
        if (kind != ActionKind::Ante)
            bet[i] += amount;
        action.streetTotal = bet[i];
        stack[i] -= amount;
        hand.seats[i].invested += amount;
        hand.pot += amount;
        action.allIn = amount > 0 && stack[i] <= 0;
        largestBet = std::max(largestBet, bet[i]);
        hand.actions.push_back(action);
    };

    if (hand.ante > 0) {
        for (size_t s = 0; s < seatCount; ++s) {
            if (hand.seats[s].inHand && stack[s] > 0)
                put(static_cast<int>(s), ActionKind::Ante, std::min(hand.ante, stack[s]));
        }
    }

    for (const Line &line : raw.lines) {
        const std::string &text = line.text;
        std::vector<int> n;
        std::vector<std::string> w;
        std::string rest;
        if (text == gamelines::kHoleCards || text == gamelines::kSummary) {
            if (text == gamelines::kSummary)
                hand.showdown = true;
            continue;
        }
        if (Match(text, gamelines::kFlop, nullptr, &w) ||
            Match(text, gamelines::kTurn, nullptr, &w) ||
            Match(text, gamelines::kRiver, nullptr, &w)) {
            for (int card : CardsOf(w[0]))
                hand.board.push_back(card);
            street = hand.board.size() <= 3   ? Street::Flop
                     : hand.board.size() == 4 ? Street::Turn
                                              : Street::River;
            std::fill(bet.begin(), bet.end(), 0);
            largestBet = 0;
            continue;
        }
        if (Match(text, gamelines::kDealtTo, nullptr, &w)) {
            const int s = m_game.seatOf(w[0]);
            const std::vector<int> cards = CardsOf(w[1]);
            if (s >= 0 && cards.size() == 2)
                hand.seats[static_cast<size_t>(s)].cards = {cards[0], cards[1]};
            continue;
        }
        if (Match(text, gamelines::kHeroAdds, &n)) {
            const int human = std::max(m_game.humanSeat(), 0);
            hand.seats[static_cast<size_t>(human)].chipsAdded += n[0];
            continue;
        }
        const int s = SeatAtStart(text, rest);
        if (s < 0 || static_cast<size_t>(s) >= seatCount) {
            m_game.warnings.push_back(Where(line.lineNumber) + ": skipped \"" + text + "\"");
            continue;
        }
        HandSeat &seat = hand.seats[static_cast<size_t>(s)];
        if (Match(rest, AfterName(gamelines::kPostsSmallBlind), &n)) {
            hand.smallBlindSeat = s;
            put(s, ActionKind::SmallBlind, n[0]);
        } else if (Match(rest, AfterName(gamelines::kPostsBigBlind), &n)) {
            hand.bigBlindSeat = s;
            put(s, ActionKind::BigBlind, n[0]);
        } else if (rest == AfterName(gamelines::kFolds)) {
            put(s, ActionKind::Fold, 0);
            seat.folded = true;
        } else if (rest == AfterName(gamelines::kChecks)) {
            put(s, ActionKind::Check, 0);
        } else if (Match(rest, AfterName(gamelines::kCalls), &n)) {
            put(s, ActionKind::Call, n[0]);
        } else if (Match(rest, AfterName(gamelines::kRaises), &n)) {
            const bool opening = street != Street::Preflop && largestBet == 0;
            put(s, opening ? ActionKind::Bet : ActionKind::Raise, n[0]);
        } else if (Match(Trim(rest), Trim(AfterName(gamelines::kCollected)), &n)) {
            seat.won += n[0];
            collected = true;
        } else if (Match(rest, AfterName(gamelines::kWins), &n)) {
            seat.won = n[0];
            ++winLines;
        } else if (Match(rest, TrimRight(AfterName(gamelines::kHas)), nullptr, &w)) {
            combinations[s] = Trim(w[0]);
        } else if (rest == AfterName(gamelines::kLostAllMoney)) {
            seat.busted = true;
        } else {
            m_game.warnings.push_back(Where(line.lineNumber) + ": skipped \"" + text + "\"");
        }
    }

    int inHand = 0;
    for (const HandSeat &seat : hand.seats)
        inHand += seat.inHand ? 1 : 0;
    raw.complete = collected || (hand.showdown && winLines >= inHand && inHand > 0);

    const int human = m_game.humanSeat();
    int paid = 0;
    for (HandSeat &seat : hand.seats) {
        seat.endStack = seat.startStack - seat.invested + seat.won + seat.chipsAdded;
        if (seat.inHand && seat.endStack <= 0)
            seat.busted = true;
        seat.cardsShown = seat.cards[0] >= 0 &&
                          (seat.seat == human || (hand.showdown && seat.inHand && !seat.folded));
        paid += seat.won;
        if (seat.won > 0) {
            const auto found = combinations.find(seat.seat);
            hand.winners.push_back(
                {seat.seat, seat.won, found == combinations.end() ? "" : found->second});
        }
    }
    ComputePositions(hand);
    if (raw.complete && paid != hand.pot && (log || hand.ante == 0) && m_game.logPaired)
        m_game.warnings.push_back("Hand #" + std::to_string(hand.number) + ": " +
                                  std::to_string(paid) + " chips were paid out of a pot of " +
                                  std::to_string(hand.pot));
}

// The latest game of the log whose seats and hand headers agree with the hand history's.
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

bool ReadText(const std::string &path, std::string &text, std::string &error)
{
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (code || !fs::exists(status)) {
        error = path + " does not exist";
        return false;
    }
    if (fs::is_directory(status)) {
        error = path + " is a folder, not a file";
        return false;
    }
    const std::uintmax_t size = fs::file_size(path, code);
    if (!code && size > kMaxFileBytes) {
        error = path + " is too large to be a hand-history file or game log";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path + (errno ? std::string(": ") + std::strerror(errno) : "");
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

} // namespace

// ---- Public ----------------------------------------------------------------------------------

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

bool ParseGame(const std::string &historyText, const std::string &logText, Game &game,
               std::string &error, const std::string &source)
{
    game = Game{};
    if (historyText.find('\0') != std::string::npos) {
        error = source + " is not a hand-history file of this program: it holds binary data";
        return false;
    }
    bool complete = true;
    const std::vector<std::string> lines = SplitLines(historyText, complete);
    HistoryParser parser(game, source);
    if (!parser.Parse(lines, complete, error))
        return false;
    const LogGame *log = nullptr;
    std::vector<LogGame> logGames;
    if (!logText.empty()) {
        logGames = ParseLog(logText);
        log = PairLog(logGames, game, parser.Headers());
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

bool ReadGameFile(const std::string &historyPath, Game &game, std::string &error)
{
    std::string historyText;
    if (!ReadText(historyPath, historyText, error))
        return false;
    std::string logText;
    std::string logPath;
    const fs::path folder = fs::path(historyPath).parent_path();
    for (const fs::path &candidate : {folder.parent_path() / kLogName, folder / kLogName}) {
        std::error_code code;
        if (fs::is_regular_file(candidate, code)) {
            std::string ignored;
            if (ReadText(candidate.string(), logText, ignored)) {
                logPath = candidate.string();
                break;
            }
        }
    }
    if (!ParseGame(historyText, logText, game, error, historyPath))
        return false;
    game.historyPath = historyPath;
    if (game.logPaired)
        game.logPath = logPath;
    return true;
}

std::vector<std::string> FindHistoryFiles(const std::string &path, std::string &error)
{
    std::error_code code;
    if (!fs::exists(path, code)) {
        error = path + " does not exist";
        return {};
    }
    if (!fs::is_directory(path, code))
        return {path};
    fs::path folder = path;
    if (fs::is_directory(folder / kHistoryFolder, code))
        folder /= kHistoryFolder;
    std::vector<std::string> files;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        const std::string name = it->path().filename().string();
        if (StartsWith(name, "HH_") && EndsWith(name, ".txt") && it->is_regular_file(code))
            files.push_back(it->path().string());
    }
    if (code) {
        error = "cannot list " + folder.string() + ": " + code.message();
        return {};
    }
    // The names carry the start time, so their order is the games' order.
    std::sort(files.begin(), files.end());
    if (files.empty())
        error = "no hand-history files (HandHistory/HH_*.txt) in " + path;
    return files;
}

bool ReadGames(const std::string &path, bool all, std::vector<Game> &games, std::string &error)
{
    games.clear();
    std::vector<std::string> files = FindHistoryFiles(path, error);
    if (files.empty())
        return false;
    if (!all)
        files.erase(files.begin(), files.end() - 1);
    for (const std::string &file : files) {
        Game game;
        if (!ReadGameFile(file, game, error)) {
            games.clear();
            return false;
        }
        games.push_back(std::move(game));
    }
    return true;
}

} // namespace history
