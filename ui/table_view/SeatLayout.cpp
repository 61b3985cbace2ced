#include "ui/table_view/SeatLayout.h"

#include "ui/table_view/TableSnapshot.h"

#include <cmath>

namespace {

constexpr double kTableWidth = 700;
constexpr double kTableHeight = 350;
constexpr int kBoxHalfWidth = static_cast<int>(120 / 1.8); // 66
constexpr int kBoxHalfHeight = static_cast<int>(30 / 1.5); // 20
constexpr int kBoxShift = 15;
constexpr int kButtonSize = 18;
constexpr int kBetWidth = 65;
constexpr int kBetHeight = 18;
constexpr int kCardsWidth = 86;
constexpr int kCardsHeight = 76;
constexpr int kStatWidth = 130;
constexpr int kStatHeight = 50;
constexpr int kWinExtra = 10;
// The seat angles use this value of pi; the seat points of the table depend on it.
constexpr double kPi = 3.14;

TableRect Rect(int left, int lower, int right, int upper)
{
    return TableRect{left, lower, right, upper};
}

} // namespace

void ComputeSeatRects(int n, SeatRects out[brisquel::kMaxSeats])
{
    if (n <= 0)
        return;
    if (n > 10)
        n = 10;
    const double a = static_cast<int>(kTableWidth / 2.3);
    const double b = static_cast<int>(kTableHeight / 2.3);
    const double step = 360.0 / n;
    double theta = 90;
    for (int seat = 0; seat < n; ++seat, theta += step) {
        const double t = theta * kPi / 180;
        const double r =
            std::sqrt(std::cos(t) * std::cos(t) * a * a + std::sin(t) * std::sin(t) * b * b);
        const int ax = static_cast<int>(std::fabs(r * std::cos(t)));
        const int ay = static_cast<int>(std::fabs(r * std::sin(t)));
        int x = 0;
        int y = 0;
        if (theta < 180) {
            x = -ax;
            y = -ay;
        } else if (theta < 270) {
            x = -ax;
            y = ay;
        } else if (theta < 360) {
            x = ax;
            y = ay;
        } else {
            x = ax;
            y = -ay;
        }

        int shift = 0;
        if ((theta > 90 && theta < 180) || (theta >= 180 && theta < 270))
            shift = -kBoxShift;
        else if ((theta > 270 && theta < 360) || theta >= 360)
            shift = kBoxShift;
        const int L = x - kBoxHalfWidth + shift;
        const int R = x + kBoxHalfWidth + shift;
        const int lo = y - kBoxHalfHeight;
        const int up = y + kBoxHalfHeight;

        SeatRects &s = out[seat];
        s.box = Rect(L, lo, R, up);
        if (theta < 180) {
            s.button = Rect(R, up, R + kButtonSize, up + kButtonSize);
            s.action = Rect(L, up + 5, L + kBetWidth, up + 5 + kBetHeight);
            s.cards = Rect(L, lo - 81, L + kCardsWidth, lo - 81 + kCardsHeight);
            if (theta == 90)
                s.statistics = Rect(L, up + 25, L + kStatWidth, up + 25 + kStatHeight);
            else if (theta < 130)
                s.statistics = Rect(L - 5, up + 25, L - 5 + kStatWidth, up + 25 + kStatHeight);
            else
                s.statistics = Rect(L - 135, up - 50, L - 135 + kStatWidth, up);
        } else if (theta < 270) {
            s.button = Rect(R, lo - 18, R + kButtonSize, lo);
            if (theta == 180)
                s.action = Rect(R + 5, up - 18, R + 5 + kBetWidth, up);
            else
                s.action = Rect(L, lo - 23, L + kBetWidth, lo - 5);
            s.cards = Rect(L, up + 5, L + kCardsWidth, up + 5 + kCardsHeight);
            if (theta <= 225)
                s.statistics = Rect(L - 135, up - 50, L - 135 + kStatWidth, up);
            else
                s.statistics = Rect(L - 5, lo - 75, L - 5 + kStatWidth, lo - 25);
        } else if (theta < 360) {
            s.button = Rect(L - 18, lo - 18, L, lo);
            s.action = Rect(L + 5, lo - 23, L + 5 + kBetWidth, lo - 5);
            s.cards = Rect(L, up + 5, L + kCardsWidth, up + 5 + kCardsHeight);
            if (theta < 315)
                s.statistics = Rect(L, lo - 75, L + kStatWidth, lo - 25);
            else
                s.statistics = Rect(R + 5, up - 50, R + 5 + kStatWidth, up);
        } else {
            s.button = Rect(L - 18, up, L, up + kButtonSize);
            if (theta == 360)
                s.action = Rect(L - 70, up - 18, L - 70 + kBetWidth, up);
            else
                s.action = Rect(L, up + 5, L + kBetWidth, up + 5 + kBetHeight);
            s.cards = Rect(L, lo - 81, L + kCardsWidth, lo - 81 + kCardsHeight);
            if (theta == 360 || theta <= 410)
                s.statistics = Rect(R + 5, up - 50, R + 5 + kStatWidth, up);
            else
                s.statistics = Rect(L + 5, up + 25, L + 5 + kStatWidth, up + 25 + kStatHeight);
        }
        s.win = s.action;
        s.win.right += kWinExtra;
    }
}

TableRect AreaOf(TablePart part, const SeatRects &seat)
{
    switch (part) {
    case TablePart::SeatBox:
        return seat.box;
    case TablePart::Button:
        return seat.button;
    case TablePart::Action:
        return seat.action;
    case TablePart::Cards:
        return seat.cards;
    case TablePart::Win:
        return seat.win;
    case TablePart::Statistics:
        return seat.statistics;
    case TablePart::Board:
        return kBoardRect;
    case TablePart::Pot:
        return kPotRect;
    }
    return {};
}

void PlaceTable(TableSnapshot &table)
{
    table.potRect = kPotRect;
    table.boardRect = kBoardRect;
    SeatRects rects[brisquel::kMaxSeats];
    ComputeSeatRects(table.seatCount, rects);
    for (int s = 0; s < table.seatCount && s < 10; ++s) {
        SeatSnapshot &seat = table.seats[s];
        seat.boxRect = rects[s].box;
        seat.buttonRect = rects[s].button;
        seat.actionRect = rects[s].action;
        seat.cardsRect = rects[s].cards;
        seat.statisticsRect = rects[s].statistics;
    }
}

double TableZoom(int w, int h)
{
    const double sx = w != 700 ? w / 700.0 : 1.0;
    const double sy = h != 550 ? h / 550.0 : 1.0;
    return sx < sy ? sx : sy;
}
