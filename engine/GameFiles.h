#pragma once
// The two text files of one game: the running game log "HistoryGame.log" (appended to, its
// oldest part cut off when it grows large) and the game's own hand history
// "HandHistory/HH_<start time>.txt" (never another game's: "_002", "_003" and on when that name
// is taken), with that game's log lines alone beside it ("HH_<start time>.log"), so that a game
// can be read back after the shared log has lost it. A file that cannot be opened or written is
// reported once, in a line for the output pane and in Problems(); the game goes on writing what it
// can.
//
// Threads: owned by the game, used with its state mutex held.

#include "engine/TextFile.h"

#include <functional>
#include <string>
#include <vector>

class GameFiles
{
public:
    // report receives "Could not write the game log <path>" (or "... the hand history ...").
    explicit GameFiles(std::function<void(const std::string &)> report = {})
        : m_report(std::move(report))
    {}

    // Closes what is open, creates folder/HandHistory when missing, opens the log and a new hand
    // history named after startTime ("20231114_221320").
    void Open(const std::string &folder, const std::string &startTime);
    void Close();

    // A line: the text, "\n", flushed at once.
    void WriteLogLine(const std::string &text);
    void WriteHistoryLine(const std::string &text);
    // Text as it is, left in the buffer until the next line.
    void WriteLogText(const std::string &text)
    {
        m_log.Write(text);
        m_gameLog.Write(text);
    }
    void WriteHistoryText(const std::string &text) { m_history.Write(text); }

    // Where the three files stand now, and cutting them back there (a game stopped in the middle
    // of a hand): each file only when no other program wrote to it since (TextFile::CutBackTo).
    struct Marks
    {
        TextFile::Mark log;
        TextFile::Mark gameLog;
        TextFile::Mark history;
    };
    Marks Here() { return {m_log.Here(), m_gameLog.Here(), m_history.Here()}; }
    void CutBackTo(const Marks &marks)
    {
        m_log.CutBackTo(marks.log);
        m_gameLog.CutBackTo(marks.gameLog);
        m_history.CutBackTo(marks.history);
    }

    const std::string &LogPath() const { return m_log.Path(); }
    const std::string &HistoryPath() const { return m_history.Path(); }
    // "the game log <path>: <reason>" or "the hand history <path>: <reason>", each file once.
    const std::vector<std::string> &Problems() const { return m_problems; }

    // A log past 200,000 bytes keeps its last 80,000 (run by Open). Never while another game
    // has the log open (each holds a shared lock on it): that game would write on into a
    // file no longer in the folder. False when nothing was cut.
    static bool TrimLog(const std::string &path);

private:
    // Reports a file's first failure.
    void Check();

    // Opens the shared log, again if a trimming game renamed a new one over it meanwhile.
    void OpenSharedLog(const std::string &path);

    TextFile m_log;
    TextFile m_gameLog; // this game's log lines alone, beside its hand history
    TextFile m_history;
    bool m_logFailReported = false;
    bool m_historyFailReported = false;
    std::vector<std::string> m_problems;
    std::function<void(const std::string &)> m_report;
};
