#pragma once
// Closing the main window in the middle of a hand: the program must leave its event loop, stop
// the game threads and end with code 0. Used by the tst_app_close* programs.

#include "DialogTable.h"
#include "DlgPlayerChoose.h"
#include "DunmereApp.h"
#include "ListCtrlEx.h"
#include "MainFrame.h"
#include "OutputWnd.h"

#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <mutex>

// humanAtSeat0: the window is closed while the game waits for the human's decision; otherwise
// all seats are computer players and the window is closed once the second hand is under way.
inline int RunCloseScenario(int argc, char **argv, bool humanAtSeat0, double pauseFactor)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    QStandardPaths::setTestModeEnabled(true);
    AppOptions options;
    options.workFolder = folder.path();
    options.pauseFactor = pauseFactor;
    options.seeded = true;
    options.seed = 99;
    CDunmereApp app(argc, argv, options);
    QSettings().clear(); // the test's own settings file: every run starts from none
    if (!app.InitInstance())
        return 1;
    CMainFrame &frame = *app.MainFrame();
    frame.m_runSetupDialog = [humanAtSeat0](CDialogTable &dialog) {
        if (!humanAtSeat0)
            dialog.seatList()->SetCellText(0, 1, QStringLiteral("Maniac"));
        dialog.okButton()->click();
        return dialog.result();
    };
    frame.ExecuteCommand(ID_START_GAME);
    frame.ExecuteCommand(ID_WHO_IS_ON_BUTTON);

    bool closedMidHand = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        bool midHand = false;
        if (humanAtSeat0) {
            midHand = frame.outputWnd()->actionPanel()->IsDecisionPrepared();
        } else {
            std::lock_guard<std::mutex> lock(app.Game().StateMutex());
            midHand = app.Game().m_handNumber >= 2;
        }
        if (midHand && !closedMidHand) {
            closedMidHand = true;
            // For a look at the program: BRISQUEL_SCREENSHOTS=<folder> keeps the window's picture.
            if (const QString shots = qEnvironmentVariable("BRISQUEL_SCREENSHOTS");
                !shots.isEmpty())
                frame.grab().save(shots + (humanAtSeat0 ? QStringLiteral("/human.png")
                                                        : QStringLiteral("/paced.png")));
            frame.close();
        }
    });
    poll.start(5);
    QTimer::singleShot(120000, &app, [] {
        std::fprintf(stderr, "the game never reached the point to close at\n");
        QCoreApplication::exit(2);
    });
    const int loop = app.exec();
    app.ExitInstance();
    if (loop != 0)
        return loop;
    if (!closedMidHand || app.Game().GameThreadRunning()) {
        std::fprintf(stderr, "closed mid-hand: %d, game thread still running: %d\n", closedMidHand,
                     app.Game().GameThreadRunning());
        return 1;
    }
    std::fprintf(stderr, "PASS: the program ended cleanly after the window was closed mid-hand\n");
    return 0;
}
