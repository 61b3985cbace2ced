#include "PlayCommand.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    if (argc >= 2 && std::string(argv[1]) == "play")
        return RunPlayCommand({argv + 2, argv + argc}, std::cout, std::cerr);
    std::puts("brisquel-cli");
    return 0;
}
