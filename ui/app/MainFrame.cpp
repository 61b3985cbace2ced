#include "ui/app/MainFrame.h"

#include "ui/app/AboutDlg.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/CloseGuard.h"
#include "ui/coach/CoachController.h"
#include "ui/app/CommandIds.h"
#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/SetupMemory.h"
#include "ui/calculator/DlgCalculate.h"
#include "ui/equity_lab/EquityLabWindow.h"
#include "ui/app/DunmereApp.h"
#include "ui/table_view/DunmereView.h"
#include "engine/Game.h"
#include "ui/review/HandsWindow.h"
#include "ui/output_pane/OutputWnd.h"
#include "storage/PokerTables.h"
#include "ui/review/ProgressWindow.h"
#include "ui/app/RibbonIcons.h"
#include "ui/app/VisualStyle.h"

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

constexpr int kMinFrameSize = 500;
constexpr int kRecentFileCount = 4;
constexpr int kUpdateIntervalMs = 100; // the ribbon's idle-time update pass
constexpr int kOutputPaneHeight = 300;
constexpr const char *kWindowStateKey = "Workspace/State";
constexpr const char *kCoachKey = "View/Coach";
constexpr const char *kPaceKey = "View/Pace";
constexpr const char *kShowAllHandsKey = "View/ShowAllHandsAtShowdown";
// The Pace control runs from no pauses to twice a real table's pauses, in tenths.
constexpr int kPaceTenthsMax = 20;
constexpr double kDefaultPace = 1.0;

