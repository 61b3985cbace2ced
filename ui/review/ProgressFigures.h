#pragma once
// What the Progress window charts of each game beyond its chips: the player's result, that
// result with every all-in before the river settled at its equity, and the coach's big blinds
// lost per 100 hands. Working them out takes a review of the game (seconds), so the figures
// are kept in a small cache file (progresscache/).
//
// Threads: FigureGame runs on any thread (the Progress window's worker).

#include "progresscache/ProgressCache.h"

#include <QString>

#include <cstdint>
#include <functional>

// The review's play-outs are seeded so that the same file always gives the same figure.
constexpr std::uint64_t kProgressReviewSeed = 20261209;

// Asked now and then during the work: false stops it.
using StillWanted = std::function<bool()>;

// Reads and reviews one hand-history file for its player (the human, else seat 0). False with
// figures.problem when the file cannot be read; a failed review still gives the result.
// Returns false with problem "stopped" as soon as `wanted` says false.
bool FigureGame(const QString &historyPath, GameFigures &figures, const StillWanted &wanted);
