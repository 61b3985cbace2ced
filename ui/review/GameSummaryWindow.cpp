#include "ui/review/GameSummaryWindow.h"

#include "coach/Coach.h"
#include "replay/HandReplay.h"
#include "ui/coach/AdviceText.h"
#include "ui/review/BoundedText.h"
#include "ui/review/ProgressFigures.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr std::uint64_t kSummarySeed = 0x5EED;
constexpr int kSummaryTrials = 4000; // per estimate: enough to rank the costly decisions

QString Signed(double chips)
{
    const long long rounded = std::llround(chips);
    return rounded > 0 ? QStringLiteral("+%1").arg(rounded) : QString::number(rounded);
}

QLabel *Figure(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

CGameSummaryWindow::CGameSummaryWindow(const history::Game &game, bool withCoach, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("GameSummary"));
    setWindowTitle(tr("Game summary"));
    setAttribute(Qt::WA_DeleteOnClose);
    const int seat = replay::PlayerSeat(game);
    m_summary = summary::Summarize(game, seat);
    const QString player =
        seat >= 0 && seat < static_cast<int>(game.seats.size())
            ? BoundedText(QString::fromStdString(game.seats[static_cast<size_t>(seat)].name))
            : QString();

    auto *box = new QVBoxLayout(this);
    auto *heading = new QLabel(
        tr("<b>The game is over.</b> How it went for %1:").arg(player.toHtmlEscaped()), this);
    box->addWidget(heading);
    box->addLayout(makeFigures());
    addPotLines(box, m_summary.biggestWon, QStringLiteral("PotsWon"), tr("Biggest pots won"));
    addPotLines(box, m_summary.biggestLost, QStringLiteral("PotsLost"), tr("Biggest pots lost"));
    if (withCoach && seat >= 0)
        addCostliest(box, game, seat);
    box->addLayout(makeButtons(game));
}

QFormLayout *CGameSummaryWindow::makeFigures()
{
    auto *form = new QFormLayout;
    form->addRow(tr("Hands played"),
                 Figure(QStringLiteral("Hands"), QString::number(m_summary.hands), this));
    form->addRow(tr("Net result"),
                 Figure(QStringLiteral("Net"), tr("%1 chips").arg(Signed(m_summary.net)), this));
    form->addRow(tr("Big blinds per 100 hands"),
                 Figure(QStringLiteral("BbPer100"), Signed(m_summary.bbPer100), this));
    form->addRow(
        tr("Result at all-in equity"),
        Figure(
            QStringLiteral("AllIn"),
            m_summary.allInHands == 0
                ? tr("%1 chips (no all-in before the river)").arg(Signed(m_summary.allInNet))
            : m_summary.allInHands == 1
                ? tr("%1 chips (1 all-in hand paid by its equity)").arg(Signed(m_summary.allInNet))
                : tr("%1 chips (%2 all-in hands paid by their equity)")
                      .arg(Signed(m_summary.allInNet))
                      .arg(m_summary.allInHands),
            this));
    return form;
}

void CGameSummaryWindow::addPotLines(QVBoxLayout *box, const std::vector<summary::PotResult> &pots,
                                     const QString &name, const QString &title)
{
    auto *group = new QGroupBox(title, this);
    auto *lines = new QVBoxLayout(group);
    QStringList texts;
    for (const summary::PotResult &pot : pots)
        texts << tr("Hand #%1: %2 chips of a pot of %3%4")
                     .arg(pot.hand)
                     .arg(Signed(pot.net))
                     .arg(pot.pot)
                     .arg(pot.ending.empty()
                              ? QString()
                              : QStringLiteral(", ") + QString::fromStdString(pot.ending));
    lines->addWidget(Figure(name, texts.isEmpty() ? tr("none") : texts.join(u'\n'), group));
    box->addWidget(group);
}

// The group is filled when the coach's review of the game comes back.
void CGameSummaryWindow::addCostliest(QVBoxLayout *box, const history::Game &game, int seat)
{
    auto *group = new QGroupBox(tr("Decisions that cost most"), this);
    auto *lines = new QVBoxLayout(group);
    QLabel *costly = Figure(QStringLiteral("Costly"), tr("the coach is reviewing…"), group);
    lines->addWidget(costly);
    box->addWidget(group);
    m_coachReady = false;
    m_costly = costly;
    // A long game takes the coach a while: the window stays live meanwhile.
    m_coachJob.start([this, game, seat](const CBackgroundJobs::Job &job) {
        const QString text = CostliestText(game, seat, [&job] { return job.wanted(); });
        job.deliver([this, text] {
            m_costly->setText(text);
            m_coachReady = true;
        });
    });
}

QString CGameSummaryWindow::CostliestText(const history::Game &game, int seat,
                                          const std::function<bool()> &wanted)
{
    coach::Estimator estimator(kSummaryTrials, kSummarySeed);
    std::vector<coach::ReviewRow> rows;
    coach::ReviewSummary review;
    std::string error;
    // The costliest decisions go by their graded loss, as the Progress window's figures do
    // (the same seed: the same grades).
    coach::ReviewOptions options;
    options.seed = kProgressReviewSeed;
    if (!coach::ReviewGame(game, seat, estimator, rows, review, error, wanted, options))
        return BoundedText(QString::fromStdString(error), kMaxMessageChars);
    QStringList texts;
    for (const coach::ReviewRow &row : summary::CostliestDecisions(rows)) {
        const bool graded = row.advice.grade != playout::Grade::NotGraded;
        texts << tr("Hand #%1, %2 %3 %4: %5 (%6)")
                     .arg(row.hand)
                     .arg(QString::fromLatin1(history::StreetName(row.street)),
                          QString::fromLatin1(coach::MoveName(row.move)))
                     .arg(row.amount)
                     .arg(QString::fromStdString(coach::VerdictText(row.verdict, row.advice)))
                     .arg(graded ? QString::fromStdString(coachui::SignedBb(-row.advice.lossBb))
                                 : Signed(-row.chipsLost));
    }
    if (texts.isEmpty())
        texts << tr("none: every decision graded ok");
    return texts.join(u'\n');
}

// A hand to review and the buttons.
QHBoxLayout *CGameSummaryWindow::makeButtons(const history::Game &game)
{
    auto *buttons = new QHBoxLayout;
    m_hands = new QComboBox(this);
    m_hands->setObjectName(QStringLiteral("HandChoice"));
    for (const history::Hand &hand : game.hands)
        m_hands->addItem(tr("Hand #%1").arg(hand.number));
    m_review = new QPushButton(tr("Review hands…"), this);
    m_review->setObjectName(QStringLiteral("ReviewHands"));
    m_review->setEnabled(!game.hands.empty());
    m_close = new QPushButton(tr("Close"), this);
    m_close->setDefault(true);
    buttons->addWidget(m_hands);
    buttons->addWidget(m_review);
    buttons->addStretch(1);
    buttons->addWidget(m_close);

    connect(m_review, &QPushButton::clicked, this,
            [this] { emit reviewRequested(m_hands->currentIndex()); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    return buttons;
}

CGameSummaryWindow::~CGameSummaryWindow() = default;

QString CGameSummaryWindow::figureText(const QString &name) const
{
    const auto *label = findChild<QLabel *>(name);
    return label ? label->text() : QString();
}
