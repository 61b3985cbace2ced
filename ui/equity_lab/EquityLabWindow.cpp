#include "ui/equity_lab/EquityLabWindow.h"

#include "pokerlib/CardNames.h"
#include "ui/calculator/DlgCards.h"
#include "ui/equity_lab/RangeGrid.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <random>

using brisquel::EquityResult;
using brisquel::EquitySetup;

namespace {

// Exact heat-map cells up to this many showdowns each; sampled beyond.
constexpr std::uint64_t kMaxClassShowdowns = 2'000'000;
constexpr int kDefaultPlayers = 2;

QString Percent(double v)
{
    return QString::number(100 * v, 'f', 2) + QStringLiteral(" %");
}

// Cards written "Ah Kd 2c" (blanks or commas between); false with a message on a bad word.
bool ReadCards(const QString &text, const QString &what, std::vector<int> &cards,
               QString &message)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    for (const QString &word : text.split(separators, Qt::SkipEmptyParts)) {
        const int card = brisquel::ParseCard(word.toStdString());
        if (card < 0) {
            message = QStringLiteral("%1: '%2' is not a card").arg(what, word);
            return false;
        }
        cards.push_back(card);
    }
    return true;
}

} // namespace

struct CEquityLabWindow::Outcome
{
    EquityResult result;
    std::vector<std::array<double, CRangeGrid::kClasses>> heat;
};

CEquityLabWindow::CEquityLabWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Equity lab"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *playersBox = new QGroupBox(QStringLiteral("Players"), this);
    auto *rows = new QGridLayout(playersBox);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("Players:"), playersBox));
    m_players = new QSpinBox(playersBox);
    m_players->setRange(2, kMaxPlayers);
    countRow->addWidget(m_players);
    countRow->addWidget(new QLabel(QStringLiteral("Empty: a random hand. A hand (AhKd), a range "
                                                  "(QQ+,AKs) or top15%."),
                                   playersBox));
    countRow->addStretch(1);
    rows->addLayout(countRow, 0, 0, 1, 4);
    auto *choices = new QButtonGroup(this);
    for (int p = 0; p < kMaxPlayers; ++p) {
        Row &row = m_rows[std::size_t(p)];
        row.choice = new QRadioButton(QStringLiteral("Player %1").arg(p + 1), playersBox);
        row.choice->setToolTip(QStringLiteral("Show this player's range on the grid"));
        choices->addButton(row.choice, p);
        row.edit = new QLineEdit(playersBox);
        row.edit->setPlaceholderText(QStringLiteral("random"));
        row.edit->setMinimumWidth(180);
        row.combos = new QLabel(playersBox);
        row.combos->setMinimumWidth(110);
        row.result = new QLabel(playersBox);
        row.result->setMinimumWidth(330);
        row.result->setTextInteractionFlags(Qt::TextSelectableByMouse);
        rows->addWidget(row.choice, p + 1, 0);
        rows->addWidget(row.edit, p + 1, 1);
        rows->addWidget(row.combos, p + 1, 2);
        rows->addWidget(row.result, p + 1, 3);
        connect(row.choice, &QRadioButton::toggled, this, [this, p](bool on) {
            if (on)
                choosePlayer(p);
        });
        connect(row.edit, &QLineEdit::textChanged, this, [this, p] { onPlayerEdited(p); });
    }
    rows->setRowStretch(kMaxPlayers + 1, 1);

    auto *cardsBox = new QGroupBox(QStringLiteral("Cards"), this);
    auto *cardsGrid = new QGridLayout(cardsBox);
    m_board = new QLineEdit(cardsBox);
    m_board->setPlaceholderText(QStringLiteral("none, or 3, 4 or 5 cards: Qs Jd 2c"));
    m_pickBoard = new QPushButton(QStringLiteral("Pick…"), cardsBox);
    m_dead = new QLineEdit(cardsBox);
    m_dead->setPlaceholderText(QStringLiteral("cards out of play"));
    m_pickDead = new QPushButton(QStringLiteral("Pick…"), cardsBox);
    cardsGrid->addWidget(new QLabel(QStringLiteral("Board:"), cardsBox), 0, 0);
    cardsGrid->addWidget(m_board, 0, 1);
    cardsGrid->addWidget(m_pickBoard, 0, 2);
    cardsGrid->addWidget(new QLabel(QStringLiteral("Dead:"), cardsBox), 1, 0);
    cardsGrid->addWidget(m_dead, 1, 1);
    cardsGrid->addWidget(m_pickDead, 1, 2);
    connect(m_pickBoard, &QPushButton::clicked, this, [this] { pickCards(m_board, 5); });
    connect(m_pickDead, &QPushButton::clicked, this, [this] { pickCards(m_dead, 52); });

    auto *gridBox = new QGroupBox(QStringLiteral("Range"), this);
    auto *gridLayout = new QVBoxLayout(gridBox);
    m_gridLabel = new QLabel(gridBox);
    m_grid = new CRangeGrid(gridBox);
    auto *topRow = new QHBoxLayout;
    auto *topLabel = new QLabel(QStringLiteral("Top 0 %"), gridBox);
    topLabel->setMinimumWidth(70);
    m_top = new QSlider(Qt::Horizontal, gridBox);
    m_top->setRange(0, 100);
    topRow->addWidget(topLabel);
    topRow->addWidget(m_top, 1);
    gridLayout->addWidget(m_gridLabel);
    gridLayout->addWidget(m_grid, 1);
    gridLayout->addLayout(topRow);
    connect(m_grid, &CRangeGrid::picked, this, &CEquityLabWindow::onGridPicked);
    connect(m_top, &QSlider::valueChanged, this, [this, topLabel](int percent) {
        topLabel->setText(QStringLiteral("Top %1 %").arg(percent));
        onTopSlider(percent);
    });

    m_calculate = new QPushButton(QStringLiteral("Calculate"), this);
    m_calculate->setDefault(true);
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    connect(m_calculate, &QPushButton::clicked, this, &CEquityLabWindow::onCalculate);
    connect(m_stop, &QPushButton::clicked, this, &CEquityLabWindow::onStop);
    auto *runRow = new QHBoxLayout;
    runRow->addWidget(m_calculate);
    runRow->addWidget(m_stop);
    runRow->addWidget(m_progress, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(playersBox, 1);
    left->addWidget(cardsBox);
    left->addLayout(runRow);
    left->addWidget(m_status);
    auto *main = new QHBoxLayout(this);
    main->addLayout(left, 3);
    main->addWidget(gridBox, 2);

    connect(m_players, &QSpinBox::valueChanged, this, &CEquityLabWindow::showPlayers);
    m_players->setValue(kDefaultPlayers);
    showPlayers(kDefaultPlayers);
    m_rows[0].choice->setChecked(true);
    setRunning(false);
    resize(1100, 560);
}

