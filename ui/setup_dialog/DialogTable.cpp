#include "ui/setup_dialog/DialogTable.h"

#include "opponents/Roster.h"
#include "ui/pictures/Pictures.h"
#include "ui/setup_dialog/ListCtrlEx.h"
#include "validation/PlayerName.h"
#include "vocabulary/GameVocabulary.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <climits>

namespace {

constexpr unsigned long long kMaxDialogValue = 4294967295ULL;
constexpr int kNumberColumn = 0;
constexpr int kNickColumn = 1;
constexpr int kStackColumn = 2;
constexpr int kCashTypes = 3; // "Cash", "Double", "Fifty"
constexpr int kDefaultSmallBlind = 10;
constexpr int kDefaultBigBlind = 20;

const char *const kRangeMessage =
    QT_TRANSLATE_NOOP("CDialogTable", "Please enter an integer between 1 and 4294967295.");
const char *const kNotNumberMessage =
    QT_TRANSLATE_NOOP("CDialogTable", "Please enter a positive integer.");
// %1: kMaxChips, the limit the hand-history readers share.
const char *const kChipLimitMessage =
    QT_TRANSLATE_NOOP("CDialogTable", "Chips are counted up to %1: please enter a smaller amount.");
// The fields as the messages name them.
const char *const kSmallBlindField = QT_TRANSLATE_NOOP("CDialogTable", "Small blind (SB)");
const char *const kBigBlindField = QT_TRANSLATE_NOOP("CDialogTable", "Big blind (BB)");
const char *const kPlayerStackField = QT_TRANSLATE_NOOP("CDialogTable", "Stack Player");
const char *const kTableLimitMessage =
    QT_TRANSLATE_NOOP("CDialogTable", "The stacks at the table add up to more than %1 "
                                      "chips: please enter smaller stacks.");

QString Text(const std::string &s)
{
    return QString::fromStdString(s);
}

} // namespace

long long LeadingInteger(const QString &text)
{
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        if (value <= INT_MAX)
            value = value * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    return value;
}

// Dialog units to pixels, from the dialog font as the template's layout expects.
struct CDialogTable::DialogUnits
{
    double x = 1.5;
    double y = 1.625;
    explicit DialogUnits(const QFontMetrics &fm)
    {
        const QString alphabet =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        x = (fm.horizontalAdvance(alphabet) / 26.0 + 1) / 2.0 / 4.0;
        y = fm.height() / 8.0;
    }
    QRect Rect(int left, int top, int w, int h) const
    {
        return QRect(qRound(left * x), qRound(top * y), qRound(w * x), qRound(h * y));
    }
};

