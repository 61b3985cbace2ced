// Closing the window while computer players are in the middle of a paced hand ends the program
// cleanly; the pauses are shortened, not waited for.

#include "CloseScenario.h"

int main(int argc, char **argv)
{
    return RunCloseScenario(argc, argv, false, 0.01);
}
