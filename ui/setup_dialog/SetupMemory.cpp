#include "ui/setup_dialog/SetupMemory.h"

#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/ListCtrlEx.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QStringList>

namespace {

constexpr const char *kGroup = "LastTable";
constexpr int kNickColumn = 1;
constexpr int kStackColumn = 2;

} // namespace

void RememberTable(const CDialogTable &dialog)
{
    QSettings settings;
    settings.beginGroup(QLatin1String(kGroup));
    settings.setValue("seats", dialog.seatCountCombo()->currentText());
    settings.setValue("gameType", dialog.gameTypeCombo()->currentIndex());
    settings.setValue("smallBlind", dialog.smallBlindEdit()->text());
    settings.setValue("bigBlind", dialog.bigBlindEdit()->text());
    settings.setValue("playerStack", dialog.playerStackEdit()->text());
    QStringList names;
    QStringList stacks;
    for (int row = 0; row < dialog.seatList()->rowCount(); ++row) {
        names << dialog.seatList()->CellText(row, kNickColumn);
        stacks << dialog.seatList()->CellText(row, kStackColumn);
    }
    settings.setValue("names", names);
    settings.setValue("stacks", stacks);
}

void OfferLastTable(CDialogTable &dialog)
{
    QSettings settings;
    settings.beginGroup(QLatin1String(kGroup));
    if (!settings.contains("seats"))
        return;
    // In the order a person would set them: each combo box resets what follows it.
    const int seatIndex = dialog.seatCountCombo()->findText(settings.value("seats").toString());
    if (seatIndex >= 0)
        dialog.seatCountCombo()->setCurrentIndex(seatIndex);
    const int type = settings.value("gameType", 0).toInt();
    if (type >= 0 && type < dialog.gameTypeCombo()->count())
        dialog.gameTypeCombo()->setCurrentIndex(type);
    const QStringList names = settings.value("names").toStringList();
    const QStringList stacks = settings.value("stacks").toStringList();
    CListCtrlEx *list = dialog.seatList();
    for (int row = 0; row < list->rowCount() && row < CDialogTable::kMaxSeats; ++row) {
        if (row < names.size()) {
            list->SetCellText(row, kNickColumn, names[row]);
            dialog.m_names[row] = names[row].toStdString();
        }
        if (row < stacks.size()) {
            list->SetCellText(row, kStackColumn, stacks[row]);
            dialog.m_stacks[row] = static_cast<int>(LeadingInteger(stacks[row]));
        }
    }
    dialog.smallBlindEdit()->setText(settings.value("smallBlind").toString());
    dialog.bigBlindEdit()->setText(settings.value("bigBlind").toString());
    dialog.playerStackEdit()->setText(settings.value("playerStack").toString());
}
