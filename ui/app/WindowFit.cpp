#include "ui/app/WindowFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// A title bar and borders, for a window not yet framed by the window manager.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

} // namespace

void ResizeWithinScreen(QWidget *window, QSize wanted)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    QSize frame = window->frameGeometry().size() - window->geometry().size();
    if (!window->isVisible())
        frame = frame.expandedTo(QSize(kFrameWidth, kFrameHeight));
    const QSize room = screen->availableGeometry().size() - frame;
    window->resize(wanted.boundedTo(room).expandedTo(window->minimumSize()));
}
