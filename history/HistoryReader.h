#pragma once
// Reader of the files a game leaves behind: the hand-history file of one game
// ("HandHistory/HH_<start time>.txt") and that game's part of the running game log
// ("HistoryGame.log", which holds every game one after the other). Plain C++, no Qt; used by
// `brisquel-cli review`, the coach and the review window.
//
// What each file contributes:
// - the hand history: the seats with their strategy and starting stacks, every hand's header
//   (number, blinds, button, stacks), the posted blinds, the human's hole cards, the board,
//   every action with its chips, the winners and the showdown;
// - the game log: every seat's hole cards and the ante in force (antes have no line in the
//   hand history). Without the log (missing, or no game in it matches) the game still reads,
//   antes count as 0, only the human's cards are known, and Game::warnings says so.
//
// Every hand is replayed while it is read, so each action carries the pot, the amount owed and
// the stack before it, and each hand the stacks at its end: a replayer can rebuild the table
// at every step and a chart can take the chips after each hand.
//
// Errors never throw and never crash: the functions return false (or an empty list) with a
// message that names the file and, for bad text, the line. A file that ends in the middle of a
// hand (a game still being played, or a cut-off copy) reads up to its last complete hand; the
// cut-off hand is dropped with a warning.
//
// Thread use: free functions on values; any thread.

#include <array>
#include <string>
#include <vector>

namespace history {

enum class Street
{
    Preflop = 0,
    Flop = 1,
    Turn = 2,
    River = 3,
};

// As the texts name them. A first bet of a street is written "raises" in the file; the reader
// calls it Bet when nobody owed anything before it (after the flop), Raise otherwise.
enum class ActionKind
{
    Ante,
    SmallBlind,
    BigBlind,
    Fold,
    Check,
    Call,
    Bet,
    Raise,
};

const char *StreetName(Street street);   // "preflop", "flop", "turn", "river"
const char *ActionName(ActionKind kind); // "ante", "small blind", ..., "bet", "raise"

struct Action
{
    Street street = Street::Preflop;
    int seat = -1;
    ActionKind kind = ActionKind::Fold;
    int amount = 0;      // chips put in by this action (0 for a fold or check)
    int streetTotal = 0; // the seat's chips in front on this street after it (antes excluded)
    bool allIn = false;  // the action put in the seat's last chip
    // The table just before the action:
    int potBefore = 0;    // every chip put in this hand so far, bets in front included
    int toCall = 0;       // chips the seat had to add to match the largest bet of the street
    int stackBefore = 0;  // the seat's chips behind
    int activeBefore = 0; // seats not folded, this one included
};

struct Winner
{
    int seat = -1;
    int amount = 0;
    std::string combination; // "Two pair, Aces and Eights"; empty when won by folds
};

struct HandSeat
{
    int seat = -1;
    std::string name;
    bool inHand = false; // had chips at the start of the hand
    int startStack = 0;  // "Seat %d: %s (%d in chips)" of the hand's header
    int endStack = 0;    // after the payout, chips added by the human included
    int invested = 0;    // chips put in during the hand, ante included
    int won = 0;         // chips paid to the seat
    int chipsAdded = 0;  // "Hero adds %d chips"
    bool folded = false;
    bool busted = false;   // "%s lost all his money"
    int positionClass = 0; // 2 late (blinds and button), 1 middle, 0 early, as the engine has it
    std::array<int, 2> cards{-1, -1}; // card integers; -1 where unknown
    // Whether a player at the table saw these cards: the human's own, and every seat still in
    // at a showdown. cards may be known (from the log) even when this is false.
    bool cardsShown = false;
};

struct Hand
{
    int number = 0; // "Ostrivane Hand #%d"
    // An imported hand's own number as its room wrote it ("59937797066", "R5-1704660-533"),
    // whole; `number` then counts the file's hands when that number does not fit in it.
    std::string id;
    std::string timeText; // the header's time, "2023.11.14  22:13:20"
    int smallBlind = 0;   // the header's blinds (those in force before the hand's level check)
    int bigBlind = 0;
    int ante = 0; // the ante posted this hand (from the log; 0 without it)
    int button = -1;
    int smallBlindSeat = -1;
    int bigBlindSeat = -1;
    std::vector<HandSeat> seats; // one per seat of the game, in seat order
    std::vector<int> board;      // up to five card integers, flop first
    std::vector<Action> actions; // antes, blinds, then every decision in order
    int pot = 0;                 // every chip put in during the hand
    std::vector<Winner> winners; // seats paid more than 0, in seat order
    bool showdown = false;       // reached "*** SUMMARY ***"

