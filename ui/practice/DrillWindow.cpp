#include "ui/practice/DrillWindow.h"

#include "playout/Advisor.h"
#include "practice/PlayRest.h"
#include "ui/practice/MasteryChart.h"
#include "ui/review/OptionBars.h"
#include "ui/review/ReplaySnapshot.h"
#include "ui/table_view/TableCanvas.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <ctime>

namespace {

constexpr std::uint64_t kTypicalSeed = 0xD1177;
constexpr int kTableWidth = 640, kTableHeight = 400;

std::int64_t Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

bool IsBetOrRaise(const playout::Option &option, int toCall)
{
    return (option.kind == playout::OptionKind::Bet || option.kind == playout::OptionKind::Raise ||
            option.kind == playout::OptionKind::AllIn) &&
           option.put > toCall;
}

QPushButton *ActionButton(const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setMinimumHeight(34);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    return button;
}

} // namespace

CDrillWindow::CDrillWindow(QString storePath, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_storePath(std::move(storePath))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Drill"));

    // Made in the order the focus moves through them.
    createLabels();
    QHBoxLayout *answers = createAnswerButtons();
    createSizeRow();
    createGradeArea();
    QHBoxLayout *steps = createStepRow();

    auto *box = new QVBoxLayout(this);
    box->addWidget(m_spotLabel);
    box->addWidget(m_masteryLabel);
    box->addWidget(m_message);
    box->addWidget(m_table, 1);
    box->addLayout(answers);
    box->addLayout(m_sizeBox);
    box->addWidget(m_gradeLabel);
    box->addWidget(m_bars);
    box->addLayout(steps);

    connectControls();
    addShortcuts();
    setAnswering(false);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    dealNext();
}

