#include "ui/action_panel/DlgPlayerChoose.h"

#include "engine/Game.h"
#include "ui/pictures/Pictures.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QThread>

#include <algorithm>
#include <condition_variable>

namespace {

// Dialog units of the panel's layout to pixels (the base units of an 8-point dialog font).
QRect dlu(int x, int y, int w, int h)
{
    auto px = [](int v) { return v * 3 / 2; };
    auto py = [](int v) { return v * 13 / 8; };
    return QRect(px(x), py(y), px(w), py(h));
}

// The leading decimal integer of a text, 0 if there is none (as atoi reads it).
int leadingInt(const QString &text)
{
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long v = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        v = v * 10 + (text[i].unicode() - u'0');
        if (v > 2147483647LL) { // chips are 32-bit: saturate instead of wrapping
            v = 2147483647LL;
            break;
        }
    }
    return int(negative ? -v : v);
}

void setTextIfChanged(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CDlgPlayerChoose

struct CDlgPlayerChoose::PendingPrepare
{
    std::mutex mutex;
    std::condition_variable cv;
    bool abandoned = false;
    int sliderMax = 0;
    unsigned requested = 0; // requests made and prepares run, counted to match them up
    unsigned served = 0;
};

CDlgPlayerChoose::CDlgPlayerChoose(CDunmereGame &game, QWidget *parent)
    : QWidget(parent)
    , m_game(game)
    , m_table(game.m_table)
    , m_pending(std::make_shared<PendingPrepare>())
{
    CreateControls();

    // Initial update: nothing offered yet, every control hidden until the first decision.
    {
        auto lock = m_game.LockState();
        m_sliderPos = m_table.m_amountToCall;
    }
    m_raiseAmount = 0;
    m_editText = QString::number(m_sliderPos);
    HideAll();
    UpdateData(false);

    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &CDlgPlayerChoose::AbandonPendingPrepare);
    // A queued signal, not a queued lambda: Qt allocates the event, and the request travels
    // under the pending mutex, where ThreadSanitizer sees it.
    connect(this, &CDlgPlayerChoose::prepareRequested, this, &CDlgPlayerChoose::RunPendingPrepare,
            Qt::QueuedConnection);
}

CDlgPlayerChoose::~CDlgPlayerChoose()
{
    AbandonPendingPrepare();
}

CDlgPlayerChoose *CDlgPlayerChoose::CreatePanel(CDunmereGame &game, QWidget *parent)
{
    auto *panel = new CDlgPlayerChoose(game, parent);
    panel->move(0, 0);
    panel->show();
    return panel;
}

