#include "ui/app/MainFrame.h"

#include "engine/Game.h"
#include "practice/Store.h"
#include "storage/PokerTables.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/CloseGuard.h"
#include "ui/app/CommandIds.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/RibbonIcons.h"
#include "ui/app/VisualStyle.h"
#include "ui/calculator/DlgCalculate.h"
#include "ui/coach/CoachController.h"
#include "ui/equity_lab/EquityLabWindow.h"
#include "ui/output_pane/OutputWnd.h"
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
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr int kMinFrameSize = 500;
constexpr int kMostPaneShare = 34; // of the window's height, for the output pane
constexpr int kRecentFileCount = 4;
constexpr const char *kWindowStateKey = "Workspace/State";
constexpr const char *kCoachKey = "View/Coach";
constexpr const char *kPaceKey = "View/Pace";
constexpr const char *kShowAllHandsKey = "View/ShowAllHandsAtShowdown";
constexpr const char *kStatisticsKey = "View/Statistics";
constexpr const char *kCaptionBarKey = "View/CaptionBar";
constexpr const char *kTrackerCopyKey = "Files/PokerStarsCopy";
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
    // A long caption on two lines, as ribbons show them, so that the panels fit a narrow
    // window. The caption is shown with mnemonics: a '&' of the text is written doubled.
    constexpr int kLongCaption = 9;
    if (const QString caption = action->iconText(); caption.size() > kLongCaption) {
        const int middle = int(caption.size()) / 2;
        const int before = int(caption.lastIndexOf(u' ', middle));
        const int after = int(caption.indexOf(u' ', middle));
        const int cut =
            before < 0 || (after >= 0 && after - middle < middle - before) ? after : before;
        if (cut > 0) {
            QString twoLines = caption.left(cut) + u'\n' + caption.mid(cut + 1);
            action->setIconText(twoLines.replace(u'&', QStringLiteral("&&")));
        }
    }
    auto *button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setMinimumWidth(64);
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
    setWindowTitle(tr("Brisquel"));
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
    child->setWindowTitle(tr("Brisquel1"));
    child->setWindowIcon(QIcon());
    child->setWindowFlags(Qt::FramelessWindowHint);
    child->showMaximized();

    createCommands();
    createRibbon();
    createDocks();
    m_coach = new CCoachController(m_game, m_outputWnd->actionPanel(), m_outputWnd, this);
    m_coach->setDrillStore(QDir(m_app.DatabaseFolder())
                               .filePath(QString::fromLatin1(practice::kStoreFileName))
                               .toStdString());
    m_coach->setEnabled(QSettings().value(QLatin1String(kCoachKey), false).toBool());
    m_trackerCopy = QSettings().value(QLatin1String(kTrackerCopyKey), false).toBool();
    // The other View ticks as the player left them.
    if (QSettings().value(QLatin1String(kStatisticsKey), false).toBool())
        m_game.ToggleStatistics();
    m_captionBar->setVisible(QSettings().value(QLatin1String(kCaptionBarKey), true).toBool());

    // The docking layout of the last run; the shell panes start hidden all the same.
    restoreState(QSettings().value(QLatin1String(kWindowStateKey)).toByteArray());
    for (QDockWidget *dock : {m_classDock, m_fileDock, m_propertiesDock})
        dock->hide();

    // Status bar with the maker's address in both panes; hidden at start.
    for (int pane = 0; pane < 2; ++pane)
        statusBar()->addWidget(new QLabel(QString::fromLatin1(kMakerWebAddress), this), 1);
    statusBar()->hide();

    m_openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };

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
    addCommand(ID_START_GAME, tr("Start game"), [this] {
        OnStartGame();
    })->setIcon(MakeRibbonIcon(RibbonIcon::StartGame));
    addCommand(ID_WHO_IS_ON_BUTTON, tr("Start deal"), [this] {
        OnStartDeal();
    })->setIcon(MakeRibbonIcon(RibbonIcon::StartDeal));
    addCommand(ID_STOP_GAME, tr("Last hand && Stop game"), [this] {
        m_game.StopGame();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Stop));
    addCommand(
        ID_STATISTICS, tr("Statistics"),
        [this] {
            m_game.ToggleStatistics();
            auto lock = m_game.LockState();
            QSettings().setValue(QLatin1String(kStatisticsKey), m_game.m_showStatistics);
        },
        true);
    addCommand(
        ID_VIEW_OUTPUTWND, tr("ChatWnd"), [this] { togglePane(m_outputDock); }, true);
    addCommand(
        ID_VIEW_SHOW_ALL_HANDS, tr("Show all hands at showdown"),
        [this] {
            const bool on = action(ID_VIEW_SHOW_ALL_HANDS)->isChecked();
            m_view->SetShowAllAtShowdown(on);
            QSettings().setValue(QLatin1String(kShowAllHandsKey), on);
        },
        true);
    addCommand(
        ID_VIEW_COACH, tr("Coach"),
        [this] {
            m_coach->setEnabled(!m_coach->isEnabled());
            QSettings().setValue(QLatin1String(kCoachKey), m_coach->isEnabled());
        },
        true)
        ->setToolTip(tr("While you decide: your equity against the opponents' likely "
                        "hands and the equity the price demands.\nAfter each hand: "
                        "a verdict on every decision you made."));
    addCommand(
        ID_VIEW_TRACKER_COPY, tr("PokerStars copy"),
        [this] {
            m_trackerCopy = !m_trackerCopy;
            QSettings().setValue(QLatin1String(kTrackerCopyKey), m_trackerCopy.load());
        },
        true)
        ->setToolTip(tr("Also write each game in the PokerStars hand-history format "
                        "beside its hand history (PokerStars_HH_....txt), brought up "
                        "to date after every hand, for trackers that watch the "
                        "folder."));
    addCommand(
        ID_VIEW_CAPTION_BAR, tr("About Us"),
        [this] {
            m_captionBar->setVisible(m_captionBar->isHidden());
            QSettings().setValue(QLatin1String(kCaptionBarKey), !m_captionBar->isHidden());
        },
        true);
    addCommand(
        ID_VIEW_CLASSVIEW, tr("Class View"), [this] { togglePane(m_classDock); }, true);
    addCommand(
        ID_VIEW_FILEVIEW, tr("File View"), [this] { togglePane(m_fileDock); }, true);
    addCommand(
        ID_VIEW_PROPERTIESWND, tr("Properties"), [this] { togglePane(m_propertiesDock); }, true);
    addCommand(ID_TOOLS_OPTIONS, tr("Go..."), [this] {
        m_openUrl(QUrl(QString::fromLatin1(kMakerWebAddress)));
    })->setToolTip(tr("Click here to see more options"));
    // Tool buttons drop a trailing ellipsis from the action text unless told otherwise.
    action(ID_TOOLS_OPTIONS)->setIconText(tr("Go..."));
    addCommand(ID_APP_ABOUT, tr("About"), [this] {
        onAbout();
    })->setIcon(MakeRibbonIcon(RibbonIcon::About));
    addCommand(ID_CALCULATOR, tr("Odds Calculator"), [this] {
        onCalculator();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Calculator));
    addCommand(ID_EQUITY_LAB, tr("Equity lab…"), [this] {
        // One lab at a time; closing it deletes it and stops its count.
        auto *lab = findChild<CEquityLabWindow *>();
        if (!lab)
            lab = new CEquityLabWindow(this);
        lab->show();
        lab->raise();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Calculator));
    action(ID_EQUITY_LAB)->setIconText(action(ID_EQUITY_LAB)->text());
    addCommand(ID_REVIEW_HANDS, tr("Hands…"), [this] {
        OnReviewHands();
    })->setIcon(MakeRibbonIcon(RibbonIcon::ReviewHands));
    addCommand(ID_REVIEW_PROGRESS, tr("Progress…"), [this] {
        OnReviewProgress();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Progress));
    addCommand(ID_REVIEW_DRILL, tr("Drill…"), [this] {
        OnReviewDrill();
    })->setIcon(MakeRibbonIcon(RibbonIcon::Drill));
    action(ID_REVIEW_DRILL)
        ->setToolTip(tr("Drill the spots you got wrong until you get them right"));
    for (int id : {ID_REVIEW_HANDS, ID_REVIEW_PROGRESS, ID_REVIEW_DRILL})
        action(id)->setIconText(action(id)->text());

    auto *looks = new QActionGroup(this);
    const std::pair<int, const char *> lookTexts[] = {
        {ID_VIEW_APPLOOK_OFF_2007_BLUE, QT_TR_NOOP("Office 2007 (&Blue Style)")},
        {ID_VIEW_APPLOOK_OFF_2007_BLACK, QT_TR_NOOP("Office 2007 (B&lack Style)")},
        {ID_VIEW_APPLOOK_OFF_2007_SILVER, QT_TR_NOOP("Office 2007 (&Silver Style)")},
        {ID_VIEW_APPLOOK_OFF_2007_AQUA, QT_TR_NOOP("Office 2007 (&Aqua Style)")},
        {ID_VIEW_APPLOOK_WINDOWS_7, QT_TR_NOOP("Win&dows 7")}};
    for (const auto &[id, text] : lookTexts) {
        const unsigned look = static_cast<unsigned>(id);
        looks->addAction(addCommand(
            id, tr(text), [this, look] { onAppLook(look); }, true));
    }

    addCommand(ID_FILE_PRINT_DIRECT, tr("&Quick Print"), [this] { onQuickPrint(); });
    addCommand(ID_FILE_PRINT, tr("&Print..."), [this] { onPrint(); });
    addCommand(ID_FILE_PRINT_PREVIEW, tr("Print Pre&view"), [this] { onPrintPreview(); });
    addCommand(ID_FILE_PRINT_SETUP, tr("Print Set&up"), [this] { onPrintSetup(); });
    // The program has one table document: closing it closes the program.
    addCommand(ID_FILE_CLOSE, tr("&Close"), [this] { close(); });
    addCommand(ID_APP_EXIT_FRAME, tr("E&xit"), [this] { close(); });
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
    auto *printMenu = appMenu->addMenu(tr("Print"));
    printMenu->addAction(action(ID_FILE_PRINT));
    printMenu->addAction(action(ID_FILE_PRINT_DIRECT));
    printMenu->addAction(action(ID_FILE_PRINT_PREVIEW));
    printMenu->addAction(action(ID_FILE_PRINT_SETUP));
    appMenu->addSeparator();
    appMenu->addAction(action(ID_FILE_CLOSE));
    appMenu->addSeparator();
    m_recentMenu = appMenu->addMenu(tr("Recent Documents"));
    m_recentMenu->setMinimumWidth(300);
    const QStringList recent = QSettings()
                                   .value(QStringLiteral("Recent File List"))
                                   .toStringList()
                                   .mid(0, kRecentFileCount);
    for (const QString &file : recent)
        m_recentMenu->addAction(file)->setEnabled(false);
    if (recent.isEmpty())
        m_recentMenu->addAction(tr("(empty)"))->setEnabled(false);
    appMenu->addSeparator();
    appMenu->addAction(action(ID_APP_EXIT_FRAME));

    auto *appButton = new QToolButton(tabRow);
    appButton->setObjectName(QStringLiteral("RibbonAppButton"));
    appButton->setIcon(MakeRibbonIcon(RibbonIcon::AppButton));
    appButton->setIconSize(QSize(24, 24));
    appButton->setToolTip(tr("File"));
    appButton->setMenu(appMenu);
    appButton->setPopupMode(QToolButton::InstantPopup);
    tabBox->addWidget(appButton);

    auto *tabs = new QTabBar(tabRow);
    tabs->addTab(tr("Home"));
    tabs->setDrawBase(false);
    tabBox->addWidget(tabs, 0, Qt::AlignBottom);
    tabBox->addStretch(1);

    auto *styleMenu = new QMenu(tabRow);
    for (int id = ID_VIEW_APPLOOK_OFF_2007_BLUE; id <= ID_VIEW_APPLOOK_WINDOWS_7; ++id)
        styleMenu->addAction(action(id));
    auto *styleButton = new QToolButton(tabRow);
    styleButton->setText(tr("Style"));
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

    panelBox->addWidget(MakePanel(tr("View"), createViewPanel(panels), panels));

    auto *trainerContent = new QWidget(panels);
    auto *trainerBox = new QHBoxLayout(trainerContent);
    trainerBox->setContentsMargins(2, 0, 2, 0);
    trainerBox->addWidget(LargeButton(action(ID_START_GAME), trainerContent));
    trainerBox->addWidget(LargeButton(action(ID_WHO_IS_ON_BUTTON), trainerContent));
    trainerBox->addWidget(Separator(trainerContent));
    trainerBox->addWidget(LargeButton(action(ID_STOP_GAME), trainerContent));
    panelBox->addWidget(MakePanel(tr("Trainer"), trainerContent, panels));

    auto *toolsContent = new QWidget(panels);
    auto *toolsBox = new QHBoxLayout(toolsContent);
    toolsBox->setContentsMargins(2, 0, 2, 0);
    toolsBox->addWidget(LargeButton(action(ID_CALCULATOR), toolsContent));
    toolsBox->addWidget(LargeButton(action(ID_EQUITY_LAB), toolsContent));
    panelBox->addWidget(MakePanel(tr("Tools"), toolsContent, panels));

    auto *reviewContent = new QWidget(panels);
    auto *reviewBox = new QHBoxLayout(reviewContent);
    reviewBox->setContentsMargins(2, 0, 2, 0);
    reviewBox->addWidget(LargeButton(action(ID_REVIEW_HANDS), reviewContent));
    // Progress and drill one above the other, small: three large buttons would push the ribbon
    // past a 1024-pixel window.
    auto *smallColumn = new QVBoxLayout;
    smallColumn->setSpacing(1);
    for (int id : {ID_REVIEW_PROGRESS, ID_REVIEW_DRILL}) {
        auto *button = new QToolButton(reviewContent);
        button->setDefaultAction(action(id));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(16, 16));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        smallColumn->addWidget(button);
    }
    smallColumn->addStretch(1);
    reviewBox->addLayout(smallColumn);
    panelBox->addWidget(MakePanel(tr("Review"), reviewContent, panels));

    auto *panesContent = new QWidget(panels);
    auto *panesBox = new QVBoxLayout(panesContent);
    panesBox->setContentsMargins(6, 0, 6, 0);
    panesBox->setSpacing(1);
    for (int id : {ID_VIEW_CLASSVIEW, ID_VIEW_FILEVIEW, ID_VIEW_PROPERTIESWND})
        panesBox->addWidget(CommandCheckBox(action(id), panesContent));
    panelBox->addWidget(MakePanel(tr("Panes"), panesContent, panels));
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
    columns->setSpacing(6);
    auto *views = new QVBoxLayout;
    views->setSpacing(1);
    for (int id : {int(ID_STATISTICS), int(ID_VIEW_OUTPUTWND), int(ID_VIEW_CAPTION_BAR)})
        views->addWidget(CommandCheckBox(action(id), content));
    columns->addLayout(views);

    auto *trainer = new QVBoxLayout;
    trainer->setSpacing(1);
    trainer->addWidget(CommandCheckBox(action(ID_VIEW_COACH), content));
    trainer->addWidget(CommandCheckBox(action(ID_VIEW_SHOW_ALL_HANDS), content));
    trainer->addWidget(CommandCheckBox(action(ID_VIEW_TRACKER_COPY), content));
    auto *paceRow = new QHBoxLayout;
    paceRow->setSpacing(4);
    auto *paceLabel = new QLabel(tr("Pace"), content);
    m_paceSlider = new QSlider(Qt::Horizontal, content);
    m_paceSlider->setObjectName(QStringLiteral("PaceSlider"));
    m_paceSlider->setRange(0, kPaceTenthsMax);
    m_paceSlider->setPageStep(5);
    m_paceSlider->setFixedWidth(80);
    m_paceSlider->setToolTip(tr("The pauses between actions: from none (left) to "
                                "twice a real table's (right)"));
    paceLabel->setBuddy(m_paceSlider);
    m_paceValue = new QLabel(content);
    m_paceValue->setObjectName(QStringLiteral("PaceValue"));
    m_paceValue->setMinimumWidth(m_paceValue->fontMetrics().horizontalAdvance(tr("no pauses")));
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
    m_paceValue->setText(factor <= 0.0 ? tr("no pauses") : tr("%1\u00d7").arg(factor, 0, 'f', 1));
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
    info->setToolTip(tr("<b>Important</b><br>Here is an informational message for the user."));
    box->addWidget(info);
    box->addWidget(new QLabel(QString::fromLatin1(kMakerWebAddress), m_captionBar));
    box->addStretch(1);
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
    action(ID_VIEW_TRACKER_COPY)->setChecked(m_trackerCopy);
    for (int id : {ID_VIEW_OUTPUTWND, ID_VIEW_CLASSVIEW, ID_VIEW_FILEVIEW, ID_VIEW_PROPERTIESWND})
        action(id)->setChecked(!paneDock(id)->isHidden());
    action(ID_VIEW_CAPTION_BAR)->setChecked(!m_captionBar->isHidden());
    for (int id = ID_VIEW_APPLOOK_OFF_2007_BLUE; id <= ID_VIEW_APPLOOK_WINDOWS_7; ++id)
        action(id)->setChecked(static_cast<unsigned>(id) == m_appLook);
}

void CMainFrame::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // In a short window the table comes first: the output pane gives up height, down to what
    // its action panel needs.
    const int most = height() * kMostPaneShare / 100;
    if (m_outputDock->isVisible() && !m_outputDock->isFloating() && m_outputDock->height() > most)
        resizeDocks({m_outputDock}, {most}, Qt::Vertical);
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard->AllowClose()) {
        event->ignore();
        return;
    }
    QSettings().setValue(QLatin1String(kWindowStateKey), saveState());
    event->accept();
}
