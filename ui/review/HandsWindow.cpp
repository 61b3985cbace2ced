#include "ui/review/HandsWindow.h"
#include "ui/app/WindowFit.h"

#include "coach/Review.h"
#include "interchange/Interchange.h"
#include "lineformat/GameLines.h"
#include "safefile/SafeWrite.h"
#include "ui/review/BoundedText.h"
#include "ui/review/DecisionValuer.h"
#include "ui/review/GameListText.h"
#include "ui/review/HandListModel.h"
#include "ui/review/OptionBars.h"
#include "ui/review/ProgressFigures.h"
#include "ui/review/ReplaySnapshot.h"
#include "ui/table_view/TableCanvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
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

// A choice the player made, as the coach judges them: not an ante or a blind.
bool IsDecision(const history::Action &action)
{
    return action.kind != history::ActionKind::Ante &&
           action.kind != history::ActionKind::SmallBlind &&
           action.kind != history::ActionKind::BigBlind;
}

QPushButton *ControlButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// One spelling per file ("a/./b.txt", a link and the path the folder search gives are the
// same entry of the game list).
QString FileKey(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// A list entry's data: the file, and after a line break the table for files of several.
QString EntryData(const QString &path, int table)
{
    return table == 0 ? path : path + QLatin1Char('\n') + QString::number(table);
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

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->hide();

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

    auto *controls = new QHBoxLayout;
    m_first = ControlButton(tr("|< Start"), QStringLiteral("first"), right);
    m_back = ControlButton(tr("< Back"), QStringLiteral("back"), right);
    m_play = ControlButton(tr("Play"), QStringLiteral("play"), right);
    m_forward = ControlButton(tr("Forward >"), QStringLiteral("forward"), right);
    m_last = ControlButton(tr("End >|"), QStringLiteral("last"), right);
    m_back->setToolTip(tr("One step back (Left)"));
    m_forward->setToolTip(tr("One step forward (Right)"));
    m_play->setToolTip(tr("Play or pause (Space)"));
    for (QPushButton *button : {m_first, m_back, m_play, m_forward, m_last})
        controls->addWidget(button);
    m_stepLabel = new QLabel(right);
    m_stepLabel->setObjectName(QStringLiteral("step"));
    m_stepLabel->setMinimumWidth(110);
    controls->addWidget(m_stepLabel);
    controls->addStretch(1);
    rightBox->addLayout(controls);

    auto *streets = new QHBoxLayout;
    streets->addWidget(new QLabel(tr("Jump to:"), right));
    const char *const kStreetTexts[] = {QT_TR_NOOP("Preflop"), QT_TR_NOOP("Flop"),
                                        QT_TR_NOOP("Turn"), QT_TR_NOOP("River"),
                                        QT_TR_NOOP("Result")};
    const char *const kStreetNames[] = {"preflop", "flop", "turn", "river", "result"};
    for (int k = 0; k < 5; ++k) {
        m_streets[k] =
            ControlButton(tr(kStreetTexts[k]), QString::fromLatin1(kStreetNames[k]), right);
        streets->addWidget(m_streets[k]);
        connect(m_streets[k], &QPushButton::clicked, this, [this, k] { jumpToStreet(k); });
    }
    streets->addStretch(1);
    rightBox->addLayout(streets);
    // The speed on a row of its own, so that the hand list keeps the room for all its columns.
    auto *pace = new QHBoxLayout;
    streets = pace;
    streets->addWidget(new QLabel(tr("Speed:"), right));
    m_speed = new QSlider(Qt::Horizontal, right);
    m_speed->setObjectName(QStringLiteral("speed"));
    m_speed->setRange(1, kSpeedSteps);
    m_speed->setValue(kDefaultSpeed);
    m_speed->setFixedWidth(120);
    streets->addWidget(m_speed);
    m_speedLabel = new QLabel(right);
    m_speedLabel->setMinimumWidth(80);
    streets->addWidget(m_speedLabel);
    streets->addStretch(1);
    rightBox->addLayout(pace);

    m_splitter = new QSplitter(this);
    m_splitter->addWidget(m_list);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(1, 1);

    auto *box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(m_message);
    box->addWidget(m_splitter, 1);

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
    connect(m_mistakesOnly, &QCheckBox::toggled, this, [this](bool only) {
        m_sorted->setFilterFixedString(only ? QStringLiteral("1") : QString());
        if (!m_list->currentIndex().isValid() && m_sorted->rowCount() > 0)
            selectRow(0);
    });
    connect(m_games, &QComboBox::activated, this, &CHandsWindow::showGameAt);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showHand(current); });

    m_list->installEventFilter(this);
    updateSpeed();
    setStep(0);
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

