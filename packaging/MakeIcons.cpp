// Draws the program's desktop icon at the given sizes, with the picture of the application
// button: MakeIcons <folder> <name> <size>... writes <folder>/<size>x<size>/apps/<name>.png.

#include "ui/app/RibbonIcons.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fputs("usage: MakeIcons <folder> <name> <size>...\n", stderr);
        return 2;
    }
    // Drawing needs no display: the build machine may have none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(sizeFolder, name);
        if (size < 1 || !QDir().mkpath(sizeFolder) ||
            !DrawRibbonIcon(RibbonIcon::AppButton, size).save(file)) {
            std::fprintf(stderr, "MakeIcons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
