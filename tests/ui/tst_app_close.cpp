// Closing the main window in the middle of a hand, while the game waits for the human's
// decision, and answering "Stop and save": the program leaves its event loop, stops the game
// threads and ends with code 0.

#include "tests/ui/TestApp.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/MainFrame.h"
#include "ui/output_pane/OutputWnd.h"
#include "ui/setup_dialog/DialogTable.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QTemporaryDir folder;
    const auto app = StartTestApp(argc, argv, folder, 99, true);
    if (!app)
        return 1;
    CMainFrame &frame = *app->MainFrame();
    frame.m_runSetupDialog = [](CDialogTable &dialog) {
        dialog.okButton()->click(); // Hero at seat 0, eight computer players
        return dialog.result();
    };
    frame.ExecuteCommand(ID_START_GAME);
    frame.ExecuteCommand(ID_WHO_IS_ON_BUTTON);

    bool closedMidHand = false;
    bool toldNothingToSave = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (closedMidHand || !frame.outputWnd()->actionPanel()->IsDecisionPrepared())
            return;
        closedMidHand = true;
        // For a look at the program: BRISQUEL_SCREENSHOTS=<folder> keeps the window's picture.
        if (const QString shots = qEnvironmentVariable("BRISQUEL_SCREENSHOTS"); !shots.isEmpty())
            frame.grab().save(shots + QStringLiteral("/human.png"));
        frame.close();
        QCoreApplication::processEvents();
        if (auto *question = frame.findChild<QMessageBox *>("StopGameQuestion")) {
            // In the first hand: the question does not promise a save.
            toldNothingToSave = question->text().contains("nothing to save");
            question->findChild<QPushButton *>("StopAndSave")->click();
        }
    });
    poll.start(5);
    QTimer::singleShot(120000, app.get(), [] {
        std::fprintf(stderr, "the game never asked for the human's decision\n");
        QCoreApplication::exit(2);
    });
    const int loop = app->exec();
    app->ExitInstance();
    if (loop != 0)
        return loop;
    if (!closedMidHand || !toldNothingToSave || app->Game().GameThreadRunning()) {
        std::fprintf(stderr,
                     "closed mid-hand: %d, told nothing to save: %d, game thread still "
                     "running: %d\n",
                     closedMidHand, toldNothingToSave, app->Game().GameThreadRunning());
        return 1;
    }
    std::fprintf(stderr, "PASS: the program ended cleanly after the window was closed mid-hand\n");
    return 0;
}
