#pragma once
// What the engine asks of the user interface. The desktop program implements these; tests and
// brisquel-cli use fakes or no-ops.
//
// Threads: every call comes from a game thread. The engine never holds the game's state mutex
// while it calls Run*/PrepareDecision (they may block on the UI thread). Invalidate and
// AppendOutputLine must not block: implementations queue the work to the UI thread.

#include "GameState.h"

#include <string>

class IScreen
{
public:
    virtual ~IScreen() = default;
    virtual void Invalidate(const TableRect &rect) = 0; // the "WM_INVALIDATE" send
    virtual void InvalidateAll() {}                      // the whole table, after a payout
    virtual void LayoutSeats() = 0;                     // seat rectangles for m_seatCount seats
    virtual void SetWaitCursor(bool on) = 0;
};

class IOutputPane
{
public:
    virtual ~IOutputPane() = default;
    virtual void AppendOutputLine(const std::wstring &line) = 0;
};

class IHumanPlayer
{
public:
    virtual ~IHumanPlayer() = default;
    // Slider range 0..sliderMax, then the panel's PrepareDecision; the engine then waits on the
    // human-action event.
    virtual void PrepareDecision(int sliderMax) = 0;
    // The "Add chips !" dialog; false on Cancel. chips holds the amount typed.
    virtual bool RunAddChipsDialog(int &chips) = 0;
};

class IProgram
{
public:
    virtual ~IProgram() = default;
    virtual void CloseProgram() = 0; // ID_APP_EXIT sent to the main window
    virtual void CommandStateChanged() {}
};

// Decisions of the computer seats, in chips put in now (0 = check or fold).
class IDecider
{
public:
    virtual ~IDecider() = default;
    virtual int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random) = 0;
    virtual int DecidePostflop(const CGameTable &table, int seat, int street,
                               EasyRandom &random) = 0;
};
