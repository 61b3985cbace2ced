#pragma once
// Where each seat's boxes lie on the table, in table units (y upwards). Pure geometry, no Qt.

#include "engine/EngineInterfaces.h"

struct TableSnapshot;

// A rectangle in table units: y upwards, stored as (left, lower, right, upper).
struct TableRect
{
    int left = 0;
    int lower = 0;
    int right = 0;
    int upper = 0;
    bool isEmpty() const { return right <= left || upper <= lower; }
};

struct SeatRects
{
    TableRect box;
    TableRect button;
    TableRect action;
    TableRect cards;
    TableRect win;
    TableRect statistics;
};

inline constexpr TableRect kPotRect{-75, 37, 75, 57};
inline constexpr TableRect kBoardRect{-180, -60, 222, 35};

// The rectangles of seats 0..n-1 for a table of n seats (n <= 10); seat 0 at the bottom centre,
// the others clockwise on screen.
void ComputeSeatRects(int n, SeatRects out[brisquel::kMaxSeats]);

// Where a part of the table lies, the seat's own parts taken from seat (the board and the pot
// lie where they lie whatever the seat).
TableRect AreaOf(TablePart part, const SeatRects &seat);

// The rectangles of the snapshot's seatCount seats, of the pot and of the board.
void PlaceTable(TableSnapshot &table);

// The view's zoom for a client area of w x h pixels: the smaller of w / 700 and h / 550.
double TableZoom(int w, int h);
