#pragma once
// The value of every option a player has at one decision, in big blinds, and the grade of the
// option taken. The values come from playing the rest of the hand out many times (Advisor.h);
// this header holds only the results and how they read. Plain C++, no Qt.

#include <string>
#include <utility>
#include <vector>

namespace playout {

// Two-card combinations of a 52-card deck, cards numbered 0..51 as pokerlib numbers them.
constexpr int kComboCount = 1326;
// The index of the combination {a, b} (a != b, in either order), 0..1325.
int ComboIndex(int a, int b);
// The two cards of a combination index, the smaller first.
std::pair<int, int> ComboCards(int index);

// The likely hole cards of one seat: a weight per combination index (the weights need not add
// up to 1; combinations that clash with cards known to the judge weigh 0). Empty weights mean
// any hand.
struct HandWeights
{
    int seat = -1;
    std::vector<double> weights;
};

enum class OptionKind
{
    Fold,
    Check,
    Call,
    Bet,
    Raise,
    AllIn,
};

struct Option
{
    OptionKind kind = OptionKind::Fold;
    int total = 0;        // the seat's bet on this street after the option
    int put = 0;          // chips the option puts in now
    double evBb = 0.0;    // the seat's chips at the hand's end less its chips now, in big blinds
    double errorBb = 0.0; // the standard error of evBb
    int samples = 0;      // play-outs behind the value
};

// "fold", "check", "call", "bet 40", "raise to 60", "all in".
std::string OptionLabel(const Option &option);

// How much an option gave away against the best one: within kOkLossBb ok, below
// kSmallMistakeBb a small mistake, below kMistakeBb a mistake, a blunder from there on. The
// grade goes by the estimated loss when it stays within one grade from kHarsherErrors standard
// errors below to kSureErrors above; otherwise (Advice::uncertain) it is the milder grade
// beside the threshold in reach. A harsher grade asks for the wider margin: a loss a little
// past a threshold would otherwise be sure from some samples and not from others.
enum class Grade
{
    Ok,
    SmallMistake,
    Mistake,
    Blunder,
    NotGraded,
};
constexpr double kOkLossBb = 0.25;
constexpr double kSmallMistakeBb = 1.0;
constexpr double kMistakeBb = 3.0;
constexpr double kSureErrors = 2.5;
constexpr double kHarsherErrors = 3.5;

Grade GradeOf(double lossBb);
const char *GradeName(Grade grade); // "ok", "small mistake", "mistake", "blunder", "-"

struct Advice
{
    bool valid = false;
    std::vector<Option> options; // fold, check or call, the bets or raises by size, all in
    int best = -1;               // index into options; -1 without options
    int chosen = -1;             // the option taken, when judged after the fact; else -1
    double lossBb = 0.0;         // best's value less chosen's (0 without a chosen option)
    double lossErrorBb = 0.0;    // of the paired difference when covariance is known
    Grade grade = Grade::NotGraded;
    // The covariance of the options' values (bb squared, options × options, row by row): the
    // options are played on the same deals, so their differences are surer than their values.
    // Empty: the options' errors are taken as independent.
    std::vector<double> covariance;
    // The loss's margins (see Grade) reach across a grade's threshold: the grade is the milder
    // one beside it, not a sure one.
    bool uncertain = false;
    bool final = false; // no further refinement follows
    // The same options valued with every opponent played as a typical player instead of its
    // own computer code (empty when not asked for). Where its best differs from `best`, the
    // best option exploits the computer opponents named in `exploited` ("Maniac_3").
    std::vector<Option> standard;
    int standardBest = -1;
    std::string exploited;
};

// Sets best (the highest value), and with chosen set the loss, its error, the grade and
// whether it is uncertain.
void Settle(Advice &advice);
// Whether the grade of a settled advice stays the same from `errors` + (kHarsherErrors -
// kSureErrors) standard errors below every option's lead over the move made to `errors` above
// (Settle's own test, with kSureErrors).
bool GradeSure(const Advice &advice, double errors);

// The verdict the coach shows for the move made: the grade's name, "mistake (uncertain)" when
// the play-outs stopped before the grade was sure; "-" without a grade.
std::string GradeText(const Advice &advice);

// The line under the action panel (UTF-8), best first, then every other option's cost against
// it: "Best: raise to 60 · call −0.4 bb · fold −1.1 bb". Where the best differs against a
// typical player (as in ExploitLine) the line says whom it exploits and ends with the standard
// answer: "Best vs Maniac_3: call · … · vs a typical player: raise to 60" ("Best vs these
// opponents" for more than one). Empty for advice
// that is not valid.
std::string LiveLine(const Advice &advice);

// Where the best option against the computer opponents' own code is not the best against a
// typical player, and beats that one against the code by more than kOkLossBb: "Best vs
// Maniac_3: call +2.1 bb · vs a typical player: raise to 60"; empty otherwise.
std::string ExploitLine(const Advice &advice);

} // namespace playout
