// The main window's dock panes: the output pane with the action panel, the three shell panes,
// and the action panel's keys while its pane is hidden.

#include "ui/app/MainFrame.h"

#include "engine/Game.h"
#include "lineformat/GameLines.h"
#include "storage/PokerTables.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/AboutDlg.h"
#include "ui/app/CloseGuard.h"
#include "ui/app/CommandIds.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/RibbonIcons.h"
#include "ui/app/VisualStyle.h"
#include "ui/calculator/DlgCalculate.h"
#include "ui/coach/CoachController.h"
#include "ui/equity_lab/EquityLabWindow.h"
#include "ui/output_pane/OutputWnd.h"
#include "ui/review/HandsWindow.h"
#include "ui/review/ProgressWindow.h"
#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/SetupMemory.h"
#include "ui/table_view/DunmereView.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr int kOutputPaneHeight = 300;

} // namespace

void CMainFrame::createDocks()
{
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    m_outputDock = new QDockWidget(tr("OutputWnd"), this);
    m_outputDock->setObjectName(QStringLiteral("OutputWnd"));
    m_outputDock->setAllowedAreas(Qt::BottomDockWidgetArea);
    m_outputDock->setFeatures(QDockWidget::DockWidgetClosable);
    m_outputWnd = new COutputWnd(m_game, m_outputDock);
    m_outputDock->setWidget(m_outputWnd);
    addDockWidget(Qt::BottomDockWidgetArea, m_outputDock);
    resizeDocks({m_outputDock}, {kOutputPaneHeight}, Qt::Vertical);

    // The shell panes: present for their commands, hidden at start.
    auto *classTree = new QTreeWidget;
    classTree->setHeaderHidden(true);
    auto *classRoot = new QTreeWidgetItem(classTree, {tr("Brisquel classes")});
    // Class and file names are names, not words: they stay untranslated.
    for (const char *name : {"CDunmereApp", "CMainFrame", "CDunmereView", "CDialogTable"})
        new QTreeWidgetItem(classRoot, {QString::fromLatin1(name)});
    classTree->expandAll();
    m_classDock = new QDockWidget(tr("Class View"), this);
    m_classDock->setObjectName(QStringLiteral("ClassView"));
    m_classDock->setWidget(classTree);
    addDockWidget(Qt::LeftDockWidgetArea, m_classDock);

    auto *fileTree = new QTreeWidget;
    fileTree->setHeaderHidden(true);
    auto *fileRoot = new QTreeWidgetItem(fileTree, {tr("Brisquel files")});
    for (const char *name : {kDatabaseFileName, gamelines::kLogFileName, gamelines::kHistoryFolder})
        new QTreeWidgetItem(fileRoot, {QString::fromLatin1(name)});
    fileTree->expandAll();
    m_fileDock = new QDockWidget(tr("File View"), this);
    m_fileDock->setObjectName(QStringLiteral("FileView"));
    m_fileDock->setWidget(fileTree);
    addDockWidget(Qt::LeftDockWidgetArea, m_fileDock);
    tabifyDockWidget(m_classDock, m_fileDock);

    auto *properties = new QTableWidget(0, 2);
    properties->setHorizontalHeaderLabels({tr("Property"), tr("Value")});
    m_propertiesDock = new QDockWidget(tr("Properties"), this);
    m_propertiesDock->setObjectName(QStringLiteral("Properties"));
    m_propertiesDock->setWidget(properties);
    addDockWidget(Qt::RightDockWidgetArea, m_propertiesDock);

    for (QDockWidget *dock : {m_classDock, m_fileDock, m_propertiesDock}) {
        dock->hide();
        connect(dock, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
    }
    connect(m_outputDock, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
}

QDockWidget *CMainFrame::paneDock(int id) const
{
    switch (id) {
    case ID_VIEW_OUTPUTWND:
        return m_outputDock;
    case ID_VIEW_CLASSVIEW:
        return m_classDock;
    case ID_VIEW_FILEVIEW:
        return m_fileDock;
    case ID_VIEW_PROPERTIESWND:
        return m_propertiesDock;
    default:
        return nullptr;
    }
}

void CMainFrame::togglePane(QDockWidget *dock)
{
    dock->setVisible(dock->isHidden());
}

void CMainFrame::RevealActionPanel()
{
    m_outputDock->show();
    m_outputDock->raise();
}

void CMainFrame::createHiddenPaneKeys()
{
    // The panel's own keys work only while it is shown; these stand in while the pane is
    // hidden, with no key while it is shown so that the two never compete for one key.
    const Qt::Key keys[] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4};
    for (int i = 0; i < 4; ++i) {
        auto *shortcut = new QShortcut(this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, i] {
            CDlgPlayerChoose *panel = m_outputWnd->actionPanel();
            if (!panel || !panel->IsDecisionPrepared())
                return;
            RevealActionPanel();
            QPushButton *const targets[] = {panel->foldButton(), panel->checkCallButton(),
                                            panel->raiseButton(), panel->maxButton()};
            if (!targets[i]->isHidden() && targets[i]->isEnabled())
                targets[i]->click();
        });
        m_hiddenPaneKeys.append(shortcut);
    }
    auto rekey = [this, keys] {
        const bool hidden = m_outputDock->isHidden();
        for (int i = 0; i < 4; ++i)
            m_hiddenPaneKeys[i]->setKey(hidden ? QKeySequence(keys[i]) : QKeySequence());
    };
    connect(m_outputDock, &QDockWidget::visibilityChanged, this, rekey);
    rekey();
    // Closed while the human has to act: the buttons come back at once, not at the next key.
    connect(m_outputDock, &QDockWidget::visibilityChanged, this, [this] {
        CDlgPlayerChoose *panel = m_outputWnd->actionPanel();
        if (m_outputDock->isHidden() && panel && panel->IsDecisionPrepared())
            QTimer::singleShot(0, this, [this] {
                if (m_outputWnd->actionPanel()->IsDecisionPrepared())
                    RevealActionPanel();
            });
    });
}