void CDlgPlayerChoose::CreateControls()
{
    setAutoFillBackground(false);
    auto makeButton = [this](const QString &caption, QRect r) {
        auto *b = new QPushButton(caption, this);
        b->setGeometry(r);
        b->setFocusPolicy(Qt::TabFocus);
        b->installEventFilter(this); // the panel draws the focus ring
        // Opaque buttons: a button's own repaint must not re-run the panel's caption paint.
        b->setAutoFillBackground(true);
        QPalette pal = b->palette();
        pal.setColor(QPalette::Window, QColor::fromRgb(kPanelColour));
        b->setPalette(pal);
        return b;
    };
    m_fold = makeButton(tr("FOLD"), dlu(14, 8, 86, 24));
    m_checkCall = makeButton(tr("CHECK"), dlu(108, 8, 86, 24));
    m_raise = makeButton(tr("RAISE"), dlu(202, 8, 86, 24));
    m_min = makeButton(tr("MIN"), dlu(28, 43, 50, 14));
    m_half = makeButton(QStringLiteral("1/2"), dlu(77, 43, 50, 14));
    m_threeQuarters = makeButton(QStringLiteral("3/4"), dlu(126, 43, 50, 14));
    m_pot = makeButton(tr("POT"), dlu(175, 43, 50, 14));
    m_max = makeButton(tr("MAX"), dlu(224, 43, 50, 14));
    m_minus = makeButton(QStringLiteral("-"), dlu(160, 69, 16, 14));
    m_plus = makeButton(QStringLiteral("+"), dlu(177, 69, 16, 14));

    const QSize picture(Pictures::kButtonPictureSize, Pictures::kButtonPictureSize);
    m_fold->setIcon(Pictures::button(Pictures::ButtonPicture::Fold));
    m_checkCall->setIcon(Pictures::button(Pictures::ButtonPicture::CheckCall));
    m_raise->setIcon(Pictures::button(Pictures::ButtonPicture::Raise));
    for (QPushButton *b : {m_fold, m_checkCall, m_raise}) {
        b->setIconSize(picture);
        b->setCursor(Qt::PointingHandCursor);
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }

    m_slider = new CMySliderControl(this, this);
    m_slider->setGeometry(dlu(44, 69, 110, 15));
    m_slider->SetThumbColours(QColor::fromRgb(kThumbColour), QColor::fromRgb(kThumbPressedColour));
    m_slider->installEventFilter(this);

    m_edit = new QLineEdit(this);
    m_edit->setGeometry(dlu(202, 65, 86, 20));
    m_edit->setAutoFillBackground(true);
    m_edit->installEventFilter(this);
    // A slider that moves speaks for the amount again: neither typed text nor the amount
    // Enter set is kept against it.
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        m_edit->setModified(false);
        if (value != m_enteredAmount)
            m_enteredAmount = -1;
    });

    const QRect all = dlu(0, 0, 305, 101);
    setMinimumSize(all.size());

    connect(m_fold, &QPushButton::clicked, this, &CDlgPlayerChoose::OnFold);
    connect(m_checkCall, &QPushButton::clicked, this, &CDlgPlayerChoose::OnCheckCall);
    connect(m_raise, &QPushButton::clicked, this, &CDlgPlayerChoose::OnRaise);
    connect(m_minus, &QPushButton::clicked, this, &CDlgPlayerChoose::OnMinus);
    connect(m_plus, &QPushButton::clicked, this, &CDlgPlayerChoose::OnPlus);
    connect(m_min, &QPushButton::clicked, this, &CDlgPlayerChoose::OnMin);
    connect(m_half, &QPushButton::clicked, this, &CDlgPlayerChoose::OnHalf);
    connect(m_threeQuarters, &QPushButton::clicked, this, &CDlgPlayerChoose::OnThreeQuarters);
    connect(m_pot, &QPushButton::clicked, this, &CDlgPlayerChoose::OnPot);
    connect(m_max, &QPushButton::clicked, this, &CDlgPlayerChoose::OnMax);

    // Keys as other poker programs have them; they act only while a decision is prepared and
    // only through a control that is shown and enabled.
    auto key = [this](Qt::Key k, QPushButton *target) {
        auto *shortcut = new QShortcut(QKeySequence(k), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, target] {
            if (m_prepared && !target->isHidden() && target->isEnabled())
                target->click();
        });
    };
    key(Qt::Key_F1, m_fold);
    key(Qt::Key_F2, m_checkCall);
    key(Qt::Key_F3, m_raise);
    key(Qt::Key_F4, m_max);
}

CDlgPlayerChoose::Amounts CDlgPlayerChoose::ReadAmounts() const
{
    auto lock = m_game.LockState();
    Amounts a;
    a.A = m_table.m_amountToCall;
    a.BB = m_table.m_bigBlind;
    a.S = m_table.m_stack[0];
    a.H = m_table.m_bet[0];
    a.P = m_table.m_pot;
    a.minTotal = m_table.m_raises.MinRaiseTotal();
    // Nobody left to answer a raise when every other player still in is all in.
    a.mayRaise = m_table.m_raises.MayRaise(0) && m_table.AnotherCanAct(0);
    for (int i = 0; i < m_table.m_seatCount && i < 10; ++i)
        a.P += m_table.m_bet[i];
    return a;
}

