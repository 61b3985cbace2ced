#include "ui/review/HandsWindow.h"
#include "ui/app/WindowFit.h"

#include "lineformat/GameLines.h"
#include "ui/review/BoundedText.h"
#include "ui/review/DecisionValuer.h"
#include "ui/review/HandListModel.h"
#include "ui/review/OptionBars.h"
#include "ui/review/ProgressFigures.h"
#include "ui/review/ReplaySnapshot.h"
#include "ui/table_view/TableCanvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kSlowestStepMs = 2400; // speed 1; speed n waits kSlowestStepMs / n
constexpr int kSpeedSteps = 8;
constexpr int kDefaultSpeed = 3;
constexpr int kListWidth = 360;  // the least the list is given
constexpr int kTableWidth = 820; // the replay table's width at which no seat is cut off

QPushButton *ControlButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

CHandsWindow::CHandsWindow(QString outputFolder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_outputFolder(std::move(outputFolder))
{
    // The Progress window's seed: a game gets the same grades in both windows.
    m_reviewOptions.seed = kProgressReviewSeed;
    setObjectName(QStringLiteral("HandsWindow"));
    setWindowTitle(tr("Hands"));
    // Room for every column of the list beside the whole table, where the screen has it.
    ResizeWithinScreen(this, QSize(1480, 760));
    askPathsWithDialogs();

    QHBoxLayout *top = makeFileRow();
    makeMessageLine();
    makeHandList();
    QWidget *right = makeReplayPane();
    m_splitter = new QSplitter(this);
    m_splitter->addWidget(m_list);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(1, 1);

    auto *box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(m_message);
    box->addWidget(m_splitter, 1);

    connectReplay();
    m_list->installEventFilter(this);
    updateSpeed();
    setStep(0);
}

void CHandsWindow::askPathsWithDialogs()
{
    m_askOpenPath = [this] {
        return QFileDialog::getOpenFileName(
            this, tr("Open a hand history"),
            QDir(m_outputFolder).filePath(QLatin1String(gamelines::kHistoryFolder)),
            // Every file the window reads, an export just written among them.
            tr("Hand histories (*.txt *.phh *.phhs);;All files (*)"));
    };
    m_askExportPath = [this] {
        const QString base =
            QFileInfo(m_games->currentData().toString().section(QLatin1Char('\n'), 0, 0))
                .completeBaseName();
        const QDir folder(QDir(m_outputFolder).filePath(QLatin1String(gamelines::kHistoryFolder)));
        QFileDialog dialog(this, tr("Export the game"),
                           folder.filePath(QStringLiteral("PokerStars_") + base + ".txt"),
                           tr("PokerStars hand histories (*.txt);;PHH hand histories (*.phhs)"));
        dialog.setObjectName(QStringLiteral("ExportDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The name follows the format chosen, as the game's own copies are named.
        connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, base](const QString &f) {
            dialog.selectFile(f.contains(QLatin1String("*.phhs"))
                                  ? QStringLiteral("PHH_") + base + QStringLiteral(".phhs")
                                  : QStringLiteral("PokerStars_") + base + QStringLiteral(".txt"));
        });
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
}

// The game list, the file buttons and the filter by grade.
QHBoxLayout *CHandsWindow::makeFileRow()
{
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Game:"), this));
    m_games = new QComboBox(this);
    m_games->setObjectName(QStringLiteral("games"));
    m_games->setMinimumContentsLength(28);
    top->addWidget(m_games, 1);
    auto *open = ControlButton(tr("Open file…"), QStringLiteral("open"), this);
    auto *refresh = ControlButton(tr("Reload"), QStringLiteral("reload"), this);
    auto *exportButton = ControlButton(tr("Export…"), QStringLiteral("export"), this);
    exportButton->setToolTip(
        tr("Write the game shown as PokerStars-format hand histories (for trackers) or as PHH"));
    top->addWidget(open);
    top->addWidget(refresh);
    top->addWidget(exportButton);
    m_mistakesOnly = new QCheckBox(tr("Hands with mistakes"), this);
    m_mistakesOnly->setObjectName(QStringLiteral("mistakesOnly"));
    m_mistakesOnly->setToolTip(
        tr("Only the hands with a decision the coach graded a small mistake or worse"));
    top->addWidget(m_mistakesOnly);

    connect(open, &QPushButton::clicked, this, [this] {
        const QString path = m_askOpenPath ? m_askOpenPath() : QString();
        if (!path.isEmpty())
            openFile(path);
    });
    connect(refresh, &QPushButton::clicked, this, &CHandsWindow::reload);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString path = m_askExportPath ? m_askExportPath() : QString();
        if (!path.isEmpty())
            exportTo(path);
    });
    connect(m_games, &QComboBox::activated, this, &CHandsWindow::showGameAt);
    return top;
}

