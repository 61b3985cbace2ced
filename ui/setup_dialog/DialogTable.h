#pragma once
// The table set-up dialog "Players": number of seats, blinds, game type, and per seat the
// player and his stack. OK delivers GameSetupItems for "Start game".
//
// Threads: UI thread.

#include "engine/Game.h"
#include "pokerlib/CardCodes.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class CListCtrlEx;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

class CDialogTable : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxSeats = brisquel::kMaxSeats;
    static constexpr int kDefaultRows = 9;

    // types: the two tournament schedules ("9 players", "9 players Turbo").
    CDialogTable(const GameType types[2], QWidget *parent = nullptr);

    // What OK delivers (valid after the dialog was accepted).
    GameSetupItems Items() const;
    // StartGame writes the seat names back with their seat suffix.
    void SetNames(const std::vector<std::string> &names);

    // Button handlers.
    void OnPutPlayer();     // "<"
    void OnRemovePlayer();  // ">"
    void OnRandomPlayers(); // "Random Players"
    void OnSeatCountChanged();
    void OnGameTypeChanged();
    void accept() override; // OK

    // Shows a message box (information or warning); tests replace it so that nothing modal
    // opens.
    std::function<void(const QString &text, bool information)> m_showMessage;

    // Controls, for the tests.
    CListCtrlEx *seatList() const { return m_seatList; }
    QTableWidget *personaList() const { return m_personaList; }
    QComboBox *seatCountCombo() const { return m_seatCountCombo; }
    QComboBox *gameTypeCombo() const { return m_gameTypeCombo; }
    QLineEdit *smallBlindEdit() const { return m_smallBlindEdit; }
    QLineEdit *bigBlindEdit() const { return m_bigBlindEdit; }
    QLineEdit *playerStackEdit() const { return m_playerStackEdit; }
    QPushButton *putButton() const { return m_putButton; }
    QPushButton *removeButton() const { return m_removeButton; }
    QPushButton *randomButton() const { return m_randomButton; }
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

    // The members the controls are exchanged with.
    unsigned m_smallBlind = 10;
    unsigned m_bigBlind = 20;
    int m_stacks[kMaxSeats] = {};
    std::string m_names[kMaxSeats];
    unsigned m_playerStack = 1000;
    QString m_seatCountText = QStringLiteral("9");
    int m_gameTypeId = 0;

private:
    // Dialog units to pixels, from the dialog's font.
    struct DialogUnits;
    void createOkCancel(const DialogUnits &du);
    // The blinds' and the stack's boxes, with their labels and those of the two lists above.
    void createFields(const DialogUnits &du);
    void createSeatList(const DialogUnits &du);
    void createPersonaList(const DialogUnits &du);
    // "<", ">", the seat count, the game type and "Random Players".
    void createSeatingControls(const DialogUnits &du);
    void connectControls();

    // Reads the edit boxes into the members; on invalid input (a small blind above the big
    // blind included) shows the message naming the field, selects the field and returns false.
    bool ReadControls();
    // Writes the members into the edit boxes.
    void WriteControls();
    bool ReadUnsigned(QLineEdit *edit, unsigned &value, const QString &field);
    // "<field>: <problem>", then the field has the focus with its text selected.
    void Refuse(QLineEdit *edit, const QString &field, const QString &problem);
    void FillSeatRow(int row, const std::string &name, int stack);
    void Message(const QString &text, bool information);

    GameType m_types[2];
    CListCtrlEx *m_seatList = nullptr;
    QTableWidget *m_personaList = nullptr;
    QComboBox *m_seatCountCombo = nullptr;
    QComboBox *m_gameTypeCombo = nullptr;
    QLineEdit *m_smallBlindEdit = nullptr;
    QLineEdit *m_bigBlindEdit = nullptr;
    QLineEdit *m_playerStackEdit = nullptr;
    QPushButton *m_putButton = nullptr;
    QPushButton *m_removeButton = nullptr;
    QPushButton *m_randomButton = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};

// The leading decimal integer of text, as a C program's atoi reads it: blanks skipped, an
// optional sign, digits up to the first other character; 0 when there are none. Values beyond
// the int range are clamped instead of overflowing.
long long LeadingInteger(const QString &text);
