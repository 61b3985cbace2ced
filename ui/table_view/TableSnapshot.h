#pragma once
// What the table shows at one moment, as plain values: the one input of the table painter.
// The live view fills it from the game under the state mutex and paints after unlocking; a
// replayed hand fills it from the files. Rectangles in table units (y upwards).

#include "ui/table_view/SeatLayout.h"

#include <string>

struct SeatSnapshot
{
    bool visible = false; // the seat's box with name, stack and avatar
    bool hasButton = false;
    bool showAction = false; // the bet in front of the seat
    bool showCards = false;
    bool faceUp = false; // hole cards face up (the player's own, revealed at a showdown)
    bool showWin = false;
    std::wstring name;
    std::wstring stack;
    std::wstring action;
    std::wstring win;
    TableRect boxRect;
    TableRect buttonRect;
    TableRect actionRect;
    TableRect cardsRect;
    int cards[2] = {-1, -1}; // the second -1: one card only, drawn face up
    bool statisticsVisible = false;
    TableRect statisticsRect;
    std::wstring statisticsLines[4];
};

struct TableSnapshot
{
    bool ready = false; // false: nothing but the board is drawn (the window is not set up)
    int seatCount = 0;
    SeatSnapshot seats[brisquel::kMaxSeats];
    bool boardShown = false;
    int boardCount = 0;
    int board[5] = {-1, -1, -1, -1, -1};
    bool potShown = false;
    std::wstring potText;
    TableRect potRect;
    TableRect boardRect;
    // Tournaments: level, blinds, time to the next level, players left, average stack.
    std::wstring tournamentText;
};

class CDunmereGame;
class QString;

// The tournament's line at the table; empty for fixed blinds. The caller holds the state mutex.
QString TournamentLine(const CDunmereGame &game);

// The live game's table. The caller holds the game's state mutex. With showAllAtShowdown
// every hand that went to the showdown is face up, not only the winners'.
TableSnapshot SnapshotOfGame(const CDunmereGame &game, bool showAllAtShowdown = false);
