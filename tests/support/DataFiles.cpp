#include "tests/support/DataFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace testsupport {

std::string DataFile(const std::string &relative)
{
    const std::string path = std::string(BRISQUEL_TESTS_DATA "/") + relative;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::map<std::string, std::string> DataTexts(const std::string &relative)
{
    std::map<std::string, std::string> texts;
    std::string *text = nullptr;
    std::istringstream in(DataFile(relative));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("@@ ", 0) == 0)
            text = &texts[line.substr(3)];
        else if (text)
            *text += line + "\n";
        else
            ADD_FAILURE() << relative << ": a line before the first \"@@ \" heading";
    }
    return texts;
}

std::vector<std::string> DataEntries(const std::string &text)
{
    std::vector<std::string> entries;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::string entry;
        for (size_t i = 0; i < line.size(); ++i) {
            const bool lineBreak = line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'n';
            entry += lineBreak ? '\n' : line[i];
            i += lineBreak ? 1 : 0;
        }
        entries.push_back(entry);
    }
    return entries;
}

} // namespace testsupport