    // The board cards visible during a street: 0, 3, 4 or 5.
    int boardCountAt(Street street) const;
    // The blinds the hand was played at. The first hand after a level change keeps the old
    // level in its header but posts the new one, so a full post above the header's wins.
    int smallBlindInForce() const;
    int bigBlindInForce() const;
};

struct GameSeat
{
    int seat = -1;
    std::string name;     // with its "_seat" suffix
    std::string strategy; // "Hero", "Master", "Maniac", "Professor", "Tight", ...
    int persona = 0;      // kPersonaHero .. kPersonaTim (vocabulary/GameVocabulary.h); 0 unknown
    bool human = false;
    int stack = 0; // at the start of the game
};

struct Game
{
    std::string historyPath;
    std::string logPath; // empty when no part of a log was paired
    std::string started; // the start line's time, "2023.11.14  22:13:20"
    bool logPaired = false;
    bool truncated = false; // the file ended inside a hand; that hand is not in `hands`
    // For an imported cash game, the money its amounts count in hundredths of ("$", "EUR");
    // empty when they are chips.
    std::string moneyUnit;
    // For an imported game, what its file is ("PokerStars", "PHH", "GGPoker", ...); empty for
    // Brisquel's own.
    std::string importedFrom;
    int damagedHands = 0; // hands left out for damage (a board or an amount that cannot be)
    // One per seat. An imported game names each seat after the first player seen in it and
    // lists every player who came later to a seat taken before him after the table's seats,
    // numbered on from them: each player once, whichever seats he sat in.
    std::vector<GameSeat> seats;
    std::vector<Hand> hands;
    std::vector<std::string> warnings; // things read around, one sentence each

    int humanSeat() const; // -1 without a human
    // The seat in `hand` of the player of the game's seat `seat`. Brisquel's own games keep
    // their seats; in an imported one a player is followed by name (he may change seats and
    // his seat be taken by another): -1 when he is not at that hand.
    int seatInHand(const Hand &hand, int seat) const;
    // The seat of a name, with or without its "_seat" suffix; -1 when nobody has it.
    int seatOf(const std::string &name) const;
};

// Parses the texts of one hand-history file and of the game log (all games; may be empty).
// The log's game whose seats and hand headers match is paired, the latest one if several do.
// `source` names the file in messages.
bool ParseGame(const std::string &historyText, const std::string &logText, Game &game,
               std::string &error, const std::string &source = "hand history");

// Reads one hand-history file; its log lines are taken from the game's own log beside it
// (GameLogPathOf), else from the game log beside its folder ("HandHistory/..") or beside the
// file itself.
bool ReadGameFile(const std::string &historyPath, Game &game, std::string &error);

// "HandHistory/HH_<time>.log" for "HandHistory/HH_<time>.txt": the log lines of that game
// alone, kept by the game beside its hand history.
std::string GameLogPathOf(const std::string &historyPath);

// The hand-history files of `path`, oldest first: the file itself, or the HH_*.txt files of a
// folder as `brisquel-cli play --out` and the desktop program write it (the folder holding
// "HandHistory", or "HandHistory" itself). Empty with a message when there are none.
std::vector<std::string> FindHistoryFiles(const std::string &path, std::string &error);

// The games of `path`: its latest game, or every game with `all`. False with a message when
// `path` holds no game or a file cannot be read.
bool ReadGames(const std::string &path, bool all, std::vector<Game> &games, std::string &error);

// Card integer <-> "Ah"; -1 for text that is no card.
int CardFromText(const std::string &text);
std::string CardText(int card);

} // namespace history
