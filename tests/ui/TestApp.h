#pragma once
// Start-up shared by the Qt Test programs that run the whole desktop program: a throw-away
// working folder, settings kept apart from the user's own, no pauses (not even the
// showdown's shortest) and a fixed seed.

#include "ui/app/DunmereApp.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

// The program with the caller's options and folders, without pauses, seeded; null when it
// could not start. The caller keeps the settings apart (test mode, or a temporary HOME).
inline std::unique_ptr<CDunmereApp> StartTestApp(int &argc, char **argv, AppOptions options,
                                                 std::uint64_t seed,
                                                 bool quitOnLastWindowClosed = false)
{
    options.pauseFactor = 0;
    options.showdownMinimumMs = 0;
    options.seeded = true;
    options.seed = seed;
    auto app = std::make_unique<CDunmereApp>(argc, argv, options);
    QSettings().clear(); // the test's own settings file: every run starts from none
    app->setQuitOnLastWindowClosed(quitOnLastWindowClosed);
    if (!app->InitInstance())
        return nullptr;
    return app;
}

// The program, started in `folder`; null when it could not start.
inline std::unique_ptr<CDunmereApp> StartTestApp(int &argc, char **argv,
                                                 const QTemporaryDir &folder, std::uint64_t seed,
                                                 bool quitOnLastWindowClosed = false)
{
    if (!folder.isValid())
        return nullptr;
    QStandardPaths::setTestModeEnabled(true);
    // Settings of this run's own, outside its work folder: test programs running alongside
    // each other would otherwise clear and write one file (the last table, the coach's switch).
    static QTemporaryDir settings;
    if (!settings.isValid())
        return nullptr;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    AppOptions options;
    options.workFolder = folder.path();
    return StartTestApp(argc, argv, options, seed, quitOnLastWindowClosed);
}
