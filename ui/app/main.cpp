#include "places/BrisquelVersion.h"
#include "ui/app/DunmereApp.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitCannotStart = 1; // no display, or the window could not be set up
constexpr int kExitBadArguments = 2;

const char kUsage[] =
    "usage: brisquel [--pace F] [--data-dir DIR] [--version] [--help]\n"
    "  --pace F        pauses between actions for this run: 1 a real table's pace, 0.5 twice\n"
    "                  as fast, 0 no pauses (default: the View panel's Pace, 1 at first)\n"
    "  --data-dir DIR  keep the game log, the hand histories and PokerDB.db3 in DIR\n"
    "  --version       print the version and exit\n"
    "Without a display, brisquel-cli plays, computes odds and evaluates hands.\n";

struct CommandLine
{
    bool version = false;
    bool help = false;
    bool platformGiven = false; // Qt's own -platform option
    std::string error;
};

// The value of "--name V" or "--name=V" at argv[i], advancing i past it; nullptr when argv[i]
// is another argument. A missing value sets `missing`.
const char *OptionValue(int argc, char *argv[], int &i, const char *name, bool &missing)
{
    const std::size_t length = std::strlen(name);
    if (std::strncmp(argv[i], name, length) != 0)
        return nullptr;
    if (argv[i][length] == '=')
        return argv[i] + length + 1;
    if (argv[i][length] != '\0')
        return nullptr;
    if (i + 1 >= argc || std::strncmp(argv[i + 1], "--", 2) == 0) {
        missing = true;
        return nullptr;
    }
    return argv[++i];
}

// Reads the program's own options; anything else is left to Qt.
CommandLine Parse(int argc, char *argv[], AppOptions &options)
{
    CommandLine line;
    for (int i = 1; i < argc && line.error.empty(); ++i) {
        bool missing = false;
        if (std::strcmp(argv[i], "--version") == 0) {
            line.version = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            line.help = true;
        } else if (std::strcmp(argv[i], "-platform") == 0) {
            line.platformGiven = true;
        } else if (const char *pace = OptionValue(argc, argv, i, "--pace", missing)) {
            char *end = nullptr;
            const double parsed = std::strtod(pace, &end);
            if (end == pace || *end != '\0' || !(parsed >= 0.0 && parsed <= 10.0))
                line.error = "--pace takes a number from 0 (no pauses) to 10";
            options.pauseFactor = parsed;
        } else if (const char *folder = OptionValue(argc, argv, i, "--data-dir", missing)) {
            if (*folder == '\0')
                line.error = "--data-dir needs a folder";
            options.dataFolder = QString::fromLocal8Bit(folder);
        }
        if (missing)
            line.error = std::string(argv[i]) + " needs a value";
    }
    return line;
}

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
    const CommandLine line = Parse(argc, argv, options);
    if (!line.error.empty()) {
        std::fprintf(stderr, "brisquel: %s\n%s", line.error.c_str(), kUsage);
        return kExitBadArguments;
    }
    options.paceFromSettings = options.pauseFactor < 0;
    if (line.help) {
        std::fputs(kUsage, stdout);
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
    return result;
}
