#pragma once
// What the engine asks of the user interface. The desktop program implements these; tests and
// brisquel-cli use fakes or no-ops.
//
// Threads: calls come from a game thread (and from the command that caused them on the UI
// thread). The engine never holds the game's state mutex while it calls PrepareDecision,
// RunAddChipsDialog, CloseProgram or LayoutSeats (they may block on the UI thread, but must
// give up once the program is shutting down: Shutdown() joins the game thread). Invalidate,
// InvalidateAll, SetWaitCursor, AppendOutputLine and CommandStateChanged are called WITH the
// mutex held: they must only queue work to the UI thread, never lock the state mutex.

#include "engine/GameState.h"

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
    // ID_APP_EXIT sent to the main window: the game is over. Queue the close; the game thread
    // ends by itself right after.
    virtual void CloseProgram() = 0;
    virtual void CommandStateChanged() {} // the enable flags changed: refresh the ribbon
};

// Decisions of the computer seats, in chips put in now (0 = check or fold). Called on the game
// thread with the state mutex held: read the table freely, never lock. Answers outside
// 0..m_stack[seat] are brought within it. Without an IHumanPlayer the engine asks the decider
// for the human's seat too (bot games).
class IDecider
{
public:
    virtual ~IDecider() = default;
    virtual int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random) = 0;
    virtual int DecidePostflop(const CGameTable &table, int seat, int street,
                               EasyRandom &random) = 0;
};
