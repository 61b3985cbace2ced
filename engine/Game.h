#pragma once
// The one game of a run: table, seat boxes, blind schedules, the two text files and the game
// thread that plays hand after hand. The desktop program's CDunmereApp owns one instance;
// brisquel-cli and the tests own one each and run it headless (null or fake interfaces).
//
// Threads and locking:
// - StateMutex() guards every field below. The game thread holds it while it changes the
//   state and releases it only while it pauses, waits for the human, or makes a blocking UI
//   call (IHumanPlayer::PrepareDecision, RunAddChipsDialog, IProgram::CloseProgram).
// - The UI thread locks StateMutex() while it paints or reads/writes fields directly.
//   Use LockState() for that: it lets a game without pauses hand the lock over.
//   IScreen::Invalidate and IOutputPane::AppendOutputLine are called WITH the mutex held, so
//   they must only queue work, never call back into the game or block on the UI thread.
// - Command entry points (Start*, Stop*, ToggleStatistics, SubmitHumanDecision, ...) lock the
//   mutex themselves: call them WITHOUT holding it. The exceptions are marked "lock held".
// - Time stamps use Now() (the injected clock, else the system clock) formatted in local time
//   with strftime: set TZ for reproducible texts.
// - The files go to OutputFolder() (default: the program's folder): "HistoryGame.log" and
//   "HandHistory/HH_<start time>.txt" (or "HH_<start time>_002.txt" and on when that name
//   is taken), narrow text with "\r\n" line ends (GameFiles).
//
// The class is written in several files: Game.cpp construction and commands, GameLoop.cpp the
// threads and the hand loop, HandSetup.cpp each hand's set-up and the deals, Betting.cpp the
// betting rounds, Showdown.cpp the showdown and payout, SeatDisplay.cpp the seat boxes, pot and
// pane, GameRecords.cpp the writing of the files (GameFiles), StopNow.cpp ending a game in the
// middle of a hand.

#include "engine/BettingSteps.h"
#include "engine/EngineInterfaces.h"
#include "engine/GameFiles.h"
#include "engine/GameState.h"
#include "engine/ManualResetEvent.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Command ids of the main frame that reach the game (ExecuteCommand).
enum GameCommandId : int
{
    ID_WHO_IS_ON_BUTTON = 32783, // "Start deal"
    ID_START_GAME = 32787,       // "Start game" (needs the set-up items: use StartGame)
    ID_PLAY = 32789,             // first time: start the first hand
    ID_NEW_HAND = 32796,         // new-hand set-up
    ID_DEAL_HOLE_CARDS = 32788,  // hide cards, deal new hole cards
    ID_DEAL_FLOP = 32791,
    ID_DEAL_TURN = 32793,
    ID_DEAL_RIVER = 32794,
    ID_STOP_GAME = 32795,  // "Last hand && Stop game"
    ID_STATISTICS = 32809, // "Statistics" check box
    ID_SHOWDOWN = 3279,    // SettleShowdown then PayOut
    ID_APP_EXIT = 57665,   // sent to IProgram::CloseProgram
};

// What "Start game" takes from the table set-up dialog.
struct GameSetupItems
{
    int seatCount = 0;              // 2..10
    std::vector<std::string> names; // per seat; StartGame writes back "name_seat"
    std::vector<int> stacks;        // per seat
    int smallBlind = 0;             // fixed-blind games
    int bigBlind = 0;
    int gameTypeId = kGameTypeFixedBlinds; // kGameTypeNinePlayers, ...Turbo, else fixed blinds
};

// Pause lengths in milliseconds, scaled by the game's pause factor.
constexpr int kPauseAfterSetupMs = 2000;  // after a hand is set up and after the button draw
constexpr int kPauseAfterActionMs = 500;  // after each check, call or raise
constexpr int kPauseRoundEndMs = 1000;    // at the end of each betting round
constexpr int kPauseStreetMs = 3000;      // before the flop, after each street, after showdown
constexpr int kPausePreflopWinMs = 3000;  // after a preflop win by folds is paid
constexpr int kPausePostflopWinMs = 2000; // after a post-flop win by folds is paid
constexpr int kPauseHumanMs = 1000;       // after the human has decided
constexpr int kPauseGameOverMs = 5000;    // after "The game is over !"