CEquityLabWindow::~CEquityLabWindow()
{
    stopWorker();
}

void CEquityLabWindow::closeEvent(QCloseEvent *event)
{
    stopWorker();
    QWidget::closeEvent(event);
}

void CEquityLabWindow::stopWorker()
{
    m_stopWanted = true;
    if (m_worker.joinable())
        m_worker.join();
}

void CEquityLabWindow::showPlayers(int count)
{
    for (int p = 0; p < kMaxPlayers; ++p) {
        const Row &row = m_rows[std::size_t(p)];
        for (QWidget *w : {static_cast<QWidget *>(row.choice), static_cast<QWidget *>(row.edit),
                           static_cast<QWidget *>(row.combos), static_cast<QWidget *>(row.result)})
            w->setVisible(p < count);
        onPlayerEdited(p);
    }
    if (m_chosen >= count)
        m_rows[0].choice->setChecked(true);
}

void CEquityLabWindow::choosePlayer(int p)
{
    m_chosen = p;
    brisquel::ComboList combos;
    std::string error;
    const std::string text = m_rows[std::size_t(p)].edit->text().toStdString();
    if (!text.empty())
        brisquel::ParseRange(text, combos, error);
    m_syncing = true;
    m_grid->setRange(combos);
    m_syncing = false;
    if (std::size_t(p) < m_heatFits.size() && m_heatFits[std::size_t(p)])
        m_grid->setHeat(m_heat[std::size_t(p)]);
    else
        m_grid->clearHeat();
    m_gridLabel->setText(QStringLiteral("Player %1: %2")
                             .arg(p + 1)
                             .arg(m_rows[std::size_t(p)].combos->text()));
}

