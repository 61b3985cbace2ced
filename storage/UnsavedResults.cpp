#include "storage/UnsavedResults.h"

#include "history/FileText.h"
#include "safefile/SafeWrite.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Far more than any number of kept games takes; a larger file is not one of ours.
constexpr std::uintmax_t kMaxUnsavedBytes = 4u * 1024u * 1024u;

bool ParseGames(const std::string &text, std::vector<UnsavedGame> &games)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string word;
        if (!std::getline(fields, word, '\t'))
            return false;
        if (word.rfind("game ", 0) == 0) {
            UnsavedGame game;
            std::istringstream when(word.substr(5));
            if (!(when >> game.when) || !when.eof())
                return false;
            games.push_back(std::move(game));
            continue;
        }
        PersonaResult entry;
        entry.name = word;
        StatCounters &c = entry.counters;
        if (games.empty() || entry.name.empty() ||
            !(fields >> entry.amount >> c.n >> c.vpipOpportunities >> c.vpip >> c.pfr >>
              c.threeBet) ||
            !(fields >> std::ws).eof())
            return false;
        games.back().result.push_back(std::move(entry));
    }
    return true;
}

// Held from reading the file to writing it again, by a lock on a file of its own beside it (the
// kept file itself is replaced by a rename): a save by brisquel-cli and one by the desktop
// program at the same moment must neither lose the other's game nor save a kept game twice.
// Without a lock file (a folder that cannot be written) there is no file to keep either.
class KeptFileLock
{
public:
    explicit KeptFileLock(const std::string &path)
        : m_fd(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
    {
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~KeptFileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    KeptFileLock(const KeptFileLock &) = delete;
    KeptFileLock &operator=(const KeptFileLock &) = delete;

private:
    int m_fd;
};

bool Reopen(CPokerDatabase &db, const std::string &folder)
{
    return db.m_usable || OpenDatabase(db, folder);
}

} // namespace

std::string UnsavedResultsPath(const std::string &databasePath)
{
    return databasePath + ".unsaved";
}

bool ReadUnsavedResults(const std::string &path, std::vector<UnsavedGame> &games,
                        std::string &error)
{
    games.clear();
    if (::access(path.c_str(), F_OK) != 0 && errno == ENOENT)
        return true;
    std::string text;
    if (!history::ReadFileText(path, text, error, kMaxUnsavedBytes))
        return false;
    if (ParseGames(text, games))
        return true;
    games.clear();
    error = path + " is damaged";
    return false;
}

bool WriteUnsavedResults(const std::string &path, const std::vector<UnsavedGame> &games,
                         std::string &error)
{
    if (games.empty()) {
        if (::unlink(path.c_str()) == 0 || errno == ENOENT)
            return true;
        error = "cannot remove " + path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream out;
    for (const UnsavedGame &game : games) {
        out << "game " << game.when << "\n";
        for (const PersonaResult &p : game.result) {
            const StatCounters &c = p.counters;
            out << p.name << '\t' << p.amount << '\t' << c.n << '\t' << c.vpipOpportunities << '\t'
                << c.vpip << '\t' << c.pfr << '\t' << c.threeBet << "\n";
        }
    }
    std::string reason;
    if (safefile::WriteFileReplacing(path, out.str(), reason))
        return true;
    error = "cannot write " + path + ": " + reason;
    return false;
}

std::string SaveProblemText(const SaveOutcome &outcome, const CPokerDatabase &db)
{
    if (!outcome.problem.empty())
        return outcome.problem;
    return "the results could not be saved to " + db.m_path + ": " + db.m_error;
}

std::string KeptText(const SaveOutcome &outcome)
{
    if (!outcome.keptIn.empty())
        return "they are kept in " + outcome.keptIn +
               ", which the desktop program offers to save at its next start";
    if (!outcome.keepProblem.empty())
        return "nor could they be kept: " + outcome.keepProblem;
    return {};
}

SaveOutcome SaveOrKeep(CPokerDatabase &db, const std::string &folder, const UnsavedGame &game)
{
    SaveOutcome outcome;
    if (Reopen(db, folder) &&
        SaveSessionResults(db, game.result, FormatSaveTime(std::time_t(game.when)))) {
        outcome.saved = true;
        return outcome;
    }
    outcome.problem = SaveProblemText(outcome, db);
    const std::string path = UnsavedResultsPath(db.m_path);
    const KeptFileLock lock(path);
    std::vector<UnsavedGame> games;
    std::string error;
    if (ReadUnsavedResults(path, games, error)) {
        games.push_back(game);
        if (WriteUnsavedResults(path, games, error)) {
            outcome.keptIn = path;
            return outcome;
        }
    }
    outcome.keepProblem = error;
    return outcome;
}

bool SaveKeptResults(CPokerDatabase &db, const std::string &folder, std::string &error)
{
    const std::string path =
        UnsavedResultsPath((std::filesystem::path(folder) / kDatabaseFileName).string());
    const KeptFileLock lock(path);
    std::vector<UnsavedGame> games, left;
    if (!ReadUnsavedResults(path, games, error))
        return false;
    const bool open = Reopen(db, folder);
    for (const UnsavedGame &game : games) {
        if (!open || !SaveSessionResults(db, game.result, FormatSaveTime(std::time_t(game.when))))
            left.push_back(game);
    }
    if (!left.empty())
        error = SaveProblemText({}, db);
    std::string writeError;
    if (left.size() != games.size() && !WriteUnsavedResults(path, left, writeError)) {
        error = writeError;
        return false;
    }
    return left.empty();
}
