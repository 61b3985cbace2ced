#include "places/BrisquelVersion.h"
#include "ui/app/AppCommandLine.h"
#include "ui/app/DunmereApp.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitCannotStart = 1; // no display, or the window could not be set up
constexpr int kExitBadArguments = 2;

// True unless the platform is the X11 or Wayland one (Qt's choice when none is set) and
// neither display variable names a display.
bool DisplayNamed()
{
    const QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    for (const QByteArray &platform : platforms.split(';')) {
        if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
            return true;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void NoDisplay(const std::string &why)
{
    std::fprintf(stderr,
                 "brisquel: %s; brisquel-cli plays, computes odds and evaluates hands "
                 "without one\n",
                 why.c_str());
}

// While the application object starts, Qt's messages wait here: a display that cannot be
// opened ends in one line of ours instead of the platform plugins' long account.
QtMessageHandler g_previousHandler = nullptr;
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> g_startMessages;

void ReplayStartMessages()
{
    for (const HeldMessage &m : std::as_const(g_startMessages))
        g_previousHandler(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()),
                          m.text);
    g_startMessages.clear();
}

void StartMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        const QByteArray display = qgetenv("DISPLAY");
        NoDisplay(display.isEmpty() ? std::string("cannot open a window on this display")
                                    : "cannot open the display \"" + display.toStdString() + "\"");
        std::_Exit(kExitCannotStart);
    }
    if (type == QtFatalMsg) {
        ReplayStartMessages();
        g_previousHandler(type, context, message);
        return;
    }
    g_startMessages.append({type, QByteArray(context.category), message});
}

} // namespace

int main(int argc, char *argv[])
{
    AppOptions options;
    // Without --pace the Pace control's setting decides.
    options.pauseFactor = -1;
    const AppCommandLine line = ParseAppCommandLine(
        std::vector<std::string>(argv + std::min(argc, 1), argv + argc), options);
    if (!line.error.empty()) {
        std::fprintf(stderr, "brisquel: %s\n%s", line.error.c_str(), kAppUsage);
        return kExitBadArguments;
    }
    options.paceFromSettings = options.pauseFactor < 0;
    if (line.help) {
        std::fputs(kAppUsage, stdout);
        return kExitOk;
    }
    if (line.version) {
        std::printf("brisquel %s\n", kBrisquelVersion);
        return kExitOk;
    }
    if (!line.platformGiven && !DisplayNamed()) {
        NoDisplay("no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)");
        return kExitCannotStart;
    }

    g_previousHandler = qInstallMessageHandler(StartMessages);
    CDunmereApp app(argc, argv, options);
    qInstallMessageHandler(g_previousHandler);
    ReplayStartMessages();

    if (!app.InitInstance())
        return kExitCannotStart;
    const int result = app.exec();
    app.ExitInstance();
    return result != kExitOk ? result : app.ExitStatus();
}
