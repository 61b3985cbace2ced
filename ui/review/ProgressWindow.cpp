#include "ui/review/ProgressWindow.h"
#include "ui/app/WindowFit.h"
#include "ui/review/ProgressCharts.h"

#include "practice/Store.h"
#include "replay/HandReplay.h"
#include "storage/LedgerReader.h"
#include "ui/practice/MasteryChart.h"
#include "ui/review/BoundedText.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

#include <algorithm>

namespace {

// The name under which the ledger books the player.
constexpr char kPlayerName[] = "Hero";

} // namespace

CProgressWindow::CProgressWindow(QString outputFolder, QString databasePath, QWidget *parent,
                                 CProgressReviewer::Figure figure)
    : QWidget(parent, Qt::Window)
    , m_outputFolder(std::move(outputFolder))
    , m_databasePath(std::move(databasePath))
    , m_cachePath(ProgressCachePath(m_databasePath))
    , m_reviewer(std::make_unique<CProgressReviewer>(figure ? std::move(figure) : FigureGame))
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(tr("Progress"));
    ResizeWithinScreen(this, QSize(1000, 700));
    m_askSavePath = [this](const QString &suggested) {
        QString path = QFileDialog::getSaveFileName(this, tr("Save the chart"),
                                                    QDir(m_outputFolder).filePath(suggested),
                                                    tr("PNG pictures (*.png)"));
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".png");
        return path;
    };

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(makePage(m_gameChart, m_gameMessage, QStringLiteral("game"),
                            QStringLiteral("chips-per-hand.png")),
                   tr("This game"));
    m_tabs->addTab(makePage(m_balanceChart, m_balanceMessage, QStringLiteral("balance"),
                            QStringLiteral("balance-per-game.png")),
                   tr("All games"));
    auto *nameRow = new QWidget(this);
    auto *nameBox = new QHBoxLayout(nameRow);
    nameBox->setContentsMargins(0, 0, 0, 0);
    nameBox->addWidget(new QLabel(tr("Name:"), nameRow));
    m_statisticsName = new QComboBox(nameRow);
    m_statisticsName->setObjectName(QStringLiteral("statisticsName"));
    m_statisticsName->setMinimumContentsLength(12);
    // The names are the ledger's, whatever their length: the list keeps its width.
    m_statisticsName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    nameBox->addWidget(m_statisticsName);
    connect(m_statisticsName, &QComboBox::currentTextChanged, this,
            &CProgressWindow::drawStatistics);
    m_tabs->addTab(makePage(m_statisticsChart, m_statisticsMessage, QStringLiteral("statistics"),
                            QStringLiteral("vpip-pfr-3bet.png"), nameRow),
                   tr("VPIP, PFR, 3-bet"));
    m_tabs->addTab(makePage(m_perGameChart, m_perGameMessage, QStringLiteral("perGame"),
                            QStringLiteral("coach-per-game.png")),
                   tr("Coach per game"));
    m_tabs->addTab(makePage(m_drillsChart, m_drillsMessage, QStringLiteral("drills"),
                            QStringLiteral("drills-per-leak.png")),
                   tr("Drills"));
    auto *reloadButton = new QPushButton(tr("Reload"), this);
    reloadButton->setObjectName(QStringLiteral("reload"));
    connect(reloadButton, &QPushButton::clicked, this, &CProgressWindow::reload);
    m_tabs->setCornerWidget(reloadButton);
    auto *box = new QVBoxLayout(this);
    box->addWidget(m_tabs);
    auto *reviewRow = new QHBoxLayout;
    m_reviewLabel = new QLabel(this);
    m_reviewLabel->setObjectName(QStringLiteral("reviewProgress"));
    m_reviewBar = new QProgressBar(this);
    m_reviewBar->setObjectName(QStringLiteral("reviewBar"));
    m_reviewBar->setTextVisible(false);
    m_reviewBar->setMaximumWidth(240);
    reviewRow->addWidget(m_reviewLabel);
    reviewRow->addWidget(m_reviewBar);
    reviewRow->addStretch(1);
    box->addLayout(reviewRow);
    m_reviewLabel->hide();
    m_reviewBar->hide();
    reload();
}

// The reviewer goes first: its callbacks use this window until its worker is joined.
CProgressWindow::~CProgressWindow()
{
    m_reviewer.reset();
}

