#include "DunmereApp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// "--pace F" scales the pauses between actions: 1 is a real table's pace, 0.5 twice as fast,
// 0 no pauses at all.
bool ParsePace(int argc, char *argv[], double &pace)
{
    for (int i = 1; i < argc; ++i) {
        const char *value = nullptr;
        if (std::strcmp(argv[i], "--pace") == 0 && i + 1 < argc)
            value = argv[i + 1];
        else if (std::strncmp(argv[i], "--pace=", 7) == 0)
            value = argv[i] + 7;
        else if (std::strcmp(argv[i], "--pace") == 0)
            return false;
        if (value) {
            char *end = nullptr;
            const double parsed = std::strtod(value, &end);
            if (end == value || *end != '\0' || !(parsed >= 0.0 && parsed <= 10.0))
                return false;
            pace = parsed;
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    AppOptions options;
    options.pauseFactor = -1;
    if (!ParsePace(argc, argv, options.pauseFactor)) {
        std::fprintf(stderr, "brisquel: --pace takes a number from 0 (no pauses) to 10\n");
        return 2;
    }
    // Without --pace the Pace control's setting decides.
    options.paceFromSettings = options.pauseFactor < 0;
    CDunmereApp app(argc, argv, options);
    if (!app.InitInstance())
        return 1;
    const int result = app.exec();
    app.ExitInstance();
    return result;
}
