#include "opponents/Roster.h"

#include "vocabulary/GameVocabulary.h"

#include <algorithm>

std::string StrategyLogName(int persona)
{
    return StrategyName(persona);
}

int AssignPersona(const std::string &name, EasyRandom &random)
{
    int persona = PersonaOfName(name);
    return persona != kPersonaNone ? persona : random.DrawRandomNumber();
}

const std::vector<StrategyRow> &StrategyList()
{
    static const std::vector<StrategyRow> rows = {
        {"1", PersonaName(kPersonaMaster), "The Best Strategy"},
        {"2", PersonaName(kPersonaTim), "Tight Strategy"},
        {"3", PersonaName(kPersonaManiac), "Loose Agressive Strategy"},
        {"4", PersonaName(kPersonaProfessor), "Probability Theory Strategy"},
    };
    return rows;
}

std::vector<SeatRow> DefaultSeating()
{
    std::vector<SeatRow> rows;
    for (int persona :
         {kPersonaHero, kPersonaMaster, kPersonaTim, kPersonaManiac, kPersonaProfessor,
          kPersonaMaster, kPersonaTim, kPersonaManiac, kPersonaProfessor})
        rows.push_back({PersonaName(persona), kDefaultSeatStack});
    return rows;
}

std::vector<SeatRow> BlankSeating(int count)
{
    std::vector<SeatRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({i == 0 ? PersonaName(kPersonaHero) : "Unknow", kDefaultSeatStack});
    return rows;
}

const std::vector<std::string> &RandomNamePool()
{
    static const std::vector<std::string> pool = {
        "Albert",    "Angelina", "Benjamin", "Bruce",  "Barbara", "Carlos",    "Christian",
        "Christine", "Dennis",   "Douglas",  "Diana",  "Edward",  "Elizabeth", "Evelyn",
        "Geoffrey",  "Gilbert",  "Gloria",   "Gladys", "Harold"};
    return pool;
}

void DrawRandomOpponents(std::vector<std::string> &names, EasyRandom &random)
{
    const int poolSize = static_cast<int>(RandomNamePool().size());
    random.SetInterval(0, poolSize - 1);
    // Distinct names only, so never more rows than the pool can fill.
    const int rows = std::min(static_cast<int>(names.size()), poolSize + 1);
    std::vector<int> given;
    for (int row = 1; row < rows; ++row) {
        int index = random.DrawRandomNumber();
        while (isExist(index, given.data(), static_cast<int>(given.size())))
            index = random.DrawRandomNumber();
        given.push_back(index);
        names[row] = RandomNamePool()[index];
    }
}

void DrawRandomOpponents(std::vector<std::string> &names)
{
    EasyRandom random(0, 1);
    random.SetTimerSeed();
    DrawRandomOpponents(names, random);
}

const std::map<std::string, int> &AvatarTable()
{
    static const std::map<std::string, int> table = [] {
        std::map<std::string, int> t;
        int id = 483;
        for (const std::string &name : RandomNamePool())
            t[name] = id++;
        for (int persona : {kPersonaManiac, kPersonaProfessor, kPersonaMaster, kPersonaTim})
            t[PersonaName(persona)] = id++;
        t["Unknow"] = id++;
        t[PersonaName(kPersonaHero)] = id++;
        return t;
    }();
    return table;
}

int AvatarOfSeatName(const std::string &seatName)
{
    std::string name = seatName.substr(0, seatName.find('_'));
    // Trimmed of every white-space character, not only blanks and tabs.
    static const char *const blank = " \t\n\v\f\r";
    const auto first = name.find_first_not_of(blank);
    const auto last = name.find_last_not_of(blank);
    name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    const auto it = AvatarTable().find(name);
    return it == AvatarTable().end() ? 0 : it->second;
}

void PrepareStrategyData(CStatSpectr &spectrum, StrategyRanges &ranges)
{
    spectrum.Init();
    ranges.MakeSrategyRanges();
    spectrum.InitFerrandel();
}
