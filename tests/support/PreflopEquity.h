#pragma once
// Hold'em facts for the coach's yardsticks, written apart from the program's own poker code so
// that a fault there cannot hide itself: a seven-card evaluator, the 169 starting-hand classes
// and the exact all-in equity of every class against every other, counted over every deal of
// both hands and every board (card removal included).
//
// Cards are rank * 4 + suit, ranks 0 (deuce) to 12 (ace), suits in the order c d h s.

#include <array>
#include <string>
#include <vector>

namespace testsupport {

constexpr int kClassCount = 169;

// "Ah" -> 50; -1 for anything else.
int CardOf(const std::string &text);
std::string CardName(int card);

// A value that orders seven-card hands: higher wins, equal ties.
int HandValue(const std::array<int, 7> &cards);

// The class of two cards, 0..168: the 13 x 13 grid from AA, suited above the diagonal
// ("AKs" = 1), offsuit below ("AKo" = 13).
int ClassOf(int a, int b);
std::string ClassName(int index);        // "AA", "AKs", "72o"
int ClassIndex(const std::string &name); // -1 when no class
// The hands of a class as card pairs, and a representative of it (higher card first).
std::vector<std::array<int, 2>> ClassHands(int index);
// Deals of a hand of `a` and a hand of `b` that share no card.
int DisjointDeals(int a, int b);

// equity[a][b]: the share of the pot a hand of class a wins all in preflop against a hand of
// class b, ties halved, over every deal of both (no shared card) and every board.
using EquityTable = std::vector<std::array<double, kClassCount>>;

// The exact table over every board (each board's suit pattern counted once, times the boards
// that share it). About half a minute of one core.
EquityTable ExactClassEquities();
// The same figure for one pair of classes, board by board and deal by deal: slow, but a
// different count to hold the table against.
double DirectClassEquity(int a, int b);

// The table as tests/data/coach/ keeps it; false with a message.
bool ReadEquityTable(const std::string &path, EquityTable &table, std::string &error);
std::string EquityTableText(const EquityTable &table);

} // namespace testsupport
