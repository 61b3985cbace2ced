#include "engine/Game.h"
#include "engine/EngineText.h"
#include "lineformat/GameLines.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace enginetext;

namespace {

// Unwinds a game thread when the program shuts down; never leaves this file.
struct GameAborted
{
};

constexpr std::uintmax_t kLogTrimThreshold = 200000;
constexpr std::uintmax_t kLogKeptBytes = 80000;
constexpr int kMaxHistoryFilesPerSecond = 999; // "HH_<time>_999.txt" keeps the names' order

std::wstring Wide(const std::string &text)
{
    return charTOwchar(text.c_str());
}

std::wstring NumberText(int value)
{
    return Wide(std::to_string(value));
}

} // namespace

CDunmereGame::CDunmereGame()
{
    BuildGameTypes(m_gameTypes);
    m_random.SetInterval(0, 1);
    m_action = CAction(0, -1, 0, {});
    m_outputFolder = GetExecDir();
}

CDunmereGame::~CDunmereGame()
{
    Shutdown();
}

void CDunmereGame::SetSeed(std::uint64_t seed)
{
    m_random.SetFixedSeed(seed);
    SeedPokerLibrary(seed);
}

void CDunmereGame::SetStackedDraws(std::vector<int> values)
{
    Lock lock = LockState();
    m_stackedDraws = std::move(values);
    m_nextStackedDraw = 0;
}

int CDunmereGame::DrawUnused(int used)
{
    const int *cards = m_table.m_cards;
    while (m_nextStackedDraw < m_stackedDraws.size()) {
        const int v = m_stackedDraws[m_nextStackedDraw++];
        if (!isExist(v, cards, used))
            return v;
    }
    int v;
    do {
        v = m_random.DrawRandomNumber();
    } while (isExist(v, cards, used));
    return v;
}

const char *CDunmereGame::StrategyName(int persona)
{
    return ::StrategyName(persona);
}

// ---------------------------------------------------------------------------------------------
// UI plumbing

void CDunmereGame::Invalidate(const TableRect &rect)
{
    if (m_screen)
        m_screen->Invalidate(rect);
}

void CDunmereGame::InvalidateAll()
{
    if (m_screen)
        m_screen->InvalidateAll();
}

void CDunmereGame::AppendPane(const std::string &text)
{
    if (m_outputPane)
        m_outputPane->AppendOutputLine(Wide(text));
}

void CDunmereGame::SetWaitCursor(bool on)
{
    if (m_screen)
        m_screen->SetWaitCursor(on);
}

std::string CDunmereGame::TimeText(const char *pattern) const
{
    const std::time_t now = Now();
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[128];
    const size_t n = std::strftime(buffer, sizeof buffer, pattern, &local);
    return std::string(buffer, n);
}

std::string CDunmereGame::HandHeader() const
{
    return gamelines::HandHeader(m_handNumber, m_table.m_smallBlind, m_table.m_bigBlind,
                                 TimeText(gamelines::kTimeStamp));
}

