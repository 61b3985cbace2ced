#include "engine/GameFiles.h"

#include "engine/EngineText.h"
#include "engine/Game.h"
#include "lineformat/GameLines.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

using enginetext::Format;

namespace {

constexpr std::uintmax_t kLogTrimThreshold = 200000;
constexpr std::uintmax_t kLogKeptBytes = 80000;
constexpr int kMaxHistoryFilesPerSecond = 999; // "HH_<time>_999.txt" keeps the names' order

} // namespace

void GameFiles::WriteLogLine(const std::string &text)
{
    m_log.Write(text + "\n");
    m_log.Flush();
    Check();
}

void GameFiles::WriteHistoryLine(const std::string &text)
{
    m_history.Write(text + "\n");
    m_history.Flush();
    Check();
}

void GameFiles::Check()
{
    // Said once per file: the game goes on writing what it can.
    const auto check = [this](const TextFile &file, bool &reported, const char *what) {
        if (file.Error() == 0 || reported)
            return;
        reported = true;
        if (m_report)
            m_report(std::string("Could not write the ") + what + " " + file.Path());
        m_problems.push_back(std::string("the ") + what + " " + file.Path() + ": " +
                             std::strerror(file.Error()));
    };
    check(m_log, m_logFailReported, "game log");
    check(m_history, m_historyFailReported, "hand history");
}

void GameFiles::TrimLog(const std::string &path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size < kLogTrimThreshold)
        return;
    std::string kept;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return;
        in.seekg(static_cast<std::streamoff>(size - kLogKeptBytes));
        kept.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Written to a side file and renamed, so a failure cannot lose the whole log.
    const std::string temporary = path + ".trim";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return;
        out.write(kept.data(), static_cast<std::streamsize>(kept.size()));
        if (!out)
            return;
    }
    std::filesystem::rename(temporary, path, error);
}

void GameFiles::Open(const std::string &folderName, const std::string &startTime)
{
    Close();
    namespace fs = std::filesystem;
    const fs::path folder = folderName.empty() ? fs::path(".") : fs::path(folderName);
    // The folder may not exist yet (a new --out folder): the log must not be lost for that.
    std::error_code error;
    fs::create_directories(folder / gamelines::kHistoryFolder, error);
    const std::string logPath = (folder / gamelines::kLogFileName).string();
    TrimLog(logPath);
    m_log.Open(logPath, "a");
    // Never overwrite or share another game's file: games started in the same second (bot
    // games, two programs at once) take "HH_<time>_002.txt", "_003" and so on; the padding
    // keeps the names' order the games' order.
    const std::string stem =
        (folder / gamelines::kHistoryFolder / (gamelines::kHistoryFilePrefix + startTime)).string();
    for (int n = 1; n <= kMaxHistoryFilesPerSecond; ++n) {
        const std::string suffix = n == 1 ? std::string() : Format("_%03d", n);
        if (m_history.CreateNew(stem + suffix + gamelines::kHistoryFileSuffix) ||
            m_history.Error() != EEXIST)
            break;
    }
    Check();
}

void GameFiles::Close()
{
    m_log.Flush();
    m_log.Close();
    m_history.Flush();
    m_history.Close();
    Check();
}

// ---------------------------------------------------------------------------------------------
// The game's use of its files (lock held)

void CDunmereGame::WriteLog(const std::string &text, bool alsoPane)
{
    m_files.WriteLogLine(text);
    if (alsoPane)
        AppendPane(text);
}

void CDunmereGame::WriteHistory(const std::string &text)
{
    m_files.WriteHistoryLine(text);
}

void CDunmereGame::OpenFiles()
{
    m_files.Open(m_outputFolder, TimeText(gamelines::kHistoryFileTime));
}

void CDunmereGame::CloseFiles()
{
    m_files.Close();
}

std::string CDunmereGame::TimeText(const char *pattern) const
{
    const std::time_t now = Now();
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[128];
    const size_t n = std::strftime(buffer, sizeof buffer, pattern, &local);
    return std::string(buffer, n);
}
