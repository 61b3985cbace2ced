#include "progresscache/ProgressCache.h"

#include "history/FileText.h"
#include "safefile/SafeWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kCacheFileName[] = "ProgressCache.json";
// What the file says of itself; anything else under its name is not ours.
constexpr char kCacheFormat[] = "Brisquel progress figures";
// Raised whenever the figures are worked out differently: older entries are then recomputed.
constexpr int kCacheVersion = 3;
// Some thousand bytes a game: room for thousands of games.
constexpr std::uintmax_t kMaxCacheBytes = 16u * 1024u * 1024u;
// No game of the program comes near this; a larger number in the cache is damage.
constexpr double kLargestChips = 1e12;
// An entry is a path, a short reason and a game's all-ins: one larger is damage, and would
// stall the window that lays it out.
constexpr qsizetype kMaxPathChars = 4096;
constexpr qsizetype kMaxProblemChars = 1000;
constexpr qint64 kMaxHands = 1000000;

bool Sound(double value)
{
    return std::isfinite(value) && std::abs(value) <= kLargestChips;
}

QJsonObject ToJson(const GameFigures &f)
{
    QJsonObject o;
    o[QStringLiteral("path")] = f.path;
    o[QStringLiteral("size")] = double(f.size);
    o[QStringLiteral("modified")] = double(f.modified);
    o[QStringLiteral("hands")] = f.hands;
    o[QStringLiteral("result")] = f.result;
    if (f.adjusted)
        o[QStringLiteral("adjusted")] = *f.adjusted;
    QJsonArray allIns;
    for (const AllInHand &a : f.allIns)
        allIns.append(QJsonArray{a.hand, a.delta});
    o[QStringLiteral("allIns")] = allIns;
    if (f.evLossPer100)
        o[QStringLiteral("evLossPer100")] = *f.evLossPer100;
    o[QStringLiteral("problem")] = f.problem.left(kMaxProblemChars);
    return o;
}

// A whole number held exactly by a JSON number (a double: 53 bits).
bool WholeNumber(const QJsonValue &v, qint64 low, qint64 &out)
{
    constexpr double kLargestExact = 9007199254740992.0;
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!std::isfinite(d) || std::abs(d) > kLargestExact || d != std::floor(d) || d < double(low))
        return false;
    out = static_cast<qint64>(d);
    return true;
}

bool OptionalNumber(const QJsonObject &o, const QString &key, std::optional<double> &out)
{
    if (!o.contains(key))
        return true;
    const QJsonValue v = o.value(key);
    if (!v.isDouble() || !Sound(v.toDouble()))
        return false;
    out = v.toDouble();
    return true;
}

bool FromJson(const QJsonValue &value, GameFigures &f)
{
    if (!value.isObject())
        return false;
    const QJsonObject o = value.toObject();
    qint64 hands = 0, result = 0;
    if (!o.value(QStringLiteral("path")).isString() ||
        !o.value(QStringLiteral("problem")).isString() ||
        !WholeNumber(o.value(QStringLiteral("size")), 0, f.size) ||
        !WholeNumber(o.value(QStringLiteral("modified")), 0, f.modified) ||
        !WholeNumber(o.value(QStringLiteral("hands")), 0, hands) ||
        !WholeNumber(o.value(QStringLiteral("result")), -qint64(kLargestChips), result) ||
        !OptionalNumber(o, QStringLiteral("adjusted"), f.adjusted) ||
        !OptionalNumber(o, QStringLiteral("evLossPer100"), f.evLossPer100) ||
        !o.value(QStringLiteral("allIns")).isArray() || hands > kMaxHands)
        return false;
    f.path = o.value(QStringLiteral("path")).toString();
    f.problem = o.value(QStringLiteral("problem")).toString();
    // At most one all-in a hand.
    if (f.path.size() > kMaxPathChars || f.problem.size() > kMaxProblemChars ||
        o.value(QStringLiteral("allIns")).toArray().size() > hands)
        return false;
    f.hands = int(std::min<qint64>(hands, INT32_MAX));
    f.result = int(std::max<qint64>(std::min<qint64>(result, INT32_MAX), INT32_MIN));
    for (const QJsonValue &a : o.value(QStringLiteral("allIns")).toArray()) {
        const QJsonArray pair = a.toArray();
        qint64 hand = 0;
        if (pair.size() != 2 || !WholeNumber(pair[0], 0, hand) || hand > INT32_MAX ||
            !pair[1].isDouble() || !Sound(pair[1].toDouble()))
            return false;
        f.allIns.push_back({int(hand), pair[1].toDouble()});
    }
    return !f.path.isEmpty();
}

} // namespace

bool StampOf(const QString &path, qint64 &size, qint64 &modified)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    size = info.size();
    modified = info.lastModified().toMSecsSinceEpoch();
    return modified >= 0;
}

QString ProgressCachePath(const QString &databasePath)
{
    return QFileInfo(databasePath).dir().filePath(QString::fromLatin1(kCacheFileName));
}

std::vector<GameFigures> ParseProgressCache(const QByteArray &json, bool *sound)
{
    if (sound)
        *sound = false;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return {};
    const QJsonObject top = document.object();
    if (top.value(QStringLiteral("format")).toString() != QLatin1String(kCacheFormat) ||
        top.value(QStringLiteral("version")).toInt(-1) != kCacheVersion ||
        !top.value(QStringLiteral("games")).isArray())
        return {};
    std::vector<GameFigures> entries;
    bool allSound = true;
    for (const QJsonValue &value : top.value(QStringLiteral("games")).toArray()) {
        GameFigures f;
        if (FromJson(value, f))
            entries.push_back(std::move(f));
        else
            allSound = false;
    }
    if (sound)
        *sound = allSound;
    return entries;
}

std::vector<GameFigures> ReadProgressCache(const QString &cachePath, bool *sound)
{
    if (sound)
        *sound = false;
    // Read as the hand histories are: a FIFO or a device in its place, or a file far larger
    // than any cache, is no cache.
    std::string text, error;
    if (!history::ReadFileText(QFile::encodeName(cachePath).toStdString(), text, error,
                               kMaxCacheBytes))
        return {};
    std::vector<GameFigures> entries;
    for (GameFigures &f : ParseProgressCache(QByteArray::fromStdString(text), sound)) {
        qint64 size = 0, modified = 0;
        // A file changed since (a game still being played) or gone: figured afresh.
        if (StampOf(f.path, size, modified) && size == f.size && modified == f.modified)
            entries.push_back(std::move(f));
    }
    return entries;
}

bool WriteProgressCache(const QString &cachePath, const std::vector<GameFigures> &figures)
{
    QJsonArray games;
    for (const GameFigures &f : figures)
        games.append(ToJson(f));
    QJsonObject top;
    top[QStringLiteral("format")] = QString::fromLatin1(kCacheFormat);
    top[QStringLiteral("version")] = kCacheVersion;
    top[QStringLiteral("games")] = games;
    // What is not a file of ours goes first: a link is not followed to write elsewhere.
    const std::string path = QFile::encodeName(cachePath).toStdString();
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        ::unlink(path.c_str());
    const QByteArray json = QJsonDocument(top).toJson(QJsonDocument::Compact);
    std::string reason;
    return safefile::WriteFileReplacing(path, std::string_view(json.constData(), json.size()),
                                        reason);
}
