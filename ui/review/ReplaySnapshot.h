#pragma once
// A replayed step as the table painter's snapshot, laid out and worded as the live table.

#include "HandReplay.h"
#include "TableSnapshot.h"

TableSnapshot SnapshotOfReplay(const history::Hand &hand, const replay::TableState &state);