void CProgressWindow::closeEvent(QCloseEvent *event)
{
    if (m_reviewing) {
        m_reviewer->stop();
        endReview();
    }
    QWidget::closeEvent(event);
}

void CProgressWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Shown again after a close that stopped the review: the games left go on.
    if (!m_reviewing &&
        std::find(m_figures.begin(), m_figures.end(), std::nullopt) != m_figures.end())
        startReview();
}

QWidget *CProgressWindow::makePage(QChartView *&view, QLabel *&message, const QString &name,
                                   const QString &pngName, QWidget *extra)
{
    auto *page = new QWidget(this);
    page->setObjectName(name + QStringLiteral("Page"));
    auto *box = new QVBoxLayout(page);
    message = new QLabel(page);
    message->setObjectName(name + QStringLiteral("Message"));
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->hide();
    box->addWidget(message);
    view = new QChartView(page);
    view->setObjectName(name + QStringLiteral("Chart"));
    view->setRenderHint(QPainter::Antialiasing);
    box->addWidget(view, 1);
    auto *row = new QHBoxLayout;
    if (extra)
        row->addWidget(extra);
    row->addStretch(1);
    auto *saveButton = new QPushButton(tr("Save as PNG…"), page);
    saveButton->setObjectName(name + QStringLiteral("Save"));
    row->addWidget(saveButton);
    box->addLayout(row);
    QChartView *chart = view;
    QLabel *label = message;
    connect(saveButton, &QPushButton::clicked, this,
            [this, chart, label, pngName] { save(chart, label, pngName); });
    return page;
}

void CProgressWindow::reload()
{
    loadGame();
    loadLedger();
    loadFigures();
    const QString drills = DrawMasteryChart(
        m_drillsChart,
        QFileInfo(m_databasePath).dir().filePath(QString::fromLatin1(practice::kStoreFileName)));
    ShowText(m_drillsMessage, drills, !drills.isEmpty());
}

void CProgressWindow::loadGame()
{
    FreshChart(m_gameChart, tr("This game: your chips after every hand"));
    m_gameFile.clear();
    m_gamePoints.clear();
    std::string error;
    const std::vector<std::string> files =
        history::FindHistoryFiles(m_outputFolder.toStdString(), error);
    if (files.empty()) {
        ShowText(m_gameMessage,
                 tr("No hand history yet in %1: play a game to see your chips hand by hand.")
                     .arg(HistoryFolderText(m_outputFolder)),
                 true);
        return;
    }
    history::Game game;
    if (!history::ReadGameFile(files.back(), game, error)) {
        ShowText(m_gameMessage, QString::fromStdString(error), true);
        return;
    }
    const int seat = replay::PlayerSeat(game);
    const std::vector<replay::ChipsPoint> points = replay::ChipsPerHand(game, seat);
    const QString file = QFileInfo(QString::fromStdString(files.back())).fileName();
    if (points.empty()) {
        ShowText(m_gameMessage, tr("%1 holds no complete hand yet.").arg(file), true);
        return;
    }
    ShowText(m_gameMessage, {}, false);
    m_gameFile = QString::fromStdString(files.back());
    m_gamePlayer =
        static_cast<size_t>(seat) < game.seats.size()
            ? BoundedText(QString::fromStdString(game.seats[static_cast<size_t>(seat)].name))
            : tr("Seat %1").arg(seat);
    m_gamePoints = points;
    drawGame();
}

void CProgressWindow::loadLedger()
{
    QChart *balances = FreshChart(m_balanceChart, tr("All games: balance of each name"));
    FreshChart(m_statisticsChart, tr("VPIP, PFR and 3-bet of each game"));
    m_ledger = {};
    const QSignalBlocker quiet(m_statisticsName);
    m_statisticsName->clear();
    LedgerContents &contents = m_ledger;
    std::string error;
    QString problem;
    if (!ReadLedger(m_databasePath.toStdString(), contents, error))
        problem = QString::fromStdString(error);
    else if (contents.isEmpty())
        problem = tr("%1 holds no saved game yet: a game's results are saved when it ends "
                     "(\"Last hand & Stop game\").")
                      .arg(QDir::toNativeSeparators(m_databasePath));
    ShowText(m_balanceMessage, problem, true);
    ShowText(m_statisticsMessage, problem, true);
    if (!problem.isEmpty()) {
        contents = {};
        return;
    }

    drawBalances(balances);

    // The player's figures, else those of the first name that played a hand.
    QString shown;
    for (const std::string &name : LedgerNames(contents)) {
        m_statisticsName->addItem(QString::fromStdString(name));
        const std::vector<GameStatistics> figures = StatisticsPerGame(contents, name);
        const bool played = std::any_of(figures.begin(), figures.end(),
                                        [](const GameStatistics &g) { return g.hands > 0; });
        if (played && (shown.isEmpty() || name == kPlayerName))
            shown = QString::fromStdString(name);
    }
    m_statisticsName->setCurrentText(shown);
    drawStatistics(m_statisticsName->currentText());
}

