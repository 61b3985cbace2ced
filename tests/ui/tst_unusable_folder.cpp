// A data folder that cannot be made: the program says so at start and in the about box, and
// the game plays all the same.

#include "tests/ui/ShortGame.h"
#include "tests/ui/TestApp.h"
#include "ui/app/DunmereApp.h"
#include "ui/output_pane/OutputWnd.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

class TestUnusableFolder : public QObject
{
    Q_OBJECT
public:
    TestUnusableFolder(CDunmereApp &app, const QString &folder)
        : m_app(app)
        , m_folder(folder)
    {}

private slots:
    void warnedAtStart();
    void gamePlaysWithoutFiles();

private:
    CDunmereApp &m_app;
    QString m_folder;
};

void TestUnusableFolder::warnedAtStart()
{
    QCOMPARE(m_app.TextFolder(), m_folder);
    QVERIFY(!m_app.DatabaseOpen());
    QMessageBox *box = nullptr;
    QTRY_VERIFY(
        (box = m_app.MainFrame()->findChild<QMessageBox *>(QStringLiteral("FolderWarning"))) &&
        box->isVisible());
    QCOMPARE(
        box->text(),
        QStringLiteral("Brisquel cannot create the folder %1: Not a directory.").arg(m_folder));
    QVERIFY(box->informativeText().contains(QStringLiteral("--data-dir")));
    QVERIFY(m_app.FilesText().contains(QStringLiteral("\nNot saved: Brisquel cannot create")));
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_VERIFY(!m_app.MainFrame()->findChild<QMessageBox *>(QStringLiteral("FolderWarning")));
}

void TestUnusableFolder::gamePlaysWithoutFiles()
{
    // The engine's own report of the files it could not open, looked for at the start: the
    // pane keeps only its last lines, and a long game on a busy machine pushes it out.
    const QListWidget *chat = m_app.OutputWnd()->chatList();
    PlayShortGame(m_app, [chat] {
        QTRY_VERIFY(
            !chat->findItems(QStringLiteral("Could not write the game log"), Qt::MatchStartsWith)
                 .isEmpty());
    });
    if (QTest::currentTestFailed())
        return;
    {
        std::lock_guard<std::mutex> lock(m_app.Game().StateMutex());
        QVERIFY(m_app.Game().m_handNumber >= 1);
    }
    // Nothing went to the folder it was started from instead.
    QVERIFY(QDir::current().isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

int main(int argc, char **argv)
{
    QTemporaryDir root;
    if (!root.isValid())
        return 1;
    qputenv("HOME", root.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    QFile blocker(root.filePath(QStringLiteral("file")));
    if (!blocker.open(QIODevice::WriteOnly) || blocker.write("x") != 1)
        return 1;
    blocker.close();
    QDir(root.path()).mkpath(QStringLiteral("cwd"));
    QDir::setCurrent(root.filePath(QStringLiteral("cwd")));
    AppOptions options;
    options.dataFolder = root.filePath(QStringLiteral("file/data"));
    const auto app = StartTestApp(argc, argv, options, 16);
    if (!app)
        return 1;
    TestUnusableFolder test(*app, options.dataFolder);
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_unusable_folder.moc"
