#pragma once
// What both readers share: amounts, and gathering imported hands into games by table.

#include "interchange/Interchange.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace interchange::detail {

// The largest amount read, in chips or cents: the program's own limit, which history/ applies
// to its files alike. A hand's sums of such amounts stay inside an int.
inline constexpr int kMaxAmount = kMaxChips;

// A non-negative amount: "1500" or "1,500" as chips; in cents "$0.25", "€1,000.5" or "2" (25,
// 100050, 200). Currency symbols in front are skipped; a comma must separate thousands.
// Never floating point. Nothing for text that is no amount or is past kMaxAmount.
std::optional<int> ParseAmount(const std::string &text, bool cents);
// Why ParseAmount refused text: "\"x\" is not an amount" or "\"x\" is an amount past
// 100000000"; `where` (" in antes") follows the quoted text.
std::string AmountError(const std::string &text, bool cents, const std::string &where = "");

// A seat number of 1 to 10 written in digits alone; nothing otherwise.
std::optional<int> ParseSeatNumber(const std::string &text);

// "2024.01.31  22:13:20", as history/ gives a hand's time; empty unless every part is one a
// clock and a calendar can show (a year of four digits).
std::string TimeText(int year, int month, int day, int hour, int minute, int second);

// A whole number of digits alone, 0 to INT_MAX; nothing otherwise.
std::optional<int> ParseCount(const std::string &text);

// A card that is twice in a hand, on the board or in the seats' known cards; -1 if none.
int CardDealtTwice(const history::Hand &hand);

// One hand as a reader leaves it for the collector, or why it could not be read.
struct HandBeingRead
{
    history::Hand hand;
    std::string table;     // the game it belongs to
    int seatCount = 0;     // the table's size
    std::string human;     // the player it was dealt to, when the file says
    std::string moneyUnit; // what the amounts are hundredths of; empty for chips
    std::string error;     // "file:line: why"
};

// The chips of a hand as it is read: each seat's chips behind and in front of it on the
// street, and the largest bet. Every action goes into the hand through Put.
class ChipCount
{
public:
    explicit ChipCount(history::Hand &hand)
        : m_hand(hand)
    {}
    // Takes the stacks from the seats' starting stacks.
    void Start();
    void Put(int seat, history::ActionKind kind, int amount);
    void NextStreet(history::Street street);
    int Behind(int seat) const { return m_behind[static_cast<size_t>(seat)]; }
    int InFront(int seat) const { return m_inFront[static_cast<size_t>(seat)]; }
    int Owed(int seat) const { return std::max(0, Largest() - InFront(seat)); }
    // The bet to match: the largest in front, or the big blind when a short one posted less.
    int Largest() const { return std::max(m_largest, m_floor); }
    void SetFloor(int chips) { m_floor = chips; }
    int LargestPut() const { return m_largest; }
    int OwedPut(int seat) const { return std::max(0, m_largest - InFront(seat)); }
    // A first bet after the flop is a bet; anything else that tops the largest a raise.
    history::ActionKind BetOrRaise() const
    {
        return m_street != history::Street::Preflop && m_largest == 0 ? history::ActionKind::Bet
                                                                      : history::ActionKind::Raise;
    }

private:
    history::Hand &m_hand;
    history::Street m_street = history::Street::Preflop;
    std::vector<int> m_behind, m_inFront;
    int m_largest = 0;
    int m_floor = 0; // the street's bet before anyone has put it in
};

class GameCollector
{
public:
    GameCollector(std::string source, ImportResult &result)
        : m_source(std::move(source))
        , m_result(result)
    {
        m_result = ImportResult{};
    }
    // A hand whose seats, actions, board, winnings and cards are set goes to its table's game,
    // replayed; one that could not be read (`read` false) is counted and its error kept.
    // ordinal numbers a hand that has no number of its own.
    void Take(HandBeingRead &hand, bool read, int ordinal);
    // The games into the result; false with the first hand's error when none could be read.
    bool Finish(std::string &error);

private:
    void Add(const std::string &table, history::Hand hand, int seatCount,
             const std::string &humanName, int ordinal, const std::string &moneyUnit);

    // Who sat at a table, in the order first seen.
    struct Table
    {
        struct Player
        {
            int firstSeat;
            std::string name;
            int stack; // at his first hand
        };
        int seatCount = 0;
        std::string human;
        std::set<std::string> players;
        std::vector<Player> order;
    };
    static void NameSeats(history::Game &game, const Table &table);

    std::string m_source;
    ImportResult &m_result;
    std::string m_firstError;
    int m_hands = 0;
    std::map<std::string, size_t> m_index;
    std::vector<history::Game> m_games;
    std::vector<std::vector<int>> m_ordinals; // each hand's place in the file, by game
    std::vector<Table> m_tables;              // by game
    bool m_renumber = false;
};

} // namespace interchange::detail
