#pragma once
// The desktop program's command line, read with the parser brisquel-cli uses. The words it
// does not know belong to Qt ("-platform offscreen", "-style fusion") and are left to Qt.

#include "ui/app/DunmereApp.h"

#include <string>
#include <vector>

extern const char kAppUsage[];

struct AppCommandLine
{
    bool version = false;
    bool help = false;
    bool platformGiven = false; // Qt's own -platform option
    std::string error;          // for "brisquel: <error>" and exit status 2
};

// Reads args (without the program name) into options: --pace sets pauseFactor, --data-dir the
// data folder; an option given twice takes the last value.
AppCommandLine ParseAppCommandLine(const std::vector<std::string> &args, AppOptions &options);
