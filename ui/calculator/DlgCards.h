#pragma once
// The card picker "Cards": 52 picture buttons, at most two cards picked, in the order picked.
//
// Threads: UI thread only (a modal dialog).

#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;

class CDlgCards : public QDialog
{
    Q_OBJECT
public:
    // On OK the picked cards are appended to cards, text is replaced by their names ("Ah Kd ")
    // and pictures receives their face-picture indexes; Cancel leaves all three untouched.
    // At most maxCards are picked (two hole cards unless told otherwise).
    CDlgCards(QString &text, QList<int> &cards, QList<int> &pictures, QWidget *parent = nullptr,
              int maxCards = 2);

    // Starts from the cards picked already, in their order, with the unavailable ones greyed.
    void Preselect(const QList<int> &picked, const QList<int> &unavailable);
    // Card button handler for card integer c (0..51): select, deselect, or nothing when full.
    void OnCard(int c);
    void OnOK();

    QPushButton *cardButton(int c) const { return m_buttons[c]; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    const QList<int> &selectedCards() const { return m_selectedCards; }
    bool isSelected(int c) const { return m_selected[c] != 0; }

    // Button id of card c as the dialog resource numbers them (deuce .. ace per suit).
    static int ButtonId(int c);
    // "2c" .. "As".
    static QString CardName(int c);

private:
    int m_maxCards = 2;
    int m_count = 0;
    int m_selected[52] = {};
    QList<int> m_selectedCards;
    QList<int> m_pictureIds;
    QString &m_text;
    QList<int> &m_cards;
    QList<int> &m_pictures;

    QPushButton *m_buttons[52] = {};
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
