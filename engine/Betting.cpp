// The betting rounds of one hand, run on the hand thread with the state mutex held.
#include "engine/EngineText.h"
#include "engine/Game.h"
#include "lineformat/GameLines.h"

#include <algorithm>

using namespace enginetext;

namespace {

constexpr int kMaxTurnsPerRound = 100000; // no decider may keep a round going for ever

} // namespace

void CDunmereGame::Analyze()
{
    const std::vector<CAction> copy = m_actions;
    AnalyzeHand(copy, [this](int s) -> CPokerStat & { return m_table.m_players[s].m_stat; });
}

void CDunmereGame::PlayHand(Lock &lock)
{
    if (!PlayPreflop(lock)) {
        EndRound();
        WriteLog(gamelines::LogRoundEnd(-1), true);
        AddAction(actionkind::kPreflopFinished, -1, 0, {});
        PlayStreets(lock);
        if (!m_handEnded) {
            AddAction(actionkind::kHandFinished, -1, 0, {});
            Analyze();
        }
    }
    // Checked after every hand, not only after a showdown: a seat that was all in for 0 can be
    // eliminated by a hand won by folds, and one player alone must not play on.
    int inGame = 0;
    for (int s = 0; s < m_table.m_seatCount; ++s)
        inGame += m_table.m_inGame[s] != 0 ? 1 : 0;
    if (inGame <= 1)
        m_stopRequested = true;
}

bool CDunmereGame::PlayPreflop(Lock &lock)
{
    CGameTable &t = m_table;
    Round round;
    round.preflop = true;
    m_handEnded = false;
    const int smallBlind = t.NextActiveSeat(t.m_button);
    const int bigBlind = t.NextActiveSeat(smallBlind);
    // Antes are dead money: the amount to call is the larger blind, not the blind plus ante.
    t.m_amountToCall = std::max(t.m_bet[smallBlind], t.m_bet[bigBlind]);
    t.m_lastRaiser = -1;
    t.m_humanAmount = 0;

    AddAction(actionkind::kPreflopBegins, -1, 0, {});
    AddAction(actionkind::kSmallBlind, smallBlind, t.m_invested[smallBlind],
              t.m_players[smallBlind].m_name);
    AddAction(actionkind::kBigBlind, bigBlind, t.m_invested[bigBlind],
              t.m_players[bigBlind].m_name);

    for (int s = 0; s < t.m_seatCount; ++s) {
        t.m_lastAction[s] = kLastActionNone;
        CPlayerStatisticRect &stat = m_playerRects[s].m_statRect;
        if (t.m_inGame[s]) {
            BuildStatText(t.m_players[s].m_stat);
            if (m_showStatistics)
                ShowStatistics(s);
            AppendPane(Format("Player %d is %s with stack = %d in game\n", s,
                              t.m_players[s].m_name.c_str(), t.m_stack[s] + t.m_invested[s]));
        } else if (m_showStatistics && stat.m_visible) {
            stat.m_visible = 0;
            Invalidate(stat.m_rect);
        }
    }

    if (t.IsActive(bigBlind))
        AssignPositionClasses(
            t.m_seatCount, bigBlind, [&t](int s) { return t.IsActive(s); },
            [&t](int s, int positionClass) { t.m_positionClass[s] = positionClass; });

    round.bigBlindSeat = bigBlind;
    PlayTurns(t.FirstToActPreflop(), round, lock);
    Pause(kPauseRoundEndMs, lock);
    if (m_handEnded) {
        PayOut(round.won, lock);
        Pause(kPausePreflopWinMs, lock);
        return true;
    }
    return false;
}

void CDunmereGame::PlayStreets(Lock &lock)
{
    CGameTable &t = m_table;
    Pause(kPauseStreetMs, lock);
    DealFlop();
    Pause(kPauseStreetMs, lock);
    if (t.CountActiveWithChips() > 1)
        PlayPostflop(0, lock);
    if (!m_handEnded) {
        DealTurn();
        Pause(kPauseStreetMs, lock);
        if (t.CountActiveWithChips() > 1)
            PlayPostflop(1, lock);
    }
    if (!m_handEnded) {
        DealRiver();
        Pause(kPauseStreetMs, lock);
        if (t.CountActiveWithChips() > 1)
            PlayPostflop(2, lock);
    }
    if (!m_handEnded) {
        int winnings[10] = {};
        SettleShowdown(winnings);
        PayOut(winnings, lock);
        Pause(kPauseStreetMs, lock);
    }
}

