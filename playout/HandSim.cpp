#include "playout/HandSim.h"

#include "pokerlib/CardCodes.h"
#include "pokerlib/Evaluator.h"
#include "typical/TypicalPlayer.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <iterator>

namespace playout {

namespace {

using brisquel::kBoardFirst;
constexpr int kMaxSteps = 100000; // no answers may keep a hand going for ever
constexpr int kDrawTries = 32;

int BoardCountOf(int street)
{
    return street < 0 ? 0 : street + 3;
}

double Uniform(std::uint64_t &rng)
{
    return static_cast<double>(NextRandom(rng) >> 11) * (1.0 / 9007199254740992.0);
}

} // namespace

int UnusedCard(std::uint64_t &rng, std::uint64_t used)
{
    for (;;) {
        const int card = static_cast<int>(NextRandom(rng) % 52);
        if ((used & (1ULL << card)) == 0)
            return card;
    }
}

std::uint64_t NextRandom(std::uint64_t &state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// ---- PlayState ------------------------------------------------------------------------------

void PlayState::Start(const HandSoFar &hand)
{
    CGameTable &t = table;
    t.m_seatCount = std::clamp(hand.seatCount, 0, 10);
    for (int s = 0; s < 10; ++s) {
        const SeatSoFar &seat = hand.seats[s];
        const bool in = s < t.m_seatCount && seat.inHand && seat.startStack > 0;
        t.m_inGame[s] = in ? 1 : 0;
        t.m_stack[s] = in ? seat.startStack : 0;
        t.m_startStack[s] = t.m_stack[s];
        t.m_bet[s] = 0;
        t.m_invested[s] = 0;
        t.m_folded[s] = false;
        t.m_lastAction[s] = kLastActionNone;
        t.m_players[s].m_persona = seat.persona;
        t.m_players[s].m_name = seat.name;
        t.m_players[s].m_stat = seat.stat;
        t.m_cards[2 * s] = seat.cards[0];
        t.m_cards[2 * s + 1] = seat.cards[1];
    }
    for (int i = kBoardFirst; i < brisquel::kTableCards; ++i)
        t.m_cards[i] = -1;
    t.m_boardCount = 0;
    t.m_pot = 0;
    t.m_button = hand.button;
    t.m_smallBlind = hand.smallBlind;
    t.m_bigBlind = hand.bigBlind;
    t.m_ante = hand.ante;
    int small = 0;
    int big = 0;
    betting::PostAntesAndBlinds(t, small, big);
    betting::BeginPreflop(t, round);
    street = -1;
    toAct = t.FirstToActPreflop();
    over = false;
    lockedBoard = -1;
    m_roundDone = false;
}

void PlayState::CopyBetting(const PlayState &from)
{
    // The players' names, statistics, the spectrum and the ranges never change in a hand:
    // only the betting is copied, without the allocations of a whole table.
    CGameTable &t = table;
    const CGameTable &f = from.table;
    t.m_seatCount = f.m_seatCount;
    std::copy(std::begin(f.m_inGame), std::end(f.m_inGame), std::begin(t.m_inGame));
    std::copy(std::begin(f.m_startStack), std::end(f.m_startStack), std::begin(t.m_startStack));
    std::copy(std::begin(f.m_stack), std::end(f.m_stack), std::begin(t.m_stack));
    std::copy(std::begin(f.m_bet), std::end(f.m_bet), std::begin(t.m_bet));
    std::copy(std::begin(f.m_invested), std::end(f.m_invested), std::begin(t.m_invested));
    std::copy(std::begin(f.m_folded), std::end(f.m_folded), std::begin(t.m_folded));
    std::copy(std::begin(f.m_cards), std::end(f.m_cards), std::begin(t.m_cards));
    std::copy(std::begin(f.m_positionClass), std::end(f.m_positionClass),
              std::begin(t.m_positionClass));
    std::copy(std::begin(f.m_lastAction), std::end(f.m_lastAction), std::begin(t.m_lastAction));
    t.m_amountToCall = f.m_amountToCall;
    t.m_pot = f.m_pot;
    t.m_smallBlind = f.m_smallBlind;
    t.m_bigBlind = f.m_bigBlind;
    t.m_ante = f.m_ante;
    t.m_button = f.m_button;
    t.m_boardCount = f.m_boardCount;
    t.m_humanAmount = f.m_humanAmount;
    t.m_lastRaiser = f.m_lastRaiser;
    t.m_raises = f.m_raises;
    round = from.round;
    street = from.street;
    toAct = from.toAct;
    over = from.over;
    lockedBoard = from.lockedBoard;
    m_roundDone = from.m_roundDone;
}

int PlayState::NextToAct(const std::function<bool(int street)> &deal)
{
    CGameTable &t = table;
    for (int step = 0; step < kMaxSteps && !over; ++step) {
        if (t.CountActive() <= 1) {
            over = true;
            break;
        }
        if (m_roundDone || betting::RoundSettled(t, round)) {
            m_roundDone = false;
            betting::EndRound(t);
            const int boardBefore = t.m_boardCount;
            if (street >= 2 || !deal(street + 1)) {
                over = true;
                break;
            }
            ++street;
            if (t.CountActiveWithChips() > 1) {
                betting::BeginPostflop(t, round, street);
                toAct = t.NextActiveSeat(t.m_button);
            } else {
                // Nobody left to bet against: the board is dealt out.
                m_roundDone = true;
                if (lockedBoard < 0)
                    lockedBoard = boardBefore;
            }
            continue;
        }
        if (betting::StillToAct(t, round, toAct))
            return toAct;
        toAct = t.NextActiveSeat(toAct);
    }
    over = true;
    return -1;
}

void PlayState::Act(int put, bool fold)
{
    CGameTable &t = table;
    const int o = toAct;
    const bool bigBlind = o == round.bigBlindSeat;
    if (bigBlind)
        ++round.bigBlindTurns;
    if (betting::BookDecision(t, round, o, put, fold) != betting::Booking::Fold) {
        // The big blind's option: a check ends the round at once.
        if (bigBlind && round.bigBlindTurns == 1 && put == 0 && betting::RoundSettled(t, round))
            m_roundDone = true;
        else
            betting::BetUpdate(t, round, o, put);
    }
    toAct = t.NextActiveSeat(o);
}

void PlayState::Payout(int winnings[brisquel::kMaxSeats]) const
{
    const CGameTable &t = table;
    std::fill(winnings, winnings + 10, 0);
    if (t.CountActive() == 1) {
        int all = t.m_pot;
        for (int s = 0; s < t.m_seatCount; ++s)
            all += t.m_bet[s];
        for (int s = 0; s < t.m_seatCount; ++s)
            if (t.IsActive(s))
                winnings[s] = all;
        return;
    }
    const brisquel::EvalTables &tables = brisquel::Tables();
    int scores[brisquel::kMaxSeats] = {};
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.IsActive(s))
            continue;
        const int cards[7] = {t.m_cards[2 * s],           t.m_cards[2 * s + 1],
                              t.m_cards[kBoardFirst],     t.m_cards[kBoardFirst + 1],
                              t.m_cards[kBoardFirst + 2], t.m_cards[kBoardFirst + 3],
                              t.m_cards[kBoardFirst + 4]};
        scores[s] = brisquel::EvaluateCards7(tables, cards);
    }
    GameResult(t.m_invested, scores, winnings, t.m_seatCount, t.m_button);
}

