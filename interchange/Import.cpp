#include "interchange/Interchange.h"

#include "history/FileText.h"
#include "lineformat/GameLines.h"
#include "safefile/SafeWrite.h"

#include <filesystem>

namespace interchange {

namespace {

// No hand-history file of a sitting comes near it.
constexpr std::uintmax_t kMaxFileBytes = 256u * 1024 * 1024;

// "in.txt:3: format not recognised: first line "#Game No : 1234"": the file's first line that
// is not blank, cut to what a message can show.
std::string NotRecognised(const std::string &text, const std::string &source)
{
    size_t number = 1, start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        if (line.find_first_not_of(" \t\r") != std::string::npos) {
            line.erase(line.find_last_not_of(" \t\r") + 1);
            if (line.size() > 60)
                line = line.substr(0, 57) + "...";
            return source + ":" + std::to_string(number) + ": format not recognised: first line \"" +
                   line + "\"";
        }
        start = end + 1;
        ++number;
    }
    return source + ":1: format not recognised: the file is empty";
}

struct Reader
{
    const char *name;
    bool (*looks)(const std::string &text);
    bool (*read)(const std::string &text, const std::string &source, ImportResult &result,
                 std::string &error);
};

// PHH last: its look is the loosest.
constexpr Reader kReaders[] = {
    {"PokerStars", LooksLikePokerStars, ImportPokerStars},
    {"GGPoker", LooksLikeGgPoker, ImportGgPoker},
    {"Winamax", LooksLikeWinamax, ImportWinamax},
    {"888poker", LooksLike888, Import888},
    {"PHH", LooksLikePhh, ImportPhh},
};

const Reader *ReaderFor(const std::string &text)
{
    for (const Reader &reader : kReaders) {
        if (reader.looks(text))
            return &reader;
    }
    return nullptr;
}

} // namespace

bool ImportText(const std::string &text, const std::string &source, ImportResult &result,
                std::string &error)
{
    if (text.find('\0') != std::string::npos) {
        error = source + ":1: a binary file, not a hand history";
        return false;
    }
    if (const Reader *reader = ReaderFor(text)) {
        if (!reader->read(text, source, result, error))
            return false;
        for (history::Game &game : result.games)
            game.importedFrom = reader->name;
        return true;
    }
    error = NotRecognised(text, source);
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
    return ReaderFor(head) != nullptr;
}

bool ReadAnyGames(const std::string &path, bool all, std::vector<history::Game> &games,
                  std::string &error, std::vector<std::string> &warnings)
{
    std::string head;
    const bool file = std::filesystem::is_regular_file(path) &&
                      history::ReadFileStart(path, 8192, head, error);
    const size_t first = head.find_first_not_of(" \t\r\n");
    // A file that is neither this program's own game nor a format it imports is named for
    // what it is, not for the line this program's own files start with.
    if (file && first != std::string::npos && head.find('\0') == std::string::npos &&
        head.compare(first, sizeof gamelines::kGameStartPrefix - 1, gamelines::kGameStartPrefix) != 0 &&
        ReaderFor(head) == nullptr) {
        error = NotRecognised(head, path);
        return false;
    }
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
