// Every real hand history kept for the tests, read hand by hand: each hand is read, or refused
// with its file, a line of it and a reason; each read hand's chips add up, and what each player
// won or lost over the file is what the file itself says, counted apart as a tracker counts.

#include "coach/AllInAdjusted.h"
#include "interchange/Interchange.h"
#include "tests/support/FileTotals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <tuple>

namespace {

const std::string kReal = std::string(BRISQUEL_TEST_DATA) + "/real";

std::string Key(const history::Hand &hand)
{
    return hand.id.empty() ? "#" + std::to_string(hand.number) : hand.id;
}

// Whether a warning names the file and a line within [from, to).
bool Refused(const interchange::ImportResult &result, const std::string &path, size_t from,
             size_t to)
{
    for (const std::string &warning : result.warnings) {
        if (warning.rfind(path + ":", 0) != 0)
            continue;
        const size_t line = std::strtoul(warning.c_str() + path.size() + 1, nullptr, 10);
        if (line >= from && line < to && warning.find(": ", path.size() + 1) != std::string::npos)
            return true;
    }
    return false;
}

// What each player won or lost, without those who did neither.
void AddNets(std::map<std::string, long long> &to, const std::map<std::string, long long> &from)
{
    for (const auto &[name, net] : from)
        if ((to[name] += net) == 0)
            to.erase(name);
}

// Written out in either format, the hands count the same to the tracker: every pot, and what
// each player won or lost.
void ExpectWrittenAlike(const std::vector<history::Game> &games)
{
    std::multiset<long long> pots;
    std::map<std::string, long long> nets;
    for (const history::Game &game : games)
        for (const history::Hand &hand : game.hands) {
            pots.insert(hand.pot);
            std::map<std::string, long long> net;
            for (const history::HandSeat &seat : hand.seats)
                if (seat.inHand)
                    net[seat.name] = seat.won - seat.invested;
            AddNets(nets, net);
        }
    for (interchange::Format format : {interchange::Format::PokerStars, interchange::Format::Phh}) {
        const std::string text = interchange::ExportGames(games, format);
        std::multiset<long long> writtenPots;
        std::map<std::string, long long> writtenNets;
        for (const testsupport::HandTotals &hand : format == interchange::Format::Phh
                                                       ? testsupport::PhhTotals(text)
                                                       : testsupport::PokerStarsTotals(text)) {
            writtenPots.insert(hand.pot);
            AddNets(writtenNets, hand.net);
        }
        EXPECT_EQ(writtenPots, pots) << interchange::FormatExtension(format);
        EXPECT_EQ(writtenNets, nets) << interchange::FormatExtension(format);
    }
}

TEST(RealFiles, EveryHandIsReadOrRefusedWithItsReasonAndAddsUp)
{
    int hands = 0, read = 0;
    std::map<std::string, std::pair<int, int>> rooms; // read, and of how many
    for (const auto &entry : std::filesystem::recursive_directory_iterator(kReal)) {
        if (!entry.is_regular_file())
            continue;
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        const std::string room = entry.path().parent_path().filename().string();
        const std::vector<testsupport::HandTotals> expected =
            room == "winamax" || room == "888"   ? testsupport::RoomTotals(text, room == "winamax")
            : entry.path().extension() == ".txt" ? testsupport::PokerStarsTotals(text)
                                                 : testsupport::PhhTotals(text);
        interchange::ImportResult result;
        std::string error;
        ASSERT_TRUE(interchange::ImportFile(path, result, error)) << error;
        std::map<std::string, const history::Hand *> imported;
        for (const history::Game &game : result.games)
            for (const history::Hand &hand : game.hands)
                imported[Key(hand)] = &hand;
        std::map<std::string, long long> fileNet, ourNet;
        for (const testsupport::HandTotals &file : expected) {
            ++hands;
            ++rooms[room].second;
            const auto found = imported.find(file.key);
            if (found == imported.end()) {
                EXPECT_TRUE(Refused(result, path, file.line, file.end))
                    << "hand " << file.key << " is neither read nor refused at a line of it";
                continue;
            }
            ++read;
            ++rooms[room].first;
            const history::Hand &hand = *found->second;
            SCOPED_TRACE("hand " + file.key);
            long long won = 0;
            for (const history::HandSeat &seat : hand.seats) {
                won += seat.won;
                EXPECT_TRUE(seat.won == 0 || !seat.folded) << seat.name << " folded and won";
            }
            EXPECT_EQ(hand.pot, file.pot);
            if (file.rake >= 0)
                EXPECT_EQ(hand.pot - won, file.rake);
            else
                EXPECT_TRUE(won <= hand.pot && 10 * (hand.pot - won) <= hand.pot) << "rake";
            if (!file.known)
                continue;
            for (const history::HandSeat &seat : hand.seats)
                if (!seat.name.empty())
                    ourNet[seat.name] += seat.won - seat.invested + seat.chipsAdded;
            for (const auto &[name, net] : file.net)
                fileNet[name] += net;
        }
        EXPECT_EQ(ourNet, fileNet);
        ExpectWrittenAlike(result.games);
    }
    std::cout << "real hands read: " << read << " of " << hands << "\n";
    for (const auto &[room, count] : rooms) {
        std::cout << "  " << room << ": " << count.first << " of " << count.second << "\n";
        // Each other room's format is shown on enough real hands to be trusted.
        if (room == "winamax" || room == "888" || room == "ggpoker") {
            EXPECT_GE(count.first, 30) << room;
        }
    }
    RecordProperty("hands", hands);
    RecordProperty("read", read);
    EXPECT_GE(read * 100, hands * 98);
}

// Seats taken by another player after their first one left (Danilo, clai74, Talerz, Trend154reg,
// subarist085, GIE0RGE, lapvegas52, tom xiao0216, Mibie, PsAikoS, BRAT PIDD; in the tournament
// Sione03, tuhien, noblufj1, Hotam64, ottawa67sfan): every player is found by name, and his
// results over the table are those of the hands he sat in.
TEST(RealFiles, ResultsGoToThePlayerWhoSatThere)
{
    // The file, the player it deals to, and the table's size.
    const std::string cash = " - $0,01-$0,02 - USD No Limit Hold'em.txt";
    const std::tuple<std::string, std::string, size_t> cases[] = {
        {"pokerstars/HH20200416 Aksnes II" + cash, "pokerHero1", 9},
        {"pokerstars/HH20200417 Caph" + cash, "pokerHero1", 9},
        {"pokerstars/HH20200416 Kepler II" + cash, "pokerHero1", 9},
        {"pokerstars/HH20200417 Genoveva III" + cash, "pokerHero1", 9},
        {"pokerstars/HH20200417 Shapleya II" + cash, "pokerHero1", 9},
        {"pokerstars/HH20200417 Sicilia II" + cash, "pokerHero1", 9},
        // "9 Max", and a tenth seat.
        {"888/888poker20160327 Tournament $0.01 Step 1 WSOP, 888Live & Major Tournaments "
         "(78669312) "
         "No Limit Holdem.txt",
         "jpprewitt", 10},
    };
    for (const auto &[file, hero, seats] : cases) {
        interchange::ImportResult result;
        std::string error;
        ASSERT_TRUE(interchange::ImportFile(kReal + "/" + file, result, error)) << error;
        const history::Game &game = result.games.at(0);
        std::map<std::string, long long> nets;
        for (const history::Hand &hand : game.hands) {
            EXPECT_EQ(hand.seats.size(), seats) << file;
            for (const history::HandSeat &seat : hand.seats) {
                if (!seat.name.empty())
                    nets[seat.name] += seat.won - seat.invested;
                // His own cards, wherever he sits.
                EXPECT_TRUE(seat.name != hero || !seat.inHand || seat.cardsShown) << hand.number;
            }
        }
        // Each player once among the game's seats.
        EXPECT_EQ(std::count_if(game.seats.begin(), game.seats.end(),
                                [](const history::GameSeat &seat) { return !seat.name.empty(); }),
                  static_cast<long>(nets.size()))
            << file;
        for (const auto &[name, net] : nets) {
            const int player = game.seatOf(name);
            ASSERT_GE(player, 0) << name;
            EXPECT_EQ(coach::AllInAdjusted(game, player).actualChips, net) << name;
            EXPECT_EQ(game.humanSeat() == player, name == hero) << name;
        }
    }
}

} // namespace