bool CDunmereGame::PlayPostflop(int street, Lock &lock)
{
    CGameTable &t = m_table;
    Round round;
    round.preflop = false;
    round.street = street;
    m_handEnded = false;
    t.m_humanAmount = 0;
    t.m_amountToCall = -1;
    std::fill(std::begin(t.m_lastAction), std::end(t.m_lastAction), kLastActionNone);
    AddAction(actionkind::StreetBegins(street), -1, 0, {});

    PlayTurns(t.NextActiveSeat(t.m_button), round, lock);
    Pause(kPauseRoundEndMs, lock);
    if (m_handEnded) {
        PayOut(round.won, lock);
        Pause(kPausePostflopWinMs, lock);
        return true;
    }
    EndRound();
    WriteLog(gamelines::LogRoundEnd(street), true);
    AddAction(actionkind::StreetFinished(street), -1, 0, {});
    return false;
}

void CDunmereGame::PlayTurns(int o, Round &round, Lock &lock)
{
    CGameTable &t = m_table;
    for (int turn = 0; turn < kMaxTurnsPerRound; ++turn) {
        if (t.CountActive() == 1) {
            WinByFolds(o, round);
            return;
        }
        if (RoundSettled(round))
            return;
        if (StillToAct(o, round)) {
            bool foldPressed = false;
            const int b = AskDecision(o, round.street, lock, foldPressed);
            const bool bigBlind = o == round.bigBlindSeat;
            if (bigBlind)
                ++round.bigBlindTurns;
            if (!BookDecision(o, b, foldPressed, round)) {
                // The big blind's option: a check ends the round at once.
                if (bigBlind && round.bigBlindTurns == 1 && b == 0 && RoundSettled(round))
                    return;
                BetUpdate(o, b, round);
                Pause(kPauseAfterActionMs, lock);
            }
        }
        o = t.NextActiveSeat(o);
    }
}

void CDunmereGame::EndRound()
{
    CGameTable &t = m_table;
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.IsActive(s))
            continue;
        HideAction(s);
        t.m_pot += t.m_bet[s];
        t.m_bet[s] = 0;
    }
    SetPotText();
}

void CDunmereGame::WinByFolds(int o, Round &round)
{
    CGameTable &t = m_table;
    const int pot = t.m_bet[o] + t.m_pot;
    CPlayerRect &box = m_playerRects[o];
    box.m_winText = charTOwchar(Format(round.preflop ? "I win  %d!" : "I win %d!", pot).c_str());
    box.m_showWin = 1;
    box.m_showAction = 0;
    Invalidate(box.m_actionRect);
    Invalidate(box.m_winRect);
    m_handEnded = true;
    const int roundEnd =
        round.preflop ? actionkind::kPreflopFinished : actionkind::StreetFinished(round.street);
    if (round.preflop) {
        AddAction(roundEnd, -1, 0, {});
        AddAction(actionkind::kHandFinished, -1, 0, {});
        Analyze();
    }
    WriteLog(gamelines::LogWinsPot(o, pot), true);
    WriteHistory(gamelines::Collected(t.m_players[o].m_name, pot));
    round.won[o] = pot;
    if (!round.preflop) {
        AddAction(roundEnd, -1, 0, {});
        AddAction(actionkind::kHandFinished, -1, 0, {});
        Analyze();
    }
}

int CDunmereGame::AskDecision(int o, int street, Lock &lock, bool &foldPressed)
{
    CGameTable &t = m_table;
    foldPressed = false;
    int b = 0;
    if (IsHumanPersona(t.m_players[o].m_persona) && m_human)
        b = HumanDecision(o, lock, foldPressed);
    else if (m_decider)
        b = street < 0 ? m_decider->DecidePreflop(t, o, m_random)
                       : m_decider->DecidePostflop(t, o, street, m_random);
    // Out-of-range answers would make a negative stack or chips from nowhere.
    return std::clamp(b, 0, std::max(t.m_stack[o], 0));
}

