#pragma once
// "Add chips !": the chips the human buys after losing his stack.
//
// Threads: UI thread.

#include <QDialog>

class QLineEdit;

class CDlgAddChips : public QDialog
{
    Q_OBJECT
public:
    // startStake: the amount offered, the stack the player began the game with.
    explicit CDlgAddChips(QWidget *parent = nullptr, int startStake = 0);

    int m_chips = 0;
    QLineEdit *edit() const { return m_edit; }

    void accept() override;
    // Beside the table view, on the screen's side with room, so that the board and the hands
    // shown down stay in view; in the table's top-right corner when neither side has room.
    void PlaceBeside(const QWidget *table);

private:
    QLineEdit *m_edit = nullptr;
};
