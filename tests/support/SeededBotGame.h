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

    const BotGameResult &result() const { return m_result; }
    // The one game of the folder; ok() tells whether it was read.
    const history::Game &game() const { return m_game; }
    bool ok() const { return m_error.empty(); }
    const std::string &error() const { return m_error; }
    const TempFolder &folder() const { return m_folder; }

private:
    TempFolder m_folder{"brisquel_botgame"};
    BotGameResult m_result;
    history::Game m_game;
    std::string m_error;
};

} // namespace testsupport
