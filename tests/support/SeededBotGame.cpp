#include "tests/support/SeededBotGame.h"

#include <vector>

namespace testsupport {

SeededBotGame::SeededBotGame(int seats, int lastHand, std::uint64_t seed)
    : SeededBotGame(seats, lastHand, seed, 1500, kGameTypeNinePlayersTurbo)
{}

SeededBotGame::SeededBotGame(int seats, int lastHand, std::uint64_t seed, int stack, int gameTypeId)
{
    BotGameOptions options;
    options.names = DefaultBotNames(seats);
    options.stacks.assign(static_cast<size_t>(seats), stack);
    options.gameTypeId = gameTypeId;
    options.lastHand = lastHand;
    options.seed = seed;
    options.outputFolder = m_folder.str();
    m_result = RunBotGame(options);

    std::vector<history::Game> games;
    if (!history::ReadGames(m_folder.str(), false, games, m_error))
        return;
    if (games.size() != 1)
        m_error = std::to_string(games.size()) + " games in " + m_folder.str();
    else
        m_game = games.front();
}

} // namespace testsupport
