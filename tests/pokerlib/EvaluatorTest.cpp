#include "pokerlib/Evaluator.h"
#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"
#include "pokerlib/HandValue.h"
#include "pokerlib/StoredTables.h"
#include "tests/support/Cards.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace brisquel;
using testsupport::Cards;

CDeck Deck(const std::string &text)
{
    CDeck deck;
    for (int c : Cards(text))
        deck.AddCard(CCard(c));
    deck.SetValueCombination();
    return deck;
}

int Compare(const std::string &a, const std::string &b)
{
    return Deck(a).compareTo(Deck(b));
}

// Known totals per category, high card first.
constexpr std::array<long long, 9> kFiveCardTotals = {1302540, 1098240, 123552, 54912, 10200,
                                                      5108,    3744,    624,    40};
constexpr std::array<long long, 9> kSevenCardTotals = {
    23294460, 58627800, 31433400, 6461620, 6180020, 4047644, 3473184, 224848, 41584};

TEST(EvaluatorEnumeration, FiveCardCategoryCounts)
{
    std::array<long long, 9> counts{};
    int c[5];
    for (c[0] = 0; c[0] < 52; ++c[0])
        for (c[1] = c[0] + 1; c[1] < 52; ++c[1])
            for (c[2] = c[1] + 1; c[2] < 52; ++c[2])
                for (c[3] = c[2] + 1; c[3] < 52; ++c[3])
                    for (c[4] = c[3] + 1; c[4] < 52; ++c[4])
                        ++counts[CategoryOf(EvaluateCards(c, 5))];
    EXPECT_EQ(counts, kFiveCardTotals);
}

// All 133,784,560 seven-card hands through the table evaluator, from summed entries and from
// card integers; every 4096th also through the direct evaluator, which must agree.
TEST(EvaluatorEnumeration, SevenCardCategoryCountsAndAgreement)
{
    const EvalTables &t = Tables();
    std::array<long long, 9> counts{};
    long long n = 0, checked = 0, disagreements = 0, fromCards = 0, fromStored = 0;
    int c[7];
    for (c[0] = 0; c[0] < 52; ++c[0])
        for (c[1] = c[0] + 1; c[1] < 52; ++c[1])
            for (c[2] = c[1] + 1; c[2] < 52; ++c[2]) {
                const Hand h3 = t.cards[c[0]] + t.cards[c[1]] + t.cards[c[2]];
                for (c[3] = c[2] + 1; c[3] < 52; ++c[3])
                    for (c[4] = c[3] + 1; c[4] < 52; ++c[4]) {
                        const Hand h5 = h3 + t.cards[c[3]] + t.cards[c[4]];
                        for (c[5] = c[4] + 1; c[5] < 52; ++c[5]) {
                            const Hand h6 = h5 + t.cards[c[5]];
                            for (c[6] = c[5] + 1; c[6] < 52; ++c[6]) {
                                const Hand h7 = h6 + t.cards[c[6]];
                                const auto compact = Evaluate(t, h7);
                                const auto v = Natural(t, compact);
                                ++counts[CategoryOf(v)];
                                if ((++n & 4095) == 0) {
                                    ++checked;
                                    disagreements += v != EvaluateCards(c, 7);
                                }
                                fromCards += EvaluateCards7(t, c) != compact;
                                fromStored += EvaluateStored(h7) != compact;
                            }
                        }
                    }
            }
    EXPECT_EQ(n, 133784560);
    EXPECT_EQ(counts, kSevenCardTotals);
    EXPECT_GT(checked, 30000);
    EXPECT_EQ(disagreements, 0);
    EXPECT_EQ(fromCards, 0); // card integers give what the summed entries give
    EXPECT_EQ(fromStored, 0);
}

TEST(EvaluatorTables, StoredAtBuildTimeEqualBuiltNow)
{
    const EvalTables &stored = Tables();
    const EvalTables built = BuildEvalTables();
    EXPECT_EQ(stored.rankValues, built.rankValues);
    EXPECT_EQ(stored.rowOffsets, built.rowOffsets);
    EXPECT_EQ(stored.flushValues, built.flushValues);
    EXPECT_EQ(stored.natural, built.natural);
    for (int c = 0; c < 52; ++c) {
        EXPECT_EQ(stored.cards[c].key, built.cards[c].key);
        EXPECT_EQ(stored.cards[c].mask, built.cards[c].mask);
        EXPECT_EQ(stored.cardKeys[c], built.cards[c].key);
        EXPECT_EQ(StoredCard(c).key, built.cards[c].key);
        EXPECT_EQ(StoredCard(c).mask, built.cards[c].mask);
    }
}