void CHandsWindow::makeMessageLine()
{
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->hide();
}

// The hands of the game shown, sorted by any column and filtered by the coach's grade.
void CHandsWindow::makeHandList()
{
    m_model = new CHandListModel(this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setFilterKeyColumn(CHandListModel::kCoach);
    m_sorted->setFilterRole(CHandListModel::kMistakeRole);
    m_sorted->setSortRole(CHandListModel::kSortRole);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("hands"));
    m_list->setModel(m_sorted);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(CHandListModel::kHand, Qt::AscendingOrder);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setAlternatingRowColors(true);

    connect(m_mistakesOnly, &QCheckBox::toggled, this, [this](bool only) {
        m_sorted->setFilterFixedString(only ? QStringLiteral("1") : QString());
        if (!m_list->currentIndex().isValid() && m_sorted->rowCount() > 0)
            selectRow(0);
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showHand(current); });
}

// The table, its caption, the coach's line and the options' bars, above the step controls.
QWidget *CHandsWindow::makeReplayPane()
{
    auto *right = new QWidget(this);
    auto *rightBox = new QVBoxLayout(right);
    rightBox->setContentsMargins(0, 0, 0, 0);
    m_table = new CTableCanvas(right);
    m_table->setObjectName(QStringLiteral("replayTable"));
    rightBox->addWidget(m_table, 1);
    m_caption = new QLabel(right);
    m_caption->setObjectName(QStringLiteral("caption"));
    QFont captionFont = m_caption->font();
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.2);
    captionFont.setBold(true);
    m_caption->setFont(captionFont);
    rightBox->addWidget(m_caption);
    m_coach = new QLabel(right);
    m_coach->setObjectName(QStringLiteral("coach"));
    m_coach->setWordWrap(true);
    rightBox->addWidget(m_coach);
    m_bars = new COptionBars(right);
    m_bars->hide();
    rightBox->addWidget(m_bars);
    m_valuer = new CDecisionValuer(this);
    connect(m_valuer, &CDecisionValuer::advised, m_bars, &COptionBars::setAdvice);
    connect(m_valuer, &CDecisionValuer::unavailable, m_bars, &COptionBars::setMessage);

    rightBox->addLayout(makeStepRow(right));
    rightBox->addLayout(makeStreetRow(right));
    // The speed on a row of its own, so that the hand list keeps the room for all its columns.
    rightBox->addLayout(makeSpeedRow(right));
    return right;
}

QHBoxLayout *CHandsWindow::makeStepRow(QWidget *pane)
{
    auto *controls = new QHBoxLayout;
    m_first = ControlButton(tr("|< Start"), QStringLiteral("first"), pane);
    m_back = ControlButton(tr("< Back"), QStringLiteral("back"), pane);
    m_play = ControlButton(tr("Play"), QStringLiteral("play"), pane);
    m_forward = ControlButton(tr("Forward >"), QStringLiteral("forward"), pane);
    m_last = ControlButton(tr("End >|"), QStringLiteral("last"), pane);
    m_back->setToolTip(tr("One step back (Left)"));
    m_forward->setToolTip(tr("One step forward (Right)"));
    m_play->setToolTip(tr("Play or pause (Space)"));
    for (QPushButton *button : {m_first, m_back, m_play, m_forward, m_last})
        controls->addWidget(button);
    m_stepLabel = new QLabel(pane);
    m_stepLabel->setObjectName(QStringLiteral("step"));
    m_stepLabel->setMinimumWidth(110);
    controls->addWidget(m_stepLabel);
    controls->addStretch(1);
    return controls;
}