// ---- Rebuild --------------------------------------------------------------------------------

bool Rebuild(const HandSoFar &hand, PlayState &state, std::string &error,
             const std::function<void(const CGameTable &, const PastDecision &)> &observe)
{
    if (hand.seatCount < 2 || hand.seatCount > 10 || hand.seat < 0 || hand.seat >= hand.seatCount ||
        hand.bigBlind <= 0) {
        error = "not a hand: seats, deciding seat or blinds out of range";
        return false;
    }
    state.Start(hand);
    CGameTable &t = state.table;
    const auto deal = [&](int street) {
        const int count = BoardCountOf(street);
        if (static_cast<int>(hand.board.size()) < count)
            return false;
        for (int i = t.m_boardCount; i < count; ++i)
            t.m_cards[kBoardFirst + i] = hand.board[static_cast<size_t>(i)];
        t.m_boardCount = count;
        return true;
    };
    for (size_t next = 0;; ++next) {
        const int o = state.NextToAct(deal);
        if (o < 0) {
            error = "the hand is over before the decision";
            return false;
        }
        if (next == hand.decisions.size())
            break;
        const PastDecision &d = hand.decisions[next];
        if (d.seat != o || d.street != state.street) {
            error = "decision " + std::to_string(next + 1) + " of seat " + std::to_string(d.seat) +
                    " comes when seat " + std::to_string(o) + " is to act";
            return false;
        }
        if (!d.fold && (d.put < 0 || d.put > t.m_stack[o])) {
            error = "decision " + std::to_string(next + 1) + " puts in more than the stack";
            return false;
        }
        if (observe)
            observe(t, d);
        state.Act(d.fold ? 0 : d.put, d.fold);
    }
    if (state.toAct != hand.seat) {
        error = "seat " + std::to_string(state.toAct) + " is to act, not seat " +
                std::to_string(hand.seat);
        return false;
    }
    if (static_cast<int>(hand.board.size()) != t.m_boardCount) {
        error = "the board does not match the street of the decision";
        return false;
    }
    return true;
}

