// The end of a hand: scores, ties, the library's pot division, payout and elimination.
#include "engine/EngineText.h"
#include "engine/Game.h"
#include "lineformat/GameLines.h"
#include "pokerlib/CardCodes.h"

#include <algorithm>
#include <vector>

using namespace enginetext;

namespace {

// The seat's two hole cards and the five board cards, evaluated.
CDeck SevenCards(const CGameTable &t, int s)
{
    CDeck deck;
    deck.AddCard(CCard(t.m_cards[2 * s]));
    deck.AddCard(CCard(t.m_cards[2 * s + 1]));
    for (int i = 20; i < 25; ++i) {
        if (t.m_cards[i] >= 0)
            deck.AddCard(CCard(t.m_cards[i]));
    }
    deck.SetValueCombination();
    return deck;
}

} // namespace

void CDunmereGame::SettleShowdown(int *winnings)
{
    CGameTable &t = m_table;
    WriteHistory(gamelines::kSummary);
    int scores[brisquel::kMaxSeats] = {};
    for (int i = 0; i < t.m_seatCount; ++i) {
        winnings[i] = 0;
        scores[i] = 0;
        if (!t.m_folded[i] && t.m_inGame[i] > 0) {
            const int hole[2] = {t.m_cards[2 * i], t.m_cards[2 * i + 1]};
            scores[i] = 10 * PokerLogic().getCombination(hole, &t.m_cards[brisquel::kBoardFirst],
                                                         t.m_boardCount);
            WriteLog(gamelines::LogScore(i, scores[i]), true);
        }
    }
    bool marked[brisquel::kMaxSeats] = {};
    for (int i = 0; i < t.m_seatCount; ++i) {
        if (scores[i] == 0)
            continue;
        int count = 0;
        for (int j = i + 1; j < t.m_seatCount; ++j) {
            if (!marked[j] && scores[j] == scores[i]) {
                marked[j] = true;
                ++count;
            }
        }
        if (count > 0) {
            marked[i] = true;
            BreakTies(scores[i], scores, count + 1);
        }
    }
    GameResult(t.m_invested, scores, winnings, t.m_seatCount, t.m_button);
    for (int i = 0; i < t.m_seatCount; ++i) {
        if (t.m_inGame[i] == 0)
            continue;
        WriteLog(gamelines::LogSortedScore(i, scores[i], winnings[i]), true);
        WriteHistory(gamelines::Wins(t.m_players[i].m_name, winnings[i]));
    }
}

void CDunmereGame::BreakTies(int score, int *scores, int tied)
{
    const CGameTable &t = m_table;
    std::vector<int> candidates;
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (scores[s] == score)
            candidates.push_back(s);
    }
    int k = tied;
    while (k > 1 && !candidates.empty()) {
        std::vector<CDeck> decks;
        for (int s : candidates)
            decks.push_back(SevenCards(t, s));
        std::vector<bool> standing(candidates.size(), true);
        for (size_t a = 0; a < candidates.size(); ++a) {
            if (!standing[a])
                continue;
            for (size_t b = a + 1; b < candidates.size(); ++b) {
                if (!standing[b])
                    continue;
                const int result = decks[a].compareTo(decks[b]);
                if (result < 0) {
                    standing[a] = false;
                    break;
                }
                if (result > 0)
                    standing[b] = false;
            }
        }
        std::vector<int> knockedOut;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (standing[i])
                scores[candidates[i]] += k - 1;
            else
                knockedOut.push_back(candidates[i]);
        }
        k = static_cast<int>(knockedOut.size());
        candidates = std::move(knockedOut);
    }
}

