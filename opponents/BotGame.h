#pragma once
// A whole game between computer opponents, run headless through the game object's own commands
// (Start game, Start deal, stop) with no pauses. Used by brisquel-cli and the benchmarks.

#include "engine/Game.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct BotGameOptions
{
    std::vector<std::string> names; // one per seat; none may be "Hero"
    std::vector<int> stacks;        // one per seat
    int smallBlind = 10;
    int bigBlind = 20;
    int gameTypeId = kGameTypeFixedBlinds; // kGameTypeNinePlayers, ...Turbo, else fixed blinds
    int lastHand = 0;                      // stop after this hand; 0 plays to one player left
    std::optional<std::uint64_t> seed;
    std::string outputFolder; // the game log and HandHistory/ go here
    // Plays every seat; nullptr means the four personas.
    IDecider *decider = nullptr;
    // The database save when the game stops (game thread, state lock held).
    std::function<void(CDunmereGame &)> saveResults;
    // After every hand has been paid and analysed (game thread, state lock held).
    std::function<void(const CDunmereGame &)> onHandEnd;
};

struct BotSeatResult
{
    std::string name; // with its seat suffix
    int persona = 0;
    int startStack = 0;
    int finalStack = 0;
    CPokerStat stat;
};

struct BotGameResult
{
    int handsPlayed = 0;
    std::vector<BotSeatResult> seats;
    // The game log or hand history could not be opened or written (CDunmereGame::FileProblems).
    std::vector<std::string> fileProblems;
    int startChips() const;
    int finalChips() const;
};

// The default line-up for n seats (2..10): the set-up dialog's default seating, seat 0 played
// by a persona instead of the human, continued round the four personas beyond nine seats.
std::vector<std::string> DefaultBotNames(int seats);

// Simulated seconds per hand for the blind clock, so that tournament levels rise with the
// hands played as they would at the table, and a seeded game repeats exactly.
constexpr int kBotHandSeconds = 30;

BotGameResult RunBotGame(const BotGameOptions &options);
