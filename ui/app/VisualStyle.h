#pragma once
// The five window looks of the "Style" menu: a palette and a style sheet for the whole program.
//
// Threads: UI thread.

class QApplication;
class QWidget;

// Applies look id 215..219 (anything else: the black look, 216) to the application and
// repaints the frame. Returns the id applied.
unsigned ApplyVisualStyle(QApplication &app, QWidget *frame, unsigned look);
