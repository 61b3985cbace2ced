// Seeded bot games written in both formats and read back must give the same hands as the
// game's own files read by history/; the PokerStars text must also pass an independent
// tracker-style reading.

#include "history/FileText.h"
#include "interchange/Interchange.h"
#include "opponents/BotGame.h"
#include "tests/interchange/TrackerCheck.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace {

using history::ActionKind;

struct GameCase
{
    const char *label;
    std::vector<int> stacks;
    int gameType; // 0 fixed blinds, 3 "9 players", 4 "9 players Turbo"
    std::uint64_t seed;
};

void PrintTo(const GameCase &c, std::ostream *os)
{
    *os << c.label;
}

// A raise that puts in no more than was owed is a call, however the game's file names it.
ActionKind Normalised(const history::Action &a)
{
    if ((a.kind == ActionKind::Raise || a.kind == ActionKind::Bet) && a.amount <= a.toCall)
        return a.amount == 0 ? ActionKind::Check : ActionKind::Call;
    return a.kind;
}

void ExpectSameHands(const history::Game &original, const history::Game &imported)
{
    ASSERT_EQ(original.hands.size(), imported.hands.size());
    for (size_t h = 0; h < original.hands.size(); ++h) {
        const history::Hand &a = original.hands[h];
        const history::Hand &b = imported.hands[h];
        SCOPED_TRACE("hand " + std::to_string(a.number));
        // An imported hand keeps its room's number whole; its place in the file may change.
        if (a.id.empty())
            EXPECT_EQ(a.number, b.number);
        else
            EXPECT_EQ(a.id, b.id);
        EXPECT_EQ(a.timeText, b.timeText);
        EXPECT_EQ(a.button, b.button);
        EXPECT_EQ(a.smallBlindSeat, b.smallBlindSeat);
        EXPECT_EQ(a.bigBlindSeat, b.bigBlindSeat);
        EXPECT_EQ(a.board, b.board);
        EXPECT_EQ(a.pot, b.pot);
        EXPECT_EQ(a.showdown, b.showdown);
        ASSERT_EQ(a.seats.size(), b.seats.size());
        for (size_t s = 0; s < a.seats.size(); ++s) {
            const history::HandSeat &x = a.seats[s], &y = b.seats[s];
            EXPECT_EQ(x.inHand, y.inHand) << "seat " << s;
            if (!x.inHand)
                continue;
            EXPECT_EQ(x.name, y.name);
            EXPECT_EQ(x.startStack, y.startStack);
            EXPECT_EQ(x.endStack - x.chipsAdded, y.endStack);
            EXPECT_EQ(x.won, y.won);
            EXPECT_EQ(x.folded, y.folded);
            EXPECT_EQ(x.positionClass, y.positionClass);
            if (x.cardsShown) {
                EXPECT_EQ(x.cards, y.cards) << "seat " << s;
            }
        }
        // A blind of no chips (the ante took the last) has no line in PokerStars text.
        std::vector<history::Action> xs, ys;
        for (const history::Action &x : a.actions) {
            if (x.amount > 0 ||
                (x.kind != ActionKind::SmallBlind && x.kind != ActionKind::BigBlind))
                xs.push_back(x);
        }
        for (const history::Action &y : b.actions) {
            if (y.amount > 0 ||
                (y.kind != ActionKind::SmallBlind && y.kind != ActionKind::BigBlind))
                ys.push_back(y);
        }
        ASSERT_EQ(xs.size(), ys.size());
        for (size_t i = 0; i < xs.size(); ++i) {
            const history::Action &x = xs[i], &y = ys[i];
            SCOPED_TRACE("action " + std::to_string(i));
            EXPECT_EQ(x.street, y.street);
            EXPECT_EQ(x.seat, y.seat);
            EXPECT_EQ(Normalised(x), Normalised(y));
            EXPECT_EQ(x.amount, y.amount);
            EXPECT_EQ(x.allIn, y.allIn);
            EXPECT_EQ(x.potBefore, y.potBefore);
            EXPECT_EQ(x.toCall, y.toCall);
        }
        ASSERT_EQ(a.winners.size(), b.winners.size());
        for (size_t w = 0; w < a.winners.size(); ++w) {
            EXPECT_EQ(a.winners[w].seat, b.winners[w].seat);
            EXPECT_EQ(a.winners[w].amount, b.winners[w].amount);
        }
    }
}

class RoundTrip : public ::testing::TestWithParam<GameCase>
{
protected:
    static void SetUpTestSuite() { s_games.clear(); }

