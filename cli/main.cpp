#include <cstdio>

int main()
{
    std::puts("brisquel-cli");
    return 0;
}
