#include "engine/GameFiles.h"

#include "engine/EngineText.h"
#include "lineformat/GameLines.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
    m_gameLog.Write(text + "\n");
    m_gameLog.Flush();
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
    check(m_gameLog, m_logFailReported, "game log");
    check(m_history, m_historyFailReported, "hand history");
}

bool GameFiles::TrimLog(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Closing the descriptor drops the lock, on every way out.
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) < kLogTrimThreshold)
        return false;
    // Another game writing the log holds a shared lock: then the cut waits for a later start.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return false;
    const std::uintmax_t size = static_cast<std::uintmax_t>(info.st_size);
    std::string kept(kLogKeptBytes, '\0');
    const ssize_t got =
        ::pread(fd, kept.data(), kept.size(), static_cast<off_t>(size - kLogKeptBytes));
    if (got != static_cast<ssize_t>(kept.size()))
        return false;
    // Written to a side file and renamed, so a failure cannot lose the whole log.
    const std::string temporary = path + ".trim";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(kept.data(), static_cast<std::streamsize>(kept.size()));
        if (!out)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

void GameFiles::OpenSharedLog(const std::string &path)
{
    // A game that trims renames its new log over the old one while holding the exclusive lock:
    // one who opened the old one meanwhile finds it gone from the folder and opens again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (!m_log.Open(path, "a") || !m_log.LockShared() || m_log.StillAtPath())
            return;
    }
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
    OpenSharedLog(logPath);
    // Never overwrite or share another game's file: games started in the same second (bot
    // games, two programs at once) take "HH_<time>_002.txt", "_003" and so on; the padding
    // keeps the names' order the games' order.
    const std::string stem =
        (folder / gamelines::kHistoryFolder / (gamelines::kHistoryFilePrefix + startTime)).string();
    for (int n = 1; n <= kMaxHistoryFilesPerSecond; ++n) {
        const std::string suffix = n == 1 ? std::string() : Format("_%03d", n);
        if (m_history.CreateNew(stem + suffix + gamelines::kHistoryFileSuffix)) {
            m_gameLog.Open(stem + suffix + gamelines::kGameLogFileSuffix, "w");
            break;
        }
        if (m_history.Error() != EEXIST)
            break;
    }
    Check();
}

void GameFiles::Close()
{
    m_log.Flush();
    m_log.Close();
    m_gameLog.Flush();
    m_gameLog.Close();
    m_history.Flush();
    m_history.Close();
    Check();
}