void CHandsWindow::reload()
{
    m_games->clear();
    std::string error;
    const std::vector<std::string> files =
        history::FindHistoryFiles(m_outputFolder.toStdString(), error);
    // Newest first: the game being played heads the list. The window opens on the newest game
    // with a hand: a game stopped before its first hand ended has nothing to show.
    int shown = -1;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        const QString path = FileKey(QString::fromStdString(*it));
        bool hasHands = false;
        m_games->addItem(GameListTextOfFile(path, &hasHands), path);
        m_games->setItemData(m_games->count() - 1, QFileInfo(path).fileName(), Qt::ToolTipRole);
        if (hasHands && shown < 0)
            shown = m_games->count() - 1;
    }
    if (files.empty()) {
        m_model->setGame({}, 0);
        startVerdicts();
        m_replay.reset();
        setStep(0);
        showMessage(
            tr("No hand histories in %1 yet: play a game first, or open a file.")
                .arg(QDir::toNativeSeparators(
                    QDir(m_outputFolder).filePath(QLatin1String(gamelines::kHistoryFolder)))),
            true);
        return;
    }
    showGameAt(std::max(shown, 0));
}

void CHandsWindow::showGameAt(int comboIndex)
{
    const QString entry = m_games->itemData(comboIndex).toString();
    if (!entry.isEmpty())
        openTable(entry.section(QLatin1Char('\n'), 0, 0),
                  entry.section(QLatin1Char('\n'), 1, 1).toInt());
}

bool CHandsWindow::openFile(const QString &path)
{
    return openTable(path, 0);
}

bool CHandsWindow::exportTo(const QString &path)
{
    const history::Game &shown = m_model->game();
    if (shown.hands.empty()) {
        showMessage(tr("There is no hand to export."), true);
        return false;
    }
    const bool phh = path.endsWith(QLatin1String(".phh"), Qt::CaseInsensitive) ||
                     path.endsWith(QLatin1String(".phhs"), Qt::CaseInsensitive);
    std::vector<std::string> leftOut;
    const std::string text = interchange::ExportReadable(
        {shown}, phh ? interchange::Format::Phh : interchange::Format::PokerStars, leftOut);
    if (text.empty()) {
        showMessage(tr("No hand was exported: %1").arg(QString::fromStdString(leftOut.front())),
                    true);
        return false;
    }
    // Qt's own save file says "Unknown error" for a full disk: the system's reason instead.
    std::string reason;
    if (!safefile::WriteFileReplacing(QFile::encodeName(path).toStdString(), text, reason)) {
        showMessage(tr("Cannot write %1: %2")
                        .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(reason)),
                    true);
        return false;
    }
    const int written = static_cast<int>(shown.hands.size() - leftOut.size());
    QString message =
        tr("Exported %n hand(s) to %1", nullptr, written).arg(QDir::toNativeSeparators(path));
    if (!leftOut.empty())
        message += tr("; %n left out, as they would not read back: %1", nullptr,
                      static_cast<int>(leftOut.size()))
                       .arg(QString::fromStdString(leftOut.front()));
    showMessage(message, !leftOut.empty());
    return true;
}

bool CHandsWindow::openTable(const QString &file, int table)
{
    const QString path = FileKey(file);
    if (m_timer->isActive())
        togglePlay();
    if (m_games->findData(EntryData(path, table)) < 0)
        m_games->addItem(GameListTextOfFile(path), EntryData(path, table));

    interchange::FileGames read;
    std::string error;
    const bool ok = interchange::ReadFileGames(path.toStdString(), read, error);
    if (ok && read.imported)
        listTables(path, table, read.games);
    m_games->setCurrentIndex(m_games->findData(EntryData(path, table)));
    m_replay.reset();
    m_hand = -1;
    if (!ok) {
        m_model->setGame({}, 0);
        startVerdicts();
        setStep(0);
        showMessage(QString::fromStdString(error), true);
        return false;
    }
    history::Game game = std::move(
        read.games[static_cast<size_t>(std::clamp(table, 0, int(read.games.size()) - 1))]);
    if (read.skipped > 0)
        game.warnings.insert(
            game.warnings.begin(),
            tr("%n hand(s) could not be read and were skipped (%1)", nullptr, read.skipped)
                .arg(QString::fromStdString(read.warnings.front()))
                .toStdString());
    showGame(path, std::move(game));
    return true;
}

// Files of another program may hold several tables: one entry each, where the entry of
// `table` stands.
void CHandsWindow::listTables(const QString &path, int table,
                              const std::vector<history::Game> &games)
{
    const int index = m_games->findData(EntryData(path, table));
    const int count = static_cast<int>(games.size());
    const int first = index - std::min(table, index);
    for (int t = 0; t < count; ++t) {
        QString text = GameListText(games[static_cast<size_t>(t)]);
        if (count > 1)
            text = tr("%1 · table %2 of %3").arg(text).arg(t + 1).arg(count);
        if (m_games->findData(EntryData(path, t)) < 0)
            m_games->insertItem(first + t, text, EntryData(path, t));
        const int at = m_games->findData(EntryData(path, t));
        m_games->setItemText(at, text);
        m_games->setItemData(at, QFileInfo(path).fileName(), Qt::ToolTipRole);
    }
}

