#pragma once
// Hand histories in the formats other poker tools read and write: the PokerStars hand-history
// text that trackers and replayers use, and the open Poker Hand History format (PHH, TOML;
// several hands in one file as numbered tables, "[1]", "[2]", ...).
//
// Export turns a game read by history/ into either text. Brisquel's own file writes the chips
// an action puts in ("raises 30"); the exported text gives totals where the formats want them
// ("raises 20 to 40", "cbr 40"), posts the antes and blinds, returns uncalled bets and splits
// the pot into main and side pots. Whatever was played is written as played: sizes the rules
// would not allow are not corrected or refused.
//
// Import reads either format, and the hand histories of GGPoker, Winamax and 888poker, into
// history's structures (each table of a file is one history::Game, its hands replayed so that
// every action carries the pot, the amount owed and the stack before it), so the coach,
// `review` and the replayer use them unchanged. Amounts
// with cents are read as whole cents; chips as chips. A hand that cannot be read is skipped
// and counted, with a warning naming the file and line; a file with no readable hand is an
// error with such a message. Nothing here throws or crashes on bad text.
//
// Thread use: free functions on values; any thread.

#include "history/HistoryReader.h"

#include <string>
#include <vector>

namespace interchange {

enum class Format
{
    PokerStars,
    Phh,
};

// "pokerstars" or "phh"; false for anything else.
bool FormatFromName(const std::string &name, Format &format);
// The file name ending of a format: ".txt" or ".phhs".
const char *FormatExtension(Format format);

std::string ExportPokerStars(const history::Game &game);
std::string ExportPhh(const history::Game &game);
std::string ExportGame(const history::Game &game, Format format);
// Several games in one text; PHH hands are then numbered across the games.
std::string ExportGames(const std::vector<history::Game> &games, Format format);
// As ExportGames, but each hand is first written alone and read back with the importer below:
// a hand it refuses, or reads with another pot or other winnings, is left out, with a warning
// in leftOut naming the game's file, the hand and the reason. Every write to a file goes here.
// A hand whose winnings differ from what the hands shown give each pot is written as played,
// with a note in `notes` when given.
std::string ExportReadable(const std::vector<history::Game> &games, Format format,
                           std::vector<std::string> &leftOut,
                           std::vector<std::string> *notes = nullptr);

struct ImportResult
{
    std::vector<history::Game> games; // one per table, in the order first seen
    int skipped = 0;                  // hands that could not be read
    std::vector<std::string> warnings;
};

// Whether text looks like PokerStars hand histories or PHH (without reading it all).
bool LooksLikePokerStars(const std::string &text);
bool LooksLikePhh(const std::string &text);
// Other rooms' hand histories, each told by the line that starts its hands.
bool LooksLikeGgPoker(const std::string &text);
bool LooksLikeWinamax(const std::string &text);
bool LooksLike888(const std::string &text);

// Reads text of any format above; `source` names the file in messages. False with a message
// naming the source (and the line) when no hand could be read.
bool ImportText(const std::string &text, const std::string &source, ImportResult &result,
                std::string &error);
bool ImportPokerStars(const std::string &text, const std::string &source, ImportResult &result,
                      std::string &error);
bool ImportPhh(const std::string &text, const std::string &source, ImportResult &result,
               std::string &error);
bool ImportGgPoker(const std::string &text, const std::string &source, ImportResult &result,
                   std::string &error);
bool ImportWinamax(const std::string &text, const std::string &source, ImportResult &result,
                   std::string &error);
bool Import888(const std::string &text, const std::string &source, ImportResult &result,
               std::string &error);
// Reads a file of any of these formats.
bool ImportFile(const std::string &path, ImportResult &result, std::string &error);

// The copy of a game's hand-history file in a format, beside it: "PokerStars_HH_....txt" or
// "PHH_HH_....phhs" (names no reader of the game's own files takes for a game).
std::string CopyPathFor(const std::string &historyPath, Format format);
// Reads the game of `historyPath` (its log beside it) and replaces its copy whole, so that a
// tracker watching the folder never sees half a file. False with a message, also when hands
// had to be left out of the copy (which is written all the same).
bool WriteCopyBeside(const std::string &historyPath, Format format, std::string &error);

// Whether the file at `path` holds a format above rather than a game of Brisquel's.
bool IsOtherFormatFile(const std::string &path);

// What one file was read as, by the reader its content calls for.
struct FileGames
{
    bool imported = false;             // a format above: one game per table
    std::vector<history::Game> games;  // a game of Brisquel's is one, with its log's lines
    int skipped = 0;                   // hands of an import that could not be read
    std::vector<std::string> warnings; // an import's remarks
};

// Reads one file: a format above through its importer, anything else as a game of Brisquel's
// (whose reader names what it expected). False with the reader's message.
bool ReadFileGames(const std::string &path, FileGames &read, std::string &error);

// The games of `path` for review: a file as ReadFileGames reads it (every table with `all`,
// else the last one), with the message "format not recognised" for a file of no format known
// here; a folder's games as history::ReadGames finds them.
bool ReadAnyGames(const std::string &path, bool all, std::vector<history::Game> &games,
                  std::string &error, std::vector<std::string> &warnings);

} // namespace interchange