// "1st", "2nd", "3rd", "4th", ..., "11th", "21st".
std::string OrdinalText(int n);

class CDunmereGame
{
public:
    CDunmereGame();
    ~CDunmereGame(); // Shutdown()
    CDunmereGame(const CDunmereGame &) = delete;
    CDunmereGame &operator=(const CDunmereGame &) = delete;

    // ---- Configuration: before StartGame, from the owning thread. ----
    void SetScreen(IScreen *screen) { m_screen = screen; }
    void SetOutputPane(IOutputPane *pane) { m_outputPane = pane; }
    // Without a human player interface the human seat is asked of the decider as well.
    void SetHumanPlayer(IHumanPlayer *human) { m_human = human; }
    void SetProgram(IProgram *program) { m_program = program; }
    void SetDecider(IDecider *decider) { m_decider = decider; }
    // 0 = no pauses. Once the game runs, only with the lock held (Pause reads it under it).
    void SetPauseFactor(double factor) { m_pauseFactor = factor; }
    double PauseFactor() const { return m_pauseFactor; }
    // The shortest time a showdown stays on the table, in ms, whatever the pause factor: a
    // player at the quickest pace still sees the hands shown down. 0: none (tests, the cli).
    void SetShowdownMinimumMs(int ms) { m_showdownMinimumMs = ms; }
    void SetClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }
    void SetOutputFolder(const std::string &folder) { m_outputFolder = folder; }
    const std::string &OutputFolder() const { return m_outputFolder; }
    // Reproducible games: fixes m_random and the library's samplers.
    void SetSeed(std::uint64_t seed);
    // Scripted hands: the button draw and the deals take their values from this list first
    // (in draw order: button draw by seat, first hole cards by seat, second hole cards, flop,
    // turn, river); a value already in use is skipped like a redraw. Random draws follow.
    void SetStackedDraws(std::vector<int> values);
    // Called on the game thread, lock held (do not lock StateMutex() in it), when a stopped
    // game ends, before the files are closed: the database save.
    std::function<void(CDunmereGame &)> m_saveResults;
    // Called on the game thread, lock held, after every hand has been paid and analysed.
    std::function<void(CDunmereGame &)> m_onHandEnd;

    std::mutex &StateMutex() { return m_stateMutex; }
    // The lock for threads other than the game thread (the UI's painting and handlers). It
    // announces the wait, so that a game running without pauses hands the lock over at its
    // next pause point instead of keeping the painter out until the game ends.
    std::unique_lock<std::mutex> LockState()
    {
        m_lockWaiters.fetch_add(1);
        std::unique_lock<std::mutex> lock(m_stateMutex);
        m_lockWaiters.fetch_sub(1);
        return lock;
    }

    // ---- Commands (UI thread or cli; lock not held by the caller). ----
    // A game: StartGame once, StartDeal once; hands then follow on the game thread until
    // StopGame (or one player left, or the human declines to add chips), when the game saves
    // (m_saveResults), closes its files and calls IProgram::CloseProgram.
    // The commands without a ribbon element (Play .. ShowdownCommand) run their routine on the
    // calling thread and are meant for when no hand is running.
    // ID_START_GAME after the set-up dialog closed with OK; names get their "_seat" suffix.
    void StartGame(GameSetupItems &items);
    void StartDeal();            // ID_WHO_IS_ON_BUTTON: starts the deal thread
    void StopGame();             // ID_STOP_GAME: the game ends after the current hand
    void ToggleStatistics();     // ID_STATISTICS
    void WhoIsOnButton();        // "WM_WHO_IS_ON_BUTTON": deal-thread steps 1-3, no pause
    void OnNewGameMessage();     // "WM_NEW_GAME": playEnabled = 1
    void Play();                 // 32789
    void NewHandSetupCommand();  // 32796
    void DealHoleCardsCommand(); // 32788
    void DealFlopCommand();      // 32791
    void DealTurnCommand();      // 32793
    void DealRiverCommand();     // 32794
    void ShowdownCommand();      // 3279
    // Dispatches the ids above that take no argument; false for an unknown id.
    bool ExecuteCommand(int id);
    // The human's decision, the one way in for it: chips put in now (0 for FOLD or CHECK) into
    // m_humanAmount; a fold also marks the deciding seat folded (m_folded[0] at the desktop
    // table), and is booked as one even when nothing is owed. Then sets m_humanActionEvent.
    void SubmitHumanDecision(int amount, bool fold);

    // ---- Run control (any thread but the game threads). ----
    // Ends a game in progress at once (the window closes, the session ends): the hand in play
    // counts as not played (stacks, statistics and added chips as at its start, its lines cut
    // from both files), the hands completed are saved through m_saveResults unless none was,
    // and the files are closed. Lock not held; the game cannot go on afterwards. Returns false
    // when there was no game to end (never dealt, or already ended).
    bool StopNowAndSave();
    // The first half of StopNowAndSave, for a caller that must first let a blocking UI call of
    // the game thread return (a modal dialog on its own stack): wakes the game threads and
    // makes them end without finishing the hand.
    void InterruptGame();
    // A game has been dealt and has neither ended nor been stopped at once (lock not held).
    bool InProgress();
    // Blocks until the game threads have ended (game stopped, program closed, or shutdown).
    void WaitForGameEnd();
    bool GameThreadRunning();
    // Stops the game threads: wakes the human wait and every pause, joins, closes the files.
    // The game cannot be restarted afterwards. Called by the destructor; idempotent.
    void Shutdown();

    // ---- Game state (lock held to read or write from outside the game thread). ----
    CPlayerRect m_playerRects[brisquel::kMaxSeats];
    bool m_showStatistics = false;
    GameType m_gameTypes[2];
    CGameTable m_table;
    int m_boardShown = 0;
    int m_windowReady = 0;
    int m_potShown = 0;
    std::wstring m_potText;
    EasyRandom m_random;
    ManualResetEvent m_humanActionEvent;
    bool m_handEnded = false;
    int m_gameTypeId = 0;
    CAction m_action;
    std::vector<CAction> m_actions;
    std::int64_t m_levelStartTime = 0;
    int m_levelIndex = 0;
    int m_levelCount = 0;
    int m_levelSeconds = 0;
    int m_handNumber = 0;
    bool m_firstHand = false;
    bool m_stopRequested = false;
    // Enable flags of the game commands, read by the ribbon's update handlers.
    int startGameEnabled = 1;
    int startDealEnabled = 0;
    int stopEnabled = 0;
    int playEnabled = 0;
    // Chips added by the human through the add-chips offer, this game.
    long long m_chipsAdded = 0; // a game may add up to the chip limit many times over
    // Hands played to the end in this game.
    int m_handsCompleted = 0;

    // ---- Engine routines (lock held; public for the opponents, UI and tests). ----
    void SetStackText(int s, int amount);
    void SetActionText(int s, int amount);
    void HideAction(int s);
    void HideCards(int s);
    void ShowStatistics(int s);
    void SetPotText();
    void WriteLog(const std::string &text, bool alsoPane);
    void WriteHistory(const std::string &text);
    void DrawForButton();
    // winnings[10] filled for seats 0..m_seatCount-1.
    void SettleShowdown(int *winnings);
    void BreakTies(int score, int *scores, int tied);
    // May release the lock (add-chips dialog, game-over pause).
    void PayOut(const int *winnings, std::unique_lock<std::mutex> &lock);

    // Each file of this game that could not be opened or written, once: "the game log <path>:
    // <reason>" or "the hand history <path>: <reason>" (lock held).
    const std::vector<std::string> &FileProblems() const { return m_files.Problems(); }

    // The game's hand-history file; empty before the first game (lock held).
    const std::string &HandHistoryPath() const { return m_files.HistoryPath(); }

    static const char *StrategyName(int persona);
    std::time_t Now() const { return m_clock ? m_clock() : std::time(nullptr); }

