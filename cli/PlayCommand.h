#pragma once
// `brisquel-cli play`: a whole game between computer opponents, without pauses.

#include <iosfwd>
#include <string>
#include <vector>

constexpr int kPlayExitOk = 0;
constexpr int kPlayExitFault = 1; // the chips at the end differ from those at the start
constexpr int kPlayExitUsage = 2;

extern const char kPlayUsage[];

// args are the words after "play".
int RunPlayCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
// The same on standard output and standard error, as the command dispatcher calls it.
int RunPlayCommand(const std::vector<std::string> &args);