bool CDunmereGame::Pause(int ms, Lock &lock)
{
    if (Stopping())
        throw GameAborted{};
    const double scaled = ms * m_pauseFactor;
    if (scaled > 0) {
        const auto length = std::chrono::duration<double, std::milli>(scaled);
        m_pauseCv.wait_for(lock, length, [this] { return Stopping(); });
        if (Stopping())
            throw GameAborted{};
    } else if (m_lockWaiters.load() > 0) {
        // No pause to release the lock in: let the waiting thread in, bounded so that a
        // waiter that never arrives cannot stall the game.
        lock.unlock();
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);
        while (m_lockWaiters.load() > 0 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        lock.lock();
        if (Stopping())
            throw GameAborted{};
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Display updates (lock held)

void CDunmereGame::SetStackText(int s, int amount)
{
    CPlayerRect &box = m_playerRects[s];
    box.m_visible = 1;
    box.m_stackText = NumberText(amount);
    Invalidate(box.m_boxRect);
}

void CDunmereGame::SetActionText(int s, int amount)
{
    if (m_table.m_folded[s])
        return;
    CPlayerRect &box = m_playerRects[s];
    box.m_showAction = 1;
    box.m_actionText = NumberText(amount);
    Invalidate(box.m_actionRect);
}

void CDunmereGame::HideAction(int s)
{
    CPlayerRect &box = m_playerRects[s];
    if (box.m_showAction) {
        box.m_showAction = 0;
        Invalidate(box.m_actionRect);
    }
}

void CDunmereGame::HideCards(int s)
{
    CPlayerRect &box = m_playerRects[s];
    if (box.m_showCards) {
        box.m_showCards = 0;
        Invalidate(box.m_cardsRect);
    }
}

void CDunmereGame::ShowStatistics(int s)
{
    if (m_table.m_inGame[s] == 0)
        return;
    CPlayerStatisticRect &stat = m_playerRects[s].m_statRect;
    stat.m_visible = 1;
    for (int i = 0; i < 4; ++i)
        stat.m_lines[i] = m_table.m_players[s].m_stat.m_lines[i];
    Invalidate(stat.m_rect);
}

void CDunmereGame::SetPotText()
{
    m_potShown = 1;
    m_potText = NumberText(m_table.m_pot);
    Invalidate(m_potRect);
}

// ---------------------------------------------------------------------------------------------
// Files

void CDunmereGame::WriteLog(const std::string &text, bool alsoPane)
{
    m_log.Write(text + "\n");
    m_log.Flush();
    CheckFiles();
    if (alsoPane)
        AppendPane(text);
}

void CDunmereGame::WriteHistory(const std::string &text)
{
    m_handHistory.Write(text + "\n");
    m_handHistory.Flush();
    CheckFiles();
}

void CDunmereGame::CheckFiles()
{
    // Said once per file: the game goes on writing what it can.
    const auto check = [this](const TextFile &file, bool &reported, const char *what) {
        if (file.Error() == 0 || reported)
            return;
        reported = true;
        AppendPane(std::string("Could not write the ") + what + " " + file.Path());
        m_fileProblems.push_back(std::string("the ") + what + " " + file.Path() + ": " +
                                 std::strerror(file.Error()));
    };
    check(m_log, m_logFailReported, "game log");
    check(m_handHistory, m_historyFailReported, "hand history");
}

void CDunmereGame::TrimLog(const std::string &path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size < kLogTrimThreshold)
        return;
    std::string kept;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return;
        in.seekg(static_cast<std::streamoff>(size - kLogKeptBytes));
        kept.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Written to a side file and renamed, so a failure cannot lose the whole log.
    const std::string temporary = path + ".trim";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return;
        out.write(kept.data(), static_cast<std::streamsize>(kept.size()));
        if (!out)
            return;
    }
    std::filesystem::rename(temporary, path, error);
}

void CDunmereGame::OpenFiles()
{
    CloseFiles();
    namespace fs = std::filesystem;
    const fs::path folder = m_outputFolder.empty() ? fs::path(".") : fs::path(m_outputFolder);
    // The folder may not exist yet (a new --out folder): the log must not be lost for that.
    std::error_code error;
    fs::create_directories(folder / "HandHistory", error);
    const std::string logPath = (folder / "HistoryGame.log").string();
    TrimLog(logPath);
    m_log.Open(logPath, "a");
    // Never overwrite or share another game's file: games started in the same second (bot
    // games, two programs at once) take "HH_<time>_002.txt", "_003" and so on; the padding
    // keeps the names' order the games' order.
    const std::string stem =
        (folder / "HandHistory" / ("HH_" + TimeText("%Y%m%d_%H%M%S"))).string();
    for (int n = 1; n <= kMaxHistoryFilesPerSecond; ++n) {
        const std::string suffix = n == 1 ? std::string() : Format("_%03d", n);
        if (m_handHistory.CreateNew(stem + suffix + ".txt") || m_handHistory.Error() != EEXIST)
            break;
    }
    CheckFiles();
}

void CDunmereGame::CloseFiles()
{
    m_log.Flush();
    m_log.Close();
    m_handHistory.Flush();
    m_handHistory.Close();
    CheckFiles();
}

// ---------------------------------------------------------------------------------------------
// Game start

