#pragma once
// A replayed step as the table painter's snapshot, laid out and worded as the live table.

#include "replay/HandReplay.h"
#include "ui/table_view/TableSnapshot.h"

TableSnapshot SnapshotOfReplay(const history::Hand &hand, const replay::TableState &state);
