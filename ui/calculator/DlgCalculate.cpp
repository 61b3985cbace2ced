#include "ui/calculator/DlgCalculate.h"

#include "pokerlib/Carrowby.h"
#include "ui/calculator/DlgCards.h"
#include "ui/pictures/Pictures.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

// The wait cursor for the length of a computation.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// The leading decimal integer of a text, 0 if there is none.
int leadingInt(const QString &text)
{
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t[end] == u'-' || t[end] == u'+'))
        ++end;
    while (end < t.size() && t[end].isDigit() && end < 10)
        ++end;
    return t.left(end).toInt();
}

} // namespace

CDlgCalculate::CDlgCalculate(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Dunmere"));
    auto *grid = new QGridLayout(this);

    auto addRow = [&](int row, const QString &label, QLineEdit *&edit, bool readOnly,
                      QPushButton **dots) {
        grid->addWidget(new QLabel(label, this), row, 0);
        edit = new QLineEdit(this);
        edit->setReadOnly(readOnly);
        grid->addWidget(edit, row, 1);
        if (dots) {
            *dots = new QPushButton(QStringLiteral("..."), this);
            (*dots)->setFixedWidth(32);
            (*dots)->setAutoDefault(false);
            grid->addWidget(*dots, row, 2);
        }
    };
    QPushButton *flopDots = nullptr;
    QPushButton *turnDots = nullptr;
    QPushButton *riverDots = nullptr;
    addRow(0, tr("CountOfPlayers"), m_countEdit, false, nullptr);
    addRow(1, tr("MyHand (2 cards)"), m_handEdit, true, &m_handButton);
    addRow(2, tr("Flop (3 cards)"), m_flopEdit, true, &flopDots);
    addRow(3, tr("Turn (1 card)"), m_turnEdit, true, &turnDots);
    addRow(4, tr("River (1 card)"), m_riverEdit, true, &riverDots);
    addRow(5, tr("P"), m_resultEdit, true, nullptr);

    m_calculate =
        new QPushButton(Pictures::button(Pictures::ButtonPicture::Ok), tr("Calculate"), this);
    m_cancel =
        new QPushButton(Pictures::button(Pictures::ButtonPicture::Cancel), tr("Cancel"), this);
    for (QPushButton *b : {m_calculate, m_cancel}) {
        b->setIconSize(QSize(16, 16));
        b->setCursor(Qt::PointingHandCursor);
    }
    m_calculate->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_calculate);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 6, 0, 1, 3);

    connect(m_handButton, &QPushButton::clicked, this, &CDlgCalculate::OnHandButton);
    for (QPushButton *b : {flopDots, turnDots, riverDots})
        connect(b, &QPushButton::clicked, this, &CDlgCalculate::OnBoardButton);
    connect(m_calculate, &QPushButton::clicked, this, &CDlgCalculate::OnCalculate);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_runPicker = [](CDlgCards &picker) { return picker.exec(); };
    m_showMessage = [this](const QString &text) {
        QMessageBox::information(this, windowTitle(), text);
    };
    UpdateData(false);
}

void CDlgCalculate::UpdateData(bool saveAndValidate)
{
    struct Field
    {
        QString *member;
        QLineEdit *edit;
    };
    const Field fields[] = {{&m_countOfPlayers, m_countEdit},
                            {&m_myHand, m_handEdit},
                            {&m_flop, m_flopEdit},
                            {&m_turn, m_turnEdit},
                            {&m_river, m_riverEdit},
                            {&m_result, m_resultEdit}};
    for (const Field &f : fields) {
        if (saveAndValidate)
            *f.member = f.edit->text();
        else if (f.edit->text() != *f.member)
            f.edit->setText(*f.member);
    }
}

void CDlgCalculate::OnHandButton()
{
    // Keep what the user typed: the refresh after the picker writes every field back.
    UpdateData(true);
    // The picker starts empty, so the old hand goes now, whatever the picker's outcome.
    m_hand.clear();
    QList<int> pictures;
    CDlgCards picker(m_myHand, m_hand, pictures, this);
    m_runPicker(picker);
    UpdateData(false);
}

void CDlgCalculate::OnBoardButton()
{
    UpdateData(true); // a typed player count must survive the refresh
    UpdateData(false);
}

void CDlgCalculate::OnCalculate()
{
    m_resultEdit->clear();
    UpdateData(true);

    // The hand list can be short (nothing picked, one card, or a Cancel that emptied it):
    // the library must only ever see two valid cards.
    const bool valid = m_hand.size() >= 2 && m_hand[0] >= 0 && m_hand[0] < 52 && m_hand[1] >= 0 &&
                       m_hand[1] < 52 && m_hand[0] != m_hand[1];
    if (!valid) {
        m_showMessage(tr("Choose the two cards of MyHand first."));
        return;
    }
    const int hole[2] = {m_hand[0], m_hand[1]};
    const int board[5] = {-1, -1, -1, -1, -1}; // not read with a board count of 0
    const int players = leadingInt(m_countOfPlayers);
    double probability = 0.0;
    {
        WaitCursor wait;
        PokerLogic logic;
        probability = logic.getProbabilityOfWin(hole, board, 0, players);
    }
    m_result = QString::asprintf("%.4f", probability);
    UpdateData(false);
}
