#pragma once
// What the Progress window's pages share: their message lines and their charts begun afresh.

#include <QString>

class QChart;
class QChartView;
class QLabel;

// The folder of the hand histories, as the messages name it.
QString HistoryFolderText(const QString &outputFolder);
// A page's message line: red and bold for a problem, hidden when empty.
void ShowText(QLabel *label, const QString &text, bool error);
// The view's chart replaced by an empty one with `title`.
QChart *FreshChart(QChartView *view, const QString &title);
