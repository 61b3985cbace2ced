#include "ui/equity_lab/EquityLabWindow.h"
#include "ui/app/WindowFit.h"

#include "pokerlib/CardNames.h"
#include "ui/calculator/DlgCards.h"
#include "ui/equity_lab/RangeGrid.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
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

#include <cmath>
#include <random>

using brisquel::EquityResult;
using brisquel::EquitySetup;
using namespace Qt::Literals::StringLiterals;

namespace {

// Exact heat-map cells up to this many showdowns each; sampled beyond.
constexpr std::uint64_t kMaxClassShowdowns = 2'000'000;
constexpr int kDefaultPlayers = 2;
constexpr double kAllCombos = 1326; // two-card hands of a deck

QString Percent(double v)
{
    return QString::number(100 * v, 'f', 2) + QStringLiteral(" %");
}

const QRegularExpression &CardSeparators()
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    return separators;
}

// Cards written "Ah Kd 2c" (blanks or commas between); false with a message on a bad word.
bool ReadCards(const QString &text, const QString &what, std::vector<int> &cards, QString &message)
{
    for (const QString &word : text.split(CardSeparators(), Qt::SkipEmptyParts)) {
        const int card = brisquel::ParseCard(word.toStdString());
        if (card < 0) {
            message = QCoreApplication::translate("CEquityLabWindow", "%1: '%2' is not a card")
                          .arg(what, word);
            return false;
        }
        cards.push_back(card);
    }
    return true;
}

// The cards among the words of text, the other words left out.
QList<int> CardsIn(const QString &text)
{
    QList<int> cards;
    for (const QString &word : text.split(CardSeparators(), Qt::SkipEmptyParts))
        if (const int card = brisquel::ParseCard(word.toStdString()); card >= 0)
            cards.append(card);
    return cards;
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
    setWindowTitle(tr("Equity lab"));
    setAttribute(Qt::WA_DeleteOnClose);

    // Made in the order the focus moves through them.
    QGroupBox *playersBox = createPlayersBox();
    QGroupBox *cardsBox = createCardsBox();
    QGroupBox *gridBox = createGridBox();
    QHBoxLayout *runRow = createRunRow();

    auto *left = new QVBoxLayout;
    left->addWidget(playersBox, 1);
    left->addWidget(cardsBox);
    left->addLayout(runRow);
    left->addWidget(m_status);
    auto *main = new QHBoxLayout(this);
    main->addLayout(left, 3);
    main->addWidget(gridBox, 2);

    connect(m_players, &QSpinBox::valueChanged, this, &CEquityLabWindow::showPlayers);
    connect(m_players, &QSpinBox::valueChanged, this, &CEquityLabWindow::onInputChanged);
    m_players->setValue(kDefaultPlayers);
    showPlayers(kDefaultPlayers);
    m_rows[0].choice->setChecked(true);
    setRunning(false);
    ResizeWithinScreen(this, QSize(1100, 560));
}

QGroupBox *CEquityLabWindow::createPlayersBox()
{
    auto *playersBox = new QGroupBox(tr("Players"), this);
    auto *rows = new QGridLayout(playersBox);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(tr("Players:"), playersBox));
    m_players = new QSpinBox(playersBox);
    m_players->setRange(2, kMaxPlayers);
    countRow->addWidget(m_players);
    countRow->addWidget(new QLabel(tr("Empty: a random hand. A hand (AhKd), a range "
                                      "(QQ+,AKs) or top15%."),
                                   playersBox));
    countRow->addStretch(1);
    rows->addLayout(countRow, 0, 0, 1, 4);
    auto *choices = new QButtonGroup(this);
    for (int p = 0; p < kMaxPlayers; ++p) {
        Row &row = m_rows[std::size_t(p)];
        row.choice = new QRadioButton(tr("Player %1").arg(p + 1), playersBox);
        row.choice->setToolTip(tr("Show this player's range on the grid"));
        choices->addButton(row.choice, p);
        row.edit = new QLineEdit(playersBox);
        row.edit->setPlaceholderText(tr("random"));
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
        connect(row.edit, &QLineEdit::textChanged, this, [this, p] {
            onPlayerEdited(p);
            onInputChanged();
        });
    }
    rows->setRowStretch(kMaxPlayers + 1, 1);
    return playersBox;
}

