#include "ui/review/ProgressFigures.h"

#include "coach/AllInAdjusted.h"
#include "coach/Review.h"
#include "history/HistoryReader.h"
#include "replay/HandReplay.h"

#include <QDir>
#include <QObject>

bool FigureGame(const QString &historyPath, GameFigures &figures, const StillWanted &wanted)
{
    figures = {};
    figures.path = historyPath;
    if (!StampOf(historyPath, figures.size, figures.modified)) {
        figures.problem =
            QObject::tr("%1 cannot be read.").arg(QDir::toNativeSeparators(historyPath));
        return false;
    }
    history::Game game;
    std::string error;
    if (!history::ReadGameFile(historyPath.toStdString(), game, error)) {
        figures.problem = QString::fromStdString(error);
        return false;
    }
    const int seat = replay::PlayerSeat(game);
    for (const history::Hand &hand : game.hands) {
        if (seat < 0 || static_cast<size_t>(seat) >= hand.seats.size())
            continue;
        const history::HandSeat &s = hand.seats[static_cast<size_t>(seat)];
        if (!s.inHand)
            continue;
        ++figures.hands;
        figures.result += s.won - s.invested;
    }
    const coach::AllInAdjustedResult luck = coach::AllInAdjusted(game, seat);
    figures.adjusted = figures.result + (luck.adjustedChips - double(luck.actualChips));
    for (const coach::AllInHandResult &h : luck.hands) {
        if (h.dealt && h.adjusted)
            figures.allIns.push_back({h.hand, h.adjustedChips - h.actualChips});
    }
    if (wanted && !wanted()) {
        figures.problem = QStringLiteral("stopped");
        return false;
    }

    coach::Estimator estimator(coach::kDefaultTrials, kProgressReviewSeed);
    std::vector<coach::ReviewRow> rows;
    coach::ReviewSummary summary;
    coach::ReviewOptions options;
    options.seed = kProgressReviewSeed;
    if (coach::ReviewGame(game, seat, estimator, rows, summary, error, wanted, options)) {
        figures.evLossPer100 = summary.evLossPer100();
    } else if (wanted && !wanted()) {
        figures.problem = QStringLiteral("stopped");
        return false;
    } else {
        figures.problem = QString::fromStdString(error);
    }
    return true;
}
