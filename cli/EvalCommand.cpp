#include "cli/Commands.h"

#include "cli/args/CommandLine.h"
#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr std::size_t kMinCards = 5;
constexpr std::size_t kMaxCards = 7;

} // namespace

const char kEvalUsage[] = "usage: brisquel-cli eval   (lines of 5 to 7 cards on standard input)\n";

// eval: per line of 5 to 7 cards, "code<TAB>strength<TAB>name".
int RunEvalCommand(const CommandArgs &args)
{
    try {
        if (CommandLine().Parse(args).Help())
            return PrintHelp(kEvalUsage);
    } catch (const ArgError &) {
        return Fail("eval reads its cards from standard input and takes no arguments");
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        std::vector<int> cards;
        std::string error;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!ParseCardList(line, cards, error))
            return Fail(where + error);
        if (cards.size() < kMinCards || cards.size() > kMaxCards)
            return Fail(where + "expected 5 to 7 cards, got " + std::to_string(cards.size()));

        CDeck deck;
        for (const int c : cards)
            deck.AddCard(CCard(c));
        deck.SetValueCombination();
        int board[5] = {-1, -1, -1, -1, -1};
        for (std::size_t i = 2; i < cards.size(); ++i)
            board[i - 2] = cards[i];
        PokerLogic logic;
        const int code = logic.getCombination(cards.data(), board, int(cards.size()) - 2);
        std::printf("%d\t%u\t%s\n", code, unsigned(deck.Strength()),
                    brisquel::Narrow(deck.display()).c_str());
    }
    return kExitOk;
}
