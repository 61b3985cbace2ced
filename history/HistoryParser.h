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

    bool ParseLine(const std::string &line, int number, std::string &error);
    std::string Where(int number) const { return m_source + ", line " + std::to_string(number); }
    // The seat whose name the line starts with (the longest such name) and the rest of the line.
    int SeatAtStart(const std::string &line, std::string &rest) const;
    void Replay(RawHand &raw, const LogHand *log);
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
