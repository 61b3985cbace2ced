#include "practice/Deck.h"

#include "playout/Advisor.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

namespace practice {

namespace {

using history::ActionKind;
using history::Street;

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

bool IsDecision(ActionKind kind)
{
    return kind != ActionKind::Ante && kind != ActionKind::SmallBlind &&
           kind != ActionKind::BigBlind;
}

// The bet faced at each decision of `seat` in the hand, in order.
std::vector<Faced> FacedInHand(const history::Hand &hand, int seat)
{
    std::vector<Faced> faced;
    Street street = Street::Preflop;
    int bets = 0;
    for (const history::Action &action : hand.actions) {
        if (action.street != street) {
            street = action.street;
            bets = 0;
        }
        if (action.seat == seat && IsDecision(action.kind))
            faced.push_back(bets == 0 ? Faced::None : bets == 1 ? Faced::Bet : Faced::Raise);
        if (action.kind == ActionKind::Bet || action.kind == ActionKind::Raise)
            ++bets;
    }
    return faced;
}

std::string CardsText(const std::vector<int> &cards)
{
    std::string text;
    for (int card : cards)
        text += (text.empty() ? "" : " ") + history::CardText(card);
    return text.empty() ? "-" : text;
}

} // namespace

const char *FacedName(Street street, Faced faced)
{
    static const char *const kPreflop[] = {"the blinds", "a raise", "a re-raise"};
    static const char *const kLater[] = {"no bet", "a bet", "a raise"};
    return (street == Street::Preflop ? kPreflop : kLater)[static_cast<int>(faced)];
}

std::string LeakName(const LeakKey &key)
{
    return std::string(history::StreetName(key.street)) + ", " + coach::PositionName(key.position) +
           ", facing " + FacedName(key.street, key.faced) + ", " + playout::GradeName(key.grade);
}

std::string Spot::key() const
{
    return game + "\t" + player + "\t" + std::to_string(hand) + "\t" + std::to_string(decision) +
           (variant > 0 ? "\t" + std::to_string(variant) : "");
}

std::vector<Spot> SpotsOfGame(const history::Game &game, int seat,
                              const std::vector<coach::ReviewRow> &rows)
{
    std::vector<Spot> spots;
    const std::string &player = game.seats[static_cast<size_t>(seat)].name;
    // One spot, however the path to its game was written.
    std::error_code noPath;
    std::string file = std::filesystem::weakly_canonical(game.historyPath, noPath).string();
    if (noPath || file.empty())
        file = game.historyPath;
    size_t r = 0;
    for (const history::Hand &hand : game.hands) {
        const int handSeat = game.seatInHand(hand, seat);
        if (handSeat < 0)
            continue;
        const std::vector<Faced> faced = FacedInHand(hand, handSeat);
        for (size_t k = 0; r < rows.size() && rows[r].hand == hand.number; ++k, ++r) {
            const coach::ReviewRow &row = rows[r];
            const playout::Advice &advice = row.advice;
            if (!advice.valid || advice.chosen < 0 || advice.grade == playout::Grade::Ok ||
                advice.grade == playout::Grade::NotGraded || k >= faced.size())
                continue;
            Spot spot;
            spot.game = file;
            spot.player = player;
            spot.hand = hand.number;
            spot.decision = static_cast<int>(k);
            spot.leak = {row.street, row.position, faced[k], advice.grade};
            spot.lossBb = advice.lossBb;
            spot.played = playout::OptionLabel(advice.options[static_cast<size_t>(advice.chosen)]);
            spot.hole = row.point.hole;
            spot.board = row.point.board;
            spot.pot = row.point.pot;
            spot.toCall = row.point.toCall;
            spot.bigBlind = row.bigBlind;
            spot.options = advice.options;
            spot.covariance = advice.covariance;
            spots.push_back(std::move(spot));
        }
    }
    return spots;
}

std::vector<Leak> Leaks(const std::vector<Spot> &spots)
{
    std::map<LeakKey, Leak> byKey;
    for (const Spot &spot : spots) {
        Leak &leak = byKey[spot.leak];
        leak.key = spot.leak;
        leak.lossBb += spot.lossBb;
        leak.spots.push_back(&spot);
    }
    std::vector<Leak> leaks;
    for (auto &[key, leak] : byKey) {
        std::stable_sort(leak.spots.begin(), leak.spots.end(),
                         [](const Spot *a, const Spot *b) { return a->lossBb > b->lossBb; });
        leaks.push_back(std::move(leak));
    }
    std::stable_sort(leaks.begin(), leaks.end(),
                     [](const Leak &a, const Leak &b) { return a.lossBb > b.lossBb; });
    return leaks;
}

std::optional<size_t> NextSpot(const std::vector<Spot> &spots, std::int64_t now,
                               const std::string &last)
{
    // The due spots and those to answer again today, each longest waiting first.
    std::optional<size_t> due, again, justAnswered;
    for (size_t s = 0; s < spots.size(); ++s) {
        if (spots[s].tries == 0 || spots[s].due > now)
            continue;
        if (spots[s].again && spots[s].key() == last) {
            justAnswered = s;
            continue;
        }
        std::optional<size_t> &queue = spots[s].again ? again : due;
        if (!queue || spots[s].due < spots[*queue].due)
            queue = s;
    }
    if (due)
        return due;
    if (again)
        return again;
    for (const Leak &leak : Leaks(spots))
        for (const Spot *spot : leak.spots)
            if (spot->tries == 0)
                return static_cast<size_t>(spot - spots.data());
    return justAnswered;
}

bool ParseAnswer(const std::string &text, Answer &answer, std::string &error)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    if (words.size() == 1 && (words[0] == "fold" || words[0] == "call" || words[0] == "check")) {
        answer = {words[0] == "fold" ? Answer::Fold : Answer::Call, 0};
        return true;
    }
    if (words.size() >= 2 && words.size() <= 3 && (words[0] == "raise" || words[0] == "bet") &&
        (words.size() == 2 || words[1] == "to")) {
        const std::string &amount = words.back();
        if (!amount.empty() && amount.size() <= 9 &&
            std::all_of(amount.begin(), amount.end(),
                        [](char c) { return c >= '0' && c <= '9'; }) &&
            std::stoi(amount) > 0) {
            answer = {Answer::Raise, std::stoi(amount)};
            return true;
        }
    }
    error = "the answer \"" + text + "\" is not fold, call or raise N (N: the bet after it)";
    return false;
}