    // The game of the case, played once and read by history/ from its files.
    const history::Game &Game()
    {
        const GameCase &c = GetParam();
        auto found = s_games.find(c.label);
        if (found != s_games.end())
            return found->second;
        const auto folder = std::filesystem::temp_directory_path() /
                            ("brisquel_interchange_" + std::to_string(::getpid()) + c.label);
        std::filesystem::remove_all(folder);
        BotGameOptions options;
        options.names = DefaultBotNames(static_cast<int>(c.stacks.size()));
        options.stacks = c.stacks;
        options.gameTypeId = c.gameType;
        options.lastHand = 120;
        options.seed = c.seed;
        options.outputFolder = folder.string();
        RunBotGame(options);
        std::vector<history::Game> games;
        std::string error;
        EXPECT_TRUE(history::ReadGames(folder.string(), false, games, error)) << error;
        std::filesystem::remove_all(folder);
        history::Game game = games.empty() ? history::Game{} : games[0];
        EXPECT_TRUE(game.logPaired);
        EXPECT_TRUE(game.warnings.empty());
        return s_games.emplace(c.label, game).first->second;
    }

    static std::map<std::string, history::Game> s_games;
};

std::map<std::string, history::Game> RoundTrip::s_games;

TEST_P(RoundTrip, PokerStarsGivesBackEveryHand)
{
    const history::Game &game = Game();
    ASSERT_FALSE(game.hands.empty());
    const std::string text = interchange::ExportPokerStars(game);
    interchange::ImportResult result;
    std::string error;
    ASSERT_TRUE(interchange::ImportPokerStars(text, "export.txt", result, error)) << error;
    EXPECT_EQ(result.skipped, 0);
    for (const std::string &warning : result.warnings)
        ADD_FAILURE() << warning;
    ASSERT_EQ(result.games.size(), 1u);
    ExpectSameHands(game, result.games[0]);
}

TEST_P(RoundTrip, PhhGivesBackEveryHand)
{
    const history::Game &game = Game();
    const std::string text = interchange::ExportPhh(game);
    interchange::ImportResult result;
    std::string error;
    ASSERT_TRUE(interchange::ImportPhh(text, "export.phhs", result, error)) << error;
    EXPECT_EQ(result.skipped, 0);
    ASSERT_EQ(result.games.size(), 1u);
    ExpectSameHands(game, result.games[0]);
}

// A sound game is written whole: the check before writing leaves nothing out.
TEST_P(RoundTrip, TheCheckBeforeWritingKeepsEveryHand)
{
    for (interchange::Format format : {interchange::Format::PokerStars, interchange::Format::Phh}) {
        std::vector<std::string> leftOut;
        EXPECT_EQ(interchange::ExportReadable({Game()}, format, leftOut),
                  interchange::ExportGames({Game()}, format));
        EXPECT_TRUE(leftOut.empty()) << leftOut.front();
    }
}

// Damage the game's own reader lets through: without the log a tournament's antes are not
// known, so its winners seem paid more than was put in; a hand lost its button line; a fold is
// written twice. What would not read back is left out, each hand named; the rest reads back.
TEST(ExportReadable, LeavesOutOnlyWhatWouldNotReadBack)
{
    const auto folder = std::filesystem::temp_directory_path() /
                        ("brisquel_export_check_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    BotGameOptions options;
    options.names = DefaultBotNames(9);
    options.stacks = std::vector<int>(9, 1500);
    options.gameTypeId = 3;
    options.lastHand = 135; // antes from hand 126
    options.seed = 4;
    options.outputFolder = folder.string();
    RunBotGame(options);
    std::string text;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() == ".log")
            std::filesystem::remove(entry.path());
        else if (entry.path().extension() == ".txt")
            text = entry.path().string();
    }
    std::string body, error;
    ASSERT_TRUE(history::ReadFileText(text, body, error)) << error;
    // The first hand loses its button line; the first fold is written twice.
    const size_t table = body.find("Table 'Game'");
    body.erase(table, body.find('\n', table) + 1 - table);
    const size_t fold = body.find(": folds\r\n");
    const size_t start = body.rfind('\n', fold) + 1;
    body.insert(start, body.substr(start, fold + 9 - start));
    std::ofstream(text, std::ios::trunc) << body;

    std::vector<history::Game> games;
    ASSERT_TRUE(history::ReadGames(folder.string(), false, games, error)) << error;
    std::filesystem::remove_all(folder);
    ASSERT_EQ(games.size(), 1u);
    const size_t hands = games[0].hands.size();
    const std::string warnings = ::testing::PrintToString(games[0].warnings);
    EXPECT_NE(warnings.find("skipped a second fold"), std::string::npos) << warnings;
    for (interchange::Format format : {interchange::Format::PokerStars, interchange::Format::Phh}) {
        SCOPED_TRACE(interchange::FormatExtension(format));
        std::vector<std::string> leftOut;
        const std::string written = interchange::ExportReadable(games, format, leftOut);
        ASSERT_FALSE(leftOut.empty());
        EXPECT_LT(leftOut.size(), hands);
        if (format == interchange::Format::PokerStars) {
            EXPECT_NE(
                leftOut.front().find(": hand 1 is left out of the export: the button's seat 0"),
                std::string::npos)
                << leftOut.front();
        }
        interchange::ImportResult result;
        ASSERT_TRUE(interchange::ImportText(written, "out", result, error)) << error;
        EXPECT_EQ(result.skipped, 0) << "the reader's checks, chips that add up among them";
        EXPECT_EQ(result.games[0].hands.size() + leftOut.size(), hands);
    }
}

