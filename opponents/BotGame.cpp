#include "opponents/BotGame.h"

#include "opponents/Decisions.h"
#include "opponents/Roster.h"
#include "vocabulary/GameVocabulary.h"

#include <atomic>
#include <ctime>
#include <mutex>

int BotGameResult::startChips() const
{
    int sum = 0;
    for (const BotSeatResult &seat : seats)
        sum += seat.startStack;
    return sum;
}

int BotGameResult::finalChips() const
{
    int sum = 0;
    for (const BotSeatResult &seat : seats)
        sum += seat.finalStack;
    return sum;
}

std::vector<std::string> DefaultBotNames(int seats)
{
    static const int cycle[] = {kPersonaMaster, kPersonaTim, kPersonaManiac, kPersonaProfessor};
    std::vector<std::string> names;
    const auto seating = DefaultSeating();
    for (int s = 0; s < seats; ++s) {
        if (s == 0)
            names.emplace_back(PersonaName(kPersonaProfessor));
        else if (s < static_cast<int>(seating.size()))
            names.push_back(seating[static_cast<size_t>(s)].name);
        else
            names.emplace_back(PersonaName(cycle[(s - 1) % 4]));
    }
    return names;
}

BotGameResult RunBotGame(const BotGameOptions &options)
{
    // The blind clock runs on hands played, not on the (much faster) wall clock.
    std::atomic<std::int64_t> now{static_cast<std::int64_t>(std::time(nullptr))};
    CPersonaDecider decider;
    CDunmereGame game;
    game.SetDecider(options.decider ? options.decider : &decider);
    game.SetPauseFactor(0);
    game.SetOutputFolder(options.outputFolder);
    if (options.seed)
        game.SetSeed(*options.seed);
    game.SetClock([&now] { return static_cast<std::time_t>(now.load()); });
    const int lastHand = options.lastHand;
    const auto &onHandEnd = options.onHandEnd;
    game.m_onHandEnd = [&now, lastHand, &onHandEnd](CDunmereGame &g) {
        if (onHandEnd)
            onHandEnd(g);
        now += kBotHandSeconds;
        // What "Last hand && Stop game" does, chosen during the last hand.
        if (lastHand > 0 && g.m_handNumber >= lastHand) {
            g.m_stopRequested = true;
            g.stopEnabled = 0;
        }
    };
    game.m_saveResults = options.saveResults;

    GameSetupItems items;
    items.seatCount = static_cast<int>(options.names.size());
    items.names = options.names;
    items.stacks = options.stacks;
    items.smallBlind = options.smallBlind;
    items.bigBlind = options.bigBlind;
    items.gameTypeId = options.gameTypeId;
    game.StartGame(items);
    game.StartDeal();
    game.WaitForGameEnd();

    BotGameResult result;
    std::lock_guard<std::mutex> lock(game.StateMutex());
    const CGameTable &t = game.m_table;
    result.handsPlayed = game.m_handNumber;
    result.fileProblems = game.FileProblems();
    for (int s = 0; s < t.m_seatCount; ++s) {
        BotSeatResult seat;
        seat.name = t.m_players[s].m_name;
        seat.persona = t.m_players[s].m_persona;
        seat.startStack = t.m_startStack[s];
        seat.finalStack = t.m_stack[s];
        seat.stat = t.m_players[s].m_stat;
        result.seats.push_back(seat);
    }
    return result;
}
