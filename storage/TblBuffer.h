#pragma once
// A text or byte value bound to a table field. A text value is kept with its terminating zero,
// so an empty text has size 1; a cleared (binary) value holds no block at all and has size 0.

#include <cstddef>
#include <string>
#include <string_view>

class TblBuffer
{
public:
    TblBuffer() = default;
    explicit TblBuffer(std::string_view text) { Set(text); }

    // Text value: the bytes plus a terminating zero.
    void Set(std::string_view text);
    TblBuffer &operator=(std::string_view text)
    {
        Set(text);
        return *this;
    }
    void Append(std::string_view suffix);
    // printf-style; the result replaces the value. No length limit.
    void Format(const char *format, ...) __attribute__((format(printf, 2, 3)));

    // Raw bytes, stored without a terminator; no bytes clears the value.
    void SetBytes(const void *data, std::size_t size);
    void Clear();

    // Null for a cleared value.
    const char *data() const { return m_null ? nullptr : m_block.data(); }
    std::size_t size() const { return m_null ? 0 : m_block.size(); }
    bool IsNull() const { return m_null; }
    // The text without its terminator; "" for a cleared value.
    std::string str() const;
    const char *c_str() const { return m_null ? "" : m_block.c_str(); }

private:
    std::string m_block; // the whole block, terminator included for text
    bool m_null = true;
};
