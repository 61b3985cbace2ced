#pragma once
// One line about a game for the Hands window's game list: when it started, the game type, the
// stakes, the seats, the hands and the player's result.
//
// Threads: any (plain values in, a string out).

#include "history/HistoryReader.h"

#include <QString>

// "2023.11.14 22:13 · 9 players Turbo · 10/20 · 9 seats · 37 hands · +1240".
QString GameListText(const history::Game &game);
// The game's type from its start: a tournament's schedule when the stacks and the first blinds
// are those of one, else "fixed blinds".
QString GameTypeText(const history::Game &game);
// The line for a hand-history file, read without the game log (fast); the file name with the
// reason when it cannot be read.
// hasHands (when given) tells whether the file holds a complete hand.
QString GameListTextOfFile(const QString &path, bool *hasHands = nullptr);
