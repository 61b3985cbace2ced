// Closing the window while the game waits for the human's decision ends the program cleanly.

#include "CloseScenario.h"

int main(int argc, char **argv)
{
    return RunCloseScenario(argc, argv, true, 0.0);
}