void CHandsWindow::showGame(const QString &path, history::Game game)
{
    const int player = replay::PlayerSeat(game);
    const bool empty = game.hands.empty();
    QString note;
    if (empty)
        note = tr("%1 holds no complete hand yet.").arg(QFileInfo(path).fileName());
    else if (!game.warnings.empty())
        note = tr("Read with %n remark(s); the first: %1", nullptr,
                  static_cast<int>(game.warnings.size()))
                   .arg(QString::fromStdString(game.warnings.front()));
    m_model->setGame(std::move(game), player);
    startVerdicts();
    m_list->resizeColumnsToContents();
    fitListWidth();
    showMessage(note, empty);
    setWindowTitle(tr("Hands - %1").arg(QFileInfo(path).fileName()));
    if (!empty)
        selectRow(0);
    else
        setStep(0);
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

void CHandsWindow::startVerdicts()
{
    m_coachJob.stop();
    m_valuer->setGame(std::make_shared<const history::Game>(m_model->game()),
                      m_model->playerSeat());
    m_verdicts.clear();
    m_coachProblem.clear();
    // The play-outs take seconds: one word says so, where the filter waits for them, rather
    // than one in every row, wider than the grades the list leaves room for.
    m_model->setCoachGrades({}, tr("…"));
    m_list->resizeColumnToContents(CHandListModel::kCoach);
    m_verdictsReady = m_model->game().hands.empty();
    showReviewing(!m_verdictsReady);
    if (m_verdictsReady)
        return;
    // The job has its own copy of the game.
    m_coachJob.start([this, game = m_model->game(), seat = m_model->playerSeat(),
                      options = m_reviewOptions](const CBackgroundJobs::Job &job) {
        coach::Estimator estimator;
        std::vector<coach::ReviewRow> rows;
        coach::ReviewSummary summary;
        std::string error;
        const bool judged = coach::ReviewGame(
            game, seat, estimator, rows, summary, error, [&job] { return job.wanted(); }, options);
        if (!job.wanted())
            return;
        // The k-th decision of the seat in a hand is that hand's k-th row.
        QHash<QPair<int, int>, QString> verdicts;
        size_t row = 0;
        for (size_t h = 0; judged && h < game.hands.size(); ++h) {
            const history::Hand &hand = game.hands[h];
            for (size_t a = 0; a < hand.actions.size(); ++a) {
                const history::Action &action = hand.actions[a];
                if (action.seat != seat || !IsDecision(action))
                    continue;
                while (row < rows.size() && rows[row].hand < hand.number)
                    ++row;
                if (row >= rows.size() || rows[row].hand != hand.number)
                    break;
                const coach::ReviewRow &r = rows[row++];
                verdicts.insert({int(h), int(a)}, QString::fromStdString(coach::PaneLine(
                                                      history::StreetName(r.street), r.move,
                                                      r.amount, r.point, r.estimate, r.advice)));
            }
        }
        const QString problem =
            judged ? QString() : tr("Coach: %1").arg(QString::fromStdString(error));
        std::vector<CHandListModel::CoachGrade> grades;
        if (judged)
            grades = CoachGradesOf(game, rows);
        job.deliver([this, verdicts = std::move(verdicts), problem, grades = std::move(grades)] {
            takeVerdicts(verdicts, problem, grades);
        });
    });
}

void CHandsWindow::takeVerdicts(QHash<QPair<int, int>, QString> verdicts, const QString &problem,
                                const std::vector<CHandListModel::CoachGrade> &grades)
{
    m_model->setCoachGrades(grades, problem.isEmpty() ? QString() : tr("—"));
    m_list->resizeColumnToContents(CHandListModel::kCoach);
    fitListWidth();
    m_verdicts = std::move(verdicts);
    m_coachProblem = problem;
    m_verdictsReady = true;
    showReviewing(false);
    showCoachLine();
}

void CHandsWindow::showReviewing(bool reviewing)
{
    m_mistakesOnly->setEnabled(!reviewing);
    m_mistakesOnly->setText(reviewing ? tr("Hands with mistakes (reviewing…)")
                                      : tr("Hands with mistakes"));
}

void CHandsWindow::showCoachLine()
{
    QString coach;
    if (m_replay) {
        const replay::TableState &state = m_replay->at(m_step);
        const history::Action *action = state.actionIndex >= 0
                                            ? &m_model->game()
                                                   .hands[static_cast<size_t>(m_hand)]
                                                   .actions[static_cast<size_t>(state.actionIndex)]
                                            : nullptr;
        const bool decision =
            action &&
            state.actor ==
                m_model->playerSeatIn(m_model->game().hands[static_cast<size_t>(m_hand)]) &&
            IsDecision(*action);
        showOptionValues(decision);
        if (decision) {
            if (!m_verdictsReady)
                coach = tr("Coach: reviewing the decisions of this game…");
            else if (!m_coachProblem.isEmpty())
                coach = m_coachProblem;
            else
                coach = m_verdicts.value({m_hand, state.actionIndex},
                                         tr("Coach: no verdict for this decision"));
        }
    }
    m_coach->setText(coach);
}

void CHandsWindow::showOptionValues(bool decision)
{
    if (!decision) {
        m_valuer->cancel();
        m_bars->hide();
        return;
    }
    if (m_valuer->request(m_hand, m_replay->at(m_step).actionIndex))
        m_bars->setMessage(tr("Valuing the options…"));
    m_bars->show();
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
