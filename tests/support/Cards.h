#pragma once
// Cards written as text in tests: "Ah" is the ace of hearts. Card numbers count suit by suit
// (clubs, diamonds, hearts, spades), deuce to ace within a suit: 2c is 0, As is 51.

#include <initializer_list>
#include <string_view>
#include <vector>

namespace testsupport {

// Throws std::invalid_argument for anything but a rank of "23456789TJQKA" and a suit of "cdhs".
int Card(std::string_view name);
// Cards({"Ah", "Kd"}) or Cards("Ah Kd").
std::vector<int> Cards(std::initializer_list<const char *> names);
std::vector<int> Cards(std::string_view text);

} // namespace testsupport
