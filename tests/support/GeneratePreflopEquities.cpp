// Writes tests/data/coach/preflop_equities.txt: the exact all-in equity of every starting-hand
// class against every other (PreflopEquity.h). Run once; the tests read the file and re-count
// a few entries another way.
//
//   generate_preflop_equities tests/data/coach/preflop_equities.txt

#include "tests/support/PreflopEquity.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_preflop_equities OUT\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const testsupport::EquityTable table = testsupport::ExactClassEquities();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Each pair's two shares make the whole pot.
    for (int a = 0; a < testsupport::kClassCount; ++a) {
        for (int b = 0; b < testsupport::kClassCount; ++b) {
            if (std::abs(table[a][b] + table[b][a] - 1.0) > 1e-12) {
                std::fprintf(stderr, "%s vs %s: the shares do not add up\n",
                             testsupport::ClassName(a).c_str(), testsupport::ClassName(b).c_str());
                return 1;
            }
        }
    }
    std::ofstream out(argv[1]);
    out << "# The all-in preflop equity of a hand of the row's class against one of the column's,\n"
           "# in millionths: ties halved, every deal of both hands sharing no card and every\n"
           "# board counted (exact, no sampling). Written by tests/support/"
           "GeneratePreflopEquities.cpp.\n"
        << testsupport::EquityTableText(table);
    std::printf("%.1f s\n", seconds);
    return out ? 0 : 1;
}
