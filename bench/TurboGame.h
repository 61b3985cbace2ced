#pragma once
// The benchmarks' game: the nine-seat turbo tournament between the personas, 1500 chips each,
// played from a fixed seed into a folder of its own and read back from its files.

#include "history/HistoryReader.h"
#include "opponents/BotGame.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>

// `folder` is emptied first and keeps the game's files.
inline history::Game PlayTurboGame(const std::filesystem::path &folder, int hands,
                                   std::uint64_t seed)
{
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    BotGameOptions options;
    options.names = DefaultBotNames(9);
    options.stacks.assign(9, 1500);
    options.gameTypeId = kGameTypeNinePlayersTurbo;
    options.lastHand = hands;
    options.seed = seed;
    options.outputFolder = folder.string();
    RunBotGame(options);
    std::vector<history::Game> games;
    std::string error;
    if (!history::ReadGames(folder.string(), false, games, error) || games.size() != 1)
        throw std::runtime_error("the game did not read back: " + error);
    return games.front();
}
