#pragma once
// The Progress window's cache of what it worked out of each game (ProgressCache.json beside
// the database), keyed by the hand history's path, size and time of change. Read like every
// other file (history/FileText.h): no special file, no file past a size, no entry past a size;
// what is damaged is dropped and the file written afresh. Qt Core alone, no widgets.
//
// Threads: any, one cache file at a time.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct AllInHand
{
    int hand = 0;       // the hand's number
    double delta = 0.0; // chips expected at the all-in less chips the hand actually gave
};

struct GameFigures
{
    QString path;     // the hand-history file
    qint64 size = -1; // its size and time of change when figured: the cache's key
    qint64 modified = -1;
    int hands = 0;  // hands the player was dealt into
    int result = 0; // chips won (negative: lost) over those hands
    // The result with the all-ins settled at their equity; absent when it could not be had.
    std::optional<double> adjusted;
    std::vector<AllInHand> allIns; // the hands whose all-in changes the result, in order
    // The coach's loss in big blinds per 100 hands; absent when the review failed.
    std::optional<double> evLossPer100;
    QString problem; // why the game or its review could not be read; empty when all went well
};

// The entries of a cache file's text, as written, their files not looked at; `sound` says
// whether the whole text could be trusted (false: damaged, foreign or an entry too large).
std::vector<GameFigures> ParseProgressCache(const QByteArray &json, bool *sound = nullptr);

// The file's size and time of change, as the cache keys them; false when it cannot be seen.
bool StampOf(const QString &path, qint64 &size, qint64 &modified);

// The cache file of the data folder holding `databasePath`.
QString ProgressCachePath(const QString &databasePath);

// The cache's entries that still match their files (path, size, time of change) and hold
// sound values. A missing, damaged or foreign file gives none; `sound` says whether the file
// could be trusted at all (false: it should be written afresh).
std::vector<GameFigures> ReadProgressCache(const QString &cachePath, bool *sound = nullptr);

// Replaces the cache file with `figures` (written whole, then renamed into place). False when
// the folder cannot be written; the window then works without a cache.
bool WriteProgressCache(const QString &cachePath, const std::vector<GameFigures> &figures);
