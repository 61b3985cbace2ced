#pragma once
// The part of TOML that hand histories use: key = value lines, numbered tables, strings of
// all four kinds, numbers (inf too), booleans and arrays of those over several lines,
// comments. A fault in one table spoils that table (that hand) alone.

#include <map>
#include <string>
#include <vector>

namespace interchange::toml {

struct Value
{
    enum Kind
    {
        None,
        String,
        Number,
        Bool,
        Array
    } kind = None;
    std::string text; // the string, or the number as written
    std::vector<Value> items;
    size_t line = 0;
};

struct Section
{
    std::string name;
    size_t line = 0;
    std::map<std::string, Value> fields;
    std::string error; // "file:line: why" when the table could not be read
};

// The tables of `text` in order, the keys before the first table in one named "". `source`
// names the file in messages.
std::vector<Section> Read(const std::string &text, const std::string &source);

} // namespace interchange::toml