void CDunmereGame::StartGame(GameSetupItems &items)
{
    {
        Lock lock = LockState();
        CGameTable &t = m_table;
        startDealEnabled = 1;
        startGameEnabled = 0;
        // The dialog limits the count; out-of-range input must not index past the ten seats.
        const int available = static_cast<int>(std::min(items.names.size(), items.stacks.size()));
        t.m_seatCount = std::clamp(std::min(items.seatCount, available), 0, 10);
        m_gameTypeId = items.gameTypeId;
        m_chipsAdded = 0;

        OpenFiles();
        WriteHistory("\n" + gamelines::GameStart(TimeText(gamelines::kTimeStamp)) + "\n");
        m_log.Write(gamelines::LogPlayers(t.m_seatCount) + "\n");

        m_random.SetInterval(kFirstBotPersona, kLastBotPersona);
        for (int s = 0; s < t.m_seatCount; ++s) {
            t.m_stack[s] = t.m_startStack[s] = items.stacks[static_cast<size_t>(s)];
            CPlayer &player = t.m_players[s];
            const std::string name = items.names[static_cast<size_t>(s)];
            player.m_persona = PersonaOfName(name);
            if (player.m_persona == kPersonaNone)
                player.m_persona = m_random.DrawRandomNumber();
            player.m_name = name + "_" + std::to_string(s);
            items.names[static_cast<size_t>(s)] = player.m_name;
            const char *strategy = StrategyName(player.m_persona);
            m_log.Write(gamelines::LogGameSeat(s, player.m_name, strategy, t.m_stack[s]) + "\n");
            WriteHistory(gamelines::GameSeat(s, player.m_name, t.m_stack[s], strategy) + "\n");
            m_playerRects[s].m_nameText = Wide(player.m_name);
            ClearStat(player.m_stat);
        }
        m_handHistory.Write(gamelines::GameSeatsEnd() + "\n");
        m_random.SetInterval(0, 51);

        m_levelSeconds = 0;
        const GameType *type = nullptr;
        for (const GameType &candidate : m_gameTypes) {
            if (candidate.typeId == m_gameTypeId)
                type = &candidate;
        }
        if (type) {
            m_levelSeconds = type->minutesPerLevel * 60;
            t.m_smallBlind = type->smallBlinds[0];
            t.m_bigBlind = type->bigBlinds[0];
            t.m_ante = type->antes[0];
            m_levelCount = type->levelCount;
        } else {
            t.m_smallBlind = items.smallBlind;
            t.m_bigBlind = items.bigBlind;
        }
        if (m_levelSeconds != 0) {
            m_levelStartTime = Now();
            m_levelIndex = 0;
            WriteLog(gamelines::LogBlinds(t.m_smallBlind, t.m_bigBlind) + "\n", true);
        }

        DrawForButton();
        for (int s = 0; s < t.m_seatCount; ++s) {
            if (t.m_inGame[s] && t.m_stack[s] > 0) {
                t.m_folded[s] = false;
                t.m_amountToCall = t.m_bigBlind;
                t.m_lastAction[s] = kLastActionNone;
                SetStackText(s, t.m_stack[s]);
            }
        }
    }
    // Outside the lock: the view's layout reads the state under the lock itself.
    if (m_screen)
        m_screen->LayoutSeats();
    if (m_program)
        m_program->CommandStateChanged();
}

