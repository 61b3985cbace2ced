#pragma once
// What the readers of the rooms' texts share: the words every room writes alike (cards between
// brackets), the check that a hand's chips add up, and a hand built line by line for the rooms
// whose wording is their own (each reader finds the seat, the verb and the amount; the hand
// checks what they mean and counts the chips).

#include "interchange/ImportSupport.h"

#include <string>
#include <vector>

namespace interchange::detail {

inline bool StartsWith(const std::string &text, const std::string &prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

inline bool EndsWith(const std::string &text, const std::string &suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The cards between the last "[" and "]" of text, apart by blanks or commas ("[Ah Kd]",
// "[ Ah, Kd ]"); false when any is no card.
bool LastCards(const std::string &text, std::vector<int> &cards);

// An amount as the rooms frame it, bare: "[$0.50]", "( $324.25 )" and "3€" give "$0.50",
// "$324.25" and "3" (a sign in front is left for ParseAmount).
std::string BareAmount(const std::string &text);

// Empty seats up to `count`, each numbered.
void FillSeats(history::Hand &hand, size_t count);
// The seat whose name starts text followed by `after`, the longest one, and the text after it;
// -1 if none.
int SeatStarting(const history::Hand &hand, const std::string &text, const std::string &after,
                 std::string &rest);

// What the end of a hand's text says of its pot.
struct PotText
{
    int total = -1;              // the summary's total pot; -1 when not written
    bool totalAfterRake = false; // the total is what was paid out (Winamax), not what went in
    int rake = 0;                // -1 when the room does not write it: then what is left is rake
    long long returned = 0;      // uncalled bets given back by lines of their own
};

// Pays the uncalled part back when the text leaves its line out and its sums say so, then checks
// that what went in is what was paid out and raked. Empty, or why not.
std::string SettleChips(history::Hand &hand, const ChipCount &chips, PotText &pot);

// A hand of a room's text, built from what each of its lines means.
class RoomHand : public HandBeingRead
{
public:
    enum class Post
    {
        Ante,
        SmallBlind,
        BigBlind,
        Dead, // a blind out of its place that does not count toward the bet
    };

    RoomHand(const std::string &source, size_t firstLine)
        : m_source(source)
        , m_first(firstLine)
        , m_chips(hand)
    {}

    bool cents = false;

    // "file:line: why", the line counted from the hand's first.
    bool Fail(size_t index, const std::string &why);
    bool Amount(size_t index, const std::string &text, int &value);

    // A seat line; the name is written as the actions write it.
    bool AddSeat(size_t index, int number, const std::string &name, const std::string &stack,
                 bool dealtIn);
    // After the seats: the button's seat (1-based) and the table's size; starts the chips.
    bool Deal(size_t index, int buttonNumber);
    int SeatStarting(const std::string &text, const std::string &after, std::string &rest) const
    {
        return detail::SeatStarting(hand, text, after, rest);
    }
    // A line that starts with a seated player's name and a blank: `act` reads what follows;
    // any other line says nothing of the chips.
    bool PlayerSays(size_t index, const std::string &line,
                    bool (*act)(RoomHand &hand, size_t index, int seat, const std::string &rest));
    // "Dealt to NAME [Ah Kd]": the player whose hand it is, and his cards.
    bool DealtTo(size_t index, const std::string &line);

    bool Posts(size_t index, int seat, Post kind, const std::string &amount);
    bool Folds(size_t index, int seat);
    bool Checks(size_t index, int seat);
    bool Calls(size_t index, int seat, const std::string &amount);
    bool Bets(size_t index, int seat, const std::string &amount);
    // A raise written as its total for the street, or as the chips it puts in.
    bool RaisesTo(size_t index, int seat, const std::string &total);
    bool RaisesBy(size_t index, int seat, const std::string &added);
    // The next street's board cards (three, then one, then one).
    bool Board(size_t index, const std::vector<int> &cards);
    bool Shows(size_t index, int seat, const std::vector<int> &cards);
    bool Collects(size_t index, int seat, const std::string &amount);
    bool Returns(size_t index, int seat, const std::string &amount);
    // The last check, with the summary's line for its message (0 when the hand had none: then
    // the hand's last line is named).
    bool Finish(size_t summary, size_t last, PotText pot);

    bool Plays(int seat) const;

private:
    bool Put(size_t index, int seat, history::ActionKind kind, int amount);

    const std::string &m_source;
    size_t m_first;
    ChipCount m_chips;
    long long m_returned = 0;
    long long m_tableChips = 0;
    bool m_smallBlind = false;
};

// Reads every hand of text, each from a line `isStart` takes to its end, with `read`, and
// gathers them by table. False with a message naming the source and `format` when no hand
// could be read.
bool ImportHands(const std::string &text, const std::string &source, const char *format,
                 bool (*isStart)(const std::string &line),
                 bool (*read)(RoomHand &hand, const std::vector<std::string> &lines),
                 ImportResult &result, std::string &error);

// "in.txt:3: not a Winamax hand history (no line starts a hand)", at the first line not blank.
std::string NoHandError(const std::vector<std::string> &lines, const std::string &source,
                        const char *format);

// "in.txt:1: 2 lines before the first hand left out" among the warnings when the lines before
// `first` hold more than blanks and what rooms write between hands: a hand whose first line was
// not recognised is not dropped without a word.
void NoteTextBeforeFirstHand(const std::vector<std::string> &lines, size_t first,
                             const std::string &source, std::vector<std::string> &warnings);

// Whether a line of the text's first 4096 bytes starts a hand, as `isStart` tells.
bool AnyLine(const std::string &text, bool (*isStart)(const std::string &line));

} // namespace interchange::detail
