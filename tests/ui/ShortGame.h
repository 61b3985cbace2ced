#pragma once
// A game of computer opponents only, run through the ribbon commands and stopped at once, so
// that it ends after its first hand; for tests that need the files a game writes.

#include "ui/app/CommandIds.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/MainFrame.h"
#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/ListCtrlEx.h"

#include <QPushButton>
#include <QtTest>

#include <functional>

// Returns when the program asked to close at the game's end; a failed check marks the test.
// afterStart runs once the game is set up, before the first deal.
inline void PlayShortGame(CDunmereApp &app, const std::function<void()> &afterStart = {})
{
    CMainFrame &frame = *app.MainFrame();
    frame.m_runSetupDialog = [](CDialogTable &dialog) {
        dialog.seatList()->SetCellText(0, 1, QStringLiteral("Master")); // no human seat
        dialog.okButton()->click();
        return dialog.result();
    };
    frame.ExecuteCommand(ID_START_GAME);
    if (afterStart)
        afterStart();
    QVERIFY(frame.action(ID_WHO_IS_ON_BUTTON)->isEnabled());
    frame.ExecuteCommand(ID_WHO_IS_ON_BUTTON);
    QTRY_VERIFY(frame.action(ID_STOP_GAME)->isEnabled() || app.CloseRequests() > 0);
    frame.ExecuteCommand(ID_STOP_GAME);
    QTRY_COMPARE_WITH_TIMEOUT(app.CloseRequests(), 1, 60000);
    QTRY_VERIFY(!app.Game().GameThreadRunning());
}