void CDunmereGame::DrawForButton()
{
    CGameTable &t = m_table;
    m_random.SetTimerSeed();
    std::fill(std::begin(t.m_cards), std::end(t.m_cards), -1);
    m_random.SetInterval(0, 12);
    for (int s = 0; s < t.m_seatCount; ++s) {
        t.m_inGame[s] = 1;
        t.m_cards[2 * s] = DrawUnused(2 * t.m_seatCount);
        t.m_cards[2 * s + 1] = -1;
    }
    std::vector<int> values;
    for (int s = 0; s < t.m_seatCount; ++s)
        values.push_back(t.m_cards[2 * s]);
    std::stable_sort(values.begin(), values.end(), comparefun);
    if (!values.empty()) {
        for (int s = 0; s < t.m_seatCount; ++s) {
            if (t.m_cards[2 * s] == values.front()) {
                t.m_button = s;
                break;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Threads

void CDunmereGame::StartDeal()
{
    Lock lock = LockState();
    if (m_table.m_seatCount < 2)
        return;
    m_firstHand = true;
    std::lock_guard<std::mutex> threads(m_threadMutex);
    if (m_dealThread.joinable())
        m_finishedThreads.push_back(std::move(m_dealThread));
    ++m_liveThreads;
    m_dealThread = std::thread(&CDunmereGame::DealThreadMain, this);
}

void CDunmereGame::ThreadEnded()
{
    {
        std::lock_guard<std::mutex> threads(m_threadMutex);
        --m_liveThreads;
    }
    m_endCv.notify_all();
}

void CDunmereGame::DealThreadMain()
{
    try {
        Lock lock = LockState();
        startGameEnabled = 0;
        startDealEnabled = 0;
        playEnabled = 1;
        stopEnabled = 1;
        if (m_program)
            m_program->CommandStateChanged();
        m_firstHand = true;
        ShowButtonDraw();
        Pause(kPauseAfterSetupMs, lock);
        if (m_stopRequested) {
            m_exitRequested = true;
            lock.unlock();
            if (m_program)
                m_program->CloseProgram();
        } else {
            HandStart(lock);
        }
    } catch (const GameAborted &) {
    }
    ThreadEnded();
}

void CDunmereGame::ShowButtonDraw()
{
    SetWaitCursor(true);
    for (int s = 0; s < m_table.m_seatCount; ++s) {
        m_playerRects[s].m_showCards = 1;
        Invalidate(m_playerRects[s].m_cardsRect);
    }
    NewHandRoutine();
    SetWaitCursor(false);
}

void CDunmereGame::HandStart(Lock &lock)
{
    NewHandSetup();
    m_firstHand = false;
    Pause(kPauseAfterSetupMs, lock);
    SetWaitCursor(true);
    WriteLog(gamelines::kLogPreflopStart, true);
    WriteHistory(gamelines::kHoleCards);
    // Hands chain on one owned hand thread: the first hand start launches it, and later hand
    // starts run on it, so the loop simply goes on with the next hand.
    if (!m_handThreadStarted) {
        m_handThreadStarted = true;
        std::lock_guard<std::mutex> threads(m_threadMutex);
        ++m_liveThreads;
        m_handThread = std::thread(&CDunmereGame::HandThreadMain, this);
    }
    SetWaitCursor(false);
}

void CDunmereGame::HandThreadMain()
{
    try {
        Lock lock = LockState();
        for (;;) {
            m_random.SetTimerSeed();
            PlayHand(lock);
            if (m_onHandEnd)
                m_onHandEnd(*this);
            if (m_exitRequested) {
                // The human declined to add chips and the program is closing: no save.
                CloseFiles();
                break;
            }
            if (m_stopRequested) {
                if (m_saveResults)
                    m_saveResults(*this);
                CloseFiles();
                m_exitRequested = true;
                lock.unlock();
                if (m_program)
                    m_program->CloseProgram();
                break;
            }
            HandStart(lock);
        }
    } catch (const GameAborted &) {
    }
    ThreadEnded();
}

bool CDunmereGame::GameThreadRunning()
{
    std::lock_guard<std::mutex> threads(m_threadMutex);
    return m_liveThreads > 0;
}

void CDunmereGame::WaitForGameEnd()
{
    {
        std::unique_lock<std::mutex> threads(m_threadMutex);
        m_endCv.wait(threads, [this] { return m_liveThreads == 0; });
    }
    JoinThreads();
}

void CDunmereGame::JoinThreads()
{
    for (;;) {
        std::vector<std::thread> toJoin;
        {
            std::lock_guard<std::mutex> threads(m_threadMutex);
            for (std::thread &old : m_finishedThreads)
                toJoin.push_back(std::move(old));
            m_finishedThreads.clear();
            if (m_dealThread.joinable())
                toJoin.push_back(std::move(m_dealThread));
            if (m_handThread.joinable())
                toJoin.push_back(std::move(m_handThread));
        }
        if (toJoin.empty())
            return;
        for (std::thread &thread : toJoin) {
            if (thread.get_id() != std::this_thread::get_id())
                thread.join();
            else
                thread.detach(); // Shutdown from a game thread's own callback
        }
    }
}

void CDunmereGame::Shutdown()
{
    {
        Lock lock = LockState();
        m_shutdown = true;
    }
    m_pauseCv.notify_all();
    m_humanActionEvent.Wake();
    JoinThreads();
    Lock lock = LockState();
    CloseFiles();
}

// ---------------------------------------------------------------------------------------------
// Commands

void CDunmereGame::StopGame()
{
    {
        Lock lock = LockState();
        m_stopRequested = true;
        stopEnabled = 0;
    }
    if (m_program)
        m_program->CommandStateChanged();
}

void CDunmereGame::ToggleStatistics()
{
    Lock lock = LockState();
    m_showStatistics = !m_showStatistics;
    for (int s = 0; s < m_table.m_seatCount; ++s) {
        CPlayerStatisticRect &stat = m_playerRects[s].m_statRect;
        if (m_showStatistics && m_table.m_stack[s] > 0) {
            ShowStatistics(s);
        } else if (stat.m_visible) {
            stat.m_visible = 0;
            Invalidate(stat.m_rect);
        }
    }
}

void CDunmereGame::WhoIsOnButton()
{
    {
        Lock lock = LockState();
        startGameEnabled = 0;
        startDealEnabled = 0;
        playEnabled = 1;
        stopEnabled = 1;
        m_firstHand = true;
        ShowButtonDraw();
    }
    if (m_program)
        m_program->CommandStateChanged();
}

void CDunmereGame::OnNewGameMessage()
{
    {
        Lock lock = LockState();
        playEnabled = 1;
    }
    if (m_program)
        m_program->CommandStateChanged();
}

void CDunmereGame::Play()
{
    try {
        Lock lock = LockState();
        ++m_playCount;
        // The first use starts the first hand, unless the deal thread has already done so.
        bool idle;
        {
            std::lock_guard<std::mutex> threads(m_threadMutex);
            idle = m_liveThreads == 0;
        }
        const bool startHand =
            !m_playUsed && !m_handThreadStarted && idle && m_table.m_seatCount >= 2;
        m_playUsed = true;
        if (startHand)
            HandStart(lock);
        SetWaitCursor(false);
        m_firstHand = false;
    } catch (const GameAborted &) {
    }
}

void CDunmereGame::NewHandSetupCommand()
{
    Lock lock = LockState();
    NewHandSetup();
}

void CDunmereGame::DealHoleCardsCommand()
{
    Lock lock = LockState();
    SetWaitCursor(true);
    for (int s = 0; s < m_table.m_seatCount; ++s)
        HideCards(s);
    DealHoleCards();
    SetWaitCursor(false);
}

void CDunmereGame::DealFlopCommand()
{
    Lock lock = LockState();
    DealFlop();
}

void CDunmereGame::DealTurnCommand()
{
    Lock lock = LockState();
    DealTurn();
}

void CDunmereGame::DealRiverCommand()
{
    Lock lock = LockState();
    DealRiver();
}

void CDunmereGame::ShowdownCommand()
{
    try {
        Lock lock = LockState();
        int winnings[10] = {};
        SettleShowdown(winnings);
        PayOut(winnings, lock);
    } catch (const GameAborted &) {
    }
}

bool CDunmereGame::ExecuteCommand(int id)
{
    switch (id) {
    case ID_WHO_IS_ON_BUTTON:
        StartDeal();
        return true;
    case ID_STOP_GAME:
        StopGame();
        return true;
    case ID_STATISTICS:
        ToggleStatistics();
        return true;
    case ID_PLAY:
        Play();
        return true;
    case ID_NEW_HAND:
        NewHandSetupCommand();
        return true;
    case ID_DEAL_HOLE_CARDS:
        DealHoleCardsCommand();
        return true;
    case ID_DEAL_FLOP:
        DealFlopCommand();
        return true;
    case ID_DEAL_TURN:
        DealTurnCommand();
        return true;
    case ID_DEAL_RIVER:
        DealRiverCommand();
        return true;
    case ID_SHOWDOWN:
        ShowdownCommand();
        return true;
    default:
        return false;
    }
}

void CDunmereGame::SubmitHumanDecision(int amount, bool fold)
{
    {
        Lock lock = LockState();
        m_table.m_humanAmount = amount;
        m_humanFolded = fold;
    }
    m_humanActionEvent.Set();
}

// ---------------------------------------------------------------------------------------------
// Hand set-up

void CDunmereGame::AddAction(int kind, int seat, int amount, const std::string &name)
{
    m_action = CAction(0, -1, 0, {});
    m_action.m_kind = kind;
    m_action.m_seat = seat;
    m_action.m_amount = amount;
    m_action.m_name = name;
    m_actions.push_back(m_action);
}

void CDunmereGame::NewHandSetup()
{
    CGameTable &t = m_table;
    SetWaitCursor(true);
    CPlayerRect &oldButton = m_playerRects[t.m_button];
    oldButton.m_hasButton = 0;
    Invalidate(oldButton.m_buttonRect);
    t.m_amountToCall = t.m_bigBlind;
    for (int s = 0; s < t.m_seatCount; ++s) {
        CPlayerRect &box = m_playerRects[s];
        if (t.m_inGame[s]) {
            HideAction(s);
            t.m_bet[s] = 0;
            t.m_folded[s] = false;
            t.m_invested[s] = 0;
            t.m_lastAction[s] = kLastActionNone;
            if (box.m_showWin) {
                box.m_showWin = 0;
                Invalidate(box.m_winRect);
            }
            box.m_revealCards = 0;
        } else {
            // A busted seat's stake of its last hand must not count as a contribution again.
            t.m_bet[s] = 0;
            t.m_invested[s] = 0;
            box.m_visible = 0;
            Invalidate(box.m_boxRect);
            if (box.m_statRect.m_visible) {
                box.m_statRect.m_visible = 0;
                Invalidate(box.m_statRect.m_rect);
            }
        }
    }
    if (!m_firstHand)
        t.m_button = t.NextActiveSeat(t.m_button);
    if (m_boardShown) {
        m_boardShown = 0;
        Invalidate(m_boardRect);
    }
    if (m_firstHand) {
        m_actions.clear();
        AddAction(actionkind::kHandStart, -1, 0, {});
        WriteLog(gamelines::LogHandRule(), false);
        WriteLog(gamelines::kLogNewHand, false);
        ++m_handNumber;
        const std::string header = HandHeader() + " ";
        WriteHistory(header);
        WriteLog(header, false);
        WriteHistory(gamelines::Table(t.m_seatCount, t.m_button));
        for (int s = 0; s < t.m_seatCount; ++s) {
            const std::string seat = gamelines::HandSeat(s, t.m_players[s].m_name, t.m_stack[s]);
            WriteHistory(seat);
            WriteLog(seat, false);
        }
        for (int s = 0; s < t.m_seatCount; ++s)
            AddAction(actionkind::kDealtIn, s, 0, t.m_players[s].m_name);
    }
    NewHandRoutine();
    PostAntesAndBlinds();
    for (int s = 0; s < t.m_seatCount; ++s)
        HideCards(s);
    DealHoleCards();
    SetWaitCursor(false);
}

void CDunmereGame::NewHandRoutine()
{
    CGameTable &t = m_table;
    if (!m_firstHand) {
        WriteLog(gamelines::LogHandRule(), true);
        WriteLog(gamelines::kLogNewHand, true);
        ++m_handNumber;
        // The header's blanks differ between the files, as they always have.
        WriteLog("\n" + HandHeader() + " ", false);
        m_log.Write(gamelines::LogButton(t.m_button) + "\n");
        WriteHistory("\n\n" + HandHeader());
        WriteHistory(gamelines::Table(t.m_seatCount, t.m_button));
        for (int s = 0; s < t.m_seatCount; ++s)
            WriteHistory(gamelines::HandSeat(s, t.m_players[s].m_name, t.m_stack[s]));
        m_actions.clear();
        AddAction(actionkind::kHandStart, -1, 0, {});
        for (int s = 0; s < t.m_seatCount; ++s)
            AddAction(actionkind::kDealtIn, s, 0, t.m_players[s].m_name);
        AddAction(actionkind::kButton, t.m_button, 0, t.m_players[t.m_button].m_name);
    }

    const std::time_t now = Now();
    if (m_levelSeconds != 0 && now - m_levelStartTime > m_levelSeconds) {
        if (m_levelIndex + 1 < m_levelCount)
            ++m_levelIndex;
        m_levelStartTime = now;
        for (const GameType &type : m_gameTypes) {
            if (type.typeId == m_gameTypeId) {
                t.m_smallBlind = type.smallBlinds[static_cast<size_t>(m_levelIndex)];
                t.m_bigBlind = type.bigBlinds[static_cast<size_t>(m_levelIndex)];
                t.m_ante = type.antes[static_cast<size_t>(m_levelIndex)];
                break;
            }
        }
        WriteLog(gamelines::LogBlindsAnte(t.m_smallBlind, t.m_bigBlind, t.m_ante) + "\n", true);
    }

    CPlayerRect &button = m_playerRects[t.m_button];
    button.m_hasButton = 1;
    Invalidate(button.m_buttonRect);
}

void CDunmereGame::PostAntesAndBlinds()
{
    CGameTable &t = m_table;
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.m_inGame[s] || t.m_ante <= 0 || t.m_stack[s] <= 0)
            continue;
        if (t.m_stack[s] > t.m_ante) {
            t.m_stack[s] -= t.m_ante;
            t.m_pot += t.m_ante;
            t.m_invested[s] = t.m_ante;
            SetStackText(s, t.m_stack[s]);
        } else {
            t.m_pot += t.m_stack[s];
            t.m_invested[s] = t.m_stack[s];
            t.m_stack[s] = 0;
        }
    }
    SetPotText();

    using SeatLine = std::string (*)(int);
    using PostLine = std::string (*)(const std::string &, int);
    const auto postBlind = [&](int seat, int blind, SeatLine logLine, PostLine historyLine) {
        m_log.Write(logLine(seat) + "\n");
        const int amount = std::min(blind, t.m_stack[seat]);
        WriteHistory(historyLine(t.m_players[seat].m_name, amount));
        t.m_invested[seat] += amount;
        t.m_bet[seat] = amount;
        SetActionText(seat, amount);
        t.m_stack[seat] -= amount;
        SetStackText(seat, t.m_stack[seat]);
    };
    const int smallBlindSeat = t.NextActiveSeat(t.m_button);
    postBlind(smallBlindSeat, t.m_smallBlind, gamelines::LogSmallBlind, gamelines::PostsSmallBlind);
    const int bigBlindSeat = t.NextActiveSeat(smallBlindSeat);
    postBlind(bigBlindSeat, t.m_bigBlind, gamelines::LogBigBlind, gamelines::PostsBigBlind);
}

namespace {

CDeck DeckOf(const int *cards, int count)
{
    CDeck deck;
    for (int i = 0; i < count; ++i)
        deck.AddCard(CCard(cards[i]));
    return deck;
}

} // namespace

void CDunmereGame::DealHoleCards()
{
    CGameTable &t = m_table;
    std::fill(std::begin(t.m_cards), std::end(t.m_cards), -1);
    // The board of the last hand is gone; decisions before the flop must not see it.
    t.m_boardCount = 0;
    m_random.SetInterval(0, 51);
    m_random.SetTimerSeed();
    for (int pass = 0; pass < 2; ++pass) {
        for (int s = 0; s < t.m_seatCount; ++s) {
            if (t.m_inGame[s] <= 0)
                continue;
            t.m_cards[2 * s + pass] = DrawUnused(2 * t.m_seatCount);
        }
    }
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.m_inGame[s])
            continue;
        const std::string cards = Narrow(DeckOf(&t.m_cards[2 * s], 2).display2());
        WriteLog(gamelines::LogHoleCards(s, cards), false);
        if (IsHumanPersona(t.m_players[s].m_persona))
            WriteHistory(gamelines::DealtTo(t.m_players[s].m_name, cards));
        m_playerRects[s].m_showCards = 1;
        Invalidate(m_playerRects[s].m_cardsRect);
    }
}

