#pragma once
// The odds calculator: the probability that two hole cards win against a number of players.
// Independent of the running game.
//
// Threads: UI thread only (a modal dialog); the computation runs on the UI thread under the
// wait cursor.

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class CDlgCards;
class QLineEdit;
class QPushButton;

inline constexpr int ID_CALCULATOR = 32771; // the main frame's command that opens it

class CDlgCalculate : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgCalculate(QWidget *parent = nullptr);

    void OnHandButton();  // 1007: pick the hand
    void OnBoardButton(); // 1008, 1009, 1010: refresh the fields
    void OnCalculate();   // 1

    // Dialog data exchange: true reads the edit boxes into the members, false writes them.
    void UpdateData(bool saveAndValidate);

    QString m_countOfPlayers = QStringLiteral("2");
    QString m_myHand;
    QString m_flop;
    QString m_turn;
    QString m_river;
    QString m_result;
    QList<int> m_hand; // card integers in the order picked

    // Runs the picker modally and returns its result; tests replace it to drive the picker.
    std::function<int(CDlgCards &)> m_runPicker;
    // Shows a message box; tests replace it so that nothing modal opens.
    std::function<void(const QString &)> m_showMessage;

    QLineEdit *countEdit() const { return m_countEdit; }
    QLineEdit *handEdit() const { return m_handEdit; }
    QLineEdit *resultEdit() const { return m_resultEdit; }
    QPushButton *handButton() const { return m_handButton; }
    QPushButton *calculateButton() const { return m_calculate; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QLineEdit *m_countEdit = nullptr;
    QLineEdit *m_handEdit = nullptr;
    QLineEdit *m_flopEdit = nullptr;
    QLineEdit *m_turnEdit = nullptr;
    QLineEdit *m_riverEdit = nullptr;
    QLineEdit *m_resultEdit = nullptr;
    QPushButton *m_handButton = nullptr;
    QPushButton *m_calculate = nullptr;
    QPushButton *m_cancel = nullptr;
};
