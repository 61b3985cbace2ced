#pragma once
// What a player name may hold. Names go into the log, the hand histories, the database and the
// terminal as they are, so a line feed or an escape in one could forge lines there; and the
// seat boxes and the summaries have room for a bounded name only.

#include <string>

// Characters (not bytes) a name may have; "Unknow Player 9", the longest name the set-up
// dialog gives by itself, has 15. The seat suffix ("_9") comes on top.
constexpr int kMaxPlayerNameLength = 16;

// Empty when the name (UTF-8) is fine, else what is wrong with it: "is empty", "contains a
// control character", "is not UTF-8 text", "is longer than 16 characters", or that the hand
// history could not be read back with it (" (" or " [ " in it, or the start of a hand header).
std::string PlayerNameProblem(const std::string &name);