// ---- Sampling -------------------------------------------------------------------------------

ComboSampler::ComboSampler(const HandWeights &weights)
{
    if (static_cast<int>(weights.weights.size()) != kComboCount)
        return;
    m_cumulative.resize(kComboCount);
    double total = 0.0;
    for (int i = 0; i < kComboCount; ++i) {
        total += std::max(0.0, weights.weights[static_cast<size_t>(i)]);
        m_cumulative[static_cast<size_t>(i)] = total;
    }
    if (total <= 0.0)
        m_cumulative.clear();
}

std::vector<ComboSampler> SamplersOf(const std::vector<HandWeights> &ranges)
{
    std::vector<ComboSampler> samplers;
    for (int s = 0; s < brisquel::kMaxSeats; ++s) {
        HandWeights weights;
        for (const HandWeights &w : ranges)
            if (w.seat == s)
                weights = w;
        samplers.emplace_back(weights);
    }
    return samplers;
}

std::pair<int, int> ComboSampler::Draw(std::uint64_t &rng, std::uint64_t used) const
{
    if (!m_cumulative.empty()) {
        const double total = m_cumulative.back();
        for (int tries = 0; tries < kDrawTries; ++tries) {
            const double u = Uniform(rng) * total;
            const auto it = std::upper_bound(m_cumulative.begin(), m_cumulative.end(), u);
            const int index =
                std::min(static_cast<int>(it - m_cumulative.begin()), kComboCount - 1);
            const auto [a, b] = ComboCards(index);
            if ((used & ((1ULL << a) | (1ULL << b))) == 0)
                return {a, b};
        }
    }
    const int a = UnusedCard(rng, used);
    const int b = UnusedCard(rng, used | (1ULL << a));
    return {a, b};
}

