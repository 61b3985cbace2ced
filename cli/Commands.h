#pragma once
// The commands of brisquel-cli. Each gets the arguments after its own name and returns the
// exit status: 0 done, 2 bad input (with a message on standard error).

#include <string>
#include <vector>

using CommandArgs = std::vector<std::string>;

constexpr int kExitOk = 0;
constexpr int kExitBadInput = 2;
// Any command: standard output could not be written (a full disk, a closed pipe).
constexpr int kExitOutputNotWritten = 5;

int RunOddsCommand(const CommandArgs &args);
int RunEvalCommand(const CommandArgs &args);
int RunResultsCommand(const CommandArgs &args);
// Judges every decision of one player of a game read from its files (the coach).
int RunReviewCommand(const CommandArgs &args);
// Writes games read from their files as PokerStars-format hand histories or PHH.
int RunExportCommand(const CommandArgs &args);
// Drills the spots of the player's own graded decisions that he got wrong (practice deck).
int RunDrillCommand(const CommandArgs &args);

// Each command's usage lines: printed by "<command> --help" and by "brisquel-cli --help".
extern const char kOddsUsage[];
extern const char kEvalUsage[];
extern const char kResultsUsage[];
extern const char kReviewUsage[];
extern const char kExportUsage[];
extern const char kDrillUsage[];

// Writes "brisquel-cli: <message>" to standard error and returns kExitBadInput.
int Fail(const std::string &message);
// Writes the usage to standard output and returns kExitOk.
int PrintHelp(const char *usage);

// Cards written together or apart ("AhKd", "Ah Kd", "Ah,Kd"): each word between blanks or
// commas holds one or more whole cards. False with a message when a card is unknown or
// repeated among them or in alreadyUsed.
bool ParseCardList(const std::string &text, std::vector<int> &cards, std::string &error,
                   const std::vector<int> &alreadyUsed = {});