void CEquityLabWindow::onGridPicked()
{
    if (m_syncing)
        return;
    m_syncing = true;
    m_rows[std::size_t(m_chosen)].edit->setText(m_grid->rangeText());
    m_syncing = false;
    m_grid->clearHeat();
}

void CEquityLabWindow::onTopSlider(int percent)
{
    if (m_syncing)
        return;
    // The text keeps the exact share; the grid shows every class it touches.
    m_rows[std::size_t(m_chosen)].edit->setText(
        percent > 0 ? QStringLiteral("top%1%").arg(percent) : QString());
}

void CEquityLabWindow::onPlayerEdited(int p)
{
    Row &row = m_rows[std::size_t(p)];
    const std::string text = row.edit->text().trimmed().toStdString();
    brisquel::ComboList combos;
    std::string error;
    if (text.empty())
        row.combos->setText(QStringLiteral("random"));
    else if (!brisquel::ParseRange(text, combos, error))
        row.combos->setText(QStringLiteral("not a range"));
    else if (combos.size() == 1)
        row.combos->setText(QStringLiteral("one hand"));
    else
        row.combos->setText(QStringLiteral("%1 combinations").arg(combos.size()));
    row.combos->setToolTip(QString::fromStdString(error));
    if (std::size_t(p) < m_heatFits.size())
        m_heatFits[std::size_t(p)] = false; // the heat map no longer fits the range
    if (p == m_chosen && !m_syncing) {
        m_syncing = true;
        m_grid->setRange(combos);
        m_syncing = false;
        m_grid->clearHeat();
    }
    if (p == m_chosen)
        m_gridLabel->setText(QStringLiteral("Player %1: %2").arg(p + 1).arg(row.combos->text()));
}

void CEquityLabWindow::pickCards(QLineEdit *edit, int maxCards)
{
    QString text;
    QList<int> cards, pictures;
    CDlgCards picker(text, cards, pictures, this, maxCards);
    const int result = m_runPicker ? m_runPicker(picker) : picker.exec();
    if (result == QDialog::Accepted)
        edit->setText(text.trimmed());
}

bool CEquityLabWindow::readSetup(EquitySetup &setup, QString &message) const
{
    for (int p = 0; p < m_players->value(); ++p) {
        const std::string text = m_rows[std::size_t(p)].edit->text().trimmed().toStdString();
        brisquel::EquityPlayer player;
        std::string error;
        if (!text.empty() && !brisquel::ParseRange(text, player.combos, error)) {
            message = QStringLiteral("Player %1: %2").arg(p + 1).arg(QString::fromStdString(error));
            return false;
        }
        setup.players.push_back(std::move(player));
    }
    return ReadCards(m_board->text(), QStringLiteral("Board"), setup.board, message) &&
           ReadCards(m_dead->text(), QStringLiteral("Dead"), setup.dead, message);
}

void CEquityLabWindow::setRunning(bool running)
{
    m_calculate->setEnabled(!running);
    m_stop->setEnabled(running);
    m_players->setEnabled(!running);
    if (!running)
        m_progress->setValue(0);
}

