// Reading the files from disk: one hand-history file with its game log, a folder's files, and
// the games of a folder.
#include "history/HistoryReader.h"

#include "history/FileText.h"
#include "history/TextPatterns.h"
#include "lineformat/GameLines.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace history {

namespace {

using detail::EndsWith;
using detail::StartsWith;

using gamelines::kHistoryFolder;
using gamelines::kLogFileName;
bool ReadGameFileUnguarded(const std::string &historyPath, Game &game, std::string &error)
{
    std::string historyText;
    if (!ReadFileText(historyPath, historyText, error))
        return false;
    std::string logText;
    std::string logPath;
    const fs::path folder = fs::path(historyPath).parent_path();
    // The game's own copy of its log lines first: the shared log loses its oldest games.
    for (const fs::path &candidate : {fs::path(GameLogPathOf(historyPath)),
                                      folder.parent_path() / kLogFileName, folder / kLogFileName}) {
        std::error_code code;
        if (fs::is_regular_file(candidate, code)) {
            std::string ignored;
            if (ReadFileText(candidate.string(), logText, ignored)) {
                logPath = candidate.string();
                break;
            }
        }
    }
    if (!ParseGame(historyText, logText, game, error, historyPath))
        return false;
    game.historyPath = historyPath;
    if (game.logPaired)
        game.logPath = logPath;
    return true;
}

} // namespace

std::string GameLogPathOf(const std::string &historyPath)
{
    const std::string suffix = gamelines::kHistoryFileSuffix;
    const std::string stem = EndsWith(historyPath, suffix)
                                 ? historyPath.substr(0, historyPath.size() - suffix.size())
                                 : historyPath;
    return stem + gamelines::kGameLogFileSuffix;
}

bool ReadGameFile(const std::string &historyPath, Game &game, std::string &error)
{
    // A reader never throws: what the parsing cannot take (memory) becomes a message.
    try {
        return ReadGameFileUnguarded(historyPath, game, error);
    } catch (const std::exception &e) {
        game = Game{};
        error = "cannot read " + historyPath + ": " + e.what();
        return false;
    }
}

std::vector<std::string> FindHistoryFiles(const std::string &path, std::string &error)
{
    std::error_code code;
    if (!fs::exists(path, code)) {
        error = code ? path + " cannot be read: " + code.message() : path + " does not exist";
        return {};
    }
    if (!fs::is_directory(path, code))
        return {path};
    fs::path folder = path;
    if (fs::is_directory(folder / kHistoryFolder, code))
        folder /= kHistoryFolder;
    std::vector<std::string> files;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        const std::string name = it->path().filename().string();
        if (StartsWith(name, gamelines::kHistoryFilePrefix) &&
            EndsWith(name, gamelines::kHistoryFileSuffix) && it->is_regular_file(code))
            files.push_back(it->path().string());
    }
    if (code) {
        error = "cannot list " + folder.string() + ": " + code.message();
        return {};
    }
    // The names carry the start time, so their order is the games' order.
    std::sort(files.begin(), files.end());
    if (files.empty())
        error = "no hand-history files (HandHistory/HH_*.txt) in " + path;
    return files;
}

bool ReadGames(const std::string &path, bool all, std::vector<Game> &games, std::string &error)
{
    games.clear();
    std::vector<std::string> files = FindHistoryFiles(path, error);
    if (files.empty())
        return false;
    if (!all)
        files.erase(files.begin(), files.end() - 1);
    for (const std::string &file : files) {
        Game game;
        if (!ReadGameFile(file, game, error)) {
            games.clear();
            return false;
        }
        games.push_back(std::move(game));
    }
    return true;
}

} // namespace history