void CDrillWindow::createLabels()
{
    m_spotLabel = new QLabel(this);
    m_spotLabel->setObjectName(QStringLiteral("spot"));
    m_spotLabel->setWordWrap(true);
    QFont bold = m_spotLabel->font();
    bold.setBold(true);
    m_spotLabel->setFont(bold);
    m_masteryLabel = new QLabel(this);
    m_masteryLabel->setObjectName(QStringLiteral("mastery"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: #3D2E00; background: #FFF4CE; padding: 4px;"));
    m_message->hide();

    m_table = new CTableCanvas(this);
    m_table->setObjectName(QStringLiteral("drillTable"));
    m_table->setMinimumSize(kTableWidth, kTableHeight);
}

QHBoxLayout *CDrillWindow::createAnswerButtons()
{
    auto *answers = new QHBoxLayout;
    m_fold = ActionButton(QStringLiteral("fold"), this);
    m_fold->setText(tr("FOLD"));
    m_checkCall = ActionButton(QStringLiteral("checkCall"), this);
    m_raise = ActionButton(QStringLiteral("raise"), this);
    m_fold->setToolTip(tr("F1"));
    m_checkCall->setToolTip(tr("F2"));
    m_raise->setToolTip(tr("F3; F4 picks all in"));
    for (QPushButton *button : {m_fold, m_checkCall, m_raise})
        answers->addWidget(button, 1);
    return answers;
}

void CDrillWindow::createSizeRow()
{
    m_sizeBox = new QHBoxLayout;
    m_sizeCaption = new QLabel(tr("Size:"), this);
    m_sizeBox->addWidget(m_sizeCaption);
    m_sizeBox->addStretch(1);
    m_sizes = new QButtonGroup(this);
    m_sizes->setExclusive(true);
}

void CDrillWindow::createGradeArea()
{
    m_gradeLabel = new QLabel(this);
    m_gradeLabel->setObjectName(QStringLiteral("grade"));
    m_gradeLabel->setFont(m_spotLabel->font());
    m_gradeLabel->setWordWrap(true);
    m_bars = new COptionBars(this);
    m_bars->hide();
}

QHBoxLayout *CDrillWindow::createStepRow()
{
    auto *steps = new QHBoxLayout;
    m_back = new QPushButton(tr("< Back"), this);
    m_back->setObjectName(QStringLiteral("back"));
    m_forward = new QPushButton(tr("Forward >"), this);
    m_forward->setObjectName(QStringLiteral("forward"));
    m_back->setToolTip(tr("The rest of the hand after your answer, one step back"));
    m_forward->setToolTip(
        tr("The rest of the hand after your answer as the opponents' models play it, one step on"));
    m_stepLabel = new QLabel(this);
    m_stepLabel->setObjectName(QStringLiteral("step"));
    m_next = new QPushButton(tr("Next spot"), this);
    m_next->setObjectName(QStringLiteral("next"));
    steps->addWidget(m_back);
    steps->addWidget(m_forward);
    steps->addWidget(m_stepLabel, 1);
    steps->addWidget(m_next);
    return steps;
}

void CDrillWindow::connectControls()
{
    connect(m_fold, &QPushButton::clicked, this, [this] { answer(practice::Answer::Fold); });
    connect(m_checkCall, &QPushButton::clicked, this, [this] { answer(practice::Answer::Call); });
    connect(m_raise, &QPushButton::clicked, this, [this] { answer(practice::Answer::Raise); });
    connect(m_back, &QPushButton::clicked, this, [this] { showStep(m_step - 1); });
    connect(m_forward, &QPushButton::clicked, this, [this] { showStep(m_step + 1); });
    connect(m_next, &QPushButton::clicked, this, &CDrillWindow::dealNext);
    connect(m_sizes, &QButtonGroup::idClicked, this, [this] { setAnswering(!m_answered); });
}

void CDrillWindow::addShortcuts()
{
    const auto key = [this](Qt::Key k, const std::function<void()> &act) {
        auto *shortcut = new QShortcut(QKeySequence(k), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, act);
    };
    const auto click = [](QPushButton *button) {
        if (button->isVisible() && button->isEnabled())
            button->click();
    };
    key(Qt::Key_F1, [this, click] { click(m_fold); });
    key(Qt::Key_F2, [this, click] { click(m_checkCall); });
    key(Qt::Key_F3, [this, click] { click(m_raise); });
    key(Qt::Key_F4, [this, click] {
        const QList<QAbstractButton *> sizes = m_sizes->buttons();
        if (!sizes.isEmpty())
            click(static_cast<QPushButton *>(sizes.back()));
    });
}

QList<QPushButton *> CDrillWindow::sizeButtons() const
{
    QList<QPushButton *> buttons;
    for (QAbstractButton *button : m_sizes->buttons())
        buttons.push_back(static_cast<QPushButton *>(button));
    return buttons;
}

void CDrillWindow::run(CBackgroundJobs::Work work)
{
    ++m_busy;
    m_next->setEnabled(false);
    m_jobs.queue([this, work = std::move(work)](const CBackgroundJobs::Job &job) {
        work(job);
        job.deliver([this] { m_next->setEnabled(--m_busy == 0); });
    });
}

void CDrillWindow::dealNext()
{
    // The jobs of the spot shown are no longer wanted: what they still deliver, their end
    // included, is dropped, and one not begun does not run ("Next spot" waits for their end).
    m_jobs.stop();
    m_busy = 0;
    const std::string last = m_dealt ? m_dealt->spot.key() : std::string();
    setAnswering(false);
    m_gradeLabel->clear();
    m_bars->hide();
    setMessage(m_dealt ? QString() : tr("Dealing the spot due now…"));
    run([this, last](const CBackgroundJobs::Job &job) {
        std::string error;
        if (!m_storeOpen) {
            if (!m_store.Open(m_storePath.toStdString(), error)) {
                job.deliver([this, error] { setMessage(QString::fromStdString(error)); });
                return;
            }
            m_storeOpen = true;
            if (m_store.rebuilt())
                m_storeNotice = m_store.notice();
        }
        practice::Deal deal;
        const std::int64_t now = Now();
        const bool read = practice::DealNext(m_store, now, last, deal, error);
        std::string mastery;
        if (read && deal.found)
            mastery = practice::MasteryLine(deal.spots, deal.tries, deal.dealt.spot.leak,
                                            kMasteryTries, now);
        m_deal = deal;
        job.deliver([this, read, error, deal = std::move(deal), mastery, notice = m_storeNotice] {
            if (!read) {
                setMessage(QString::fromStdString(error));
                return;
            }
            showDeal(deal);
            m_masteryLabel->setText(
                deal.found ? tr("This leak: %1").arg(QString::fromStdString(mastery)) : QString());
            QStringList lines;
            if (!notice.empty())
                lines << QString::fromStdString(notice);
            for (const std::string &skipped : deal.skipped)
                lines << tr("Passed over: %1").arg(QString::fromStdString(skipped));
            if (deal.spots.empty())
                lines << tr("The practice deck is empty: brisquel-cli drill --deck adds the spots "
                            "you got wrong in your games.");
            else if (!deal.found)
                lines << tr("No spot is due now: come back later.");
            setMessage(lines.join(QLatin1Char('\n')));
        });
    });
}

void CDrillWindow::showDeal(const practice::Deal &deal)
{
    m_answered = false;
    m_dealt.reset();
    m_replay.reset();
    m_rest.clear();
    for (QAbstractButton *button : m_sizes->buttons()) {
        m_sizes->removeButton(button);
        delete button;
    }
    if (!deal.found) {
        m_spotLabel->clear();
        m_table->setSnapshot({});
        m_stepLabel->clear();
        setAnswering(false);
        return;
    }
    m_dealt = deal.dealt;
    const practice::Spot &spot = m_dealt->spot;
    m_replay = std::make_unique<replay::HandReplay>(m_dealt->hand, m_dealt->seat);
    m_askStep = 0;
    for (int s = 0; s < m_replay->count(); ++s)
        if (m_replay->at(s).actionIndex == m_dealt->action) {
            m_askStep = std::max(0, s - 1);
            break;
        }
    m_spotLabel->setText(
        QString::fromStdString(practice::LeakName(spot.leak) + "\n" + practice::SpotLine(spot)));
    const auto call =
        std::find_if(spot.options.begin(), spot.options.end(), [](const playout::Option &o) {
            return o.kind == playout::OptionKind::Check || o.kind == playout::OptionKind::Call;
        });
    m_checkCall->setText(
        spot.toCall == 0 ? tr("CHECK")
                         : tr("CALL %1").arg(call != spot.options.end() ? call->put : spot.toCall));
    // The sizes the coach valued, smallest first; the largest is all in when it is offered.
    int id = 0;
    for (const playout::Option &option : spot.options) {
        if (!IsBetOrRaise(option, spot.toCall))
            continue;
        auto *size = new QPushButton(QString::fromStdString(playout::OptionLabel(option)), this);
        size->setObjectName(QStringLiteral("size%1").arg(id));
        size->setCheckable(true);
        m_sizes->addButton(size, id++);
        m_sizeBox->insertWidget(m_sizeBox->count() - 1, size);
        size->setProperty("total", option.total);
        size->setProperty("raise", option.kind != playout::OptionKind::Bet);
    }
    if (!m_sizes->buttons().isEmpty())
        m_sizes->buttons().front()->setChecked(true);
    m_sizeCaption->setVisible(!m_sizes->buttons().isEmpty());
    showStep(m_askStep);
    setAnswering(true);
}

void CDrillWindow::setAnswering(bool on)
{
    const QAbstractButton *size = m_sizes->checkedButton();
    m_raise->setText(!size ? tr("BET / RAISE")
                     : size->property("raise").toBool()
                         ? tr("RAISE TO %1").arg(size->property("total").toInt())
                         : tr("BET %1").arg(size->property("total").toInt()));
    const bool mayFold =
        m_dealt &&
        std::any_of(m_dealt->spot.options.begin(), m_dealt->spot.options.end(),
                    [](const playout::Option &o) { return o.kind == playout::OptionKind::Fold; });
    m_fold->setEnabled(on && mayFold);
    m_checkCall->setEnabled(on);
    m_raise->setEnabled(on && size);
    for (QAbstractButton *button : m_sizes->buttons())
        button->setEnabled(on);
}

void CDrillWindow::answer(practice::Answer::Kind kind)
{
    if (!m_dealt || m_answered)
        return;
    practice::Answer answer{kind, 0};
    if (kind == practice::Answer::Raise) {
        const QAbstractButton *size = m_sizes->checkedButton();
        if (!size)
            return;
        answer.to = size->property("total").toInt();
    }
    m_answered = true;
    setAnswering(false);
    m_gradeLabel->setText(tr("Grading…"));
    const std::string key = m_dealt->spot.key();
    const std::shared_ptr<const playout::HandSoFar> soFar = m_dealt->soFar;
    run([this, key, answer, soFar, millis = m_typicalMillis](const CBackgroundJobs::Job &job) {
        auto spot = std::find_if(m_deal.spots.begin(), m_deal.spots.end(),
                                 [&](const practice::Spot &s) { return s.key() == key; });
        if (spot == m_deal.spots.end()) {
            job.deliver([this] { setMessage(tr("The spot is no longer in the deck.")); });
            return;
        }
        const std::int64_t now = Now();
        practice::Graded graded;
        std::string error, saveError;
        if (!practice::AnswerSpot(m_store, *spot, answer, now, graded, error, saveError)) {
            job.deliver([this, error] {
                m_answered = false;
                setAnswering(true);
                m_gradeLabel->clear();
                setMessage(QString::fromStdString(error));
            });
            return;
        }
        if (saveError.empty())
            m_deal.tries.push_back({key, now, graded.right, graded.advice.lossBb});
        const std::string mastery =
            practice::MasteryLine(m_deal.spots, m_deal.tries, spot->leak, kMasteryTries, now);
        job.deliver([this, graded, saveError, mastery] { showGraded(graded, saveError, mastery); });
        if (!soFar)
            return;
        // The rest of the hand as the models play it after this answer.
        const playout::Option &taken =
            graded.advice.options[static_cast<size_t>(graded.advice.chosen)];
        practice::RestOfHand rest =
            practice::PlayRest(*soFar, answer.kind == practice::Answer::Fold ? 0 : taken.put,
                               answer.kind == practice::Answer::Fold, kTypicalSeed);
        if (!rest.steps.empty())
            job.deliver([this, rest = std::move(rest)] {
                m_rest = rest.steps;
                m_restHand = m_dealt->hand;
                m_restHand.board = rest.board;
                showStep(m_step);
            });
        // Then the same options against a typical player, beside the bars.
        playout::Advice both = graded.advice;
        practice::AddTypical(*soFar, millis, kTypicalSeed, both);
        if (!both.standard.empty())
            job.deliver([this, both, exact = graded.exact] { m_bars->setAdvice(both, exact); });
    });
}

void CDrillWindow::showGraded(const practice::Graded &graded, const std::string &saveError,
                              const std::string &mastery)
{
    const playout::Advice &advice = graded.advice;
    const QString best = QString::fromStdString(
        playout::OptionLabel(advice.options[static_cast<size_t>(advice.best)]));
    const QString grade = QString::fromStdString(playout::GradeText(advice));
    m_gradeLabel->setText(graded.right ? tr("Right: %1 (best: %2)").arg(grade, best)
                                       : tr("%1: %2 bb lost against %3")
                                             .arg(grade.left(1).toUpper() + grade.mid(1))
                                             .arg(advice.lossBb, 0, 'f', 2)
                                             .arg(best));
    m_gradeLabel->setStyleSheet(graded.right ? QStringLiteral("color: #1E7B34;")
                                             : QStringLiteral("color: #B3261E;"));
    m_bars->setAdvice(advice, graded.exact);
    m_bars->show();
    m_masteryLabel->setText(tr("This leak: %1").arg(QString::fromStdString(mastery)));
    setMessage(QString::fromStdString(saveError));
    showStep(m_step);
}

void CDrillWindow::showStep(int step)
{
    if (!m_replay || !m_dealt)
        return;
    // Before the answer the hand stops at the decision; after it, the rest can be seen: as the
    // models play it from the answer once they have, else as it was played.
    const bool played = m_rest.empty();
    const int lastStep = !m_answered ? m_askStep
                         : played    ? m_replay->resultStep()
                                     : m_askStep + static_cast<int>(m_rest.size());
    m_step = std::clamp(step, m_askStep, lastStep);
    const bool fromFile = played || m_step == m_askStep;
    const replay::TableState &state =
        fromFile ? m_replay->at(m_step) : m_rest[static_cast<size_t>(m_step - m_askStep - 1)];
    m_table->setSnapshot(SnapshotOfReplay(fromFile ? m_dealt->hand : m_restHand, state));
    m_stepLabel->setText(m_step == m_askStep ? tr("Your decision")
                                             : QString::fromStdString(state.caption));
    m_back->setEnabled(m_step > m_askStep);
    m_forward->setEnabled(m_step < lastStep);
}

void CDrillWindow::setMessage(const QString &text)
{
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}