void CEquityLabWindow::onCalculate()
{
    if (isRunning())
        return;
    EquitySetup setup;
    QString message;
    if (!readSetup(setup, message)) {
        m_status->setText(message);
        return;
    }
    for (int p = 0; p < kMaxPlayers; ++p)
        m_rows[std::size_t(p)].result->clear();
    m_grid->clearHeat();
    m_heat.clear();
    m_heatFits.clear();
    m_status->setText(QStringLiteral("Counting…"));
    m_stopWanted = false;
    setRunning(true);
    setup.seed = (std::uint64_t(std::random_device{}()) << 32) ^ std::random_device{}();
    m_worker = std::thread([this, setup]() mutable {
        int shown = -1;
        bool heat = false;
        // Progress at most once per tenth of a percent, so that the UI thread keeps up.
        setup.progress = [this, &shown, &heat](double done) {
            const int now = int(done * 1000);
            if (now != shown) {
                shown = now;
                QMetaObject::invokeMethod(
                    this, [this, done, heat] { onProgress(done, heat); }, Qt::QueuedConnection);
            }
            return !m_stopWanted.load();
        };
        setup.exact = brisquel::CountExactShowdowns(setup) <= brisquel::kMaxExactShowdowns;
        setup.trials = kTrials;
        Outcome out;
        out.result = brisquel::CalculateEquity(setup);
        // Each class of a ranged player's range against the same opponents.
        heat = true;
        out.heat.assign(setup.players.size(), {});
        for (std::size_t p = 0; p < setup.players.size(); ++p) {
            std::array<double, CRangeGrid::kClasses> &cells = out.heat[p];
            cells.fill(-1);
            const brisquel::ComboList all = setup.players[p].combos;
            if (!out.result.ok || all.size() < 2)
                continue;
            std::array<brisquel::ComboList, CRangeGrid::kClasses> byClass;
            for (const auto &combo : all)
                byClass[std::size_t(CRangeGrid::CellOf(combo.first, combo.second))].push_back(
                    combo);
            for (std::size_t cell = 0; cell < byClass.size() && !m_stopWanted; ++cell) {
                if (byClass[cell].empty())
                    continue;
                EquitySetup one = setup;
                one.players[p].combos = byClass[cell];
                one.exact = brisquel::CountExactShowdowns(one, kMaxClassShowdowns) <=
                            kMaxClassShowdowns;
                one.trials = kClassTrials;
                one.progress = [this](double) { return !m_stopWanted.load(); };
                const EquityResult r = brisquel::CalculateEquity(one);
                if (r.ok)
                    cells[cell] = r.players[p].equity;
                QMetaObject::invokeMethod(
                    this, [this, cell] { onProgress(double(cell + 1) / 169.0, true); },
                    Qt::QueuedConnection);
            }
            setup.players[p].combos = all;
        }
        if (m_stopWanted && out.result.ok) {
            out.result.ok = false;
            out.result.error = "the calculation was stopped";
        }
        QMetaObject::invokeMethod(
            this, [this, out] { onFinished(out); }, Qt::QueuedConnection);
    });
}

void CEquityLabWindow::onStop()
{
    m_stopWanted = true;
    m_status->setText(QStringLiteral("Stopping…"));
}

void CEquityLabWindow::onProgress(double done, bool heat)
{
    m_progress->setValue(int(done * 1000));
    if (heat)
        m_status->setText(QStringLiteral("Equity of each hand class…"));
}

void CEquityLabWindow::onFinished(const Outcome &outcome)
{
    if (m_worker.joinable())
        m_worker.join();
    setRunning(false);
    const EquityResult &r = outcome.result;
    if (!r.ok) {
        const QString error = QString::fromStdString(r.error);
        m_status->setText(error.isEmpty() ? QString() : error.at(0).toUpper() + error.mid(1) + u'.');
        emit finished();
        return;
    }
    const QLocale locale;
    for (std::size_t p = 0; p < r.players.size(); ++p) {
        const brisquel::PlayerEquity &e = r.players[p];
        m_rows[p].result->setText(
            QStringLiteral("win %1   tie %2   equity %3   %4")
                .arg(Percent(e.win), Percent(e.tie), Percent(e.equity),
                     r.exact ? QStringLiteral("exact")
                             : QStringLiteral("± ") + Percent(e.stdError)));
    }
    m_status->setText(
        r.exact ? QStringLiteral("Exact: %1 deals, %2 showdowns evaluated.")
                      .arg(locale.toString(qulonglong(r.deals)),
                           locale.toString(qulonglong(r.showdowns)))
                : QStringLiteral("Sampled: %1 deals on %2 threads.")
                      .arg(locale.toString(qulonglong(r.deals)))
                      .arg(r.threads));
    m_heat = outcome.heat;
    m_heatFits.assign(m_heat.size(), true);
    choosePlayer(m_chosen);
    emit finished();
}
