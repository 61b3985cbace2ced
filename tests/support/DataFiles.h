#pragma once
// Expected texts kept as files under tests/data, so that a test reads as what it does and the
// texts read as the program writes them.

#include <map>
#include <string>
#include <vector>

namespace testsupport {

// The file tests/data/<relative> as it is; empty, and the test fails, when it cannot be read.
std::string DataFile(const std::string &relative);

// A file of several expected texts: each begins after a line "@@ <name>" and runs to the next
// such line, every line ending in "\n". A text kept one entry a line (an output pane) writes a
// line break inside an entry as "\n".
std::map<std::string, std::string> DataTexts(const std::string &relative);

// One entry a line, each "\n" read back as a line break.
std::vector<std::string> DataEntries(const std::string &text);

} // namespace testsupport
