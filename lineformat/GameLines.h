#pragma once
// The lines of the game log ("HistoryGame.log") and of the hand history ("HH_<time>.txt"): one
// pattern and one function per line form. The engine writes its lines with the functions; the
// readers match the same patterns with Match, so a line form is written down once. The texts
// are the files' own, blanks included; the callers add the line ends and the blank lines.
//
// Patterns are printf-style with "%d" (a whole number) and "%s" (a text) fields only.
// No dependencies: any reader or writer of a game's files may link this library.

#include <string>
#include <vector>

namespace gamelines {

// ---- The files -----------------------------------------------------------------------------
// In the output folder: the log of every game, and one hand history per game in its folder,
// named "HH_<start time>.txt" (strftime kHistoryFileTime), "HH_<start time>_002.txt" and on.
inline constexpr char kLogFileName[] = "HistoryGame.log";
inline constexpr char kHistoryFolder[] = "HandHistory";
inline constexpr char kHistoryFilePrefix[] = "HH_";
inline constexpr char kHistoryFileSuffix[] = ".txt";
inline constexpr char kGameLogFileSuffix[] = ".log"; // that game's log lines, beside it
inline constexpr char kHistoryFileTime[] = "%Y%m%d_%H%M%S";

// ---- Time stamps ----------------------------------------------------------------------------
// strftime pattern of every time stamp in both files: "2023.11.14  22:13:20".
inline constexpr char kTimeStamp[] = "%Y.%m.%d  %H:%M:%S";

// ---- The hand history: the game's head --------------------------------------------------------
inline constexpr char kGameStartPrefix[] = "==================START Ostrivane";
inline constexpr char kGameStart[] = "==================START Ostrivane  %s ==================";
inline constexpr char kGameSeat[] = "Seat %d: %s (%d in chips) StrategyName is %s";
inline constexpr char kGameSeatsEndMark = '='; // the rule under the seats is made of these
constexpr int kGameSeatsEndWidth = 78;

std::string GameStart(const std::string &time);
std::string GameSeat(int seat, const std::string &name, int stack, const std::string &strategy);
std::string GameSeatsEnd();

// ---- The hand history: each hand ------------------------------------------------------------
inline constexpr char kHandPrefix[] = "Ostrivane Hand #";
inline constexpr char kHandHeader[] = "Ostrivane Hand #%d: Hold'em No Limit (%d/%d) - %s";
inline constexpr char kTable[] = "Table 'Game' %d-max Seat #%d is the button";
inline constexpr char kHandSeat[] = "Seat %d: %s (%d in chips)";
inline constexpr char kPostsSmallBlind[] = "%s: posts small blind %d";
inline constexpr char kPostsBigBlind[] = "%s: posts big blind %d";
inline constexpr char kHoleCards[] = "*** HOLE CARDS ***";
inline constexpr char kDealtTo[] = "Dealt to %s [ %s ]";
inline constexpr char kFlop[] = "*** FLOP *** [%s]";
inline constexpr char kTurn[] = "*** TURN *** [%s]";
inline constexpr char kRiver[] = "*** RIVER *** [%s]";
inline constexpr char kFolds[] = "%s: folds";
inline constexpr char kChecks[] = "%s: checks";
inline constexpr char kCalls[] = "%s: calls %d";
inline constexpr char kRaises[] = "%s: raises %d"; // also a street's first bet
inline constexpr char kCollected[] = "%s collected %d from pot ";
inline constexpr char kSummary[] = "*** SUMMARY ***";
inline constexpr char kWins[] = "%s win %d";
inline constexpr char kHas[] = "%s has %s ";
inline constexpr char kHeroAdds[] = "Hero adds %d chips"; // in both files
inline constexpr char kLostAllMoney[] = "%s lost all his money";

// The header without its line's lead or end: the callers add "\n" before and " " after as the
// file has them.
std::string HandHeader(int number, int smallBlind, int bigBlind, const std::string &time);
std::string Table(int seatCount, int button);
std::string HandSeat(int seat, const std::string &name, int stack);
std::string PostsSmallBlind(const std::string &name, int amount);
std::string PostsBigBlind(const std::string &name, int amount);
std::string DealtTo(const std::string &name, const std::string &cards);
std::string Flop(const std::string &cards);
std::string Turn(const std::string &card);
std::string River(const std::string &card);
std::string Folds(const std::string &name);
std::string Checks(const std::string &name);
std::string Calls(const std::string &name, int amount);
std::string Raises(const std::string &name, int amount);
std::string Collected(const std::string &name, int pot);
std::string Wins(const std::string &name, int amount);
std::string Has(const std::string &name, const std::string &combination);
std::string HeroAdds(int chips);
std::string LostAllMoney(const std::string &name);

// ---- The game log ---------------------------------------------------------------------------
inline constexpr char kLogPlayers[] = "%d players ";
inline constexpr char kLogGameSeat[] = "Player %d is %s (StrategyName is %s) with stack = %d";
inline constexpr char kLogBlinds[] = "Blinds %d/%d";
inline constexpr char kLogBlindsAnte[] = "Blinds %d/%d ante %d";
inline constexpr char kLogNewHand[] = "New game start !";
inline constexpr char kLogButton[] = "Player %d is on button";
inline constexpr char kLogSmallBlind[] = "Player %d is SB";
inline constexpr char kLogBigBlind[] = "Player %d is BB";
inline constexpr char kLogHoleCards[] = "Player %d: %s";
inline constexpr char kLogPreflopStart[] = "Preflop start";
inline constexpr char kLogFolds[] = "Player %d folds";
inline constexpr char kLogChecks[] = "Player %d checks";
inline constexpr char kLogCalls[] = "Player %d calls for %d";
inline constexpr char kLogRaises[] = "Player %d raises %d";
inline constexpr char kLogAllIn[] = "Player %d allin with bet %d";
inline constexpr char kLogRoundEnd[] = "End of %s !";
inline constexpr char kLogWinsPot[] = "Player %d wins pot (%d)";
inline constexpr char kLogFlop[] = "Flop: %s";
inline constexpr char kLogTurn[] = "Turn: %s";
inline constexpr char kLogRiver[] = "River: %s";
inline constexpr char kLogScore[] = "Player %d = %d";
inline constexpr char kLogSortedScore[] = "After sort Player %d = %d win = %d";
inline constexpr char kLogHas[] = "Player %d has %s ";
inline constexpr char kLogHumanBroke[] = "You lost all your money !";
inline constexpr char kLogGameOver[] = "The game is over !";
inline constexpr char kLogLostAllMoney[] = "Player %d lost all his money";
inline constexpr char kLogHandRuleMark = '-'; // the rule before each hand is made of these
constexpr int kLogHandRuleWidth = 33;

std::string LogPlayers(int seatCount);
std::string LogGameSeat(int seat, const std::string &name, const std::string &strategy, int stack);
std::string LogBlinds(int smallBlind, int bigBlind);
std::string LogBlindsAnte(int smallBlind, int bigBlind, int ante);
std::string LogHandRule();
std::string LogButton(int seat);
std::string LogSmallBlind(int seat);
std::string LogBigBlind(int seat);
std::string LogHoleCards(int seat, const std::string &cards);
std::string LogFolds(int seat);
std::string LogChecks(int seat);
std::string LogCalls(int seat, int amount);
std::string LogRaises(int seat, int amount);
std::string LogAllIn(int seat, int amount);
// street -1 preflop, 0 flop, 1 turn, 2 river: "End of Preflop !" .. "End of River !".
std::string LogRoundEnd(int street);
std::string LogWinsPot(int seat, int pot);
std::string LogFlop(const std::string &cards);
std::string LogTurn(const std::string &card);
std::string LogRiver(const std::string &card);
std::string LogScore(int seat, int score);
std::string LogSortedScore(int seat, int score, int win);
std::string LogHas(int seat, const std::string &combination);
std::string LogLostAllMoney(int seat);

// ---- Reading --------------------------------------------------------------------------------
// Matches text against a pattern of the forms above; the fields go to numbers and texts in
// order. A "%s" field takes as little as it can, so that the next literal part must follow it.
bool Match(const std::string &text, const std::string &pattern, std::vector<int> *numbers = nullptr,
           std::vector<std::string> *texts = nullptr);

// A pattern that starts with the seat's name ("%s: folds"), without that name (": folds"), for
// readers that find the name at the start of the line themselves.
std::string AfterName(const std::string &pattern);

} // namespace gamelines
