#pragma once
// Where each seat's boxes lie on the table, in table units (y upwards). Pure geometry, no Qt.

#include "engine/GameState.h"

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

// The view's zoom for a client area of w x h pixels: the smaller of w / 700 and h / 550.
double TableZoom(int w, int h);