void CProgressWindow::save(QChartView *view, QLabel *message, const QString &pngName)
{
    const QString path = m_askSavePath ? m_askSavePath(pngName) : QString();
    if (path.isEmpty())
        return;
    if (view->grab().save(path, "PNG"))
        ShowText(message, tr("Saved the chart to %1").arg(QDir::toNativeSeparators(path)), false);
    else
        ShowText(message,
                 tr("Could not save the chart to %1: check the folder and its permissions.")
                     .arg(QDir::toNativeSeparators(path)),
                 true);
}

void CProgressWindow::loadFigures()
{
    m_reviewer->stop();
    endReview();
    m_historyFiles.clear();
    std::string error;
    for (const std::string &file : history::FindHistoryFiles(m_outputFolder.toStdString(), error))
        m_historyFiles << QString::fromStdString(file);
    m_figures.assign(size_t(m_historyFiles.size()), std::nullopt);
    bool sound = false;
    const std::vector<GameFigures> cached = ReadProgressCache(m_cachePath, &sound);
    size_t used = 0;
    for (const GameFigures &f : cached) {
        const qsizetype i = m_historyFiles.indexOf(f.path);
        if (i >= 0 && !m_figures[size_t(i)]) {
            m_figures[size_t(i)] = f;
            ++used;
        }
    }
    // Entries of files gone or changed are dropped when the cache is next written.
    m_cacheSound = sound && used == cached.size();
    drawGame();
    drawPerGame();
    startReview();
}

void CProgressWindow::startReview()
{
    m_toReview.clear();
    QStringList paths;
    for (int i = 0; i < m_historyFiles.size(); ++i) {
        if (!m_figures[size_t(i)]) {
            m_toReview.push_back(i);
            paths << m_historyFiles[i];
        }
    }
    if (paths.isEmpty()) {
        if (!m_cacheSound && !m_historyFiles.isEmpty())
            endReview();
        return;
    }
    m_reviewing = true;
    m_reviewed = 0;
    m_reviewBar->setRange(0, int(paths.size()));
    m_reviewBar->setValue(0);
    m_reviewBar->show();
    m_reviewLabel->show();
    CProgressReviewer::Callbacks callbacks;
    callbacks.starting = [this](int k) {
        m_reviewLabel->setText(tr("Reviewing game %1 of %2…")
                                   .arg(m_toReview[size_t(k)] + 1)
                                   .arg(m_historyFiles.size()));
    };
    callbacks.figured = [this](int k, const GameFigures &figures) {
        takeFigures(m_toReview[size_t(k)], figures);
    };
    callbacks.finished = [this] { endReview(); };
    m_reviewer->start(paths, std::move(callbacks));
}

void CProgressWindow::takeFigures(int index, const GameFigures &figures)
{
    m_figures[size_t(index)] = figures;
    m_reviewBar->setValue(++m_reviewed);
    // Written after every game, so that a review stopped half-way keeps what it did.
    writeCache();
    if (index == m_historyFiles.size() - 1)
        drawGame();
    drawPerGame();
}

void CProgressWindow::endReview()
{
    m_reviewing = false;
    m_reviewLabel->hide();
    m_reviewBar->hide();
    // A damaged or outdated cache with nothing left to review is written afresh all the same.
    if (!m_cacheSound && !m_historyFiles.isEmpty() &&
        std::none_of(m_figures.begin(), m_figures.end(),
                     [](const std::optional<GameFigures> &f) { return !f; }))
        writeCache();
}

void CProgressWindow::writeCache()
{
    std::vector<GameFigures> known;
    for (const std::optional<GameFigures> &f : m_figures) {
        // A file that could not even be seen has no key to keep it by.
        if (f && f->size >= 0)
            known.push_back(*f);
    }
    m_cacheSound = WriteProgressCache(m_cachePath, known);
}
