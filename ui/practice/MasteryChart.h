#pragma once
// The Progress window's drills chart: per leak drilled, the share of its last answers that
// were right, one bar each, costliest leak on top; each bar's label says the big blinds its
// answers gave away per drill. Read from Practice.db3, which is never created here.
//
// Threads: UI thread.

#include <QString>

class QChartView;

// The leaks drilled so far, among the leak's last `kMasteryTries` answers.
inline constexpr int kMasteryTries = 10;

// Draws the chart into `view` (a fresh chart every time); returns what to say instead of it or
// beside it (no deck yet, a store that cannot be read), empty when all is drawn.
QString DrawMasteryChart(QChartView *view, const QString &storePath);
