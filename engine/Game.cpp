#include "engine/Game.h"
#include "lineformat/GameLines.h"

#include <algorithm>

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

const char *CDunmereGame::StrategyName(int persona)
{
    return ::StrategyName(persona);
}

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
        m_handsCompleted = 0;
        m_dealt = false;
        m_resultsSaved = false;
        m_stopNow = false;

        OpenFiles();
        WriteHistory("\n" + gamelines::GameStart(TimeText(gamelines::kTimeStamp)) + "\n");
        m_files.WriteLogText(gamelines::LogPlayers(t.m_seatCount) + "\n");

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
            m_files.WriteLogText(gamelines::LogGameSeat(s, player.m_name, strategy, t.m_stack[s]) +
                                 "\n");
            WriteHistory(gamelines::GameSeat(s, player.m_name, t.m_stack[s], strategy) + "\n");
            m_playerRects[s].m_nameText = charTOwchar(player.m_name.c_str());
            ClearStat(player.m_stat);
        }
        m_files.WriteHistoryText(gamelines::GameSeatsEnd() + "\n");
        m_random.SetInterval(0, 51);
        MarkHandStart();

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
        // A new seat count: the view lays the table out again.
        InvalidateAll();
    }
    if (m_program)
        m_program->CommandStateChanged();
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
            Invalidate(TablePart::Statistics, s);
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
    } catch (const Aborted &) {
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
        int winnings[brisquel::kMaxSeats] = {};
        SettleShowdown(winnings);
        PayOut(winnings, lock);
    } catch (const Aborted &) {
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
        if (fold)
            m_table.m_folded[m_humanSeat] = true;
    }
    m_humanActionEvent.Set();
}
