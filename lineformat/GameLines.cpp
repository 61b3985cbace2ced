#include "lineformat/GameLines.h"
#include "lineformat/TextFormat.h"

#include <charconv>

namespace gamelines {

namespace {

const char *Text(const std::string &text)
{
    return text.c_str();
}

} // namespace

std::string GameStart(const std::string &time)
{
    return Format(kGameStart, Text(time));
}

std::string GameSeat(int seat, const std::string &name, int stack, const std::string &strategy)
{
    return Format(kGameSeat, seat, Text(name), stack, Text(strategy));
}

std::string GameSeatsEnd()
{
    return std::string(kGameSeatsEndWidth, kGameSeatsEndMark);
}

std::string HandHeader(int number, int smallBlind, int bigBlind, const std::string &time)
{
    return Format(kHandHeader, number, smallBlind, bigBlind, Text(time));
}

std::string Table(int seatCount, int button)
{
    return Format(kTable, seatCount, button);
}

std::string HandSeat(int seat, const std::string &name, int stack)
{
    return Format(kHandSeat, seat, Text(name), stack);
}

std::string PostsSmallBlind(const std::string &name, int amount)
{
    return Format(kPostsSmallBlind, Text(name), amount);
}

std::string PostsBigBlind(const std::string &name, int amount)
{
    return Format(kPostsBigBlind, Text(name), amount);
}

std::string DealtTo(const std::string &name, const std::string &cards)
{
    return Format(kDealtTo, Text(name), Text(cards));
}

std::string Flop(const std::string &cards)
{
    return Format(kFlop, Text(cards));
}

std::string Turn(const std::string &card)
{
    return Format(kTurn, Text(card));
}

std::string River(const std::string &card)
{
    return Format(kRiver, Text(card));
}

std::string Folds(const std::string &name)
{
    return Format(kFolds, Text(name));
}

std::string Checks(const std::string &name)
{
    return Format(kChecks, Text(name));
}

std::string Calls(const std::string &name, int amount)
{
    return Format(kCalls, Text(name), amount);
}

std::string Raises(const std::string &name, int amount)
{
    return Format(kRaises, Text(name), amount);
}

std::string Collected(const std::string &name, int pot)
{
    return Format(kCollected, Text(name), pot);
}

std::string Wins(const std::string &name, int amount)
{
    return Format(kWins, Text(name), amount);
}

std::string Has(const std::string &name, const std::string &combination)
{
    return Format(kHas, Text(name), Text(combination));
}

std::string HeroAdds(int chips)
{
    return Format(kHeroAdds, chips);
}

std::string LostAllMoney(const std::string &name)
{
    return Format(kLostAllMoney, Text(name));
}

std::string LogPlayers(int seatCount)
{
    return Format(kLogPlayers, seatCount);
}

std::string LogGameSeat(int seat, const std::string &name, const std::string &strategy, int stack)
{
    return Format(kLogGameSeat, seat, Text(name), Text(strategy), stack);
}

std::string LogBlinds(int smallBlind, int bigBlind)
{
    return Format(kLogBlinds, smallBlind, bigBlind);
}

std::string LogBlindsAnte(int smallBlind, int bigBlind, int ante)
{
    return Format(kLogBlindsAnte, smallBlind, bigBlind, ante);
}

std::string LogHandRule()
{
    return std::string(kLogHandRuleWidth, kLogHandRuleMark);
}

std::string LogButton(int seat)
{
    return Format(kLogButton, seat);
}

std::string LogSmallBlind(int seat)
{
    return Format(kLogSmallBlind, seat);
}

std::string LogBigBlind(int seat)
{
    return Format(kLogBigBlind, seat);
}

std::string LogHoleCards(int seat, const std::string &cards)
{
    return Format(kLogHoleCards, seat, Text(cards));
}

std::string LogFolds(int seat)
{
    return Format(kLogFolds, seat);
}

std::string LogChecks(int seat)
{
    return Format(kLogChecks, seat);
}

std::string LogCalls(int seat, int amount)
{
    return Format(kLogCalls, seat, amount);
}

std::string LogRaises(int seat, int amount)
{
    return Format(kLogRaises, seat, amount);
}

std::string LogAllIn(int seat, int amount)
{
    return Format(kLogAllIn, seat, amount);
}

std::string LogRoundEnd(int street)
{
    static const char *const kRounds[] = {"Preflop", "Flop", "Turn", "River"};
    const int index = street + 1;
    return Format(kLogRoundEnd, index >= 0 && index < 4 ? kRounds[index] : "");
}

std::string LogWinsPot(int seat, int pot)
{
    return Format(kLogWinsPot, seat, pot);
}

std::string LogFlop(const std::string &cards)
{
    return Format(kLogFlop, Text(cards));
}

std::string LogTurn(const std::string &card)
{
    return Format(kLogTurn, Text(card));
}

std::string LogRiver(const std::string &card)
{
    return Format(kLogRiver, Text(card));
}

std::string LogScore(int seat, int score)
{
    return Format(kLogScore, seat, score);
}

std::string LogSortedScore(int seat, int score, int win)
{
    return Format(kLogSortedScore, seat, score, win);
}

std::string LogHas(int seat, const std::string &combination)
{
    return Format(kLogHas, seat, Text(combination));
}

std::string LogLostAllMoney(int seat)
{
    return Format(kLogLostAllMoney, seat);
}

// ---- Reading --------------------------------------------------------------------------------

namespace {

// A whole decimal number (optionally negative) at text[pos...]; advances pos.
bool NumberAt(const std::string &text, size_t &pos, int &value)
{
    const char *begin = text.data() + pos;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr == begin)
        return false;
    pos = static_cast<size_t>(ptr - text.data());
    return true;
}

bool EndsWith(const std::string &text, const std::string &suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

bool Match(const std::string &text, const std::string &pattern, std::vector<int> *numbers,
           std::vector<std::string> *texts)
{
    size_t t = 0;
    size_t p = 0;
    while (p < pattern.size()) {
        if (pattern.compare(p, 2, "%d") == 0) {
            int value = 0;
            if (!NumberAt(text, t, value))
                return false;
            if (numbers)
                numbers->push_back(value);
            p += 2;
        } else if (pattern.compare(p, 2, "%s") == 0) {
            p += 2;
            const size_t nextField = pattern.find('%', p);
            const std::string literal = pattern.substr(p, nextField - p);
            size_t end;
            if (literal.empty())
                end = nextField == std::string::npos ? text.size() : std::string::npos;
            else if (nextField == std::string::npos)
                end = EndsWith(text, literal) && text.size() - literal.size() >= t
                          ? text.size() - literal.size()
                          : std::string::npos;
            else
                end = text.find(literal, t);
            if (end == std::string::npos)
                return false;
            if (texts)
                texts->push_back(text.substr(t, end - t));
            t = end;
        } else {
            if (t >= text.size() || text[t] != pattern[p])
                return false;
            ++t;
            ++p;
        }
    }
    return t == text.size();
}

std::string AfterName(const std::string &pattern)
{
    return pattern.compare(0, 2, "%s") == 0 ? pattern.substr(2) : pattern;
}

} // namespace gamelines
