#include "ui/review/ReplaySnapshot.h"

#include "ui/review/BoundedText.h"
#include "ui/table_view/SeatLayout.h"

#include <QString>

#include <algorithm>

TableSnapshot SnapshotOfReplay(const history::Hand &hand, const replay::TableState &state)
{
    TableSnapshot table;
    table.ready = true;
    table.seatCount = std::min(static_cast<int>(state.seats.size()), 10);
    PlaceTable(table);
    // The live table's two blanks after a win before the flop.
    const bool preflopWin = state.street == history::Street::Preflop && !hand.showdown;
    for (int s = 0; s < table.seatCount; ++s) {
        const replay::SeatState &seat = state.seats[static_cast<size_t>(s)];
        SeatSnapshot &out = table.seats[s];
        out.visible = seat.inHand;
        if (static_cast<size_t>(s) < hand.seats.size())
            out.name = BoundedText(QString::fromStdString(hand.seats[static_cast<size_t>(s)].name),
                                   kMaxNameChars, false)
                           .toStdWString();
        out.stack = std::to_wstring(seat.stack);
        out.hasButton = s == hand.button;
        out.showWin = seat.won > 0;
        out.win =
            QString::asprintf(preflopWin ? "I win  %d!" : "I win %d!", seat.won).toStdWString();
        out.showAction = seat.bet > 0 && !out.showWin;
        out.action = std::to_wstring(seat.bet);
        // Unknown cards are dealt all the same: they show as backs.
        out.showCards = seat.inHand && (!seat.folded || seat.faceUp);
        out.faceUp = seat.faceUp && seat.cards[0] >= 0 && seat.cards[1] >= 0;
        out.cards[0] = seat.cards[0] >= 0 ? seat.cards[0] : 0;
        out.cards[1] = seat.cards[1] >= 0 ? seat.cards[1] : 1;
    }
    table.boardCount = std::min(state.boardCount, static_cast<int>(hand.board.size()));
    table.boardShown = table.boardCount > 0;
    for (int k = 0; k < table.boardCount && k < 5; ++k)
        table.board[k] = hand.board[static_cast<size_t>(k)];
    table.potShown = true;
    table.potText = std::to_wstring(state.pot);
    return table;
}
