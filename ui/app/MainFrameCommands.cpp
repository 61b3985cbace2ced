// What the main window's commands open: the game's setup and its deals, the looks, printing,
// the dialogs and the review windows.
#include "ui/app/MainFrame.h"

#include "engine/Game.h"
#include "practice/Store.h"
#include "storage/PokerTables.h"
#include "ui/app/AboutDlg.h"
#include "ui/app/CommandIds.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/VisualStyle.h"
#include "ui/calculator/DlgCalculate.h"
#include "ui/practice/DrillWindow.h"
#include "ui/review/HandsWindow.h"
#include "ui/review/ProgressWindow.h"
#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/SetupMemory.h"
#include "ui/table_view/DunmereView.h"

#include <QDir>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

void CMainFrame::OnStartGame()
{
    GameType types[2];
    {
        auto lock = m_game.LockState();
        types[0] = m_game.m_gameTypes[0];
        types[1] = m_game.m_gameTypes[1];
    }
    CDialogTable dialog(types, this);
    OfferLastTable(dialog);
    const int result = m_runSetupDialog ? m_runSetupDialog(dialog) : dialog.exec();
    if (result != QDialog::Accepted)
        return;
    RememberTable(dialog);
    GameSetupItems items = dialog.Items();
    // The game type, the cards and the command states are StartGame's to set.
    onAppLook(ID_VIEW_APPLOOK_OFF_2007_BLACK);
    m_game.StartGame(items);
    dialog.SetNames(items.names);
}

void CMainFrame::OnStartDeal()
{
    // StartDeal greys the command at once: a second click finds it greyed.
    {
        auto lock = m_game.LockState();
        if (!m_game.startDealEnabled)
            return;
    }
    m_game.StartDeal();
}

void CMainFrame::onAppLook(unsigned id)
{
    m_appLook = ApplyVisualStyle(m_app, this, id);
    UpdateCommandUI();
}

void CMainFrame::onQuickPrint()
{
    if (!m_printer)
        m_printer = new QPrinter(QPrinter::HighResolution);
    m_view->PrintTable(m_printer);
}

void CMainFrame::onPrint()
{
    if (!m_printer)
        m_printer = new QPrinter(QPrinter::HighResolution);
    QPrintDialog dialog(m_printer, this);
    if (dialog.exec() == QDialog::Accepted)
        m_view->PrintTable(m_printer);
}

void CMainFrame::onPrintPreview()
{
    if (!m_printer)
        m_printer = new QPrinter(QPrinter::HighResolution);
    QPrintPreviewDialog preview(m_printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, m_view, &CDunmereView::PrintTable);
    preview.exec();
}

void CMainFrame::onPrintSetup()
{
    if (!m_printer)
        m_printer = new QPrinter(QPrinter::HighResolution);
    QPageSetupDialog dialog(m_printer, this);
    dialog.exec();
}

void CMainFrame::onAbout()
{
    CAboutDlg dialog(this, m_app.FilesText());
    dialog.exec();
}

void CMainFrame::onCalculator()
{
    CDlgCalculate dialog(this);
    dialog.exec();
}

void CMainFrame::OnReviewHands()
{
    // The windows read the files only; a second click brings the window back up to date.
    if (!m_handsWindow)
        m_handsWindow = new CHandsWindow(m_app.TextFolder(), this);
    m_handsWindow->show();
    m_handsWindow->reload();
    m_handsWindow->raise();
    m_handsWindow->activateWindow();
}

void CMainFrame::OnReviewProgress()
{
    if (!m_progressWindow)
        m_progressWindow = new CProgressWindow(
            m_app.TextFolder(),
            QDir(m_app.DatabaseFolder()).filePath(QString::fromLatin1(kDatabaseFileName)), this);
    else
        m_progressWindow->reload();
    m_progressWindow->show();
    m_progressWindow->raise();
    m_progressWindow->activateWindow();
}

void CMainFrame::OnReviewDrill()
{
    // One drill window at a time; closing it deletes it and stops its work.
    auto *drill = findChild<CDrillWindow *>();
    if (!drill)
        drill = new CDrillWindow(
            QDir(m_app.DatabaseFolder()).filePath(QString::fromLatin1(practice::kStoreFileName)),
            this);
    drill->show();
    drill->raise();
    drill->activateWindow();
}
