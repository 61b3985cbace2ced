#pragma once
// One hand of a PHH file, read from its table of keys.

#include "interchange/ImportSupport.h"
#include "interchange/TomlSubset.h"

#include <set>
#include <string>
#include <vector>

namespace interchange::detail {

class PhhHand : public HandBeingRead
{
public:
    PhhHand(const toml::Section &section, const std::string &source, bool cents)
        : m_section(section)
        , m_source(source)
        , m_cents(cents)
        , m_chips(hand)
    {}

    // human: the one player whose cards were dealt face up, if only one was.
    bool Read();

    bool stacksNotKnown = false;   // "inf" stacks were read as deep enough for the hand
    bool winningsOfNobody = false; // winnings of 0 for all were set aside for the play itself

private:
    bool Fail(size_t line, const std::string &why)
    {
        error = m_source + ":" + std::to_string(line) + ": " + why;
        return false;
    }
    const toml::Value *Field(const char *name) const
    {
        const auto found = m_section.fields.find(name);
        return found == m_section.fields.end() ? nullptr : &found->second;
    }
    // negative: "-5" allowed (a dead blind); inf: "inf" allowed, read as a stack not known.
    bool Amounts(const char *name, std::vector<int> &out, bool required, bool negative = false,
                 bool inf = false);
    bool Seats(std::vector<int> &out);
    // A stack for each "inf": more than every chip the hand's forced bets and bets name.
    int DeepStack(const std::vector<int> &antes, const std::vector<int> &blinds) const;
    bool PayOut(const std::vector<int> &finishing, const std::vector<int> &winnings);
    // False with the message when a card is now in the hand twice.
    bool CardsOnce(size_t line)
    {
        const int card = CardDealtTwice(hand);
        return card < 0 || Fail(line, "the card " + history::CardText(card) + " is dealt twice");
    }
    // The lists of amounts and seats, each player's; stacks "inf" made deep enough.
    struct Lists
    {
        std::vector<int> stacks, antes, blinds, seats, finishing, winnings;
    };
    bool ReadLists(Lists &lists);
    bool ReadSeatCount(const std::vector<int> &seats);
    bool ReadNames(std::vector<std::string> &names);
    void ReadLabels();
    bool SeatPlayers(const Lists &lists, const std::vector<std::string> &names);
    void PostAntes(const std::vector<int> &antes);
    bool PostBlinds(const std::vector<int> &blinds);
    bool Action(const toml::Value &notation);
    bool PlayerOf(const std::string &word, size_t &player) const;
    bool Deal(size_t line, const std::string &text, const std::string &verb,
              const std::string &argument, const std::string &cards);
    bool PlayerAction(size_t line, const std::string &text, const std::string &actor,
                      const std::string &verb, const std::string &argument);
    // Players are counted from 0 here, p1 first.
    int SeatOf(size_t player) const { return m_seatOf[player]; }
    void Put(size_t player, history::ActionKind kind, int amount)
    {
        m_chips.Put(SeatOf(player), kind, amount);
    }
    int Behind(size_t player) const { return m_chips.Behind(SeatOf(player)); }
    bool Folded(size_t player) const
    {
        return hand.seats[static_cast<size_t>(SeatOf(player))].folded;
    }

    const toml::Section &m_section;
    const std::string &m_source;
    bool m_cents = false;
    size_t m_players = 0;
    std::vector<int> m_seatOf;
    ChipCount m_chips;
    int m_knownHands = 0;
    std::set<int> m_shown, m_mucked; // seats whose cards went face up, face down at the showdown
};

} // namespace interchange::detail