namespace {

// The coach's equity against the opponents still in, their hands drawn from their ranges and
// the board dealt out, ties shared.
double CoachEquity(const CGameTable &t, int seat, const std::vector<ComboSampler> &samplers,
                   std::uint64_t &rng, int trials)
{
    const brisquel::EvalTables &tables = brisquel::Tables();
    std::uint64_t known = 0;
    known |= 1ULL << t.m_cards[2 * seat];
    known |= 1ULL << t.m_cards[2 * seat + 1];
    for (int i = 0; i < t.m_boardCount; ++i)
        known |= 1ULL << t.m_cards[kBoardFirst + i];
    int opponents[brisquel::kMaxSeats];
    int count = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        if (s != seat && t.IsActive(s))
            opponents[count++] = s;
    if (count == 0)
        return 1.0;
    double share = 0.0;
    for (int trial = 0; trial < trials; ++trial) {
        std::uint64_t used = known;
        int hands[brisquel::kMaxSeats][2];
        for (int k = 0; k < count; ++k) {
            const ComboSampler &sampler = samplers[static_cast<size_t>(opponents[k])];
            const auto [a, b] = sampler.Draw(rng, used);
            hands[k][0] = a;
            hands[k][1] = b;
            used |= (1ULL << a) | (1ULL << b);
        }
        int cards[7];
        for (int i = 0; i < t.m_boardCount; ++i)
            cards[2 + i] = t.m_cards[kBoardFirst + i];
        for (int i = t.m_boardCount; i < 5; ++i) {
            cards[2 + i] = UnusedCard(rng, used);
            used |= 1ULL << cards[2 + i];
        }
        cards[0] = t.m_cards[2 * seat];
        cards[1] = t.m_cards[2 * seat + 1];
        const int mine = brisquel::EvaluateCards7(tables, cards);
        int best = 0;
        int tied = 0;
        for (int k = 0; k < count; ++k) {
            cards[0] = hands[k][0];
            cards[1] = hands[k][1];
            const int theirs = brisquel::EvaluateCards7(tables, cards);
            if (theirs > best) {
                best = theirs;
                tied = 0;
            }
            if (theirs == mine)
                ++tied;
        }
        if (mine > best)
            share += 1.0;
        else if (mine == best)
            share += 1.0 / (tied + 1);
    }
    return share / trials;
}

} // namespace

int CoachAnswer(const CGameTable &t, int seat, const std::vector<ComboSampler> &samplers,
                int trials)
{
    // The sample is drawn from the cards the seat sees, not from the play-out's stream: the
    // same spot gets the same estimate whichever option led to it, so that the options'
    // play-outs differ by the option and not by the sample.
    std::uint64_t spot =
        0x2545F4914F6CDD1DULL * static_cast<std::uint64_t>(t.m_cards[2 * seat] + 1) ^
        static_cast<std::uint64_t>(t.m_cards[2 * seat + 1] + 1) << 8;
    for (int i = 0; i < t.m_boardCount; ++i)
        spot = NextRandom(spot) ^ static_cast<std::uint64_t>(t.m_cards[kBoardFirst + i] + 1);
    const double equity = CoachEquity(t, seat, samplers, spot, std::max(trials, 1));
    long long pot = t.m_pot;
    for (int s = 0; s < t.m_seatCount; ++s)
        pot += t.m_bet[s];
    const long long highest = std::max(t.m_amountToCall, 0);
    const long long owed = std::max(0LL, highest - t.m_bet[seat]);
    long long put = 0;
    if (owed == 0) {
        const int players = t.CountActive();
        if (equity >= 1.0 / std::max(players, 1) + 0.15)
            put = std::max<long long>(pot * 2 / 3, t.m_bigBlind);
    } else if (equity >= 0.75) {
        put = 3 * highest - t.m_bet[seat];
    } else {
        const double price = static_cast<double>(owed) / static_cast<double>(pot + owed);
        if (equity > price + 0.05)
            put = owed;
    }
    put = std::clamp<long long>(put, 0, t.m_stack[seat]);
    return betting::MendAnswer(t, seat, static_cast<int>(put));
}

int ModelAnswer(const CGameTable &t, int seat, int player, int street,
                const std::vector<ComboSampler> &opponents, int trials,
                const std::function<double()> &uniform, EasyRandom &random, IDecisionOdds &odds)
{
    const int persona = t.m_players[seat].m_persona;
    if (seat == player)
        return CoachAnswer(t, seat, opponents, trials);
    if (persona < kFirstBotPersona || persona > kLastBotPersona)
        return typical::Decide(t, seat, street, uniform(), odds);
    if (street < 0)
        return DecidePreflop(t, seat, random, odds);
    return DecidePostflop(t, seat, street, random, odds);
}

