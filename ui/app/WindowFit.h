#pragma once
// Windows open no larger than the screen they open on leaves them.
//
// Threads: UI thread.

#include <QSize>

class QWidget;

// Resizes the window to `wanted`, shrunk to the screen's available area less its title bar
// and borders (guessed before it is first shown), and never below its minimum size.
void ResizeWithinScreen(QWidget *window, QSize wanted);