bool GradeAnswer(const Spot &spot, const Answer &answer, Graded &graded, std::string &error)
{
    // An option's total less what it puts in: the player's bet on the street before it (not
    // the fold's, which the review adds with nothing set where a check was free).
    const auto staying =
        std::find_if(spot.options.begin(), spot.options.end(),
                     [](const playout::Option &o) { return o.kind != playout::OptionKind::Fold; });
    if (staying == spot.options.end()) {
        error = "the spot has no valued options";
        return false;
    }
    const int before = staying->total - staying->put;
    int put = 0;
    if (answer.kind == Answer::Call) {
        const auto stay =
            std::find_if(spot.options.begin(), spot.options.end(), [](const playout::Option &o) {
                return o.kind == playout::OptionKind::Check || o.kind == playout::OptionKind::Call;
            });
        // Calling all in for less is the all-in option.
        put = stay != spot.options.end() ? stay->put : spot.options.back().put;
    } else if (answer.kind == Answer::Raise) {
        put = answer.to - before;
        if (put <= spot.toCall) {
            error = "raise " + std::to_string(answer.to) + " is not above the bet to call (" +
                    std::to_string(before + spot.toCall) + ")";
            return false;
        }
    }
    const bool fold = answer.kind == Answer::Fold;
    playout::Advice advice;
    advice.valid = true;
    advice.final = true;
    advice.options = spot.options;
    // Without it the drill would call uncertain, and grade milder, what the review graded.
    advice.covariance = spot.covariance;
    if (!fold && playout::TakenOption(advice.options, put, false) < 0) {
        error = "a raise is not an option in this spot";
        return false;
    }
    graded.advice = playout::WithMove(std::move(advice), put, fold, &graded.exact);
    graded.right = graded.advice.grade == playout::Grade::Ok;
    static const int kQuality[] = {4, 2, 1, 0, 0};
    graded.quality = graded.advice.chosen == graded.advice.best
                         ? 5
                         : kQuality[static_cast<int>(graded.advice.grade)];
    return true;
}

void Schedule(Spot &spot, const Graded &graded, std::int64_t now)
{
    // The algorithm's last step: answers rated below 4 are asked again the same day until they
    // are rated 4 or more; those extra answers leave the schedule as it is.
    if (!spot.again)
        spot.schedule = Sm2Answer(spot.schedule, graded.quality);
    spot.again = graded.quality < 4;
    spot.due = spot.again ? now : now + spot.schedule.intervalDays * kSecondsPerDay;
    ++spot.tries;
}

Mastery MasteryOf(const Leak &leak, const std::vector<Try> &tries, int last, std::int64_t now)
{
    Mastery mastery;
    std::vector<std::string> keys;
    for (const Spot *spot : leak.spots) {
        keys.push_back(spot->key());
        mastery.due += spot->due <= now ? 1 : 0;
    }
    double lost = 0.0;
    for (auto t = tries.rbegin(); t != tries.rend() && mastery.tries < last; ++t) {
        if (std::find(keys.begin(), keys.end(), t->spot) == keys.end())
            continue;
        ++mastery.tries;
        mastery.right += t->right ? 1 : 0;
        lost += t->lossBb;
    }
    mastery.lossPerTryBb = mastery.tries > 0 ? lost / mastery.tries : 0.0;
    return mastery;
}

std::string SpotLine(const Spot &spot)
{
    char money[64];
    std::snprintf(money, sizeof money, "pot %d, to call %d", spot.pot, spot.toCall);
    return "hand " + std::to_string(spot.hand) + ", " + history::StreetName(spot.leak.street) +
           ", " + coach::PositionName(spot.leak.position) + ", facing " +
           FacedName(spot.leak.street, spot.leak.faced) + ": " +
           CardsText({spot.hole[0], spot.hole[1]}) + ", board " + CardsText(spot.board) + ", " +
           money;
}

std::string OptionsLine(const Spot &spot)
{
    std::string line;
    for (const playout::Option &option : spot.options)
        line += (line.empty() ? "" : " · ") + playout::OptionLabel(option);
    return line;
}

} // namespace practice