QGroupBox *CEquityLabWindow::createCardsBox()
{
    auto *cardsBox = new QGroupBox(tr("Cards"), this);
    auto *cardsGrid = new QGridLayout(cardsBox);
    m_board = new QLineEdit(cardsBox);
    m_board->setPlaceholderText(tr("none, or 3, 4 or 5 cards: Qs Jd 2c"));
    m_pickBoard = new QPushButton(tr("Pick…"), cardsBox);
    m_dead = new QLineEdit(cardsBox);
    m_dead->setPlaceholderText(tr("cards out of play"));
    m_pickDead = new QPushButton(tr("Pick…"), cardsBox);
    cardsGrid->addWidget(new QLabel(tr("Board:"), cardsBox), 0, 0);
    cardsGrid->addWidget(m_board, 0, 1);
    cardsGrid->addWidget(m_pickBoard, 0, 2);
    cardsGrid->addWidget(new QLabel(tr("Dead:"), cardsBox), 1, 0);
    cardsGrid->addWidget(m_dead, 1, 1);
    cardsGrid->addWidget(m_pickDead, 1, 2);
    connect(m_pickBoard, &QPushButton::clicked, this, [this] { pickCards(m_board, m_dead, 5); });
    connect(m_pickDead, &QPushButton::clicked, this, [this] { pickCards(m_dead, m_board, 52); });
    for (QLineEdit *edit : {m_board, m_dead})
        connect(edit, &QLineEdit::textChanged, this, &CEquityLabWindow::onInputChanged);
    return cardsBox;
}

QGroupBox *CEquityLabWindow::createGridBox()
{
    auto *gridBox = new QGroupBox(tr("Range"), this);
    auto *gridLayout = new QVBoxLayout(gridBox);
    m_gridLabel = new QLabel(gridBox);
    m_grid = new CRangeGrid(gridBox);
    auto *topRow = new QHBoxLayout;
    m_topLabel = new QLabel(tr("Top 0 %"), gridBox);
    m_topLabel->setMinimumWidth(
        m_topLabel->fontMetrics().horizontalAdvance(tr("%1 % of hands").arg(99.9)));
    m_top = new QSlider(Qt::Horizontal, gridBox);
    m_top->setRange(0, 100);
    topRow->addWidget(m_topLabel);
    topRow->addWidget(m_top, 1);
    gridLayout->addWidget(m_gridLabel);
    gridLayout->addWidget(m_grid, 1);
    gridLayout->addLayout(topRow);
    connect(m_grid, &CRangeGrid::picked, this, &CEquityLabWindow::onGridPicked);
    connect(m_top, &QSlider::valueChanged, this, &CEquityLabWindow::onTopSlider);
    return gridBox;
}

QHBoxLayout *CEquityLabWindow::createRunRow()
{
    m_calculate = new QPushButton(tr("Calculate"), this);
    m_calculate->setDefault(true);
    m_stop = new QPushButton(tr("Stop"), this);
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
    return runRow;
}

CEquityLabWindow::~CEquityLabWindow()
{
    m_stopWanted = true;
}

void CEquityLabWindow::closeEvent(QCloseEvent *event)
{
    m_stopWanted = true;
    QWidget::closeEvent(event);
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
    m_gridLabel->setText(tr("Player %1: %2").arg(p + 1).arg(m_rows[std::size_t(p)].combos->text()));
    showShare(combos.size());
}