CDialogTable::CDialogTable(const GameType types[2], QWidget *parent)
    : QDialog(parent)
{
    m_types[0] = types[0];
    m_types[1] = types[1];
    setWindowTitle(tr("Players"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_showMessage = [this](const QString &text, bool information) {
        if (information)
            QMessageBox::information(this, tr("Brisquel"), text);
        else
            QMessageBox::warning(this, tr("Brisquel"), text);
    };

    // Placed as the dialog's template places them, and made in the order the focus moves.
    const DialogUnits du(fontMetrics());
    setFixedSize(du.Rect(0, 0, 390, 173).size());
    createOkCancel(du);
    createFields(du);
    createSeatList(du);
    createPersonaList(du);
    createSeatingControls(du);

    const std::vector<SeatRow> seating = DefaultSeating();
    for (int i = 0; i < kDefaultRows && i < static_cast<int>(seating.size()); ++i) {
        m_seatList->AddRow({});
        FillSeatRow(i, seating[static_cast<size_t>(i)].name, seating[static_cast<size_t>(i)].stack);
    }
    WriteControls();
    connectControls();
}

void CDialogTable::createOkCancel(const DialogUnits &du)
{
    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setGeometry(du.Rect(137, 149, 50, 14));
    m_okButton->setDefault(true);
    m_okButton->setIcon(QIcon(Pictures::button(Pictures::ButtonPicture::Ok)));
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setGeometry(du.Rect(197, 149, 50, 14));
    m_cancelButton->setIcon(QIcon(Pictures::button(Pictures::ButtonPicture::Cancel)));
    for (QPushButton *b : {m_okButton, m_cancelButton})
        b->setIconSize(QSize(14, 14));
}

void CDialogTable::createFields(const DialogUnits &du)
{
    auto label = [&](const char *text, int x, int y, int w, int h) {
        auto *l = new QLabel(tr(text), this);
        l->setGeometry(du.Rect(x, y - 2, w + 6, h + 4));
    };
    label(QT_TR_NOOP("Count of Players"), 42, 13, 58, 8);
    label(QT_TR_NOOP("SB"), 12, 35, 9, 8);
    label(QT_TR_NOOP("BB"), 99, 35, 9, 8);
    label(QT_TR_NOOP("Stack Player"), 215, 35, 40, 8);
    label(QT_TR_NOOP("Type of Game"), 155, 13, 51, 8);

    m_smallBlindEdit = new QLineEdit(this);
    m_smallBlindEdit->setGeometry(du.Rect(25, 33, 60, 14));
    m_bigBlindEdit = new QLineEdit(this);
    m_bigBlindEdit->setGeometry(du.Rect(116, 33, 60, 14));
    m_playerStackEdit = new QLineEdit(this);
    m_playerStackEdit->setGeometry(du.Rect(258, 33, 124, 14));
}

void CDialogTable::createSeatList(const DialogUnits &du)
{
    m_seatList = new CListCtrlEx(this);
    m_seatList->setGeometry(du.Rect(7, 49, 171, 98));
    m_seatList->setColumnCount(3);
    m_seatList->setHorizontalHeaderLabels({tr("№"), tr("Nick"), tr("Stack")});
    m_seatList->setColumnWidth(kNumberColumn, 30);
    m_seatList->setColumnWidth(kNickColumn, 100);
    m_seatList->setColumnWidth(kStackColumn, 80);
    m_seatList->SetColumnEditable(kStackColumn, true);
    m_seatList->horizontalHeader()->setStretchLastSection(true);
}

void CDialogTable::createPersonaList(const DialogUnits &du)
{
    m_personaList = new QTableWidget(this);
    m_personaList->setGeometry(du.Rect(211, 49, 171, 98));
    m_personaList->setColumnCount(3);
    m_personaList->setHorizontalHeaderLabels({tr("№"), tr("Nick"), tr("Strategy")});
    m_personaList->setColumnWidth(0, 30);
    m_personaList->setColumnWidth(1, 100);
    m_personaList->setColumnWidth(2, 120);
    m_personaList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_personaList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_personaList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_personaList->verticalHeader()->hide();
    m_personaList->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_personaList->setAlternatingRowColors(true);
    m_personaList->horizontalHeader()->setStretchLastSection(true);
    m_personaList->setShowGrid(true);
    for (const StrategyRow &row : StrategyList()) {
        const int r = m_personaList->rowCount();
        m_personaList->insertRow(r);
        m_personaList->setItem(r, 0, new QTableWidgetItem(Text(row.number)));
        m_personaList->setItem(r, 1, new QTableWidgetItem(Text(row.nick)));
        auto *strategy = new QTableWidgetItem(Text(row.strategy));
        strategy->setToolTip(Text(row.strategy));
        m_personaList->setItem(r, 2, strategy);
    }
}

void CDialogTable::createSeatingControls(const DialogUnits &du)
{
    m_putButton = new QPushButton(QStringLiteral("<"), this);
    m_putButton->setGeometry(du.Rect(185, 73, 19, 17));
    m_removeButton = new QPushButton(QStringLiteral(">"), this);
    m_removeButton->setGeometry(du.Rect(185, 101, 19, 17));

    m_seatCountCombo = new QComboBox(this);
    m_seatCountCombo->setGeometry(du.Rect(99, 11, 48, 14));
    for (int n = 2; n <= kMaxSeats; ++n)
        m_seatCountCombo->addItem(QString::number(n));
    m_seatCountCombo->setCurrentText(m_seatCountText);

    m_gameTypeCombo = new QComboBox(this);
    m_gameTypeCombo->setGeometry(du.Rect(206, 11, 78, 14));
    m_gameTypeCombo->addItems({tr("Cash"), tr("Double"), tr("Fifty"), Text(m_types[0].typeName),
                               Text(m_types[1].typeName)});
    m_gameTypeCombo->setCurrentIndex(0);

    m_randomButton = new QPushButton(tr("Random Players"), this);
    m_randomButton->setGeometry(du.Rect(291, 11, 60, 14));
}

void CDialogTable::connectControls()
{
    connect(m_okButton, &QPushButton::clicked, this, &CDialogTable::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_putButton, &QPushButton::clicked, this, &CDialogTable::OnPutPlayer);
    connect(m_removeButton, &QPushButton::clicked, this, &CDialogTable::OnRemovePlayer);
    connect(m_randomButton, &QPushButton::clicked, this, &CDialogTable::OnRandomPlayers);
    connect(m_seatCountCombo, &QComboBox::currentIndexChanged, this,
            &CDialogTable::OnSeatCountChanged);
    connect(m_gameTypeCombo, &QComboBox::currentIndexChanged, this,
            &CDialogTable::OnGameTypeChanged);
}

void CDialogTable::FillSeatRow(int row, const std::string &name, int stack)
{
    m_seatList->SetCellText(row, kNumberColumn, QString::number(row));
    m_seatList->SetCellText(row, kNickColumn, Text(name));
    m_seatList->SetCellText(row, kStackColumn, QString::number(stack));
    m_stacks[row] = stack;
    m_names[row] = name;
}

void CDialogTable::Message(const QString &text, bool information)
{
    if (m_showMessage)
        m_showMessage(text, information);
}

void CDialogTable::Refuse(QLineEdit *edit, const QString &field, const QString &problem)
{
    Message(tr("%1: %2").arg(field, problem), false);
    edit->setFocus();
    edit->selectAll();
}

bool CDialogTable::ReadUnsigned(QLineEdit *edit, unsigned &value, const QString &field)
{
    bool ok = false;
    const QString text = edit->text().trimmed();
    const qulonglong v = text.toULongLong(&ok);
    QString problem;
    if (!ok || text.startsWith(u'-') || text.startsWith(u'+'))
        problem = tr(kNotNumberMessage);
    else if (v < 1 || v > kMaxDialogValue)
        problem = tr(kRangeMessage);
    else if (v > static_cast<qulonglong>(kMaxChips))
        problem = tr(kChipLimitMessage).arg(kMaxChips);
    if (!problem.isEmpty()) {
        Refuse(edit, field, problem);
        return false;
    }
    value = static_cast<unsigned>(v);
    return true;
}

bool CDialogTable::ReadControls()
{
    unsigned smallBlind = 0;
    unsigned bigBlind = 0;
    if (!ReadUnsigned(m_smallBlindEdit, smallBlind, tr(kSmallBlindField)) ||
        !ReadUnsigned(m_bigBlindEdit, bigBlind, tr(kBigBlindField)) ||
        !ReadUnsigned(m_playerStackEdit, m_playerStack, tr(kPlayerStackField)))
        return false;
    // A table whose small blind is the larger one is no poker table.
    if (smallBlind > bigBlind) {
        Refuse(m_smallBlindEdit, tr(kSmallBlindField),
               tr("The small blind may not be larger than the big blind (%1).").arg(bigBlind));
        return false;
    }
    m_smallBlind = smallBlind;
    m_bigBlind = bigBlind;
    m_seatCountText = m_seatCountCombo->currentText();
    return true;
}

void CDialogTable::WriteControls()
{
    m_smallBlindEdit->setText(QString::number(m_smallBlind));
    m_bigBlindEdit->setText(QString::number(m_bigBlind));
    m_playerStackEdit->setText(QString::number(m_playerStack));
}

void CDialogTable::OnPutPlayer()
{
    if (!ReadControls())
        return;
    const int seat = m_seatList->SelectedRow();
    const QModelIndexList personas = m_personaList->selectionModel()->selectedRows();
    if (seat < 0 || personas.isEmpty()) {
        Message(tr("Выберите игрока и стратегию"), true);
        WriteControls();
        return;
    }
    const std::string nick =
        m_personaList->item(personas.first().row(), kNickColumn)->text().toStdString();
    FillSeatRow(seat, nick, static_cast<int>(m_playerStack));
    WriteControls();
}

void CDialogTable::OnRemovePlayer()
{
    const int seat = m_seatList->SelectedRow();
    if (seat < 0) {
        Message(tr("Выберите игрока"), true);
        WriteControls();
        return;
    }
    FillSeatRow(seat, QStringLiteral("Unknow Player %1").arg(seat).toStdString(), 0);
    WriteControls();
}

void CDialogTable::OnSeatCountChanged()
{
    m_seatCountText = m_seatCountCombo->currentText();
    const int n = std::clamp(static_cast<int>(LeadingInteger(m_seatCountText)), 0, kMaxSeats);
    m_seatList->setRowCount(0);
    const std::vector<SeatRow> rows = BlankSeating(n);
    for (int i = 0; i < n && i < static_cast<int>(rows.size()); ++i) {
        m_seatList->AddRow({});
        FillSeatRow(i, rows[static_cast<size_t>(i)].name, rows[static_cast<size_t>(i)].stack);
    }
}

void CDialogTable::OnGameTypeChanged()
{
    const int index = m_gameTypeCombo->currentIndex();
    int stack = kDefaultSeatStack;
    if (index >= kCashTypes && index < kCashTypes + 2) {
        const GameType &type = m_types[index - kCashTypes];
        m_smallBlind = static_cast<unsigned>(type.smallBlinds.empty() ? 0 : type.smallBlinds[0]);
        m_bigBlind = static_cast<unsigned>(type.bigBlinds.empty() ? 0 : type.bigBlinds[0]);
        stack = type.startingStack;
    } else {
        m_smallBlind = kDefaultSmallBlind;
        m_bigBlind = kDefaultBigBlind;
    }
    for (int row = 0; row < kDefaultRows && row < m_seatList->rowCount(); ++row)
        m_seatList->SetCellText(row, kStackColumn, QString::number(stack));
    m_playerStack = static_cast<unsigned>(stack);
    WriteControls();
}

void CDialogTable::OnRandomPlayers()
{
    const int rows = m_seatList->rowCount();
    std::vector<std::string> names;
    for (int row = 0; row < rows; ++row)
        names.push_back(m_seatList->CellText(row, kNickColumn).toStdString());
    DrawRandomOpponents(names);
    for (int row = 1; row < rows; ++row) {
        m_names[row] = names[static_cast<size_t>(row)];
        m_seatList->SetCellText(row, kNickColumn, Text(m_names[row]));
    }
}

void CDialogTable::accept()
{
    if (!ReadControls())
        return;
    const int rows = m_seatList->rowCount();
    int stacks[kMaxSeats];
    std::copy(std::begin(m_stacks), std::end(m_stacks), stacks);
    for (int row = 0; row < rows && row < kMaxSeats; ++row) {
        // A negative stack would put chips into play that nobody has.
        stacks[row] = static_cast<int>(
            std::max(0LL, LeadingInteger(m_seatList->CellText(row, kStackColumn))));
    }
    const int index = m_gameTypeCombo->currentIndex();
    int gameTypeId = index;
    unsigned smallBlind = m_smallBlind;
    unsigned bigBlind = m_bigBlind;
    if (index >= kCashTypes && index < kCashTypes + 2) {
        const GameType &type = m_types[index - kCashTypes];
        gameTypeId = type.typeId;
        smallBlind = static_cast<unsigned>(type.smallBlinds.empty() ? 0 : type.smallBlinds[0]);
        bigBlind = static_cast<unsigned>(type.bigBlinds.empty() ? 0 : type.bigBlinds[0]);
        for (int row = 0; row < kDefaultRows; ++row)
            stacks[row] = type.startingStack;
    }
    const int seats = std::clamp(static_cast<int>(LeadingInteger(m_seatCountText)), 0, kMaxSeats);
    long long total = 0;
    for (int row = 0; row < seats; ++row)
        total += stacks[row];
    if (total > kMaxChips) {
        Message(tr(kTableLimitMessage).arg(kMaxChips), false);
        return;
    }
    // Names go into the files and the seat boxes as they are: a line feed or an escape in one
    // would forge lines, and a long one would not fit.
    for (int row = 0; row < seats && row < rows; ++row) {
        const QString name = m_seatList->CellText(row, kNickColumn);
        const std::string problem = PlayerNameProblem(name.toStdString());
        if (!problem.empty()) {
            Message(tr("The name in seat %1 %2. A name holds 1 to %3 characters, "
                       "no control characters and nothing the hand history could "
                       "not be read back with.")
                        .arg(row)
                        .arg(QString::fromStdString(problem))
                        .arg(kMaxPlayerNameLength),
                    false);
            return;
        }
    }
    std::copy(std::begin(stacks), std::end(stacks), m_stacks);
    m_gameTypeId = gameTypeId;
    m_smallBlind = smallBlind;
    m_bigBlind = bigBlind;
    for (int row = 0; row < rows && row < kMaxSeats; ++row)
        m_names[row] = m_seatList->CellText(row, kNickColumn).toStdString();
    QDialog::accept();
}

GameSetupItems CDialogTable::Items() const
{
    GameSetupItems items;
    items.seatCount = std::clamp(static_cast<int>(LeadingInteger(m_seatCountText)), 0, kMaxSeats);
    items.smallBlind = static_cast<int>(m_smallBlind);
    items.bigBlind = static_cast<int>(m_bigBlind);
    items.gameTypeId = m_gameTypeId;
    for (int i = 0; i < kMaxSeats; ++i) {
        items.names.push_back(m_names[i]);
        items.stacks.push_back(m_stacks[i]);
    }
    return items;
}

void CDialogTable::SetNames(const std::vector<std::string> &names)
{
    for (int i = 0; i < kMaxSeats && i < static_cast<int>(names.size()); ++i)
        m_names[i] = names[static_cast<size_t>(i)];
}
