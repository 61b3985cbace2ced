#pragma once
// The hand-history file of one game, line by line: the game's seats, then each hand's header and
// its lines, which Finish replays (with what the paired log knows) into the Game.

#include "history/HistoryReader.h"
#include "history/LogParser.h"

#include <string>
#include <utility>
#include <vector>

namespace history::detail {

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
        std::string damage; // the first thing that cannot be, with its line; empty when sound
    };

    struct ReplayState;

    bool ParseLine(const std::string &line, int number, std::string &error);
    bool ParseStartLine(const std::string &line, int number, std::string &error);
    bool ParseGameSeatLine(const std::string &text, int number, std::string &error);
    bool ParseHandLine(const std::string &text, int number, std::string &error);
    std::string Where(int number) const { return m_source + ", line " + std::to_string(number); }
    // The seat whose name the line starts with (the longest such name) and the rest of the line.
    int SeatAtStart(const std::string &line, std::string &rest) const;
    void Replay(RawHand &raw, const LogHand *log);
    // The seats a cut-off header left out, and the ante and cards the game log knows.
    void TakeLog(RawHand &raw, const LogHand *log) const;
    bool ChipsFit(RawHand &raw, const Line &line, long long before, int amount) const;
    // False when the hand is damaged at `line`: the lines after it are not replayed.
    bool ReplayLine(RawHand &raw, ReplayState &state, const Line &line);
    bool ReplaySeatLine(RawHand &raw, ReplayState &state, const Line &line, int seat,
                        const std::string &rest);
    // Whether the hand is complete, each seat's end, the winners, positions and paid-out check.
    void Settle(RawHand &raw, const ReplayState &state, const LogHand *log);
    // False (the hand damaged) when a street line does not follow the board so far or holds
    // something that is no card, or a card already out.
    bool AddBoard(Hand &hand, const std::string &streetText, const std::string &cards) const;
    void ComputePositions(Hand &hand) const;

    Game &m_game;
    std::string m_source;
    bool m_seenStart = false;
    bool m_seatsDone = false;
    std::vector<RawHand> m_hands;
};

} // namespace history::detail