// ---- PlayOut --------------------------------------------------------------------------------

namespace {

// The seat's share of the pots averaged over boards completing the first `work.lockedBoard`
// cards, drawn from what no hand holds: the same boards for every option of a deal.
double RunOutsWinnings(PlayState &work, int seat, const int cards[25], std::uint64_t seed)
{
    CGameTable &t = work.table;
    std::uint64_t used = 0;
    // Seats folded before the decision were dealt no cards in the play-out (-1).
    for (int i = 0; i < 2 * t.m_seatCount; ++i)
        if (t.m_inGame[i / 2] && cards[i] >= 0)
            used |= 1ULL << cards[i];
    for (int i = 0; i < work.lockedBoard; ++i)
        used |= 1ULL << cards[kBoardFirst + i];
    std::uint64_t rng = seed ^ 0x5851F42D4C957F2DULL;
    NextRandom(rng);
    long long sum = 0;
    int winnings[brisquel::kMaxSeats];
    for (int r = 0; r < kRunOuts; ++r) {
        std::uint64_t dealt = used;
        for (int i = work.lockedBoard; i < 5; ++i) {
            const int card = UnusedCard(rng, dealt);
            t.m_cards[kBoardFirst + i] = card;
            dealt |= 1ULL << card;
        }
        work.Payout(winnings);
        sum += winnings[seat];
    }
    for (int i = work.lockedBoard; i < 5; ++i)
        t.m_cards[kBoardFirst + i] = cards[kBoardFirst + i];
    return static_cast<double>(sum) / kRunOuts;
}

} // namespace

double PlayOut(const PlayState &start, PlayState &work, int seat, int firstPut, bool firstFold,
               const int cards[25], const PlayOutSetup &setup, std::uint64_t seed)
{
    work.CopyBetting(start);
    CGameTable &t = work.table;
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.m_inGame[s])
            continue;
        t.m_cards[2 * s] = cards[2 * s];
        t.m_cards[2 * s + 1] = cards[2 * s + 1];
    }
    const int chipsNow = t.m_stack[seat];
    EasyRandom random;
    random.SetFixedSeed(seed);
    const auto deal = [&](int street) {
        const int count = BoardCountOf(street);
        for (int i = t.m_boardCount; i < count; ++i)
            t.m_cards[kBoardFirst + i] = cards[kBoardFirst + i];
        t.m_boardCount = count;
        return true;
    };
    work.Act(firstPut, firstFold);
    // Each player's n-th decision on a street draws from a stream of its own, the same whichever
    // option the seat took: where the options lead to the same spot, the opponents answer alike.
    int decided[brisquel::kMaxSeats][4] = {};
    for (int o = work.NextToAct(deal); o >= 0; o = work.NextToAct(deal)) {
        const int street = std::clamp(work.street + 1, 0, 3);
        std::uint64_t stream = seed ^ (0x9E3779B97F4A7C15ULL * std::uint64_t(o * 4 + street + 1)) ^
                               (std::uint64_t(decided[o][street]++) << 48);
        NextRandom(stream);
        random.SetFixedSeed(stream);
        const int answer = ModelAnswer(
            t, o, seat, work.street, setup.samplers, setup.equityTrials,
            [&stream] { return Uniform(stream); }, random, *setup.odds);
        work.Act(betting::MendAnswer(t, o, answer), false);
    }
    if (work.lockedBoard >= 0 && work.lockedBoard < 5 && t.CountActive() > 1)
        return t.m_stack[seat] + RunOutsWinnings(work, seat, cards, seed) - chipsNow;
    int winnings[brisquel::kMaxSeats];
    work.Payout(winnings);
    return t.m_stack[seat] + winnings[seat] - chipsNow;
}

} // namespace playout