QHBoxLayout *CHandsWindow::makeStreetRow(QWidget *pane)
{
    auto *streets = new QHBoxLayout;
    streets->addWidget(new QLabel(tr("Jump to:"), pane));
    const char *const kStreetTexts[] = {QT_TR_NOOP("Preflop"), QT_TR_NOOP("Flop"),
                                        QT_TR_NOOP("Turn"), QT_TR_NOOP("River"),
                                        QT_TR_NOOP("Result")};
    const char *const kStreetNames[] = {"preflop", "flop", "turn", "river", "result"};
    for (int k = 0; k < 5; ++k) {
        m_streets[k] =
            ControlButton(tr(kStreetTexts[k]), QString::fromLatin1(kStreetNames[k]), pane);
        streets->addWidget(m_streets[k]);
        connect(m_streets[k], &QPushButton::clicked, this, [this, k] { jumpToStreet(k); });
    }
    streets->addStretch(1);
    return streets;
}

QHBoxLayout *CHandsWindow::makeSpeedRow(QWidget *pane)
{
    auto *pace = new QHBoxLayout;
    pace->addWidget(new QLabel(tr("Speed:"), pane));
    m_speed = new QSlider(Qt::Horizontal, pane);
    m_speed->setObjectName(QStringLiteral("speed"));
    m_speed->setRange(1, kSpeedSteps);
    m_speed->setValue(kDefaultSpeed);
    m_speed->setFixedWidth(120);
    pace->addWidget(m_speed);
    m_speedLabel = new QLabel(pane);
    m_speedLabel->setMinimumWidth(80);
    pace->addWidget(m_speedLabel);
    pace->addStretch(1);
    return pace;
}

// The step buttons, the speed and the timer that plays the hand.
void CHandsWindow::connectReplay()
{
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_step + 1 < stepCount())
            setStep(m_step + 1);
        if (m_step + 1 >= stepCount())
            togglePlay();
    });
    connect(m_first, &QPushButton::clicked, this, [this] { setStep(0); });
    connect(m_back, &QPushButton::clicked, this, [this] { setStep(m_step - 1); });
    connect(m_forward, &QPushButton::clicked, this, [this] { setStep(m_step + 1); });
    connect(m_last, &QPushButton::clicked, this, [this] { setStep(stepCount() - 1); });
    connect(m_play, &QPushButton::clicked, this, &CHandsWindow::togglePlay);
    connect(m_speed, &QSlider::valueChanged, this, &CHandsWindow::updateSpeed);
}

void CHandsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    fitListWidth();
}

// Wide enough to show every column, as long as the table keeps its least width.
void CHandsWindow::fitListWidth()
{
    const QList<int> sizes = m_splitter->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total <= 0)
        return;
    const int wanted = std::max(kListWidth, m_list->horizontalHeader()->length() +
                                                m_list->verticalScrollBar()->sizeHint().width() +
                                                2 * m_list->frameWidth());
    const int list = std::min(
        wanted, total - std::max(kTableWidth, m_splitter->widget(1)->minimumSizeHint().width()));
    if (sizes.value(0) != list)
        m_splitter->setSizes({list, total - list});
}

bool CHandsWindow::stepKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
        setStep(m_step - 1);
        return true;
    case Qt::Key_Right:
        setStep(m_step + 1);
        return true;
    case Qt::Key_Space:
        togglePlay();
        return true;
    default:
        return false;
    }
}

bool CHandsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier &&
        stepKey(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return QWidget::eventFilter(watched, event);
}

void CHandsWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() != Qt::NoModifier || !stepKey(event->key()))
        QWidget::keyPressEvent(event);
}

CHandsWindow::~CHandsWindow() = default;

const history::Game &CHandsWindow::game() const
{
    return m_model->game();
}

int CHandsWindow::stepCount() const
{
    return m_replay ? m_replay->count() : 0;
}

void CHandsWindow::showMessage(const QString &text, bool error)
{
    m_message->setText(BoundedText(text, kMaxMessageChars));
    // A background of its own: readable on the light and on the dark style alike.
    m_message->setStyleSheet(
        error ? QStringLiteral("color: #8A0010; background: #FDE7E9; font-weight: bold;"
                               " border: 1px solid #E8A0A8; border-radius: 3px; padding: 4px;")
              : QStringLiteral("color: #3D2E00; background: #FFF4CE;"
                               " border: 1px solid #E0C060; border-radius: 3px; padding: 4px;"));
    m_message->setVisible(!text.isEmpty());
}

void CHandsWindow::selectRow(int row)
{
    m_list->setCurrentIndex(m_sorted->index(row, 0));
}

void CHandsWindow::showHand(const QModelIndex &index)
{
    if (m_timer->isActive())
        togglePlay();
    const QModelIndex source = m_sorted->mapToSource(index);
    const auto &hands = m_model->game().hands;
    if (!source.isValid() || source.row() >= static_cast<int>(hands.size())) {
        m_replay.reset();
        setStep(0);
        return;
    }
    m_hand = source.row();
    m_replay.emplace(hands[static_cast<size_t>(m_hand)],
                     m_model->playerSeatIn(hands[static_cast<size_t>(m_hand)]));
    setStep(0);
}

void CHandsWindow::setStep(int step)
{
    const int count = stepCount();
    m_step = std::clamp(step, 0, std::max(count - 1, 0));
    const bool any = count > 0;
    for (QPushButton *button : {m_first, m_back})
        button->setEnabled(any && m_step > 0);
    for (QPushButton *button : {m_forward, m_last})
        button->setEnabled(any && m_step + 1 < count);
    m_play->setEnabled(any);
    m_speed->setEnabled(any);
    for (int k = 0; k < 5; ++k) {
        const int target = !any     ? -1
                           : k == 4 ? m_replay->resultStep()
                                    : m_replay->firstStepOf(static_cast<history::Street>(k));
        m_streets[k]->setEnabled(target >= 0);
    }
    if (!any) {
        m_table->setSnapshot({});
        m_caption->clear();
        m_stepLabel->clear();
        m_coach->clear();
        showOptionValues(false);
        return;
    }
    const history::Hand &hand = m_model->game().hands[static_cast<size_t>(m_hand)];
    const replay::TableState &state = m_replay->at(m_step);
    m_table->setSnapshot(SnapshotOfReplay(hand, state));
    m_caption->setText(BoundedText(QString::fromStdString(state.caption), kMaxMessageChars));
    m_stepLabel->setText(tr("Step %1 of %2").arg(m_step + 1).arg(count));

    showCoachLine();
}

void CHandsWindow::jumpToStreet(int street)
{
    if (!m_replay)
        return;
    const int target = street == 4 ? m_replay->resultStep()
                                   : m_replay->firstStepOf(static_cast<history::Street>(street));
    if (target >= 0)
        setStep(target);
}

void CHandsWindow::togglePlay()
{
    if (m_timer->isActive()) {
        m_timer->stop();
        m_play->setText(tr("Play"));
        return;
    }
    if (stepCount() == 0)
        return;
    if (m_step + 1 >= stepCount())
        setStep(0);
    m_play->setText(tr("Pause"));
    m_timer->start();
}

void CHandsWindow::updateSpeed()
{
    const int ms = kSlowestStepMs / m_speed->value();
    m_timer->setInterval(ms);
    m_speedLabel->setText(tr("%1 s a step").arg(ms / 1000.0, 0, 'f', 1));
}
