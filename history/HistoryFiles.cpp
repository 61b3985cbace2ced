// Reading the files from disk: one hand-history file with its game log, a folder's files, and
// the games of a folder.
#include "history/HistoryReader.h"

#include "history/TextPatterns.h"
#include "lineformat/GameLines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace history {

namespace {

using detail::EndsWith;
using detail::StartsWith;

using gamelines::kHistoryFolder;
using gamelines::kLogFileName;
// A hand-history file is small; anything far larger is not one of ours.
constexpr std::uintmax_t kMaxFileBytes = 512u * 1024u * 1024u;

bool ReadText(const std::string &path, std::string &text, std::string &error)
{
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (code || !fs::exists(status)) {
        error = path + " does not exist";
        return false;
    }
    if (fs::is_directory(status)) {
        error = path + " is a folder, not a file";
        return false;
    }
    const std::uintmax_t size = fs::file_size(path, code);
    if (!code && size > kMaxFileBytes) {
        error = path + " is too large to be a hand-history file or game log";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path + (errno ? std::string(": ") + std::strerror(errno) : "");
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

} // namespace

bool ReadGameFile(const std::string &historyPath, Game &game, std::string &error)
{
    std::string historyText;
    if (!ReadText(historyPath, historyText, error))
        return false;
    std::string logText;
    std::string logPath;
    const fs::path folder = fs::path(historyPath).parent_path();
    for (const fs::path &candidate : {folder.parent_path() / kLogFileName, folder / kLogFileName}) {
        std::error_code code;
        if (fs::is_regular_file(candidate, code)) {
            std::string ignored;
            if (ReadText(candidate.string(), logText, ignored)) {
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

std::vector<std::string> FindHistoryFiles(const std::string &path, std::string &error)
{
    std::error_code code;
    if (!fs::exists(path, code)) {
        error = path + " does not exist";
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
