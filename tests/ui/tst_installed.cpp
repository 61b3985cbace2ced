// The desktop program run from outside a build tree, as after installing: its files go to the
// user's data folder (HOME is a temporary folder here), which the about box names.

#include "places/FilePlaces.h"
#include "tests/ui/ShortGame.h"
#include "tests/ui/TestApp.h"
#include "ui/app/AboutDlg.h"
#include "ui/app/CommandIds.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/MainFrame.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestInstalled : public QObject
{
    Q_OBJECT
public:
    TestInstalled(CDunmereApp &app, const QString &root)
        : m_app(app)
        , m_root(root)
        , m_data(root + QStringLiteral("/home/.local/share/Ostrivane/Brisquel"))
    {}

private slots:
    void bothProgramsNameTheSameDataFolder();
    void filesGoToTheDataFolder();
    void aboutBoxNamesTheFolder();
    void gameFilesLandInTheDataFolderOnly();

private:
    CDunmereApp &m_app;
    QString m_root;
    QString m_data;
};

void TestInstalled::bothProgramsNameTheSameDataFolder()
{
    // The desktop program asks Qt, brisquel-cli works it out itself: they must agree.
    const auto qtFolder = [] {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    };
    QCOMPARE(qtFolder(), m_data);
    QCOMPARE(QString::fromStdString(UserDataFolder().string()), m_data);
    qputenv("XDG_DATA_HOME", (m_root + QStringLiteral("/xdg")).toLocal8Bit());
    const QString qtXdg = qtFolder();
    const QString ownXdg = QString::fromStdString(UserDataFolder().string());
    qunsetenv("XDG_DATA_HOME");
    QCOMPARE(qtXdg, m_root + QStringLiteral("/xdg/Ostrivane/Brisquel"));
    QCOMPARE(ownXdg, qtXdg);
}

void TestInstalled::filesGoToTheDataFolder()
{
    QCOMPARE(m_app.TextFolder(), m_data);
    QCOMPARE(m_app.DatabaseFolder(), m_data);
    QVERIFY(m_app.FolderProblem().isEmpty());
    QVERIFY(m_app.DatabaseOpen());
    QVERIFY(QFile::exists(m_data + QStringLiteral("/PokerDB.db3")));
    const auto boxes = m_app.MainFrame()->findChildren<QMessageBox *>();
    QVERIFY(boxes.isEmpty());
}

void TestInstalled::aboutBoxNamesTheFolder()
{
    QString shown;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto *about = qobject_cast<CAboutDlg *>(QApplication::activeModalWidget());
        if (!about)
            return;
        if (const auto *files = about->findChild<QLabel *>(QStringLiteral("AboutFiles")))
            shown = files->text();
        QPushButton *ok = about->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        closed = true;
    });
    m_app.MainFrame()->ExecuteCommand(ID_APP_ABOUT);
    QVERIFY(closed);
    QCOMPARE(shown, QStringLiteral("Files: ") + m_data);
}

// With the "PokerStars copy" box ticked, the copy lands beside the hand history, hand for hand.
void TestInstalled::gameFilesLandInTheDataFolderOnly()
{
    QCheckBox *copyBox = nullptr;
    for (QCheckBox *box : m_app.MainFrame()->findChildren<QCheckBox *>())
        copyBox = box->text() == QStringLiteral("PokerStars copy") ? box : copyBox;
    QVERIFY(copyBox && !copyBox->isChecked());
    QTest::mouseClick(copyBox, Qt::LeftButton, {}, QPoint(8, copyBox->height() / 2));
    QTRY_VERIFY(copyBox->isChecked() && m_app.MainFrame()->trackerCopy());
    QCOMPARE(QSettings().value(QStringLiteral("Files/PokerStarsCopy")).toBool(), true);
    PlayShortGame(m_app);
    if (QTest::currentTestFailed())
        return;
    const QDir data(m_data);
    QVERIFY(QFileInfo(data.filePath(QStringLiteral("HistoryGame.log"))).size() > 0);
    const QDir histories(data.filePath(QStringLiteral("HandHistory")));
    const QStringList games = histories.entryList({QStringLiteral("HH_*.txt")}, QDir::Files);
    QCOMPARE(games.size(), 1);
    // The game's hand history, its own log lines beside it, and the copy for trackers.
    QString ownLog = games[0];
    ownLog.replace(QStringLiteral(".txt"), QStringLiteral(".log"));
    QCOMPARE(histories.entryList(QDir::Files),
             QStringList({ownLog, games[0], QStringLiteral("PokerStars_") + games[0]}));
    QFile game(histories.filePath(games[0]));
    QFile copy(histories.filePath(QStringLiteral("PokerStars_") + games[0]));
    QVERIFY(game.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    const QByteArray own = game.readAll(), copied = copy.readAll();
    QVERIFY(own.count("Ostrivane Hand #") >= 1);
    QCOMPARE(copied.count("PokerStars Hand #"), own.count("Ostrivane Hand #"));
    QCOMPARE(copied.count("*** SUMMARY ***"), own.count("Ostrivane Hand #"));
    QVERIFY(QFileInfo(data.filePath(QStringLiteral("PokerDB.db3"))).size() > 0);
    // Nothing beside the program, nothing in the folder it was started from.
    for (const QString &folder : {m_root + QStringLiteral("/prefix/bin"), QDir::currentPath()})
        QVERIFY2(QDir(folder)
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                     .isEmpty(),
                 qPrintable(folder));
}

int main(int argc, char **argv)
{
    QTemporaryDir root;
    if (!root.isValid())
        return 1;
    // A fresh HOME keeps the data and the settings apart from the user's own.
    qputenv("HOME", (root.path() + QStringLiteral("/home")).toLocal8Bit());
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    QDir(root.path()).mkpath(QStringLiteral("prefix/bin"));
    QDir(root.path()).mkpath(QStringLiteral("cwd"));
    QDir::setCurrent(root.path() + QStringLiteral("/cwd"));
    AppOptions options;
    options.programFolder = root.path() + QStringLiteral("/prefix/bin");
    const auto app = StartTestApp(argc, argv, options, 15);
    if (!app)
        return 1;
    TestInstalled test(*app, root.path());
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_installed.moc"
