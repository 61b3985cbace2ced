// The game's log and hand history: its lines go to GameFiles, the log's also to the pane.
#include "engine/Game.h"
#include "lineformat/GameLines.h"

#include <ctime>

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