// A ribbon panel: its controls above, its caption below.
QWidget *MakePanel(const QString &caption, QWidget *content, QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("RibbonPanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    auto *box = new QVBoxLayout(panel);
    box->setContentsMargins(4, 4, 4, 0);
    box->setSpacing(2);
    box->addWidget(content, 1);
    auto *label = new QLabel(caption, panel);
    label->setObjectName(QStringLiteral("RibbonPanelCaption"));
    label->setAttribute(Qt::WA_StyledBackground);
    label->setAlignment(Qt::AlignCenter);
    box->addWidget(label);
    return panel;
}

QToolButton *LargeButton(QAction *action, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setMinimumWidth(72);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    return button;
}

// A ribbon check box that issues its command and shows the command's state.
QCheckBox *CommandCheckBox(QAction *action, QWidget *parent)
{
    auto *box = new QCheckBox(action->text(), parent);
    QObject::connect(box, &QCheckBox::clicked, action, [action, box] {
        // The update pass decides the check state, from what the command did.
        box->setChecked(action->isChecked());
        action->trigger();
    });
    QObject::connect(action, &QAction::changed, box, [action, box] {
        box->setChecked(action->isChecked());
        box->setEnabled(action->isEnabled());
    });
    return box;
}

QFrame *Separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

CMainFrame::CMainFrame(CDunmereApp &app)
    : m_app(app)
    , m_game(app.Game())
    , m_appLook(ID_VIEW_APPLOOK_OFF_2007_BLACK)
{
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(QStringLiteral("Brisquel"));
    setWindowIcon(MakeRibbonIcon(RibbonIcon::AppButton));
    setMinimumSize(kMinFrameSize, kMinFrameSize);
    m_appLook = ApplyVisualStyle(app, this, m_appLook);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setViewMode(QMdiArea::TabbedView);
    m_mdiArea->setDocumentMode(true);
    m_mdiArea->setTabsClosable(false);
    m_mdiArea->setTabShape(QTabWidget::Rounded);
    setCentralWidget(m_mdiArea);
    m_view = new CDunmereView(m_game);
    QMdiSubWindow *child = m_mdiArea->addSubWindow(m_view);
    child->setWindowTitle(QStringLiteral("Brisquel1"));
    child->setWindowIcon(QIcon());
    child->setWindowFlags(Qt::FramelessWindowHint);
    child->showMaximized();

    createCommands();
    createRibbon();
    createDocks();
    m_coach = new CCoachController(m_game, m_outputWnd->actionPanel(), m_outputWnd, this);
    m_coach->setEnabled(QSettings().value(QLatin1String(kCoachKey), false).toBool());

    // The docking layout of the last run; the shell panes start hidden all the same.
    restoreState(QSettings().value(QLatin1String(kWindowStateKey)).toByteArray());
    for (QDockWidget *dock : {m_classDock, m_fileDock, m_propertiesDock})
        dock->hide();

    // Status bar with the maker's address in both panes; hidden at start.
    for (int pane = 0; pane < 2; ++pane)
        statusBar()->addWidget(new QLabel(QString::fromLatin1(kMakerWebAddress), this), 1);
    statusBar()->hide();

    m_openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };

    m_updateTimer = new QTimer(this);
    connect(m_updateTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    m_updateTimer->start(kUpdateIntervalMs);
    UpdateCommandUI();
    createHiddenPaneKeys();
    const bool showAll = QSettings().value(QLatin1String(kShowAllHandsKey), true).toBool();
    action(ID_VIEW_SHOW_ALL_HANDS)->setChecked(showAll);
    m_view->SetShowAllAtShowdown(showAll);
    m_closeGuard = new CCloseGuard(app, *this);
}

CMainFrame::~CMainFrame()
{
    // Hiding the docks while the window is torn down must not run the update pass.
    for (QDockWidget *dock : {m_outputDock, m_classDock, m_fileDock, m_propertiesDock})
        disconnect(dock, nullptr, this, nullptr);
    m_updateTimer->stop();
    delete m_printer;
}

QAction *CMainFrame::addCommand(int id, const QString &text, std::function<void()> handler,
                                bool checkable)
{
    auto *act = new QAction(text, this);
    act->setData(id);
    act->setCheckable(checkable);
    connect(act, &QAction::triggered, this, [this, handler = std::move(handler)] {
        handler();
        UpdateCommandUI();
    });
    m_actions.insert(id, act);
    return act;
}

void CMainFrame::createCommands()
{
    addCommand(ID_START_GAME, QStringLiteral("Start game"), [this] {
        OnStartGame();
    })->setIcon(MakeRibbonIcon(RibbonIcon::StartGame));
    addCommand(ID_WHO_IS_ON_BUTTON, QStringLiteral("Start deal"), [this] {
        OnStartDeal();
    })->setIcon(MakeRibbonIcon(RibbonIcon::StartDeal));
    addCommand(ID_STOP_GAME, QStringLiteral("Last hand && Stop game"), [this] {
        m_game.StopGame();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Stop));
    addCommand(
        ID_STATISTICS, QStringLiteral("Statistics"), [this] { m_game.ToggleStatistics(); }, true);
    addCommand(
        ID_VIEW_OUTPUTWND, QStringLiteral("ChatWnd"), [this] { togglePane(m_outputDock); }, true);
    addCommand(
        ID_VIEW_SHOW_ALL_HANDS, tr("Show all hands at showdown"),
        [this] {
            const bool on = action(ID_VIEW_SHOW_ALL_HANDS)->isChecked();
            m_view->SetShowAllAtShowdown(on);
            QSettings().setValue(QLatin1String(kShowAllHandsKey), on);
        },
        true);
    addCommand(
        ID_VIEW_COACH, QStringLiteral("Coach"),
        [this] {
            m_coach->setEnabled(!m_coach->isEnabled());
            QSettings().setValue(QLatin1String(kCoachKey), m_coach->isEnabled());
        },
        true)
        ->setToolTip(QStringLiteral("While you decide: your equity against the opponents' likely "
                                    "hands and the equity the price demands.\nAfter each hand: "
                                    "a verdict on every decision you made."));
    addCommand(
        ID_VIEW_CAPTION_BAR, QStringLiteral("About Us"),
        [this] { m_captionBar->setVisible(m_captionBar->isHidden()); }, true);
    addCommand(
        ID_VIEW_CLASSVIEW, QStringLiteral("Class View"), [this] { togglePane(m_classDock); }, true);
    addCommand(
        ID_VIEW_FILEVIEW, QStringLiteral("File View"), [this] { togglePane(m_fileDock); }, true);
    addCommand(
        ID_VIEW_PROPERTIESWND, QStringLiteral("Properties"),
        [this] { togglePane(m_propertiesDock); }, true);
    addCommand(ID_TOOLS_OPTIONS, QStringLiteral("Go..."), [this] {
        m_openUrl(QUrl(QString::fromLatin1(kMakerWebAddress)));
    })->setToolTip(QStringLiteral("Click here to see more options"));
    // Tool buttons drop a trailing ellipsis from the action text unless told otherwise.
    action(ID_TOOLS_OPTIONS)->setIconText(QStringLiteral("Go..."));
    addCommand(ID_APP_ABOUT, QStringLiteral("About"), [this] {
        onAbout();
    })->setIcon(MakeRibbonIcon(RibbonIcon::About));
    addCommand(ID_CALCULATOR, QStringLiteral("Odds Calculator"), [this] {
        onCalculator();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Calculator));
    addCommand(ID_EQUITY_LAB, QStringLiteral("Equity lab…"), [this] {
        // One lab at a time; closing it deletes it and stops its count.
        auto *lab = findChild<CEquityLabWindow *>();
        if (!lab)
            lab = new CEquityLabWindow(this);
        lab->show();
        lab->raise();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Calculator));
    action(ID_EQUITY_LAB)->setIconText(action(ID_EQUITY_LAB)->text());
    addCommand(ID_REVIEW_HANDS, QStringLiteral("Hands…"), [this] {
        OnReviewHands();
    })->setIcon(MakeRibbonIcon(RibbonIcon::ReviewHands));
    addCommand(ID_REVIEW_PROGRESS, QStringLiteral("Progress…"), [this] {
        OnReviewProgress();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Progress));
    for (int id : {ID_REVIEW_HANDS, ID_REVIEW_PROGRESS})
        action(id)->setIconText(action(id)->text());

    auto *looks = new QActionGroup(this);
    const std::pair<int, const char *> lookTexts[] = {
        {ID_VIEW_APPLOOK_OFF_2007_BLUE, "Office 2007 (&Blue Style)"},
        {ID_VIEW_APPLOOK_OFF_2007_BLACK, "Office 2007 (B&lack Style)"},
        {ID_VIEW_APPLOOK_OFF_2007_SILVER, "Office 2007 (&Silver Style)"},
        {ID_VIEW_APPLOOK_OFF_2007_AQUA, "Office 2007 (&Aqua Style)"},
        {ID_VIEW_APPLOOK_WINDOWS_7, "Win&dows 7"}};
    for (const auto &[id, text] : lookTexts) {
        const unsigned look = static_cast<unsigned>(id);
        looks->addAction(addCommand(
            id, QString::fromLatin1(text), [this, look] { onAppLook(look); }, true));
    }

    addCommand(ID_FILE_PRINT_DIRECT, QStringLiteral("&Quick Print"), [this] { onQuickPrint(); });
    addCommand(ID_FILE_PRINT, QStringLiteral("&Print..."), [this] { onPrint(); });
    addCommand(ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view"),
               [this] { onPrintPreview(); });
    addCommand(ID_FILE_PRINT_SETUP, QStringLiteral("Print Set&up"), [this] { onPrintSetup(); });
    // The program has one table document: closing it closes the program.
    addCommand(ID_FILE_CLOSE, QStringLiteral("&Close"), [this] { close(); });
    addCommand(ID_APP_EXIT_FRAME, QStringLiteral("E&xit"), [this] { close(); });
}

void CMainFrame::createRibbon()
{
    auto *top = new QWidget(this);
    auto *topBox = new QVBoxLayout(top);
    topBox->setContentsMargins(0, 0, 0, 0);
    topBox->setSpacing(0);

    // Tab row: application button, the "Home" tab, the "Style" menu and the about button.
    auto *tabRow = new QWidget(top);
    tabRow->setObjectName(QStringLiteral("RibbonTabRow"));
    tabRow->setAttribute(Qt::WA_StyledBackground);
    auto *tabBox = new QHBoxLayout(tabRow);
    tabBox->setContentsMargins(4, 3, 4, 0);

    auto *appMenu = new QMenu(tabRow);
    auto *printMenu = appMenu->addMenu(QStringLiteral("Print"));
    printMenu->addAction(action(ID_FILE_PRINT));
    printMenu->addAction(action(ID_FILE_PRINT_DIRECT));
    printMenu->addAction(action(ID_FILE_PRINT_PREVIEW));
    printMenu->addAction(action(ID_FILE_PRINT_SETUP));
    appMenu->addSeparator();
    appMenu->addAction(action(ID_FILE_CLOSE));
    appMenu->addSeparator();
    m_recentMenu = appMenu->addMenu(QStringLiteral("Recent Documents"));
    m_recentMenu->setMinimumWidth(300);
    const QStringList recent = QSettings()
                                   .value(QStringLiteral("Recent File List"))
                                   .toStringList()
                                   .mid(0, kRecentFileCount);
    for (const QString &file : recent)
        m_recentMenu->addAction(file)->setEnabled(false);
    if (recent.isEmpty())
        m_recentMenu->addAction(QStringLiteral("(empty)"))->setEnabled(false);
    appMenu->addSeparator();
    appMenu->addAction(action(ID_APP_EXIT_FRAME));

    auto *appButton = new QToolButton(tabRow);
    appButton->setObjectName(QStringLiteral("RibbonAppButton"));
    appButton->setIcon(MakeRibbonIcon(RibbonIcon::AppButton));
    appButton->setIconSize(QSize(24, 24));
    appButton->setToolTip(QStringLiteral("File"));
    appButton->setMenu(appMenu);
    appButton->setPopupMode(QToolButton::InstantPopup);
    tabBox->addWidget(appButton);

    auto *tabs = new QTabBar(tabRow);
    tabs->addTab(QStringLiteral("Home"));
    tabs->setDrawBase(false);
    tabBox->addWidget(tabs, 0, Qt::AlignBottom);
    tabBox->addStretch(1);

    auto *styleMenu = new QMenu(tabRow);
    for (int id = ID_VIEW_APPLOOK_OFF_2007_BLUE; id <= ID_VIEW_APPLOOK_WINDOWS_7; ++id)
        styleMenu->addAction(action(id));
    auto *styleButton = new QToolButton(tabRow);
    styleButton->setText(QStringLiteral("Style"));
    styleButton->setIcon(MakeRibbonIcon(RibbonIcon::Style));
    styleButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    styleButton->setMenu(styleMenu);
    styleButton->setPopupMode(QToolButton::InstantPopup);
    tabBox->addWidget(styleButton);
    auto *aboutButton = new QToolButton(tabRow);
    aboutButton->setDefaultAction(action(ID_APP_ABOUT));
    aboutButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tabBox->addWidget(aboutButton);
    topBox->addWidget(tabRow);

    // The "Home" category's panels.
    auto *panels = new QWidget(top);
    panels->setObjectName(QStringLiteral("RibbonPanels"));
    panels->setAttribute(Qt::WA_StyledBackground);
    panels->setFixedHeight(96);
    auto *panelBox = new QHBoxLayout(panels);
    panelBox->setContentsMargins(2, 2, 2, 2);
    panelBox->setSpacing(0);

    panelBox->addWidget(MakePanel(QStringLiteral("View"), createViewPanel(panels), panels));

    auto *trainerContent = new QWidget(panels);
    auto *trainerBox = new QHBoxLayout(trainerContent);
    trainerBox->setContentsMargins(2, 0, 2, 0);
    trainerBox->addWidget(LargeButton(action(ID_START_GAME), trainerContent));
    trainerBox->addWidget(LargeButton(action(ID_WHO_IS_ON_BUTTON), trainerContent));
    trainerBox->addWidget(Separator(trainerContent));
    trainerBox->addWidget(LargeButton(action(ID_STOP_GAME), trainerContent));
    panelBox->addWidget(MakePanel(QStringLiteral("Trainer"), trainerContent, panels));

    auto *toolsContent = new QWidget(panels);
    auto *toolsBox = new QHBoxLayout(toolsContent);
    toolsBox->setContentsMargins(2, 0, 2, 0);
    toolsBox->addWidget(LargeButton(action(ID_CALCULATOR), toolsContent));
    toolsBox->addWidget(LargeButton(action(ID_EQUITY_LAB), toolsContent));
    panelBox->addWidget(MakePanel(QStringLiteral("Tools"), toolsContent, panels));

    auto *reviewContent = new QWidget(panels);
    auto *reviewBox = new QHBoxLayout(reviewContent);
    reviewBox->setContentsMargins(2, 0, 2, 0);
    reviewBox->addWidget(LargeButton(action(ID_REVIEW_HANDS), reviewContent));
    reviewBox->addWidget(LargeButton(action(ID_REVIEW_PROGRESS), reviewContent));
    panelBox->addWidget(MakePanel(QStringLiteral("Review"), reviewContent, panels));

    auto *panesContent = new QWidget(panels);
    auto *panesBox = new QVBoxLayout(panesContent);
    panesBox->setContentsMargins(6, 0, 6, 0);
    panesBox->setSpacing(1);
    for (int id : {ID_VIEW_CLASSVIEW, ID_VIEW_FILEVIEW, ID_VIEW_PROPERTIESWND})
        panesBox->addWidget(CommandCheckBox(action(id), panesContent));
    panelBox->addWidget(MakePanel(QStringLiteral("Panes"), panesContent, panels));
    panelBox->addStretch(1);
    topBox->addWidget(panels);

    createCaptionBar();
    topBox->addWidget(m_captionBar);
    setMenuWidget(top);
}

// Two columns: the three view check boxes, then the coach and the pace of the game.
QWidget *CMainFrame::createViewPanel(QWidget *parent)
{
    auto *content = new QWidget(parent);
    auto *columns = new QHBoxLayout(content);
    columns->setContentsMargins(6, 0, 6, 0);
    columns->setSpacing(12);
    auto *views = new QVBoxLayout;
    views->setSpacing(1);
    for (int id : {int(ID_STATISTICS), int(ID_VIEW_OUTPUTWND), int(ID_VIEW_CAPTION_BAR)})
        views->addWidget(CommandCheckBox(action(id), content));
    columns->addLayout(views);

    auto *trainer = new QVBoxLayout;
    trainer->setSpacing(1);
    trainer->addWidget(CommandCheckBox(action(ID_VIEW_COACH), content));
    trainer->addWidget(CommandCheckBox(action(ID_VIEW_SHOW_ALL_HANDS), content));
    auto *paceRow = new QHBoxLayout;
    paceRow->setSpacing(4);
    auto *paceLabel = new QLabel(QStringLiteral("Pace"), content);
    m_paceSlider = new QSlider(Qt::Horizontal, content);
    m_paceSlider->setObjectName(QStringLiteral("PaceSlider"));
    m_paceSlider->setRange(0, kPaceTenthsMax);
    m_paceSlider->setPageStep(5);
    m_paceSlider->setFixedWidth(90);
    m_paceSlider->setToolTip(QStringLiteral("The pauses between actions: from none (left) to "
                                            "twice a real table's (right)"));
    paceLabel->setBuddy(m_paceSlider);
    m_paceValue = new QLabel(content);
    m_paceValue->setObjectName(QStringLiteral("PaceValue"));
    m_paceValue->setMinimumWidth(
        m_paceValue->fontMetrics().horizontalAdvance(QStringLiteral("no pauses")));
    paceRow->addWidget(paceLabel);
    paceRow->addWidget(m_paceSlider);
    paceRow->addWidget(m_paceValue);
    trainer->addLayout(paceRow);
    trainer->addStretch(1);
    columns->addLayout(trainer);

    ShowPace(SavedPace());
    connect(m_paceSlider, &QSlider::valueChanged, this, &CMainFrame::onPaceMoved);
    return content;
}

double CMainFrame::SavedPace()
{
    const double pace = QSettings().value(QLatin1String(kPaceKey), kDefaultPace).toDouble();
    return std::clamp(pace, 0.0, kPaceTenthsMax / 10.0);
}

void CMainFrame::ShowPace(double factor)
{
    const QSignalBlocker quiet(m_paceSlider);
    m_paceSlider->setValue(static_cast<int>(std::lround(factor * 10)));
    m_paceValue->setText(factor <= 0.0 ? QStringLiteral("no pauses")
                                       : QStringLiteral("%1\u00d7").arg(factor, 0, 'f', 1));
}

void CMainFrame::onPaceMoved(int tenths)
{
    const double factor = tenths / 10.0;
    {
        // The game thread reads the factor under the lock at each pause.
        auto lock = m_game.LockState();
        m_game.SetPauseFactor(factor);
    }
    QSettings().setValue(QLatin1String(kPaceKey), factor);
    ShowPace(factor);
}

void CMainFrame::createCaptionBar()
{
    m_captionBar = new QWidget(this);
    m_captionBar->setObjectName(QStringLiteral("CaptionBar"));
    m_captionBar->setAttribute(Qt::WA_StyledBackground);
    auto *box = new QHBoxLayout(m_captionBar);
    box->setContentsMargins(6, 2, 6, 2);
    auto *go = new QToolButton(m_captionBar);
    go->setDefaultAction(action(ID_TOOLS_OPTIONS));
    go->setToolButtonStyle(Qt::ToolButtonTextOnly);
    box->addWidget(go);
    auto *info = new QLabel(m_captionBar);
    info->setPixmap(MakeRibbonIcon(RibbonIcon::Info).pixmap(20, 20));
    info->setToolTip(
        QStringLiteral("<b>Important</b><br>Here is an informational message for the user."));
    box->addWidget(info);
    box->addWidget(new QLabel(QString::fromLatin1(kMakerWebAddress), m_captionBar));
    box->addStretch(1);
}

void CMainFrame::createDocks()
{
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    m_outputDock = new QDockWidget(QStringLiteral("OutputWnd"), this);
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
    auto *classRoot = new QTreeWidgetItem(classTree, {QStringLiteral("Brisquel classes")});
    for (const char *name : {"CDunmereApp", "CMainFrame", "CDunmereView", "CDialogTable"})
        new QTreeWidgetItem(classRoot, {QString::fromLatin1(name)});
    classTree->expandAll();
    m_classDock = new QDockWidget(QStringLiteral("Class View"), this);
    m_classDock->setObjectName(QStringLiteral("ClassView"));
    m_classDock->setWidget(classTree);
    addDockWidget(Qt::LeftDockWidgetArea, m_classDock);

    auto *fileTree = new QTreeWidget;
    fileTree->setHeaderHidden(true);
    auto *fileRoot = new QTreeWidgetItem(fileTree, {QStringLiteral("Brisquel files")});
    for (const char *name : {"PokerDB.db3", "HistoryGame.log", "HandHistory"})
        new QTreeWidgetItem(fileRoot, {QString::fromLatin1(name)});
    fileTree->expandAll();
    m_fileDock = new QDockWidget(QStringLiteral("File View"), this);
    m_fileDock->setObjectName(QStringLiteral("FileView"));
    m_fileDock->setWidget(fileTree);
    addDockWidget(Qt::LeftDockWidgetArea, m_fileDock);
    tabifyDockWidget(m_classDock, m_fileDock);

    auto *properties = new QTableWidget(0, 2);
    properties->setHorizontalHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    m_propertiesDock = new QDockWidget(QStringLiteral("Properties"), this);
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

void CMainFrame::ExecuteCommand(int id)
{
    if (QAction *act = action(id); act && act->isEnabled())
        act->trigger();
}

void CMainFrame::UpdateCommandUI()
{
    int startGame = 0;
    int startDeal = 0;
    int stop = 0;
    bool statistics = false;
    {
        auto lock = m_game.LockState();
        startGame = m_game.startGameEnabled;
        startDeal = m_game.startDealEnabled;
        stop = m_game.stopEnabled;
        statistics = m_game.m_showStatistics;
    }
    action(ID_START_GAME)->setEnabled(startGame != 0);
    action(ID_WHO_IS_ON_BUTTON)->setEnabled(startDeal != 0);
    action(ID_STOP_GAME)->setEnabled(stop != 0);
    action(ID_STATISTICS)->setChecked(statistics);
    action(ID_VIEW_COACH)->setChecked(m_coach && m_coach->isEnabled());
    for (int id : {ID_VIEW_OUTPUTWND, ID_VIEW_CLASSVIEW, ID_VIEW_FILEVIEW, ID_VIEW_PROPERTIESWND})
        action(id)->setChecked(!paneDock(id)->isHidden());
    action(ID_VIEW_CAPTION_BAR)->setChecked(!m_captionBar->isHidden());
    for (int id = ID_VIEW_APPLOOK_OFF_2007_BLUE; id <= ID_VIEW_APPLOOK_WINDOWS_7; ++id)
        action(id)->setChecked(static_cast<unsigned>(id) == m_appLook);
}

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

void CMainFrame::togglePane(QDockWidget *dock)
{
    dock->setVisible(dock->isHidden());
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
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard->AllowClose()) {
        event->ignore();
        return;
    }
    m_updateTimer->stop();
    QSettings().setValue(QLatin1String(kWindowStateKey), saveState());
    event->accept();
}
