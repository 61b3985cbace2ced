#include "ui/app/VisualStyle.h"

#include "ui/app/CommandIds.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace {

struct Look
{
    const char *window; // frame and dialogs
    const char *text;   // text on window
    const char *base;   // lists and edits
    const char *baseText;
    const char *button;
    const char *highlight;
    const char *highlightText;
    const char *ribbonTop; // tab row
    const char *ribbonBottom;
    const char *panelTop; // ribbon panels
    const char *panelBottom;
    const char *panelBorder;
    const char *panelCaption; // the caption strip under each panel
    const char *ribbonText;
    const char *hover;   // ribbon buttons under the mouse
    const char *caption; // caption bar
    const char *captionText;
};

const Look kBlue = {"#bfd5ee", "#15428b", "#ffffff", "#000000", "#dbe7f6", "#3d7bd4",
                    "#ffffff", "#c2d8f2", "#a9c6ea", "#e6eff9", "#c7dbf3", "#8db2e3",
                    "#c2d9f3", "#15428b", "#ffe59b", "#fff7d6", "#15428b"};
const Look kBlack = {"#2f2f2f", "#f0f0f0", "#3a3a3a", "#f0f0f0", "#4a4a4a", "#e0942a",
                     "#000000", "#1c1c1c", "#3a3a3a", "#595959", "#3c3c3c", "#0f0f0f",
                     "#2e2e2e", "#ffffff", "#f6b24c", "#464646", "#ffffff"};
const Look kSilver = {"#dde1e6", "#2b2b2b", "#ffffff", "#000000", "#eceff2", "#6e8db5",
                      "#ffffff", "#d5d9de", "#c2c7ce", "#f4f5f7", "#dadee3", "#a2a8b0",
                      "#cfd3d9", "#303030", "#ffe59b", "#f4f4f4", "#2b2b2b"};
const Look kAqua = {"#c4dbe3", "#1d4a5c", "#ffffff", "#0b2630", "#dcecf1", "#2b8fae",
                    "#ffffff", "#a9d0dc", "#7fb7c8", "#e2f1f5", "#b8dbe5", "#5e9fb3",
                    "#a6cfdb", "#12394a", "#ffe8a6", "#e9f5f8", "#1d4a5c"};
const Look kWindows7 = {"#f0f0f0", "#1e1e1e", "#ffffff", "#000000", "#f7f7f7", "#3399ff",
                        "#ffffff", "#ffffff", "#eef2f8", "#fdfdfd", "#f1f3f6", "#c5d2e2",
                        "#e8edf4", "#1e395b", "#fde7a5", "#ffffff", "#1e1e1e"};

const Look &LookOf(unsigned id)
{
    switch (id) {
    case ID_VIEW_APPLOOK_OFF_2007_BLUE:
        return kBlue;
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
        return kSilver;
    case ID_VIEW_APPLOOK_OFF_2007_AQUA:
        return kAqua;
    case ID_VIEW_APPLOOK_WINDOWS_7:
        return kWindows7;
    default:
        return kBlack;
    }
}

QPalette PaletteOf(const Look &l)
{
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(l.window));
    pal.setColor(QPalette::WindowText, QColor(l.text));
    pal.setColor(QPalette::Base, QColor(l.base));
    pal.setColor(QPalette::AlternateBase, QColor(l.button));
    pal.setColor(QPalette::Text, QColor(l.baseText));
    pal.setColor(QPalette::Button, QColor(l.button));
    pal.setColor(QPalette::ButtonText, QColor(l.baseText));
    pal.setColor(QPalette::Highlight, QColor(l.highlight));
    pal.setColor(QPalette::HighlightedText, QColor(l.highlightText));
    pal.setColor(QPalette::ToolTipBase, QColor("#ffffe1"));
    pal.setColor(QPalette::ToolTipText, QColor("#000000"));
    pal.setColor(QPalette::PlaceholderText, QColor(l.text).darker(140));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor("#8a8a8a"));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor("#8a8a8a"));
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor("#8a8a8a"));
    return pal;
}

QString SheetOf(const Look &l)
{
    return QStringLiteral(R"(
#RibbonTabRow { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2); }
#RibbonPanels { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %3, stop:1 %4);
                border-top: 1px solid %5; border-bottom: 1px solid %5; }
#RibbonPanel { border-right: 1px solid %5; }
#RibbonPanelCaption { background: %6; color: %7; padding: 1px; }
#RibbonPanels QCheckBox, #RibbonPanels QToolButton, #RibbonTabRow QToolButton { color: %7; }
#RibbonPanels QToolButton, #RibbonTabRow QToolButton { border: 1px solid transparent;
                border-radius: 3px; padding: 2px; background: transparent; }
#RibbonPanels QToolButton:hover, #RibbonTabRow QToolButton:hover { background: %8; color: #000000;
                border: 1px solid %5; }
#RibbonPanels QToolButton:disabled { color: #8a8a8a; }
#RibbonPanels QToolButton:focus, #RibbonTabRow QToolButton:focus { border: 1px dotted %7; }
#RibbonTabRow QTabBar::tab { background: %3; color: %7; border: 1px solid %5; border-bottom: none;
                border-top-left-radius: 4px; border-top-right-radius: 4px; padding: 3px 16px; }
#RibbonAppButton { border-radius: 14px; border: 1px solid %5; font-weight: bold; color: #ffffff;
                background: qradialgradient(cx:0.5, cy:0.35, radius:0.7, stop:0 #ffb347,
                stop:1 #b85c00); padding: 4px 10px; }
#CaptionBar { background: %9; border-bottom: 1px solid %5; }
#CaptionBar QLabel { color: %10; }
QDockWidget::title { background: %6; color: %7; padding: 3px; }
QMdiArea QTabBar::tab { background: %3; color: %7; border: 1px solid %5; padding: 3px 14px;
                border-top-left-radius: 6px; border-top-right-radius: 6px; }
QMdiArea QTabBar::tab:selected { background: %8; color: #000000; }
QStatusBar { background: %2; color: %7; }
)")
        .arg(l.ribbonTop, l.ribbonBottom, l.panelTop, l.panelBottom, l.panelBorder, l.panelCaption,
             l.ribbonText, l.hover, l.caption)
        .arg(l.captionText);
}

} // namespace

unsigned ApplyVisualStyle(QApplication &app, QWidget *frame, unsigned look)
{
    switch (look) {
    case ID_VIEW_APPLOOK_OFF_2007_BLUE:
    case ID_VIEW_APPLOOK_OFF_2007_BLACK:
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
    case ID_VIEW_APPLOOK_OFF_2007_AQUA:
    case ID_VIEW_APPLOOK_WINDOWS_7:
        break;
    default:
        look = ID_VIEW_APPLOOK_OFF_2007_BLACK;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Fusion follows the palette on every platform theme.
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const Look &l = LookOf(look);
    app.setPalette(PaletteOf(l));
    app.setStyleSheet(SheetOf(l));
    if (frame) {
        frame->update();
        for (QWidget *child : frame->findChildren<QWidget *>())
            child->update();
    }
    QApplication::restoreOverrideCursor();
    return look;
}
