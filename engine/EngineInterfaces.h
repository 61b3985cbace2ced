#pragma once
// What the engine asks of the user interface. The desktop program implements these; tests and
// brisquel-cli use fakes or no-ops.
//
// Threads: calls come from a game thread (and from the command that caused them on the UI
// thread). The engine never holds the game's state mutex while it calls PrepareDecision,
// RunAddChipsDialog or CloseProgram (they may block on the UI thread, but must
// give up once the program is shutting down: Shutdown() joins the game thread). Invalidate,
// InvalidateAll, SetWaitCursor, AppendOutputLine and CommandStateChanged are called WITH the
// mutex held: they must only queue work to the UI thread, never lock the state mutex.

#include "engine/GameState.h"

#include <string>

// What the engine tells the view has changed. Where each part lies on the table is the view's
// affair: the engine names the part and the seat, never a place.
enum class TablePart
{
    SeatBox, // name, stack and avatar
    Button,
    Action, // the bet in front of the seat
    Cards,
    Win,
    Statistics,
    Board, // the board and the pot have no seat
    Pot,
};

class IScreen
{
public:
    virtual ~IScreen() = default;
    // The "WM_INVALIDATE" send: that part of the table shows something else now.
    virtual void Invalidate(TablePart part, int seat) = 0;
    // The whole table: after a payout, and when a game starts (a new seat count).
    virtual void InvalidateAll() {}
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
