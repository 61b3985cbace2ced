#include "TextFile.h"

bool TextFile::Open(const std::string &path, const char *mode)
{
    Close();
    m_path = path;
    // Binary mode: the line-end translation is ours, so it is the same on every platform.
    const std::string binaryMode = std::string(mode) + "b";
    m_file = std::fopen(path.c_str(), binaryMode.c_str());
    return m_file != nullptr;
}

void TextFile::Close()
{
    if (m_file) {
        std::fclose(m_file);
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
    return std::fwrite(out.data(), 1, out.size(), m_file) == out.size();
}

void TextFile::Flush()
{
    if (m_file)
        std::fflush(m_file);
}