void CDlgPlayerChoose::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_sliderPos = m_slider->value();
        m_editText = m_edit->text();
    } else {
        if (m_slider->value() != m_sliderPos)
            m_slider->setValue(m_sliderPos);
        setTextIfChanged(m_edit, m_editText);
        m_edit->setModified(false); // the box shows the panel's amount, not the user's typing
    }
}

void CDlgPlayerChoose::PrepareDecision(int sliderMax)
{
    if (QThread::currentThread() == thread()) {
        m_slider->setRange(0, std::max(0, sliderMax));
        PrepareDecision();
        return;
    }
    // Queue to the UI thread and wait until it has run; an abandoned wait (program closing)
    // returns at once so that the game thread can be shut down.
    std::shared_ptr<PendingPrepare> gate = m_pending;
    unsigned ticket = 0;
    {
        std::lock_guard<std::mutex> lock(gate->mutex);
        gate->sliderMax = sliderMax;
        ticket = ++gate->requested;
    }
    emit prepareRequested();
    std::unique_lock<std::mutex> lock(gate->mutex);
    gate->cv.wait(lock, [&] { return gate->served >= ticket || gate->abandoned; });
}

void CDlgPlayerChoose::RunPendingPrepare()
{
    int sliderMax = 0;
    unsigned ticket = 0;
    {
        std::lock_guard<std::mutex> lock(m_pending->mutex);
        if (m_pending->served == m_pending->requested)
            return;
        sliderMax = m_pending->sliderMax;
        ticket = m_pending->requested;
    }
    m_slider->setRange(0, std::max(0, sliderMax));
    PrepareDecision();
    {
        std::lock_guard<std::mutex> lock(m_pending->mutex);
        m_pending->served = ticket;
    }
    m_pending->cv.notify_all();
}

void CDlgPlayerChoose::AbandonPendingPrepare()
{
    {
        std::lock_guard<std::mutex> lock(m_pending->mutex);
        m_pending->abandoned = true;
    }
    m_pending->cv.notify_all();
}

void CDlgPlayerChoose::PrepareDecision()
{
    const Amounts a = ReadAmounts();
    m_fold->show();
    m_checkCall->show();
    for (QPushButton *b : {m_min, m_max})
        b->setEnabled(true);
    // A fraction of the pot below the minimum raise is no amount the rules allow.
    m_half->setEnabled(a.Legal(a.P / 2));
    m_threeQuarters->setEnabled(a.Legal(a.P / 4 * 3));
    m_pot->setEnabled(a.Legal(a.P));

    const bool canRaise = a.Aplus() < a.S + a.H && a.mayRaise;
    // The slider does not reach below the smallest legal total.
    m_slider->setMinimum(canRaise ? std::min(a.T(), m_slider->maximum()) : 0);
    const int M = a.M();
    m_slider->SetPosRemembered(M);
    m_slider->m_offered = std::min(M, a.S + a.H);
    // The bet offered until the slider or a sizing button says otherwise; without this a bet
    // would use the amount left over from an earlier decision when the rounding does not apply.
    m_raiseAmount = m_slider->m_offered;

    if (canRaise) {
        m_allInOnly = 0;
        for (QWidget *w :
             std::initializer_list<QWidget *>{m_slider, m_plus, m_minus, m_raise, m_edit, m_min,
                                              m_half, m_threeQuarters, m_pot, m_max})
            w->show();
        m_slider->m_label = QString::number(m_slider->m_offered);
        if (a.A > 0 && !m_slider->isHidden()) {
            m_slider->SetPosRemembered(m_slider->m_offered);
            m_slider->m_label = QString::number(m_slider->m_offered);
        }
    } else {
        for (QWidget *w :
             std::initializer_list<QWidget *>{m_raise, m_slider, m_minus, m_plus, m_edit, m_min,
                                              m_half, m_threeQuarters, m_pot, m_max})
            w->hide();
        m_allInOnly = 1;
    }
    m_sliderPos = m_slider->value();
    m_editText = QString::number(m_raiseAmount);
    setTextIfChanged(m_edit, m_editText);
    m_edit->setModified(false);
    m_enteredAmount = -1;
    m_prepared = true;
    update();
}