void CDunmereGame::PayOut(const int *winnings, Lock &lock)
{
    CGameTable &t = m_table;
    t.m_pot = 0;
    const bool contested = t.CountActive() > 1;
    for (int s = 0; s < t.m_seatCount; ++s)
        m_playerRects[s].m_atShowdown = contested && t.m_inGame[s] != 0 && !t.m_folded[s] ? 1 : 0;
    for (int s = 0; s < t.m_seatCount; ++s) {
        t.m_stack[s] += winnings[s];
        // Every chip of the round is in the winnings now.
        t.m_bet[s] = 0;
        if (winnings[s] <= 0)
            continue;
        CPlayerRect &box = m_playerRects[s];
        box.m_winText = charTOwchar(Format("I win %d!", winnings[s]).c_str());
        box.m_showWin = 1;
        box.m_showAction = 0;
        if (contested) {
            box.m_revealCards = 1;
            Invalidate(TablePart::Cards, s);
            const std::string combination = Trim(Narrow(SevenCards(t, s).display()));
            WriteLog(gamelines::LogHas(s, combination), true);
            WriteHistory(gamelines::Has(t.m_players[s].m_name, combination));
        } else {
            HideCards(s);
        }
        Invalidate(TablePart::Action, s);
        Invalidate(TablePart::Win, s);
    }
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (t.m_inGame[s] != 0)
            SetStackText(s, t.m_stack[s]);
    }
    InvalidateAll();

    const int human = kHumanSeat;
    if (t.m_stack[human] == 0 && IsHumanPersona(t.m_players[human].m_persona) &&
        t.m_inGame[human] != 0) {
        WriteLog(gamelines::kLogHumanBroke, true);
        int chips = 0;
        bool accepted = false;
        if (m_human) {
            // The hands shown down stay in view before the dialog asks about chips.
            if (contested)
                ShowdownPause(lock);
            lock.unlock();
            accepted = m_human->RunAddChipsDialog(chips);
            lock.lock();
            Pause(0, lock); // unwinds at shutdown
        }
        if (accepted) {
            // A negative entry would take chips out of play; 0 leaves the human eliminated.
            // The chips at the table stay within what the hand history reads back.
            long long atTable = 0;
            for (int s = 0; s < t.m_seatCount; ++s)
                atTable += t.m_stack[s];
            chips = int(std::clamp<long long>(chips, 0, std::max(0LL, kMaxChips - atTable)));
            t.m_stack[human] = chips;
            m_chipsAdded += chips;
            const std::string line = gamelines::HeroAdds(chips);
            WriteHistory(line);
            WriteLog(line, true);
            SetStackText(human, t.m_stack[human]);
            InvalidateAll();
        } else {
            WriteLog(gamelines::kLogGameOver, true);
            Pause(kPauseGameOverMs, lock);
            m_exitRequested = true;
            lock.unlock();
            if (m_program)
                m_program->CloseProgram();
            lock.lock();
            Pause(0, lock);
        }
    }

    std::vector<int> busted;
    int before = 0;
    for (int s = 0; s < t.m_seatCount; ++s) {
        before += t.m_inGame[s] != 0 ? 1 : 0;
        if (t.m_stack[s] <= 0 && t.m_inGame[s] > 0) {
            WriteLog(gamelines::LogLostAllMoney(s), true);
            WriteHistory(gamelines::LostAllMoney(t.m_players[s].m_name));
            t.m_inGame[s] = 0;
            busted.push_back(s);
        }
    }
    if (m_levelSeconds != 0)
        AnnounceFinishes(busted, before);
}

void CDunmereGame::AnnounceFinishes(std::vector<int> busted, int playersBefore)
{
    // Of players out in the same hand, the one who began it with more chips places higher.
    std::stable_sort(busted.begin(), busted.end(), [this](int a, int b) {
        return m_handStart.stacks[a] > m_handStart.stacks[b];
    });
    int place = playersBefore - static_cast<int>(busted.size()) + 1;
    for (int s : busted) {
        // The pane only: the log and the hand history keep their own lines.
        AppendPane(Format("%s finishes %s", m_table.m_players[s].m_name.c_str(),
                          OrdinalText(place).c_str()));
        ++place;
    }
    if (!busted.empty() && playersBefore - static_cast<int>(busted.size()) == 1) {
        for (int s = 0; s < m_table.m_seatCount; ++s) {
            if (m_table.m_inGame[s] != 0)
                AppendPane(Format("%s finishes 1st", m_table.m_players[s].m_name.c_str()));
        }
    }
}

std::string OrdinalText(int n)
{
    const int lastTwo = n % 100;
    const char *suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        if (n % 10 == 1)
            suffix = "st";
        else if (n % 10 == 2)
            suffix = "nd";
        else if (n % 10 == 3)
            suffix = "rd";
    }
    return std::to_string(n) + suffix;
}
