#pragma once
// A text's lines without their ends ("\r\n" too), for tests that read what programs write.

#include <string>
#include <vector>

namespace testsupport {

std::vector<std::string> Lines(const std::string &text);

} // namespace testsupport