void CDlgPlayerChoose::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgb(kPanelColour));
    // The style's own focus mark is faint on the dark panel: a ring round the control that has
    // the keyboard focus (the amount box shows its cursor).
    if (const QWidget *focused = focusWidget();
        focused && focused != m_edit && focused->hasFocus() && focused->isVisible()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor::fromRgb(kFocusColour), 2));
        p.drawRoundedRect(QRectF(focused->geometry()).adjusted(-2.5, -2.5, 2.5, 2.5), 3, 3);
    }
    SetCaptions();
}

void CDlgPlayerChoose::SetCaptions()
{
    if (!m_prepared)
        return;
    const Amounts a = ReadAmounts();
    if (a.A <= 0) {
        m_checkCall->setText(tr("CHECK"));
        m_raise->setText(tr("BET %1").arg(m_raiseAmount));
    } else if (m_allInOnly) {
        // Raising closed: the button calls, and calling may or may not take every chip.
        m_checkCall->setText(a.A - a.H >= a.S ? tr("ALL IN") : tr("CALL %1").arg(a.A - a.H));
    } else {
        m_checkCall->setText(a.A == a.H ? tr("CHECK") : tr("CALL %1").arg(a.A - a.H));
        m_raise->setText(tr("RAISE TO %1").arg(m_raiseAmount));
        // Text the user is typing stays until Enter, a click or a slider move takes it.
        if (!m_edit->isModified()) {
            m_editText = QString::number(m_raiseAmount);
            setTextIfChanged(m_edit, m_editText);
        }
    }
}

void CDlgPlayerChoose::HideAll()
{
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_slider, m_fold, m_raise, m_checkCall, m_plus, m_minus,
                                          m_edit, m_min, m_half, m_threeQuarters, m_pot, m_max})
        w->hide();
    m_prepared = false;
    update();
}

void CDlgPlayerChoose::Decide(int amount, bool fold)
{
    if (!m_prepared)
        return; // a second click before the controls disappeared must not decide twice
    HideAll();
    emit decided(amount, fold);
    m_game.SubmitHumanDecision(amount, fold);
}

void CDlgPlayerChoose::OnFold()
{
    Decide(0, true);
}

void CDlgPlayerChoose::OnCheckCall()
{
    const Amounts a = ReadAmounts();
    Decide(std::max(0, std::min(a.S, a.A - a.H)), false);
}

void CDlgPlayerChoose::OnRaise()
{
    UpdateData(true);
    const Amounts a = ReadAmounts();
    int x = leadingInt(m_editText);
    if (x > a.Top())
        x = a.Top();
    if (a.A <= 0)
        x = m_raiseAmount; // a bet takes the offered amount, not the typed text
    // A typed amount below the minimum raise becomes the minimum (or the whole stack when
    // that is less): the raise button never calls.
    if (x < a.M())
        x = std::min(a.M(), a.Top());
    // Never more than the chips behind, never a negative amount.
    Decide(std::clamp(x - a.H, 0, std::max(0, a.S)), false);
}

void CDlgPlayerChoose::ApplySliderRule()
{
    UpdateData(true);
    const Amounts a = ReadAmounts();
    if (a.BB <= 0)
        return;
    // The slider has not moved since the user typed an amount (with or without Enter): a
    // repaint must not round it away.
    if (m_edit->isModified() || (m_enteredAmount >= 0 && m_sliderPos == m_enteredAmount))
        return;
    int e = a.BB * ((10 * (m_sliderPos / 10)) / a.BB);
    // At the top of its range the slider offers the whole stack: rounding MAX down to a
    // multiple of the big blind would leave chips behind.
    if (m_sliderPos >= a.Top() && m_sliderPos > 0)
        e = a.Top();
    if (e < a.T())
        return;
    m_editText = QString::number(e);
    UpdateData(false);
    m_raiseAmount = e;
    // The slider paints after the panel, so it sets the caption the panel's paint would.
    m_raise->setText(a.A <= 0 ? tr("BET %1").arg(e) : tr("RAISE TO %1").arg(e));
}