void CEquityLabWindow::showShare(std::size_t combos)
{
    // A typed share reads as the slider writes it; any other range as its share of all hands.
    static const QRegularExpression share(
        QStringLiteral("^\\s*(?:top)?\\s*(\\d+(?:\\.\\d+)?)\\s*%\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch typed = share.match(m_rows[std::size_t(m_chosen)].edit->text());
    const double percent =
        typed.hasMatch() ? typed.captured(1).toDouble() : 100.0 * double(combos) / kAllCombos;
    const QSignalBlocker quiet(m_top);
    m_top->setValue(int(std::lround(percent)));
    m_topLabel->setText(typed.hasMatch() || combos == 0
                            ? tr("Top %1 %").arg(typed.hasMatch() ? typed.captured(1) : u"0"_s)
                            : tr("%1 % of hands").arg(percent, 0, 'f', 1));
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
    m_topLabel->setText(tr("Top %1 %").arg(percent));
    if (m_syncing)
        return;
    // The text keeps the exact share; the grid shows every class it touches.
    m_rows[std::size_t(m_chosen)].edit->setText(percent > 0 ? QStringLiteral("top%1%").arg(percent)
                                                            : QString());
}

void CEquityLabWindow::onPlayerEdited(int p)
{
    Row &row = m_rows[std::size_t(p)];
    const std::string text = row.edit->text().trimmed().toStdString();
    brisquel::ComboList combos;
    std::string error;
    if (text.empty())
        row.combos->setText(tr("random"));
    else if (!brisquel::ParseRange(text, combos, error))
        row.combos->setText(tr("not a range"));
    else if (combos.size() == 1)
        row.combos->setText(tr("one hand"));
    else
        row.combos->setText(tr("%1 combinations").arg(combos.size()));
    row.combos->setToolTip(QString::fromStdString(error));
    if (std::size_t(p) < m_heatFits.size())
        m_heatFits[std::size_t(p)] = false; // the heat map no longer fits the range
    if (p == m_chosen && !m_syncing) {
        m_syncing = true;
        m_grid->setRange(combos);
        m_syncing = false;
        m_grid->clearHeat();
    }
    if (p == m_chosen) {
        m_gridLabel->setText(tr("Player %1: %2").arg(p + 1).arg(row.combos->text()));
        showShare(combos.size());
    }
}

void CEquityLabWindow::onInputChanged()
{
    // Results are for the inputs they were counted from: they go as soon as one changes, and
    // a count under way is stopped, its outcome dropped.
    ++m_inputsVersion;
    bool shown = false;
    for (Row &row : m_rows) {
        shown |= !row.result->text().isEmpty();
        row.result->clear();
    }
    m_grid->clearHeat();
    m_heatFits.assign(m_heatFits.size(), false);
    if (isRunning()) {
        m_stopWanted = true;
        m_status->setText(tr("The inputs changed: the count was stopped. Calculate again."));
    } else if (shown) {
        m_status->setText(tr("The inputs changed: Calculate for new results."));
    }
}

void CEquityLabWindow::pickCards(QLineEdit *edit, const QLineEdit *other, int maxCards)
{
    QString text;
    QList<int> cards, pictures;
    CDlgCards picker(text, cards, pictures, this, maxCards);
    // The picker starts from the cards typed (words that are no cards are dropped) and offers
    // none of the other box's.
    picker.Preselect(CardsIn(edit->text()), CardsIn(other->text()));
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
            message = tr("Player %1: %2").arg(p + 1).arg(QString::fromStdString(error));
            return false;
        }
        setup.players.push_back(std::move(player));
    }
    return ReadCards(m_board->text(), tr("Board"), setup.board, message) &&
           ReadCards(m_dead->text(), tr("Dead"), setup.dead, message);
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
    m_status->setText(tr("Counting…"));
    m_countedVersion = m_inputsVersion;
    m_stopWanted = false;
    m_counting = true;
    setRunning(true);
    setup.seed = (std::uint64_t(std::random_device{}()) << 32) ^ std::random_device{}();
    m_count.start([this, setup](const CBackgroundJobs::Job &job) mutable {
        const auto postProgress = [this, &job](double done, bool heat) {
            job.deliver([this, done, heat] { onProgress(done, heat); });
        };
        int shown = -1;
        bool heat = false;
        // Progress at most once per tenth of a percent, so that the UI thread keeps up.
        setup.progress = [this, &shown, &heat, &postProgress](double done) {
            const int now = int(done * 1000);
            if (now != shown) {
                shown = now;
                postProgress(done, heat);
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
                one.exact =
                    brisquel::CountExactShowdowns(one, kMaxClassShowdowns) <= kMaxClassShowdowns;
                one.trials = kClassTrials;
                one.progress = [this](double) { return !m_stopWanted.load(); };
                const EquityResult r = brisquel::CalculateEquity(one);
                if (r.ok)
                    cells[cell] = r.players[p].equity;
                postProgress(double(cell + 1) / 169.0, true);
            }
            setup.players[p].combos = all;
        }
        if (m_stopWanted && out.result.ok) {
            out.result.ok = false;
            out.result.error = "the calculation was stopped";
        }
        job.deliver([this, out = std::move(out)] { onFinished(out); });
    });
}

void CEquityLabWindow::onStop()
{
    m_stopWanted = true;
    m_status->setText(tr("Stopping…"));
}

void CEquityLabWindow::onProgress(double done, bool heat)
{
    m_progress->setValue(int(done * 1000));
    if (heat)
        m_status->setText(tr("Equity of each hand class…"));
}

void CEquityLabWindow::onFinished(const Outcome &outcome)
{
    m_counting = false;
    setRunning(false);
    const EquityResult &r = outcome.result;
    if (m_countedVersion != m_inputsVersion) {
        emit finished(); // counted from inputs since changed: the status says so already
        return;
    }
    if (!r.ok) {
        const QString error = QString::fromStdString(r.error);
        m_status->setText(error.isEmpty() ? QString()
                                          : error.at(0).toUpper() + error.mid(1) + u'.');
        emit finished();
        return;
    }
    const QLocale locale;
    for (std::size_t p = 0; p < r.players.size(); ++p) {
        const brisquel::PlayerEquity &e = r.players[p];
        m_rows[p].result->setText(
            tr("win %1   tie %2   equity %3   %4")
                .arg(Percent(e.win), Percent(e.tie), Percent(e.equity),
                     r.exact ? tr("exact") : QStringLiteral("± ") + Percent(e.stdError)));
    }
    m_status->setText(r.exact ? tr("Exact: %1 deals, %2 showdowns evaluated.")
                                    .arg(locale.toString(qulonglong(r.deals)),
                                         locale.toString(qulonglong(r.showdowns)))
                              : tr("Sampled: %1 deals on %2 threads.")
                                    .arg(locale.toString(qulonglong(r.deals)))
                                    .arg(r.threads));
    m_heat = outcome.heat;
    m_heatFits.assign(m_heat.size(), true);
    choosePlayer(m_chosen);
    emit finished();
}
