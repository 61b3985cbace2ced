#include "interchange/Interchange.h"
#include "interchange/PhhHand.h"
#include "lineformat/TextFormat.h"

#include <algorithm>

namespace interchange {

namespace {

using toml::Section;
using toml::Value;

// How a file's hands count money: chips, or hundredths of one currency in every hand, so that
// the hands of a file add up.
struct MoneyUnit
{
    bool cents = false;
    std::string name; // "$", "USD"; empty for chips
};

// The file's money: hundredths of its currency when a hand names one or writes an amount with
// a decimal point, else chips.
MoneyUnit UnitOf(const std::vector<Section> &sections)
{
    MoneyUnit unit;
    std::string currency;
    for (const Section &section : sections) {
        for (const auto &[key, value] : section.fields) {
            if (key == "currency_symbol" && unit.name.empty())
                unit.name = value.text;
            if (key == "currency" && currency.empty())
                currency = value.text;
            const bool amounts = key == "starting_stacks" || key == "antes" ||
                                 key == "blinds_or_straddles" || key == "finishing_stacks" ||
                                 key == "winnings" || key == "min_bet";
            const auto decimal = [](const Value &item) {
                return item.kind == Value::Number && item.text.find('.') != std::string::npos;
            };
            unit.cents = unit.cents ||
                         (amounts && (decimal(value) || std::any_of(value.items.begin(),
                                                                    value.items.end(), decimal)));
        }
    }
    if (unit.name.empty())
        unit.name = currency;
    unit.cents = unit.cents || !unit.name.empty();
    if (unit.cents && unit.name.empty())
        unit.name = "units";
    return unit;
}

} // namespace

bool LooksLikePhh(const std::string &text)
{
    // The keys of a hand may follow a preamble of any length.
    return text.find("variant") != std::string::npos &&
           text.find("starting_stacks") != std::string::npos;
}

bool ImportPhh(const std::string &text, const std::string &source, ImportResult &result,
               std::string &error)
{
    const std::vector<Section> sections = toml::Read(text, source);
    const MoneyUnit unit = UnitOf(sections);
    detail::GameCollector collector(source, result);
    int ordinal = 0, notKnown = 0, nobody = 0;
    for (const Section &section : sections) {
        if (section.fields.empty() && section.error.empty())
            continue;
        detail::PhhHand reader(section, source, unit.cents);
        const bool read = section.error.empty() ? reader.Read() : false;
        if (!section.error.empty())
            reader.error = section.error;
        notKnown += read && reader.stacksNotKnown ? 1 : 0;
        nobody += read && reader.winningsOfNobody ? 1 : 0;
        reader.moneyUnit = unit.name;
        collector.Take(reader, read, ++ordinal);
    }
    const auto hands = [](int n) { return std::to_string(n) + (n == 1 ? " hand" : " hands"); };
    if (notKnown > 0)
        result.warnings.push_back(source + ": " + hands(notKnown) +
                                  " give stacks as inf (not known): read as deep enough for "
                                  "every bet of the hand");
    if (nobody > 0)
        result.warnings.push_back(source + ": " + hands(nobody) +
                                  " list winnings of 0 for every player: their pots are paid "
                                  "as played");
    return collector.Finish(error);
}

} // namespace interchange
