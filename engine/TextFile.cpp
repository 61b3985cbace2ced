#include "engine/TextFile.h"

#include <cerrno>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

bool TextFile::Open(const std::string &path, const char *mode)
{
    Close();
    m_path = path;
    m_error = 0;
    m_written = 0;
    // Binary mode: the line-end translation is ours, so it is the same on every platform.
    const std::string binaryMode = std::string(mode) + "b";
    m_file = std::fopen(path.c_str(), binaryMode.c_str());
    if (!m_file)
        NoteError();
    return m_file != nullptr;
}

bool TextFile::CreateNew(const std::string &path)
{
    // "x": O_EXCL, the file is ours or the open fails with EEXIST.
    return Open(path, "wx");
}

void TextFile::NoteError()
{
    if (m_error == 0)
        m_error = errno != 0 ? errno : EIO;
}

void TextFile::Close()
{
    if (m_file) {
        if (std::fclose(m_file) != 0)
            NoteError();
        m_file = nullptr;
    }
}

bool TextFile::Write(const std::string &text)
{
    if (!m_file)
        return false;
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    if (std::fwrite(out.data(), 1, out.size(), m_file) == out.size()) {
        m_written += static_cast<long long>(out.size());
        return true;
    }
    NoteError();
    return false;
}

void TextFile::Flush()
{
    if (m_file && std::fflush(m_file) != 0)
        NoteError();
}

bool TextFile::LockShared()
{
    return m_file && ::flock(::fileno(m_file), LOCK_SH) == 0;
}

bool TextFile::StillAtPath() const
{
    struct stat open
    {
    };
    struct stat named
    {
    };
    return m_file && ::fstat(::fileno(m_file), &open) == 0 && ::stat(m_path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

TextFile::Mark TextFile::Here()
{
    Mark mark;
    if (!m_file)
        return mark;
    Flush();
    struct stat info
    {
    };
    if (::fstat(::fileno(m_file), &info) != 0)
        return mark;
    mark.length = static_cast<long long>(info.st_size);
    mark.written = m_written;
    return mark;
}

bool TextFile::CutBackTo(const Mark &mark)
{
    const Mark now = Here();
    // Another program appending to the same log must not lose its lines to our cut.
    if (mark.length < 0 || now.length < 0 || now.length - mark.length != now.written - mark.written)
        return false;
    if (::ftruncate(::fileno(m_file), static_cast<off_t>(mark.length)) != 0) {
        NoteError();
        return false;
    }
    m_written = mark.written;
    std::fseek(m_file, 0, SEEK_END);
    return true;
}
