#pragma once
// A seeded tournament between the personas, played into a temporary folder of its own (removed
// with the object) and read back from the game log and hand history it left there.

#include "history/HistoryReader.h"
#include "opponents/BotGame.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <string>

namespace testsupport {

class SeededBotGame
{
public:
    // `seats` personas with 1500 chips each in the "9 players Turbo" tournament, played to the
    // end of hand `lastHand`.
    SeededBotGame(int seats, int lastHand, std::uint64_t seed);
    // `stack` chips each in the game of `gameTypeId` (0 fixed blinds 10/20, 3 "9 players",
    // 4 "9 players Turbo"); lastHand 0 plays to one player left.
    SeededBotGame(int seats, int lastHand, std::uint64_t seed, int stack, int gameTypeId);

    const BotGameResult &result() const { return m_result; }
    // The one game of the folder; ok() tells whether it was read.
    const history::Game &game() const { return m_game; }
    bool ok() const { return m_error.empty(); }
    const std::string &error() const { return m_error; }
    const TempFolder &folder() const { return m_folder; }
    // The log of every game of the folder (its one game).
    std::string logPath() const { return m_folder.str() + "/HistoryGame.log"; }

private:
    TempFolder m_folder{"brisquel_botgame"};
    BotGameResult m_result;
    history::Game m_game;
    std::string m_error;
};

} // namespace testsupport
