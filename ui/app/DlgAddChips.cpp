#include "ui/app/DlgAddChips.h"

#include <QDialogButtonBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

CDlgAddChips::CDlgAddChips(QWidget *parent, int startStake)
    : QDialog(parent)
    , m_chips(std::max(startStake, 0))
{
    setWindowTitle(tr("Add chips !"));
    auto *box = new QVBoxLayout(this);
    m_edit = new QLineEdit(QString::number(m_chips), this);
    m_edit->setMinimumWidth(200);
    box->addWidget(m_edit);
    auto *cancelNote = new QLabel(tr("Cancel ends the game."), this);
    cancelNote->setObjectName(QStringLiteral("CancelNote"));
    box->addWidget(cancelNote);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgAddChips::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    box->addWidget(buttons);
}

void CDlgAddChips::PlaceBeside(const QWidget *table)
{
    constexpr int kGap = 8;
    adjustSize();
    const QRect area = table->screen()->availableGeometry();
    const QRect view(table->mapToGlobal(QPoint(0, 0)), table->size());
    QPoint at(view.right() + kGap, view.center().y() - height() / 2);
    if (at.x() + width() > area.right())
        at.setX(view.left() - kGap - width());
    if (at.x() < area.left())
        at = QPoint(view.right() - width(), view.top());
    move(at);
}

void CDlgAddChips::accept()
{
    bool ok = false;
    const int chips = m_edit->text().trimmed().toInt(&ok);
    // A stack is never negative; a typed negative amount would corrupt the table's money.
    if (!ok || chips < 0) {
        QMessageBox::warning(this, windowTitle(), tr("Please enter an integer."));
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_chips = chips;
    QDialog::accept();
}
