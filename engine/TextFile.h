#pragma once
// A narrow text file written line by line. Every "\n" is stored as "\r\n": the log and the
// hand histories keep CRLF line ends, which is what hand-history readers expect. Owned by one
// thread at a time (the game's state mutex).

#include <cstdio>
#include <string>

class TextFile
{
public:
    TextFile() = default;
    ~TextFile() { Close(); }
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    // mode "a" appends, "w" empties or creates. False when the file could not be opened.
    bool Open(const std::string &path, const char *mode);
    // Creates the file only if no file of that name exists (atomically, so two programs never
    // share one). False when it exists or cannot be made; Error() tells which.
    bool CreateNew(const std::string &path);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }
    const std::string &Path() const { return m_path; }
    // Writes text with "\n" translated; false when the file is not open or the write failed.
    bool Write(const std::string &text);
    void Flush();
    // Holds a shared lock on the file while it is open, so that no other program cuts it back
    // (GameFiles::TrimLog takes the exclusive one). False when the lock cannot be had.
    bool LockShared();
    // Whether Path() still names the file this object has open (false after another program
    // renamed a new file over it).
    bool StillAtPath() const;
    // Where the file stood at some moment: its length and how much this object had written.
    struct Mark
    {
        long long length = -1; // -1: the file was not open
        long long written = 0;
    };
    // The mark of now (flushes first).
    Mark Here();
    // Cuts the file back to mark, so that what this object wrote since is gone; does nothing
    // (false) when someone else has written to the file since, or it is not open.
    bool CutBackTo(const Mark &mark);
    // The errno of the first failed open, write, flush or close since the last Open; 0 if none.
    int Error() const { return m_error; }

private:
    void NoteError();

    std::FILE *m_file = nullptr;
    std::string m_path;
    int m_error = 0;
    long long m_written = 0; // bytes written since Open
};
