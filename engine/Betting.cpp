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
    m_handEnded = false;
    const rules::BlindSeats blinds = t.BlindSeats();
    const int smallBlind = blinds.small;
    const int bigBlind = betting::BeginPreflop(t, round);

    AddAction(actionkind::kPreflopBegins, -1, 0, {});
    AddAction(actionkind::kSmallBlind, smallBlind, t.m_invested[smallBlind],
              t.m_players[smallBlind].m_name);
    AddAction(actionkind::kBigBlind, bigBlind, t.m_invested[bigBlind],
              t.m_players[bigBlind].m_name);

    for (int s = 0; s < t.m_seatCount; ++s) {
        CPlayerStatisticRect &stat = m_playerRects[s].m_statRect;
        if (t.m_inGame[s]) {
            BuildStatText(t.m_players[s].m_stat);
            if (m_showStatistics)
                ShowStatistics(s);
            AppendPane(Format("Player %d is %s with stack = %d in game\n", s,
                              t.m_players[s].m_name.c_str(), t.m_stack[s] + t.m_invested[s]));
        } else if (m_showStatistics && stat.m_visible) {
            stat.m_visible = 0;
            Invalidate(TablePart::Statistics, s);
        }
    }

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
        int winnings[brisquel::kMaxSeats] = {};
        SettleShowdown(winnings);
        PayOut(winnings, lock);
        ShowdownPause(lock);
    }
}

bool CDunmereGame::PlayPostflop(int street, Lock &lock)
{
    CGameTable &t = m_table;
    Round round;
    m_handEnded = false;
    betting::BeginPostflop(t, round, street);
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
        if (betting::RoundSettled(t, round))
            return;
        if (betting::StillToAct(t, round, o)) {
            bool foldPressed = false;
            const int b = AskDecision(o, round.street, lock, foldPressed);
            const bool bigBlind = o == round.bigBlindSeat;
            if (bigBlind)
                ++round.bigBlindTurns;
            if (!BookDecision(o, b, foldPressed, round)) {
                // The big blind's option: a check ends the round at once.
                if (bigBlind && round.bigBlindTurns == 1 && b == 0 &&
                    betting::RoundSettled(t, round))
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
        if (t.IsActive(s))
            HideAction(s);
    }
    betting::EndRound(t);
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
    Invalidate(TablePart::Action, o);
    Invalidate(TablePart::Win, o);
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
    return betting::MendAnswer(t, o, b);
}

int CDunmereGame::HumanDecision(int o, Lock &lock, bool &foldPressed)
{
    CGameTable &t = m_table;
    const int sliderMax = t.m_bet[o] + t.m_stack[o];
    m_humanSeat = o;
    // A stray signal from an earlier decision must not answer this one.
    m_humanActionEvent.Reset();
    lock.unlock();
    m_human->PrepareDecision(sliderMax);
    m_humanActionEvent.Wait([this] { return Stopping(); });
    lock.lock();
    m_humanSeat = kHumanSeat;
    Pause(0, lock); // unwinds at shutdown
    m_humanActionEvent.Reset();
    Pause(kPauseHumanMs, lock);
    // SubmitHumanDecision marked a fold, also one with nothing owed.
    foldPressed = t.m_folded[o];
    return t.m_humanAmount;
}

bool CDunmereGame::BookDecision(int o, int b, bool foldPressed, Round &round)
{
    CGameTable &t = m_table;
    const std::string &name = t.m_players[o].m_name;
    const betting::Booking booking = betting::BookDecision(t, round, o, b, foldPressed);
    if (booking == betting::Booking::Call || booking == betting::Booking::Raise) {
        const bool call = booking == betting::Booking::Call;
        std::string logText;
        if (call) {
            WriteHistory(gamelines::Calls(name, b));
            logText = gamelines::LogCalls(o, b);
        } else {
            WriteHistory(gamelines::Raises(name, b));
            logText = gamelines::LogRaises(o, b);
        }
        if (b == t.m_stack[o])
            logText = gamelines::LogAllIn(o, b);
        WriteLog(logText, true);
        AddAction(call ? actionkind::kCall : actionkind::kRaise, o, b, t.m_players[o].m_name);
        return false;
    }
    if (booking == betting::Booking::Check) {
        WriteLog(gamelines::LogChecks(o), true);
        WriteHistory(gamelines::Checks(name));
        AddAction(actionkind::kCheck, o, 0, t.m_players[o].m_name);
        return false;
    }
    WriteLog(gamelines::LogFolds(o), true);
    WriteHistory(gamelines::Folds(name));
    AddAction(actionkind::kFold, o, 0, t.m_players[o].m_name);
    HideAction(o);
    HideCards(o);
    return true;
}

void CDunmereGame::BetUpdate(int o, int b, Round &round)
{
    CGameTable &t = m_table;
    betting::BetUpdate(t, round, o, b);
    SetActionText(o, t.m_bet[o]);
    SetStackText(o, t.m_stack[o]);
}
