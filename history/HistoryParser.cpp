#include "history/HistoryParser.h"

#include "history/ChipLedger.h"
#include "history/TextPatterns.h"
#include "lineformat/GameLines.h"
#include "lineformat/TextFormat.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <map>

namespace history::detail {

using gamelines::AfterName;
using gamelines::kGameStartPrefix;
using gamelines::kHandPrefix;
using gamelines::Match;

namespace {

bool ChipsInRange(long long value)
{
    return value >= 0 && value <= kMaxChips;
}

std::string PastBound()
{
    return "an amount past " + std::to_string(kMaxChips) + " chips";
}

} // namespace

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
    if (Trim(line).empty())
        return true;
    if (!m_seenStart)
        return ParseStartLine(line, number, error);
    if (!m_seatsDone)
        return ParseGameSeatLine(line, number, error);
    return ParseHandLine(line, number, error);
}

bool HistoryParser::ParseStartLine(const std::string &line, int number, std::string &error)
{
    if (!StartsWith(line, kGameStartPrefix)) {
        error = m_source + " is not a hand-history file of this program: line " +
                std::to_string(number) + " should start the game with \"" + kGameStartPrefix +
                " ...\"";
        return false;
    }
    m_seenStart = true;
    std::string stamp = line.substr(sizeof kGameStartPrefix - 1);
    const auto rule = stamp.find(" =");
    m_game.started = Trim(rule == std::string::npos ? stamp : stamp.substr(0, rule));
    return true;
}

