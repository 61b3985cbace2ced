#pragma once
// Text that comes from a file (a name, a damaged line quoted in a message) as a window lays it
// out: never more than a bounded number of characters, so that no file's content can freeze
// a window or widen it past the screen.

#include <QString>

// A table cell, a name in a list, a caption.
inline constexpr qsizetype kMaxCellChars = 80;
// A name drawn at its seat on the table, which does not wrap.
inline constexpr qsizetype kMaxNameChars = 24;
// A message of a line or two.
inline constexpr qsizetype kMaxMessageChars = 400;

// At most maxChars characters of text, "…" after a cut; with `breaks`, a run of 100 characters
// without a blank gets a break point, so that a label wraps it instead of widening.
QString BoundedText(const QString &text, qsizetype maxChars = kMaxCellChars, bool breaks = true);
