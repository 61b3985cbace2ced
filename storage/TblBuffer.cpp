#include "storage/TblBuffer.h"

#include <cstdarg>
#include <cstdio>

void TblBuffer::Set(std::string_view text)
{
    m_block.assign(text.data(), text.size());
    m_block.push_back('\0');
    m_null = false;
}

void TblBuffer::Append(std::string_view suffix)
{
    if (m_null) {
        Set(suffix);
        return;
    }
    // Insert before the text's terminator; a byte value simply gains a terminated tail.
    if (!m_block.empty() && m_block.back() == '\0')
        m_block.pop_back();
    m_block.append(suffix.data(), suffix.size());
    m_block.push_back('\0');
}

void TblBuffer::Format(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        va_end(args);
        Set({});
        return;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    text.pop_back();
    Set(text);
}

void TblBuffer::SetBytes(const void *data, std::size_t size)
{
    if (data == nullptr || size == 0) {
        Clear();
        return;
    }
    m_block.assign(static_cast<const char *>(data), size);
    m_null = false;
}

void TblBuffer::Clear()
{
    m_block.clear();
    m_null = true;
}

std::string TblBuffer::str() const
{
    if (m_null)
        return {};
    std::string_view view(m_block);
    if (!view.empty() && view.back() == '\0')
        view.remove_suffix(1);
    return std::string(view);
}