TEST(EvaluatorTables, SmallAndOrderPreserving)
{
    const EvalTables &t = Tables();
    EXPECT_LT(t.Bytes(), 256u * 1024u);
    for (std::size_t v = 2; v < t.natural.size(); ++v)
        ASSERT_LT(t.natural[v - 1], t.natural[v]);
}

TEST(HandComparison, Straights)
{
    EXPECT_EQ(Deck("Ah 2c 3d 4s 5h Kd Kc").display(), L"Straight, Five high");
    EXPECT_EQ(Compare("Ah 2c 3d 4s 5h Kd Kc", "2c 3d 4s 5h 6h Kd Kc"), -1); // wheel is lowest
    EXPECT_EQ(Compare("Ah 2c 3d 4s 5h Kd Kc", "As Ad Ac 9h 8d Kd 2s"), 1);  // beats trips
    EXPECT_EQ(Compare("Ts Jd Qc Kh Ah 2c 3c", "9s Td Jc Qh Kh 2c 3c"), 1);
    // No wrap-around straight.
    EXPECT_EQ(CategoryOf(Deck("Qs Kd Ac 2h 3h 8c 9c").Strength()), kHighCard);
    const CDeck steelWheel = Deck("Ah 2h 3h 4h 5h Kh Ks");
    EXPECT_EQ(steelWheel.display(), L"Straight flush, Five high");
    EXPECT_EQ(steelWheel.compareTo(Deck("Ad Ac As Ah 5h Kh Ks")), 1);
    EXPECT_EQ(Deck("Th Jh Qh Kh Ah 2c 3c").display(), L"Royal flush");
}

TEST(HandComparison, FlushOverStraightAndFullHouseOrder)
{
    EXPECT_EQ(Compare("2h 7h 9h Jh Kh Tc Qd", "9c Td Jc Qh Kd 2c 3c"), 1);
    EXPECT_EQ(Deck("2h 7h 9h Jh Kh Tc Qd").display(), L"Flush, King high");
    // The trips rank decides a full house before the pair rank.
    EXPECT_EQ(Compare("Kh Kd Kc 7s 7d 2c 3d", "Qh Qd Qc As Ad 2c 3d"), 1);
    EXPECT_EQ(Compare("Kh Kd Kc 7s 7d 2c 3d", "Kh Kd Kc 8s 8d 2c 3d"), -1);
    EXPECT_EQ(Deck("Kh Kd Kc 7s 7d 2c 3d").display(), L"Full house, Kings full of Sevens");
    // Two trips make a full house with the lower as the pair.
    EXPECT_EQ(Deck("Kh Kd Kc 7s 7d 7c 3d").display(), L"Full house, Kings full of Sevens");
    EXPECT_EQ(Compare("9h 9d 9c 9s 2d 3c 4d", "Kh Kd Kc 7s 7d 7c 3d"), 1);
}

TEST(HandComparison, Kickers)
{
    EXPECT_EQ(Compare("Ah Ad Kc 9s 7d 4c 2d", "As Ac Qc 9s 7d 4c 2d"), 1);
    // The fifth kicker counts; the sixth and seventh cards do not.
    EXPECT_EQ(Compare("Ah Kd 9c 7s 5d 3c 2d", "Ah Kd 9c 7s 4d 3c 2d"), 1);
    EXPECT_EQ(Compare("Ah Kd 9c 7s 5d 4c 2d", "Ah Kd 9c 7s 5d 3c 2d"), 0);
    // Two pair: the kicker is the best of the remaining cards, even a third pair's rank.
    EXPECT_EQ(Compare("Ah Ad Kc Ks 5d 5c 2d", "Ah Ad Kc Ks 4d 4c 3d"), 1);
    EXPECT_EQ(Compare("Ah Ad Kc Ks 5d 5c 2d", "Ah Ad Kc Ks 5d 4c 3d"), 0);
    EXPECT_EQ(Compare("9h 9d 9c 9s Ad 2c 3d", "9h 9d 9c 9s Kd Qc Jd"), 1);
    EXPECT_EQ(Compare("7h 7d 7c As 2d 5c 3d", "7h 7d 7c Ks Qd 5c 3d"), 1);
}

TEST(HandComparison, BoardPlaysTies)
{
    const std::string board = "Ts Jd Qc Kh Ah";
    EXPECT_EQ(Compare(board + " 2c 3d", board + " 4s 5s"), 0);
    EXPECT_EQ(Deck(board + " 2c 3d").Strength(), Deck(board + " 4s 5s").Strength());
    EXPECT_EQ(Compare("2h 2d 3c 3s 4h 4d Kc", "2s 2c 3h 3d 4c 4s Kd"), 0);
}

