#pragma once
// The argument handling shared by the commands of brisquel-cli and by the desktop program:
// options with values (given as "--name value" or "--name=value"), flags, positional words and
// "--help" anywhere. Every refusal is an ArgError whose text names the real problem, for the
// program to print before it exits with status 2.

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class ArgError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class ParsedArgs;

// The options one command accepts.
class CommandLine
{
public:
    // An option that takes a value. Unless allowEmpty, an empty value ("--names ''") is refused.
    CommandLine &Value(const std::string &name, bool allowEmpty = false);
    // An option that takes a value and may be given again, each time adding one ("--vs"); the
    // last one given is its Text.
    CommandLine &Repeated(const std::string &name, bool allowEmpty = false);
    // An option that takes none ("--exact"); a repeatable one may be given more than once.
    CommandLine &Flag(const std::string &name, bool repeatable = false);
    // How many words that are not options the command takes (default none).
    CommandLine &Positional(std::size_t most);
    // Words the command does not know, options or not, are kept for another reader (the
    // desktop program leaves Qt's "-platform offscreen" to Qt) instead of refused.
    CommandLine &PassOthers();

    // Throws ArgError for an unknown option, a missing or empty value, a value given to a
    // flag, an option given twice or a word too many. "--help" or "-h" anywhere wins: the
    // result then only says so.
    ParsedArgs Parse(const std::vector<std::string> &args) const;

private:
    struct OptionSpec
    {
        bool takesValue = false;
        bool allowEmpty = false;
        bool repeatable = false;
    };
    std::map<std::string, OptionSpec> m_options;
    std::size_t m_positional = 0;
    bool m_passOthers = false;
};

class ParsedArgs
{
public:
    bool Help() const { return m_help; }
    bool Has(const std::string &option) const { return m_values.count(option) > 0; }
    // The text given to an option, if it was given.
    std::optional<std::string> Text(const std::string &option) const;
    // Every value of a repeated option, in the order given.
    std::vector<std::string> Texts(const std::string &option) const;
    const std::vector<std::string> &Positional() const { return m_positional; }
    // The words left for another reader (PassOthers), in the order given.
    const std::vector<std::string> &Others() const { return m_others; }

    // The option's value as a whole number within [least, most], or `fallback` when the option
    // is absent. Throws ArgError: "--seats: 'x' is not a whole number" or
    // "--seats: 11 is out of range (2 to 10)".
    long long Integer(const std::string &option, long long least, long long most,
                      long long fallback) const;
    // The same for the full unsigned 64-bit range (seeds).
    std::optional<std::uint64_t> Unsigned64(const std::string &option) const;

private:
    friend class CommandLine;
    bool m_help = false;
    std::map<std::string, std::string> m_values;
    std::map<std::string, std::vector<std::string>> m_repeated;
    std::vector<std::string> m_positional;
    std::vector<std::string> m_others;
};

// A whole number read from `text` for `what` (an option name or a description), with the same
// messages as ParsedArgs::Integer.
long long ParseInteger(const std::string &what, const std::string &text, long long least,
                       long long most);

// Splits "a,b,c" at `separator`; "a," gives "a" and an empty last part.
std::vector<std::string> SplitList(const std::string &text, char separator);
