#include "ui/app/AppCommandLine.h"

#include <QTest>

// The desktop program's options, read with the command line's shared parser; Qt's own words
// pass through.
class TestAppCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void readsOptions_data();
    void readsOptions();
};

namespace {

constexpr double kAnyPace = -2; // a refused pace leaves no promise about the factor
const char kPaceError[] = "--pace takes a number from 0 (no pauses) to 10";

struct Case
{
    const char *name;
    QStringList args;
    const char *error;
    double pace; // -1: not given
    const char *folder;
    const char *flags; // h help, v version, p Qt's -platform
};

const Case kCases[] = {
    {"nothing", {}, "", -1, "", ""},
    {"pace apart", {"--pace", "0.5"}, "", 0.5, "", ""},
    {"pace after =", {"--pace=0"}, "", 0, "", ""},
    {"last pace wins", {"--pace", "2", "--pace", "10"}, "", 10, "", ""},
    {"pace word", {"--pace", "fast"}, kPaceError, kAnyPace, "", ""},
    {"pace above 10", {"--pace", "11"}, kPaceError, kAnyPace, "", ""},
    {"pace below 0", {"--pace", "-1"}, kPaceError, kAnyPace, "", ""},
    {"pace nan", {"--pace=nan"}, kPaceError, kAnyPace, "", ""},
    {"pace with a tail", {"--pace", "1x"}, kPaceError, kAnyPace, "", ""},
    {"pace empty", {"--pace", ""}, kPaceError, kAnyPace, "", ""},
    {"pace without value", {"--pace"}, "--pace needs a value", -1, "", ""},
    {"folder", {"--data-dir", "/tmp/b r"}, "", -1, "/tmp/b r", ""},
    {"empty folder", {"--data-dir="}, "--data-dir needs a folder", -1, "", ""},
    {"folder without value", {"--data-dir", "--version"}, "--data-dir needs a value", -1, "", ""},
    {"Qt's words pass",
     {"-platform", "offscreen", "-style", "fusion", "--data-dir=d"},
     "",
     -1,
     "d",
     "p"},
    {"version", {"--version"}, "", -1, "", "v"},
    {"help wins", {"--pace", "fast", "-h"}, "", -1, "", "h"},
};

} // namespace

void TestAppCommandLine::readsOptions_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kCases)); ++i)
        QTest::newRow(kCases[i].name) << i;
}

void TestAppCommandLine::readsOptions()
{
    QFETCH(int, index);
    const Case &c = kCases[index];
    std::vector<std::string> words;
    for (const QString &arg : c.args)
        words.push_back(arg.toStdString());
    AppOptions options;
    options.pauseFactor = -1;
    const AppCommandLine line = ParseAppCommandLine(words, options);
    QCOMPARE(line.error, std::string(c.error));
    if (c.pace != kAnyPace)
        QCOMPARE(options.pauseFactor, c.pace);
    QCOMPARE(options.dataFolder, QString::fromUtf8(c.folder));
    const QString flags = QString::fromLatin1(c.flags);
    QCOMPARE(line.help, flags.contains('h'));
    QCOMPARE(line.version, flags.contains('v'));
    QCOMPARE(line.platformGiven, flags.contains('p'));
}

QTEST_APPLESS_MAIN(TestAppCommandLine)
#include "tst_app_command_line.moc"
