#pragma once
// The folder where brisquel-cli's commands keep the game log, the hand histories and
// PokerDB.db3: --data-dir when given, the user's data folder when the program runs installed,
// and the current folder when it runs from its build tree.
//
// Threads: main sets the option before any command runs.

#include <string>

void SetDataDirOption(const std::string &folder);

// The folder; "." for the current folder.
std::string DataFolder();
// The folder in words for --help, with the reason it was chosen.
std::string DataFolderDescription();
