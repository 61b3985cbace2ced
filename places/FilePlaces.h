#pragma once
// Where the program keeps its files: the game log "HistoryGame.log", the hand-history folder
// and "PokerDB.db3". Run from its build tree, the program keeps the places it always had; run
// from anywhere else (an install prefix, an unpacked package) it keeps them in the user's data
// folder, because the program's own folder is not the user's and is often not writable.
//
// The decision goes by where the program runs, not by what can be written: root can write
// everywhere.
//
// Threads: plain functions of their arguments and the environment; any thread.

#include <filesystem>
#include <string>

// CMake writes this file next to the binaries of a build tree; installing never copies it.
inline constexpr char kBuildTreeMarker[] = ".brisquel-build-tree";

// The folder below the user's data home, named as Qt names the application data location of
// organisation "Ostrivane", application "Brisquel", so both programs use the same folder.
inline constexpr char kUserDataSubfolder[] = "Ostrivane/Brisquel";

bool RunsFromBuildTree(const std::filesystem::path &programFolder);

// The folder of the running program, from /proc/self/exe; empty when it cannot be read.
std::filesystem::path RunningProgramFolder();

// $XDG_DATA_HOME when it is an absolute path, otherwise $HOME/.local/share (the password
// entry's home when HOME is unset), followed by kUserDataSubfolder. Empty without a home.
std::filesystem::path UserDataFolder();

// The one folder for all files: dataDirOption (--data-dir) when given, else userDataFolder
// when the program does not run from its build tree. Empty: the caller keeps its build-tree
// places. A relative option is taken from the current folder.
std::filesystem::path ChooseDataFolder(const std::filesystem::path &programFolder,
                                       const std::filesystem::path &dataDirOption,
                                       const std::filesystem::path &userDataFolder);

// SQLite opens no file whose path is longer than about 500 bytes, and the database's journal
// and the hand histories' names come on top of the folder's path.
constexpr std::size_t kMaxFolderPathBytes = 400;

// Empty when a folder's path leaves room for the files' names; otherwise, for the user, that
// it is too long.
std::string FolderPathProblem(const std::filesystem::path &folder);

// Creates `folder` with its parents and checks that a file can be made in it. Empty when the
// folder is usable, otherwise what went wrong, for the user: "cannot create the folder ...".
std::string PrepareFolder(const std::filesystem::path &folder);