TEST(HandComparison, FiveAndSixCardSets)
{
    EXPECT_EQ(Deck("Ah Ad Ac Kh Kd").display(), L"Full house, Aces full of Kings");
    EXPECT_EQ(Compare("Ah Kh Qh Jh 9h 2c", "Ah Kh Qh Jh 8h 2c"), 1);
    EXPECT_EQ(Deck("Ah Kd Qs Jc 9c").display(), L"Ace high");
}

TEST(CardText, NamesAndParsing)
{
    EXPECT_EQ(CCard(ParseCard("Ah")).GetName2(), L"Ah");
    EXPECT_EQ(CCard(0).GetName2(), L"2c");
    EXPECT_EQ(CCard(51).GetName2(), L"As");
    EXPECT_EQ(CCard(51).rank, 1);
    EXPECT_EQ(CCard(0).rank, 2);
    EXPECT_EQ(CCard(24).rank, 13); // king of diamonds
    EXPECT_EQ(CCard(24).suit, 1);
    for (int c = 0; c < 52; ++c)
        ASSERT_EQ(CCard(c).ToInt(), c);
    EXPECT_EQ(ParseCard("td"), ParseCard("Td"));
    EXPECT_EQ(ParseCard("10d"), ParseCard("Td"));
    EXPECT_EQ(ParseCard("1d"), -1);
    EXPECT_EQ(ParseCard("Ax"), -1);
    EXPECT_EQ(ParseCard(""), -1);
    EXPECT_EQ(Deck("Ah Kd Qs").display2(), L"Ah Kd Qs");
    EXPECT_EQ(Deck("Ah Ad").display(), L"Pair of Aces");
    EXPECT_EQ(Deck("6h 6d 2c 2s Kh").display(), L"Two pair, Sixes and Deuces");
    EXPECT_EQ(Deck("6h 6d 6c 2s Kh").display(), L"Three of a kind, Sixes");
    EXPECT_EQ(Deck("6h 6d 6c 6s Kh").display(), L"Four of a kind, Sixes");
}

TEST(CardSet, AddDeleteAndCopy)
{
    CDeck deck = Deck("Ah Kd Qs Jc Tc 2d 3h");
    EXPECT_EQ(deck.Count(), 7);
    deck.AddCard(CCard(ParseCard("4s"))); // an eighth card is ignored
    EXPECT_EQ(deck.Count(), 7);
    const CDeck copy = deck;
    deck.DeleteCards();
    EXPECT_EQ(deck.Count(), 0);
    EXPECT_EQ(deck.display(), L"");
    EXPECT_EQ(copy.display(), L"Straight, Ace high");
}

struct CodeCase
{
    const char *cards;
    int code;
};
void PrintTo(const CodeCase &c, std::ostream *os)
{
    *os << c.cards;
}

class CombinationCode : public ::testing::TestWithParam<CodeCase>
{
};

TEST_P(CombinationCode, ForFlopTurnRiverAndPreflop)
{
    const auto cards = Cards(GetParam().cards);
    int board[5] = {-1, -1, -1, -1, -1};
    for (std::size_t i = 2; i < cards.size(); ++i)
        board[i - 2] = cards[i];
    PokerLogic logic;
    EXPECT_EQ(logic.getCombination(cards.data(), board, int(cards.size()) - 2), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CombinationCode,
    ::testing::Values(CodeCase{"7h 2d", 6}, CodeCase{"Ah Ad", 26}, CodeCase{"2h 3d 5c 8s Jh", 10},
                      CodeCase{"Ah 3d 5c 8s Jh", 13}, CodeCase{"2h 2d 5c 8s Jh", 14},
                      CodeCase{"7h 7d 5c 8s Jh 2c", 19}, CodeCase{"Jh 3d 5c Js 9h 2c Kd", 23},
                      CodeCase{"Jh 3d 5c Js 3h", 27}, CodeCase{"Jh Jd 5c Js 3h 2c", 28},
                      CodeCase{"Ah 2d 3c 4s 5h Kd", 29}, CodeCase{"Ah 2h 9h 4h 5c Kh", 30},
                      CodeCase{"Jh Jd 5c Js 5h 2c 3d", 31}, CodeCase{"Jh Jd Jc Js 5h", 32},
                      CodeCase{"9h Th Jh Qh Kh 2c 2d", 33}),
    support::PrintedName());

} // namespace