int CDunmereGame::HumanDecision(int o, Lock &lock, bool &foldPressed)
{
    CGameTable &t = m_table;
    const int sliderMax = t.m_bet[o] + t.m_stack[o];
    m_humanFolded = false;
    // A stray signal from an earlier decision must not answer this one.
    m_humanActionEvent.Reset();
    lock.unlock();
    m_human->PrepareDecision(sliderMax);
    m_humanActionEvent.Wait([this] { return Stopping(); });
    lock.lock();
    Pause(0, lock); // unwinds at shutdown
    m_humanActionEvent.Reset();
    Pause(kPauseHumanMs, lock);
    foldPressed = m_humanFolded || t.m_folded[o];
    return t.m_humanAmount;
}

bool CDunmereGame::StillToAct(int o, const Round &round) const
{
    const CGameTable &t = m_table;
    // An all-in seat has nothing left to decide: it is passed over and never ends a round.
    return t.IsActive(o) && t.m_stack[o] > 0 && (!round.acted[o] || t.m_bet[o] < t.m_amountToCall);
}

bool CDunmereGame::RoundSettled(const Round &round) const
{
    const CGameTable &t = m_table;
    int withChips = 0;
    bool someoneOwes = false;
    bool someoneToAct = false;
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.IsActive(s) || t.m_stack[s] <= 0)
            continue;
        ++withChips;
        someoneOwes |= t.m_bet[s] < t.m_amountToCall;
        someoneToAct |= StillToAct(s, round);
    }
    // A lone seat with chips and nothing to call has nobody left to bet against.
    return !someoneToAct || (withChips == 1 && !someoneOwes);
}

bool CDunmereGame::BookDecision(int o, int b, bool foldPressed, Round &round)
{
    CGameTable &t = m_table;
    round.acted[o] = true;
    const std::string &name = t.m_players[o].m_name;
    const bool owes = round.preflop ? t.m_bet[o] < t.m_amountToCall : t.m_amountToCall > 0;
    if (b > 0 && !foldPressed) {
        const bool allIn = b == t.m_stack[o];
        // An all-in for less than the amount owed is a call, not a raise.
        const bool call =
            b + t.m_bet[o] == t.m_amountToCall || (allIn && b + t.m_bet[o] < t.m_amountToCall);
        std::string logText;
        if (call) {
            t.m_lastAction[o] = kLastActionCall;
            WriteHistory(gamelines::Calls(name, b));
            logText = gamelines::LogCalls(o, b);
        } else {
            t.m_lastAction[o] = kLastActionRaise;
            WriteHistory(gamelines::Raises(name, b));
            logText = gamelines::LogRaises(o, b);
        }
        if (allIn)
            logText = gamelines::LogAllIn(o, b);
        WriteLog(logText, true);
        AddAction(call ? actionkind::kCall : actionkind::kRaise, o, b, t.m_players[o].m_name);
        return false;
    }
    if (b == 0 && !owes && !foldPressed) {
        WriteLog(gamelines::LogChecks(o), true);
        WriteHistory(gamelines::Checks(name));
        t.m_lastAction[o] = kLastActionCall;
        AddAction(actionkind::kCheck, o, 0, t.m_players[o].m_name);
        return false;
    }
    // A fold, also when FOLD was pressed with nothing owed: the round bet goes to the pot.
    WriteLog(gamelines::LogFolds(o), true);
    WriteHistory(gamelines::Folds(name));
    AddAction(actionkind::kFold, o, 0, t.m_players[o].m_name);
    HideAction(o);
    HideCards(o);
    t.m_folded[o] = true;
    t.m_pot += t.m_bet[o];
    t.m_bet[o] = 0;
    t.m_lastAction[o] = kLastActionFold;
    return true;
}

void CDunmereGame::BetUpdate(int o, int b, Round &round)
{
    CGameTable &t = m_table;
    t.m_bet[o] += b;
    if (t.m_bet[o] > t.m_amountToCall) {
        t.m_amountToCall = t.m_bet[o];
        t.m_lastAction[o] = kLastActionRaise;
        // A bet or raise reopens the round: everyone else decides again.
        std::fill(std::begin(round.acted), std::end(round.acted), false);
        round.acted[o] = true;
        if (round.preflop)
            t.m_lastRaiser = o;
    }
    t.m_invested[o] += b;
    SetActionText(o, t.m_bet[o]);
    t.m_stack[o] -= b;
    SetStackText(o, t.m_stack[o]);
}
