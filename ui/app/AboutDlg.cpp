#include "ui/app/AboutDlg.h"

#include "ui/app/MainFrame.h"
#include "ui/app/RibbonIcons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget *parent, const QString &filesText)
    : QDialog(parent)
{
    setWindowTitle(tr("About Brisquel"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *grid = new QGridLayout(this);
    auto *icon = new QLabel(this);
    icon->setPixmap(MakeRibbonIcon(RibbonIcon::AppButton).pixmap(48, 48));
    grid->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(tr("Brisquel, Version 1.0"), this), 0, 1);
    grid->addWidget(new QLabel(tr("No-Limit Texas Hold'em trainer"), this), 1, 1);
    grid->addWidget(new QLabel(QString::fromLatin1(kMakerEmail), this), 2, 1);
    auto *link = new QLabel(tr("<a href=\"%1\">%1</a>").arg(QLatin1String(kMakerWebAddress)), this);
    link->setObjectName(QStringLiteral("AboutLink"));
    link->setOpenExternalLinks(true);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    grid->addWidget(link, 3, 1);
    if (!filesText.isEmpty()) {
        auto *files = new QLabel(filesText, this);
        files->setObjectName(QStringLiteral("AboutFiles"));
        files->setTextFormat(Qt::PlainText);
        files->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(files, 4, 1);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, 5, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}