// Read as a tracker reads it: every line known, amounts as totals, chips carried from one
// hand to the next, summaries complete and in seat order.
TEST_P(RoundTrip, PokerStarsTextPassesATrackersReading)
{
    const history::Game &game = Game();
    const trackercheck::Report report =
        trackercheck::CheckPokerStars(interchange::ExportPokerStars(game));
    EXPECT_EQ(report.hands, static_cast<int>(game.hands.size()));
    for (const std::string &problem : report.problems)
        ADD_FAILURE() << problem;
}

// The PHH text follows the published layout: players from the seat after the button to the
// button, forced bets in those places (listed the other way round heads-up), each hand's
// finishing stacks the next hand's starting stacks, raises as totals.
TEST_P(RoundTrip, PhhTextFollowsThePublishedLayout)
{
    const history::Game &game = Game();
    const std::string text = interchange::ExportPhh(game);
    const std::regex section(R"(\[(\d+)\]\n)");
    const std::regex field(R"(\n(\w+) = ([^\n]+))");
    std::vector<std::string> hands;
    const std::string sections = text.rfind("[1]\n", 0) == 0 ? text : "[1]\n" + text;
    std::sregex_token_iterator it(sections.begin(), sections.end(), section, -1), end;
    for (++it; it != end; ++it)
        hands.push_back("\n" + it->str());
    ASSERT_EQ(hands.size(), game.hands.size());
    std::map<int, std::string> carried; // seat -> finishing stack of the hand before
    for (size_t h = 0; h < hands.size(); ++h) {
        const history::Hand &hand = game.hands[h];
        SCOPED_TRACE("hand " + std::to_string(hand.number));
        std::map<std::string, std::string> fields;
        for (std::sregex_iterator f(hands[h].begin(), hands[h].end(), field), e; f != e; ++f)
            fields[(*f)[1]] = (*f)[2];
        EXPECT_EQ(fields["variant"], "\"NT\"");
        const auto list = [&](const std::string &name) {
            std::vector<std::string> items;
            std::string body = fields[name].substr(1, fields[name].size() - 2);
            std::stringstream in(body);
            for (std::string item; std::getline(in, item, ',');)
                items.push_back(item.substr(item.find_first_not_of(' ')));
            return items;
        };
        const std::vector<std::string> seats = list("seats"), stacks = list("starting_stacks"),
                                       blinds = list("blinds_or_straddles"),
                                       finishing = list("finishing_stacks");
        const size_t n = seats.size();
        ASSERT_GE(n, 2u);
        EXPECT_EQ(std::stoi(seats.back()), hand.button + 1) << "the last player is the button";
        // Blinds are posted by the two players after the button; heads-up the list is read
        // reversed (the game's own heads-up order is written as played).
        const int sb = hand.smallBlindSeat, bb = hand.bigBlindSeat;
        for (size_t i = 0; i < n; ++i) {
            const int seat = std::stoi(seats[n == 2 ? 1 - i : i]) - 1;
            for (const history::Action &a : hand.actions) {
                if (a.seat != seat ||
                    (a.kind != ActionKind::SmallBlind && a.kind != ActionKind::BigBlind))
                    continue;
                // A short stack's blind may be written in full: it is capped at the stack.
                if (a.amount < a.stackBefore)
                    EXPECT_EQ(std::stoi(blinds[i]), a.amount) << "place " << i;
                else
                    EXPECT_GE(std::stoi(blinds[i]), a.amount) << "place " << i;
            }
        }
        if (n > 2 && sb >= 0 && bb >= 0 &&
            (sb + 1) % static_cast<int>(hand.seats.size()) != hand.button) {
            EXPECT_EQ(std::stoi(seats[0]), sb + 1);
            EXPECT_EQ(std::stoi(seats[1]), bb + 1);
        }
        for (size_t p = 0; p < n; ++p) {
            const int seat = std::stoi(seats[p]);
            if (carried.count(seat)) {
                EXPECT_EQ(carried[seat], stacks[p]) << "seat " << seat;
            }
        }
        carried.clear();
        for (size_t p = 0; p < n; ++p)
            carried[std::stoi(seats[p])] = finishing[p];
        // Within a street every "cbr" total tops the one before it.
        int streetTop = 0;
        const std::regex move(R"re("(p\d+ cbr (\d+)|d db \w+)")re");
        for (std::sregex_iterator a(hands[h].begin(), hands[h].end(), move), e; a != e; ++a) {
            if ((*a)[2].matched) {
                EXPECT_GT(std::stoi((*a)[2]), streetTop);
                streetTop = std::stoi((*a)[2]);
            } else {
                streetTop = 0;
            }
        }
    }
}