void CDlgPlayerChoose::OnMinus()
{
    UpdateData(true);
    const Amounts a = ReadAmounts();
    const int v = m_sliderPos - a.BB;
    if (v >= a.T() && v >= 0) {
        m_editText = QString::number(v);
        m_sliderPos = v;
        UpdateData(false);
        m_slider->SetPosRemembered(v);
        m_raiseAmount = v;
    }
}

void CDlgPlayerChoose::OnPlus()
{
    UpdateData(true);
    const Amounts a = ReadAmounts();
    const int v = m_sliderPos + a.BB;
    if (v >= a.T() && v <= a.Top()) {
        m_editText = QString::number(v);
        m_sliderPos = v;
        UpdateData(false);
        m_slider->SetPosRemembered(v);
        m_raiseAmount = v;
    }
}

// MIN and MAX: offer v on the slider; the amount follows the slider like the other buttons so
// that the raise never keeps an amount from before the click.
void CDlgPlayerChoose::ApplyMinMax(QPushButton *button, int v, int A)
{
    UpdateData(true);
    if (v < A) {
        button->setEnabled(false);
        return;
    }
    m_slider->m_offered = v;
    m_raiseAmount = v;
    m_editText = QString::number(v);
    if (!m_slider->isHidden() && v > 0) {
        m_sliderPos = v;
        UpdateData(false);
        m_slider->SetPosRemembered(v);
    }
    m_slider->m_label = QString::number(v);
    UpdateData(false);
    update();
}

void CDlgPlayerChoose::OnMin()
{
    const Amounts a = ReadAmounts();
    ApplyMinMax(m_min, std::min(a.M(), a.Top()), a.A);
}

void CDlgPlayerChoose::OnMax()
{
    const Amounts a = ReadAmounts();
    ApplyMinMax(m_max, a.Top(), a.A);
}

void CDlgPlayerChoose::ApplySizing(QPushButton *button, int v, bool moveSlider)
{
    UpdateData(true);
    const Amounts a = ReadAmounts();
    if (!a.Legal(v)) {
        button->setEnabled(false);
        return;
    }
    m_raiseAmount = v;
    if (!m_slider->isHidden() && moveSlider) {
        m_sliderPos = v;
        m_editText = QString::number(v);
        UpdateData(false);
        m_slider->SetPosRemembered(v);
    }
    m_editText = QString::number(v);
    UpdateData(false);
    update();
}

void CDlgPlayerChoose::OnHalf()
{
    const int v = ReadAmounts().P / 2;
    ApplySizing(m_half, v, v > 0);
}

void CDlgPlayerChoose::OnThreeQuarters()
{
    const int quarter = ReadAmounts().P / 4;
    ApplySizing(m_threeQuarters, quarter * 3, quarter > 0);
}

void CDlgPlayerChoose::OnPot()
{
    const int v = ReadAmounts().P;
    ApplySizing(m_pot, v, v > 0);
}

void CDlgPlayerChoose::OnEditEnter()
{
    UpdateData(true);
    const Amounts a = ReadAmounts();
    const int x = leadingInt(m_editText);
    if (x > a.Top())
        m_raiseAmount = a.Top();
    else if (x < a.M())
        m_raiseAmount = std::min(a.M(), a.Top()); // never more than the chips there are
    else
        m_raiseAmount = x;
    // The slider shows the amount, and its rule leaves this position unrounded: what Enter set
    // is what BET/RAISE puts in.
    m_enteredAmount = m_raiseAmount;
    m_editText = QString::number(m_raiseAmount);
    m_sliderPos = m_raiseAmount;
    UpdateData(false);
    m_slider->SetPosRemembered(m_raiseAmount);
    m_slider->m_label = m_editText;
    update();
}

bool CDlgPlayerChoose::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update(); // the focus ring moves
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent *>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            OnEditEnter(); // consumed: no button fires
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
