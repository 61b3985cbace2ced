#include "ui/review/GameListText.h"

#include "engine/GameState.h"
#include "history/FileText.h"
#include "replay/HandReplay.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("GameList", text);
}

QString Count(int n, const char *one, const char *many)
{
    return n == 1 ? Tr(one) : Tr(many).arg(n);
}

} // namespace

QString GameTypeText(const history::Game &game)
{
    if (game.hands.empty() || game.seats.empty())
        return Tr("fixed blinds");
    GameType types[2];
    BuildGameTypes(types);
    QStringList matches;
    for (const GameType &type : types) {
        bool stacks = true;
        for (const history::GameSeat &seat : game.seats)
            stacks = stacks && seat.stack == type.startingStack;
        const history::Hand &first = game.hands.front();
        if (stacks && !type.smallBlinds.empty() && first.smallBlind == type.smallBlinds[0] &&
            first.bigBlind == type.bigBlinds[0])
            matches << QString::fromStdString(type.typeName);
    }
    if (matches.size() == 1)
        return matches.front();
    return matches.isEmpty() ? Tr("fixed blinds") : Tr("tournament");
}

QString GameListText(const history::Game &game)
{
    QStringList parts;
    // "2023.11.14  22:13:20" without the seconds.
    parts << QString::fromStdString(game.started).simplified().left(16);
    parts << GameTypeText(game);
    if (!game.hands.empty())
        parts << QStringLiteral("%1/%2")
                     .arg(game.hands.front().smallBlind)
                     .arg(game.hands.front().bigBlind);
    // The table's seats: an imported game also lists the players who came to a seat later.
    const size_t seats = game.hands.empty() ? game.seats.size() : game.hands.front().seats.size();
    parts << Count(static_cast<int>(seats), "1 seat", "%1 seats");
    parts << Count(static_cast<int>(game.hands.size()), "1 hand", "%1 hands");
    const int seat = replay::PlayerSeat(game);
    if (!game.hands.empty() && seat >= 0) {
        int net = 0;
        for (const history::Hand &hand : game.hands) {
            const int here = game.seatInHand(hand, seat);
            if (here >= 0 && here < static_cast<int>(hand.seats.size()))
                net += hand.seats[static_cast<size_t>(here)].won -
                       hand.seats[static_cast<size_t>(here)].invested;
        }
        parts << (net > 0 ? QStringLiteral("+%1").arg(net) : QString::number(net));
    }
    return parts.join(QStringLiteral(" · "));
}

QString GameListTextOfFile(const QString &path, bool *hasHands)
{
    if (hasHands)
        *hasHands = false;
    const QString name = QFileInfo(path).fileName();
    // The readers' one way to a file: a FIFO or device named like a hand history is refused.
    std::string text;
    std::string error;
    if (!history::ReadFileText(path.toStdString(), text, error))
        return Tr("%1 (cannot be read)").arg(name);
    history::Game game;
    if (!history::ParseGame(text, std::string(), game, error, name.toStdString()))
        return Tr("%1 (not a hand history)").arg(name);
    if (hasHands)
        *hasHands = !game.hands.empty();
    return GameListText(game);
}