// Hand-written files of other sites, written again: the text reads as a tracker reads it and
// gives back the same hands, rake and cents included.
class WrittenAgain : public ::testing::TestWithParam<const char *>
{
};

TEST_P(WrittenAgain, GivesTheSameHands)
{
    interchange::ImportResult first, second;
    std::string error;
    ASSERT_TRUE(
        interchange::ImportFile(std::string(BRISQUEL_TEST_DATA "/") + GetParam(), first, error))
        << error;
    for (const history::Game &game : first.games) {
        const std::string text = interchange::ExportPokerStars(game);
        const trackercheck::Report report = trackercheck::CheckPokerStars(text);
        EXPECT_EQ(report.hands, static_cast<int>(game.hands.size()));
        for (const std::string &problem : report.problems)
            ADD_FAILURE() << problem;
        ASSERT_TRUE(interchange::ImportPokerStars(text, "again.txt", second, error)) << error;
        ASSERT_EQ(second.games.size(), 1u);
        ExpectSameHands(game, second.games[0]);
    }
}

// Three all-in for different amounts and one covering them: the text written again is the
// hand-written one line for line below its header (uncalled bet, side pots named and ordered,
// the summary's pots and seat lines).
TEST(WrittenAgainText, TwoSidePotsAreWrittenAsTheSiteWritesThem)
{
    const std::string path = std::string(BRISQUEL_TEST_DATA) + "/four_all_in.txt";
    interchange::ImportResult result;
    std::string error;
    ASSERT_TRUE(interchange::ImportFile(path, result, error)) << error;
    ASSERT_EQ(result.games.size(), 1u);
    const auto body = [](const std::string &text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            if (++number > 2 && !line.empty())
                lines.push_back(line);
        }
        return lines;
    };
    std::ifstream file(path);
    const std::string original((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    EXPECT_EQ(body(interchange::ExportPokerStars(result.games[0])), body(original));
}

INSTANTIATE_TEST_SUITE_P(HandWritten, WrittenAgain,
                         ::testing::Values("cash_usd.txt", "tournament_antes.txt",
                                           "two_tables_eur.txt", "four_all_in.txt"),
                         support::PrintedName());

// Heads-up, short stacks with side pots at 3, 6 and 10 seats, full tables, both tournaments.
INSTANTIATE_TEST_SUITE_P(
    SeededBotGames, RoundTrip,
    ::testing::Values(GameCase{"HeadsUp", {1000, 1000}, 0, 7},
                      GameCase{"ShortThree", {300, 120, 500}, 0, 3},
                      GameCase{"ShortSix", {300, 150, 600, 80, 300, 240}, 0, 5},
                      GameCase{"ShortTen", {300, 120, 500, 80, 300, 240, 60, 400, 200, 100}, 0, 9},
                      GameCase{"FixedTen", std::vector<int>(10, 1000), 0, 1},
                      GameCase{"NinePlayers", std::vector<int>(9, 1500), 3, 2},
                      GameCase{"NinePlayersTurbo", std::vector<int>(9, 1500), 4, 11},
                      GameCase{"TurboHeadsUp", {1500, 1500}, 4, 6}),
    [](const ::testing::TestParamInfo<GameCase> &param) { return param.param.label; });

} // namespace
