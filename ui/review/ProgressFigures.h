#pragma once
// What the Progress window charts of each game beyond its chips: the player's result, that
// result with every all-in before the river settled at its equity, and the coach's big blinds
// lost per 100 hands. Working them out takes a review of the game (seconds), so the figures
// are kept in a small cache file keyed by the hand history's path, size and time of change.
//
// Threads: FigureGame runs on any thread (the Progress window's worker); the cache functions
// on the UI thread.

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
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

// The review's play-outs are seeded so that the same file always gives the same figure.
constexpr std::uint64_t kProgressReviewSeed = 20261209;

// Asked now and then during the work: false stops it.
using StillWanted = std::function<bool()>;

// Reads and reviews one hand-history file for its player (the human, else seat 0). False with
// figures.problem when the file cannot be read; a failed review still gives the result.
// Returns false with problem "stopped" as soon as `wanted` says false.
bool FigureGame(const QString &historyPath, GameFigures &figures, const StillWanted &wanted);

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
