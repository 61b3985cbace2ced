#include "tests/support/SpotReview.h"

#include "interchange/Interchange.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

namespace testsupport {

std::vector<SpotVerdict> ReviewSpots(const std::string &text, std::uint64_t seed,
                                     int samplesPerOption, int threads)
{
    interchange::ImportResult imported;
    std::string error;
    if (!interchange::ImportPokerStars(text, "spots.txt", imported, error) ||
        imported.skipped > 0) {
        const std::string why = error.empty() ? imported.warnings.front() : error;
        return {SpotVerdict{0, why, {}}};
    }
    std::vector<SpotVerdict> verdicts(imported.games.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        coach::Estimator estimator(100, seed); // the price line is not under test
        for (size_t g = next++; g < verdicts.size(); g = next++) {
            const history::Game &game = imported.games[g];
            SpotVerdict &verdict = verdicts[g];
            verdict.number = game.hands.empty() ? 0 : game.hands.front().number;
            std::string why;
            const int seat = coach::ReviewSeat(game, "Hero", why);
            std::vector<coach::ReviewRow> rows;
            coach::ReviewSummary summary;
            coach::ReviewOptions options;
            options.samplesPerOption = samplesPerOption;
            options.seed = seed;
            options.threads = 1;
            if (seat < 0 ||
                !coach::ReviewGame(game, seat, estimator, rows, summary, why, {}, options))
                verdict.error = why;
            else if (rows.empty())
                verdict.error = "no decision of the hero";
            else
                verdict.rows = std::move(rows);
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < std::max(1, threads); ++t)
        pool.emplace_back(work);
    for (std::thread &thread : pool)
        thread.join();
    return verdicts;
}

int OptionOfKind(const playout::Advice &advice, playout::OptionKind kind)
{
    for (size_t i = 0; i < advice.options.size(); ++i) {
        if (advice.options[i].kind == kind)
            return static_cast<int>(i);
    }
    return -1;
}

bool QuickReview(const history::Game &game, int seat, std::vector<coach::ReviewRow> &rows,
                 std::string &error)
{
    coach::Estimator estimator(200, 3);
    coach::ReviewOptions options;
    options.samplesPerOption = 40;
    options.seed = 9;
    options.threads = 2;
    coach::ReviewSummary summary;
    return coach::ReviewGame(game, seat, estimator, rows, summary, error, {}, options);
}

} // namespace testsupport