void CDunmereGame::DealFlop()
{
    CGameTable &t = m_table;
    m_random.SetInterval(0, 51);
    m_boardShown = 1;
    for (int i = 20; i < 23; ++i)
        t.m_cards[i] = DrawUnused(i);
    t.m_boardCount = 3;
    const std::string cards = Narrow(DeckOf(&t.m_cards[20], 3).display2());
    WriteLog(gamelines::LogFlop(cards), true);
    WriteHistory(gamelines::Flop(cards));
    Invalidate(m_boardRect);
}

void CDunmereGame::DealTurn()
{
    DealBoardCard(23, gamelines::LogTurn, gamelines::Turn);
}

void CDunmereGame::DealRiver()
{
    DealBoardCard(24, gamelines::LogRiver, gamelines::River);
}

// The turn and the river: one card into board slot `slot`, which is also the card count
// before it (so the draw avoids every card dealt so far).
void CDunmereGame::DealBoardCard(int slot, BoardLine logLine, BoardLine historyLine)
{
    CGameTable &t = m_table;
    m_random.SetInterval(0, 51);
    const int c = DrawUnused(slot);
    t.m_cards[slot] = c;
    t.m_boardCount = slot - 19;
    const std::string card = Narrow(CCard(c).GetName2());
    WriteLog(logLine(card), true);
    WriteHistory(historyLine(card));
    Invalidate(m_boardRect);
}