private:
    using Lock = std::unique_lock<std::mutex>;

    // Unwinds a game thread when the program shuts down; thrown by Pause, caught by the thread
    // bodies and the commands that run hand routines.
    struct Aborted
    {
    };

    // Round-local state of one betting round, and what a win by folds paid.
    struct Round : betting::RoundState
    {
        int won[brisquel::kMaxSeats] = {};
    };

    void DealThreadMain();
    void HandThreadMain();
    void ThreadEnded();
    void JoinThreads();
    void ShowButtonDraw();
    void HandStart(Lock &lock);
    void NewHandSetup();
    void NewHandRoutine();
    void PostAntesAndBlinds();
    void DealHoleCards();
    void DealFlop();
    void DealTurn();
    void DealRiver();
    void PlayHand(Lock &lock);
    // Returns true when the hand ended by folds in this round.
    bool PlayPreflop(Lock &lock);
    void PlayStreets(Lock &lock);
    bool PlayPostflop(int street, Lock &lock);
    // The turns of one round from seat o on, until it is settled or won by folds.
    void PlayTurns(int o, Round &round, Lock &lock);
    void WinByFolds(int seat, Round &round);
    int AskDecision(int seat, int street, Lock &lock, bool &foldPressed); // street -1 = preflop
    int HumanDecision(int o, Lock &lock, bool &foldPressed);
    // Returns true for a fold.
    bool BookDecision(int o, int b, bool foldPressed, Round &round);
    void BetUpdate(int o, int b, Round &round);
    void EndRound();
    void AddAction(int kind, int seat, int amount, const std::string &name);
    void Analyze();
    void OpenFiles();
    void CloseFiles();
    // Interruptible pause of ms x pause factor, at least floorMs; unwinds the game thread at
    // shutdown.
    bool Pause(int ms, Lock &lock, int floorMs = 0);
    // The pause over a showdown's cards: scaled by the pace, never shorter than its minimum.
    void ShowdownPause(Lock &lock) { Pause(kPauseStreetMs, lock, m_showdownMinimumMs); }
    void Invalidate(TablePart part, int seat = -1);
    void InvalidateAll();
    void AppendPane(const std::string &text);
    void SetWaitCursor(bool on);
    std::string TimeText(const char *pattern) const;
    // A value of m_random's current interval not among the first `used` entries of m_cards.
    int DrawUnused(int used);
    using BoardLine = std::string (*)(const std::string &);
    void DealBoardCard(int slot, BoardLine logLine, BoardLine historyLine);
    // The hand's header line without its leading and trailing blanks.
    std::string HandHeader() const;
    bool Stopping() const { return m_shutdown.load(); }
    // The state a hand starts from, kept so that a game stopped in the middle of a hand can be
    // saved as if that hand had not been dealt.
    void MarkHandStart();
    // "Tim_2 finishes 7th" in the pane for each seat out in this hand (tournaments).
    void AnnounceFinishes(std::vector<int> busted, int playersBefore);

    struct HandStartMark
    {
        int stacks[brisquel::kMaxSeats] = {};
        CPokerStat stats[brisquel::kMaxSeats];
        long long chipsAdded = 0;
        int handsCompleted = 0;
        GameFiles::Marks files;
    };
    HandStartMark m_handStart;
    bool m_dealt = false;        // StartDeal ran for this game
    bool m_resultsSaved = false; // the game ended, saved or not
    bool m_stopNow = false;      // InterruptGame ended a game in progress

    std::mutex m_stateMutex;
    std::condition_variable m_pauseCv;
    std::atomic<bool> m_shutdown{false};
    std::atomic<int> m_lockWaiters{0};
    bool m_exitRequested = false; // the program is to close: no further hand
    bool m_handThreadStarted = false;
    int m_humanSeat = kHumanSeat; // the seat whose decision SubmitHumanDecision answers
    bool m_playUsed = false;
    std::vector<int> m_stackedDraws;
    size_t m_nextStackedDraw = 0;
    int m_playCount = 0;

    // Lock order: m_stateMutex may be held when m_threadMutex is taken, never the reverse.
    std::mutex m_threadMutex;
    std::condition_variable m_endCv;
    int m_liveThreads = 0;
    std::thread m_dealThread;
    std::thread m_handThread;
    std::vector<std::thread> m_finishedThreads;

    // The game log and the hand history; a file's first failure gets a line in the pane.
    GameFiles m_files{[this](const std::string &line) { AppendPane(line); }};

    IScreen *m_screen = nullptr;
    IOutputPane *m_outputPane = nullptr;
    IHumanPlayer *m_human = nullptr;
    IProgram *m_program = nullptr;
    IDecider *m_decider = nullptr;
    double m_pauseFactor = 1.0;
    int m_showdownMinimumMs = 0;
    std::function<std::time_t()> m_clock;
    std::string m_outputFolder;
};