bool HistoryParser::ParseGameSeatLine(const std::string &text, int number, std::string &error)
{
    std::vector<int> n;
    std::vector<std::string> w;
    if (Match(text, gamelines::kGameSeat, &n, &w)) {
        if (n[0] != static_cast<int>(m_game.seats.size())) {
            error = Where(number) + ": seat " + std::to_string(n[0]) + " is out of order";
            return false;
        }
        if (!ChipsInRange(n[1])) {
            error = Where(number) + ": " + PastBound();
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
    error =
        Where(number) + ": expected a seat line (\"Seat 0: ...\"), found " + gamelines::Quote(text);
    return false;
}

bool HistoryParser::ParseHandLine(const std::string &text, int number, std::string &error)
{
    std::vector<int> n;
    std::vector<std::string> w;
    if (StartsWith(text, kHandPrefix)) {
        if (!Match(Trim(text), gamelines::kHandHeader, &n, &w)) {
            error =
                Where(number) + ": a hand header that cannot be read: " + gamelines::Quote(text);
            return false;
        }
        RawHand raw;
        raw.hand.number = n[0];
        raw.hand.smallBlind = n[1];
        raw.hand.bigBlind = n[2];
        raw.hand.timeText = Trim(w[0]);
        raw.header = Trim(text);
        if (!ChipsInRange(n[1]) || !ChipsInRange(n[2]))
            raw.damage = Where(number) + ": blinds of " + PastBound();
        m_hands.push_back(std::move(raw));
        return true;
    }
    if (m_hands.empty()) {
        error =
            Where(number) + ": expected the first hand's header, found " + gamelines::Quote(text);
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
        if (!ChipsInRange(n[1]) && raw.damage.empty()) {
            raw.damage = Where(number) + ": a stack of " + PastBound();
            seat.startStack = 0;
        }
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
        if (!raw.damage.empty()) {
            ++m_game.damagedHands;
            m_game.warnings.push_back("Hand #" + std::to_string(raw.hand.number) + " is damaged (" +
                                      raw.damage + "); it is left out.");
            continue;
        }
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

// What a hand's lines have told so far, beside the hand itself.
struct HistoryParser::ReplayState
{
    explicit ReplayState(Hand &hand)
        : ledger(hand)
    {}
    ChipLedger ledger;
    std::map<int, std::string> combinations;
    int winLines = 0;
    bool collected = false;
};

void HistoryParser::TakeLog(RawHand &raw, const LogHand *log) const
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
    if (!log)
        return;
    hand.ante = log->ante;
    if (!ChipsInRange(hand.ante)) {
        if (raw.damage.empty())
            raw.damage = "the game log's ante is " + PastBound();
        hand.ante = 0;
    }
    for (const auto &[seat, cards] : log->cards) {
        if (seat >= 0 && static_cast<size_t>(seat) < seatCount)
            hand.seats[static_cast<size_t>(seat)].cards = cards;
    }
}

// Every amount of a line, and what it adds to the pot or a seat, stays inside the bound; a
// damaged hand is left out whole.
bool HistoryParser::ChipsFit(RawHand &raw, const Line &line, long long before, int amount) const
{
    if (ChipsInRange(amount) && ChipsInRange(before + amount))
        return true;
    raw.damage = Where(line.lineNumber) + ": " + PastBound();
    return false;
}

void HistoryParser::Replay(RawHand &raw, const LogHand *log)
{
    TakeLog(raw, log);
    ReplayState state(raw.hand);
    state.ledger.PostAntes();
    // What follows the damage is not replayed.
    for (const Line &line : raw.lines) {
        if (!raw.damage.empty() || !ReplayLine(raw, state, line))
            break;
    }
    Settle(raw, state, log);
}

bool HistoryParser::ReplayLine(RawHand &raw, ReplayState &state, const Line &line)
{
    Hand &hand = raw.hand;
    const std::string &text = line.text;
    std::vector<int> n;
    std::vector<std::string> w;
    if (text == gamelines::kHoleCards || text == gamelines::kSummary) {
        if (text == gamelines::kSummary)
            hand.showdown = true;
        return true;
    }
    if (Match(text, gamelines::kFlop, nullptr, &w) || Match(text, gamelines::kTurn, nullptr, &w) ||
        Match(text, gamelines::kRiver, nullptr, &w)) {
        if (!AddBoard(hand, text, w[0])) {
            raw.damage = Where(line.lineNumber) + ": a damaged board: " + gamelines::Quote(text);
            return false;
        }
        state.ledger.NewStreet(hand.board.size() <= 3   ? Street::Flop
                               : hand.board.size() == 4 ? Street::Turn
                                                        : Street::River);
        return true;
    }
    if (Match(text, gamelines::kDealtTo, nullptr, &w)) {
        const int s = m_game.seatOf(w[0]);
        const std::vector<int> cards = CardsOf(w[1]);
        if (s >= 0 && cards.size() == 2)
            hand.seats[static_cast<size_t>(s)].cards = {cards[0], cards[1]};
        return true;
    }
    if (Match(text, gamelines::kHeroAdds, &n)) {
        const int human = std::max(m_game.humanSeat(), 0);
        int &added = hand.seats[static_cast<size_t>(human)].chipsAdded;
        if (!ChipsFit(raw, line, added, n[0]))
            return false;
        added += n[0];
        return true;
    }
    std::string rest;
    const int s = SeatAtStart(text, rest);
    if (s < 0 || static_cast<size_t>(s) >= m_game.seats.size()) {
        m_game.warnings.push_back(Where(line.lineNumber) + ": skipped " + gamelines::Quote(text));
        return true;
    }
    return ReplaySeatLine(raw, state, line, s, rest);
}

bool HistoryParser::ReplaySeatLine(RawHand &raw, ReplayState &state, const Line &line, int s,
                                   const std::string &rest)
{
    Hand &hand = raw.hand;
    const std::string &text = line.text;
    HandSeat &seat = hand.seats[static_cast<size_t>(s)];
    std::vector<int> n;
    std::vector<std::string> w;
    // An action's chips go into the pot, a win's to the seat: both must stay in bounds.
    const auto put = [&](ActionKind kind, int amount) {
        if (!ChipsFit(raw, line, hand.pot, amount))
            return false;
        state.ledger.Put(s, kind, amount);
        return true;
    };
    bool fits = true;
    if (Match(rest, AfterName(gamelines::kPostsSmallBlind), &n)) {
        hand.smallBlindSeat = s;
        fits = put(ActionKind::SmallBlind, n[0]);
    } else if (Match(rest, AfterName(gamelines::kPostsBigBlind), &n)) {
        hand.bigBlindSeat = s;
        fits = put(ActionKind::BigBlind, n[0]);
    } else if (rest == AfterName(gamelines::kFolds) && seat.folded) {
        // A fold written twice changes nothing; kept, it would be a second action.
        m_game.warnings.push_back(Where(line.lineNumber) + ": skipped a second fold " +
                                  gamelines::Quote(text));
    } else if (rest == AfterName(gamelines::kFolds)) {
        state.ledger.Put(s, ActionKind::Fold, 0);
        seat.folded = true;
    } else if (rest == AfterName(gamelines::kChecks)) {
        state.ledger.Put(s, ActionKind::Check, 0);
    } else if (Match(rest, AfterName(gamelines::kCalls), &n)) {
        fits = put(ActionKind::Call, n[0]);
    } else if (Match(rest, AfterName(gamelines::kRaises), &n)) {
        const bool opening =
            state.ledger.CurrentStreet() != Street::Preflop && state.ledger.NothingBet();
        fits = put(opening ? ActionKind::Bet : ActionKind::Raise, n[0]);
    } else if (Match(Trim(rest), Trim(AfterName(gamelines::kCollected)), &n)) {
        fits = ChipsFit(raw, line, seat.won, n[0]);
        seat.won += fits ? n[0] : 0;
        state.collected = true;
    } else if (Match(rest, AfterName(gamelines::kWins), &n)) {
        fits = ChipsFit(raw, line, 0, n[0]);
        seat.won = fits ? n[0] : 0;
        ++state.winLines;
    } else if (Match(rest, TrimRight(AfterName(gamelines::kHas)), nullptr, &w)) {
        state.combinations[s] = Trim(w[0]);
    } else if (rest == AfterName(gamelines::kLostAllMoney)) {
        seat.busted = true;
    } else {
        m_game.warnings.push_back(Where(line.lineNumber) + ": skipped " + gamelines::Quote(text));
    }
    return fits;
}

void HistoryParser::Settle(RawHand &raw, const ReplayState &state, const LogHand *log)
{
    Hand &hand = raw.hand;
    int inHand = 0;
    for (const HandSeat &seat : hand.seats)
        inHand += seat.inHand ? 1 : 0;
    raw.complete = state.collected || (hand.showdown && state.winLines >= inHand && inHand > 0);

    const int human = m_game.humanSeat();
    long long paid = 0;
    for (HandSeat &seat : hand.seats) {
        seat.endStack = seat.startStack - seat.invested + seat.won + seat.chipsAdded;
        if (seat.inHand && seat.endStack <= 0)
            seat.busted = true;
        seat.cardsShown = seat.cards[0] >= 0 &&
                          (seat.seat == human || (hand.showdown && seat.inHand && !seat.folded));
        paid += seat.won;
        if (seat.won > 0) {
            const auto found = state.combinations.find(seat.seat);
            hand.winners.push_back(
                {seat.seat, seat.won, found == state.combinations.end() ? "" : found->second});
        }
    }
    ComputePositions(hand);
    if (raw.complete && paid != hand.pot && (log || hand.ante == 0) && m_game.logPaired)
        m_game.warnings.push_back("Hand #" + std::to_string(hand.number) + ": " +
                                  std::to_string(paid) + " chips were paid out of a pot of " +
                                  std::to_string(hand.pot));
}

bool HistoryParser::AddBoard(Hand &hand, const std::string &streetText,
                             const std::string &cards) const
{
    // Each street line comes once, in order: three cards on the flop, then one each.
    size_t before = 0;
    size_t count = 1;
    if (Match(streetText, gamelines::kFlop)) {
        count = 3;
    } else {
        before = Match(streetText, gamelines::kTurn) ? 3 : 4;
    }
    const std::vector<int> dealt = CardsOf(cards);
    if (hand.board.size() != before || dealt.size() != count)
        return false;
    for (int card : dealt) {
        if (card < 0 || std::find(hand.board.begin(), hand.board.end(), card) != hand.board.end())
            return false;
        hand.board.push_back(card);
    }
    return true;
}

} // namespace history::detail
