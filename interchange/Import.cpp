#include "interchange/Interchange.h"

#include "history/FileText.h"
#include "safefile/SafeWrite.h"

#include <filesystem>

namespace interchange {

namespace {

// No hand-history file of a sitting comes near it.
constexpr std::uintmax_t kMaxFileBytes = 256u * 1024 * 1024;

} // namespace

bool ImportText(const std::string &text, const std::string &source, ImportResult &result,
                std::string &error)
{
    if (text.find('\0') != std::string::npos) {
        error = source + ":1: a binary file, not a hand history";
        return false;
    }
    if (LooksLikePokerStars(text))
        return ImportPokerStars(text, source, result, error);
    if (LooksLikePhh(text))
        return ImportPhh(text, source, result, error);
    error = source + ":1: neither PokerStars hand histories nor a PHH file";
    return false;
}

bool ImportFile(const std::string &path, ImportResult &result, std::string &error)
{
    std::string text;
    if (!history::ReadFileText(path, text, error, kMaxFileBytes))
        return false;
    return ImportText(text, path, result, error);
}

std::string CopyPathFor(const std::string &historyPath, Format format)
{
    const std::filesystem::path path(historyPath);
    const std::string stem = path.stem().string();
    const std::string name = format == Format::PokerStars ? "PokerStars_" + stem + ".txt"
                                                          : "PHH_" + stem + ".phhs";
    return (path.parent_path() / name).string();
}

bool WriteCopyBeside(const std::string &historyPath, Format format, std::string &error)
{
    history::Game game;
    if (!history::ReadGameFile(historyPath, game, error))
        return false;
    const std::string copy = CopyPathFor(historyPath, format);
    std::string reason;
    if (safefile::WriteFileReplacing(copy, ExportGame(game, format), reason))
        return true;
    error = "cannot write " + copy + ": " + reason;
    return false;
}

bool IsOtherFormatFile(const std::string &path)
{
    // One open for the look and the check: a file swapped for a FIFO in between must not
    // block the reader.
    std::string head, error;
    if (!history::ReadFileStart(path, 8192, head, error))
        return false;
    return LooksLikePokerStars(head) || LooksLikePhh(head);
}

bool ReadAnyGames(const std::string &path, bool all, std::vector<history::Game> &games,
                  std::string &error, std::vector<std::string> &warnings)
{
    if (IsOtherFormatFile(path)) {
        ImportResult result;
        if (!ImportFile(path, result, error))
            return false;
        warnings = result.warnings;
        if (result.skipped > 0)
            warnings.push_back(std::to_string(result.skipped) + " hand" +
                               (result.skipped == 1 ? " was" : "s were") +
                               " skipped as unreadable");
        if (all)
            games = std::move(result.games);
        else
            games = {std::move(result.games.back())};
        return true;
    }
    return history::ReadGames(path, all, games, error);
}

} // namespace interchange
