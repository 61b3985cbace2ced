#pragma once
// One hand of a PokerStars file, read line by line.

#include "interchange/ImportSupport.h"
#include "interchange/RoomHand.h"

#include <string>
#include <vector>

namespace interchange::detail {

struct HandText
{
    std::vector<std::string> lines;
    size_t firstLine = 0; // 1-based number of the header line
};

class HandReader : public HandBeingRead
{
public:
    HandReader(const HandText &text, const std::string &source)
        : m_text(text)
        , m_source(source)
        , m_chips(hand)
    {}

    // False with m_error set when the hand cannot be read.
    bool Read();

    std::vector<std::string> warnings;

private:
    bool Fail(size_t line, const std::string &why)
    {
        error = m_source + ":" + std::to_string(m_text.firstLine + line) + ": " + why;
        return false;
    }
    bool Header(const std::string &line);
    bool TableLine(const std::string &line);
    bool SeatLine(size_t index, const std::string &line, bool &done);
    bool Body(size_t index, const std::string &line);
    bool PlayerLine(size_t index, int seat, const std::string &rest);
    // The forced bets, and the folds, checks, calls, bets and raises, of a player dealt in.
    bool PostLine(size_t index, int seat, const std::string &rest);
    bool BetLine(size_t index, int seat, const std::string &rest, const std::string &text);
    bool RaiseLine(size_t index, int seat, const std::string &rest, const std::string &text);
    // False with the message when the seat puts in more than it has, or was not dealt in.
    bool StackHolds(size_t index, int seat, const std::string &rest, int chips);
    bool PutAmount(size_t index, int seat, const std::string &rest, const std::string &prefix,
                   int &amount);
    bool StreetLine(size_t index, const std::string &line);
    bool DealtTo(size_t index, const std::string &line);
    bool OtherLine(size_t index, const std::string &line);
    // Chips to a seat, returned or won; never more than the table holds.
    bool Pay(size_t index, int seat, int amount)
    {
        history::HandSeat &to = hand.seats[static_cast<size_t>(seat)];
        if (to.won + static_cast<long long>(amount) > m_tableChips)
            return Fail(index, to.name + " collects more chips than the table holds");
        to.won += amount;
        return true;
    }
    // False with the message when a card is now in the hand twice.
    bool CardsOnce(size_t index)
    {
        const int card = CardDealtTwice(hand);
        return card < 0 || Fail(index, "the card " + history::CardText(card) + " is dealt twice");
    }
    bool Amount(size_t index, const std::string &text, int &value)
    {
        const auto parsed = ParseAmount(text, m_cents);
        if (!parsed)
            return Fail(index, AmountError(text, m_cents));
        value = *parsed;
        return true;
    }
    // The seat whose name starts the line followed by `after`; -1 if none.
    int SeatStarting(const std::string &line, const std::string &after, std::string &rest) const
    {
        return detail::SeatStarting(hand, line, after, rest);
    }
    bool HasBlindPost(int seat) const
    {
        for (const history::Action &a : hand.actions) {
            if (a.seat == seat && (a.kind == history::ActionKind::SmallBlind ||
                                   a.kind == history::ActionKind::BigBlind))
                return true;
        }
        return false;
    }
    const HandText &m_text;
    const std::string &m_source;
    bool m_cents = false;
    ChipCount m_chips;
    bool m_smallBlindPosted = false, m_bigBlindPosted = false;
    int m_totalPot = -1;
    int m_rake = 0;
    long long m_returned = 0;
    bool m_summary = false;
    size_t m_summaryLine = 0;
    bool m_holeCards = false;
    long long m_tableChips = 0; // every seat's starting stack: no one can collect more
};

} // namespace interchange::detail
