#include "DunmereApp.h"

int main(int argc, char *argv[])
{
    CDunmereApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    const int result = app.exec();
    app.ExitInstance();
    return result;
}
