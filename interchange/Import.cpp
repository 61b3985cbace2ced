#include "interchange/Interchange.h"

#include "history/FileText.h"
#include "lineformat/GameLines.h"
#include "lineformat/TextFormat.h"
#include "safefile/SafeWrite.h"

#include <filesystem>

namespace interchange {

namespace {

// No hand-history file of a sitting comes near it.
constexpr std::uintmax_t kMaxFileBytes = 256u * 1024 * 1024;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kHeadBytes = 8192;

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

enum class FileKind
{
    Own,
    Other,
    Neither,
    Unreadable
};

// What a file holds: this program's own game (its first line), a format imported here (looked
// for through the whole file, whatever comes first), or neither. `head` is the file's start.
FileKind KindOf(const std::string &path, std::string &head, std::string &error)
{
    if (!history::ReadFileStart(path, kHeadBytes, head, error))
        return FileKind::Unreadable;
    const size_t bom = head.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
    const size_t first = head.find_first_not_of(" \t\r\n", bom);
    if (first != std::string::npos && head.compare(first, sizeof gamelines::kGameStartPrefix - 1,
                                                   gamelines::kGameStartPrefix) == 0)
        return FileKind::Own;
    if (head.find('\0') != std::string::npos)
        return FileKind::Neither;
    // Past the mark, as the import reads it: a room's one hand behind it is still a hand.
    if (ReaderFor(head.substr(bom)))
        return FileKind::Other;
    std::string whole;
    if (head.size() < kHeadBytes || !history::ReadFileText(path, whole, error, kMaxFileBytes))
        return FileKind::Neither;
    return ReaderFor(whole.substr(bom)) ? FileKind::Other : FileKind::Neither;
}

// "in.txt:3: format not recognised: first line "#Game No : 1234"": the file's first line that
// is not blank, cut to what a message can show.
std::string NotRecognised(const std::string &text, const std::string &source)
{
    size_t number = 1, start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line(text.data() + start, end - start);
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            return source + ":" + std::to_string(number) + ": format not recognised: first line " +
                   gamelines::Quote(line);
        start = end + 1;
        ++number;
    }
    return source + ":1: format not recognised: the file is empty";
}

} // namespace

bool ImportText(const std::string &text, const std::string &source, ImportResult &result,
                std::string &error)
{
    // Editors on some systems start UTF-8 text with a byte order mark.
    if (text.compare(0, 3, kByteOrderMark) == 0)
        return ImportText(text.substr(3), source, result, error);
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
    const std::string name =
        format == Format::PokerStars ? "PokerStars_" + stem + ".txt" : "PHH_" + stem + ".phhs";
    return (path.parent_path() / name).string();
}

bool WriteCopyBeside(const std::string &historyPath, Format format, std::string &error)
{
    history::Game game;
    if (!history::ReadGameFile(historyPath, game, error))
        return false;
    const std::string copy = CopyPathFor(historyPath, format);
    std::string reason;
    std::vector<std::string> leftOut;
    if (!safefile::WriteFileReplacing(copy, ExportReadable({game}, format, leftOut), reason)) {
        error = "cannot write " + copy + ": " + reason;
        return false;
    }
    if (leftOut.empty())
        return true;
    error = std::to_string(leftOut.size()) + (leftOut.size() == 1 ? " hand" : " hands") +
            " left out of " + copy + ": " + leftOut.front();
    return false;
}

bool IsOtherFormatFile(const std::string &path)
{
    // One open for the look and the check: a file swapped for a FIFO in between must not
    // block the reader.
    std::string head, error;
    return KindOf(path, head, error) == FileKind::Other;
}

namespace {

// The one choice of reader for a file; `kind` and `head` (the file's start) are kept for
// messages.
bool ReadByContent(const std::string &path, FileGames &read, FileKind &kind, std::string &head,
                   std::string &error)
{
    read = FileGames{};
    kind = KindOf(path, head, error);
    read.imported = kind == FileKind::Other;
    if (!read.imported) {
        history::Game game;
        if (!history::ReadGameFile(path, game, error))
            return false;
        read.games.push_back(std::move(game));
        return true;
    }
    ImportResult result;
    if (!ImportFile(path, result, error))
        return false;
    read.games = std::move(result.games);
    read.skipped = result.skipped;
    read.warnings = std::move(result.warnings);
    return true;
}

} // namespace

bool ReadFileGames(const std::string &path, FileGames &read, std::string &error)
{
    FileKind kind;
    std::string head;
    const bool ok = ReadByContent(path, read, kind, head, error);
    // A file that is neither this program's own game nor a format it imports is named for
    // what it is, not for the line this program's own files start with.
    if (kind == FileKind::Neither && head.find('\0') == std::string::npos &&
        head.find_first_not_of(" \t\r\n") != std::string::npos) {
        error = NotRecognised(head, path);
        return false;
    }
    return ok;
}

bool ReadAnyGames(const std::string &path, bool all, std::vector<history::Game> &games,
                  std::string &error, std::vector<std::string> &warnings)
{
    games.clear();
    // A folder (or a path that is none) holds this program's games, if any.
    if (!std::filesystem::is_regular_file(path))
        return history::ReadGames(path, all, games, error);
    FileGames read;
    if (!ReadFileGames(path, read, error))
        return false;
    warnings = std::move(read.warnings);
    if (read.skipped > 0)
        warnings.push_back(std::to_string(read.skipped) + " hand" +
                           (read.skipped == 1 ? " was" : "s were") + " skipped as unreadable");
    if (all)
        games = std::move(read.games);
    else
        games = {std::move(read.games.back())};
    return true;
}

} // namespace interchange
