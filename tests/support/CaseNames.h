#pragma once
// Parameterised cases named as a reader would name them, in test lists and failure lines,
// instead of gtest's dump of the parameter's bytes.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace support {

// A test name from a case's printed form (its PrintTo): letters and digits kept, every other
// run of characters one '_', none at either end.
struct PrintedName
{
    template <class Case> std::string operator()(const testing::TestParamInfo<Case> &info) const
    {
        std::string name;
        for (const char c : testing::PrintToString(info.param)) {
            if (std::isalnum(static_cast<unsigned char>(c)))
                name += c;
            else if (!name.empty() && name.back() != '_')
                name += '_';
        }
        while (!name.empty() && name.back() == '_')
            name.pop_back();
        return name;
    }
};

} // namespace support
