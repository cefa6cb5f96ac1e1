#pragma once
// CString: the framework's text type. Text is UTF-8; lengths are in bytes.

#include <string>
#include <string_view>

// Format strings follow the C99 rules of GNU's printf (%zu and the like) on every compiler,
// MinGW's included, where "printf" would mean Microsoft's older rules.
#if defined(__MINGW32__)
#define AFX_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#else
#define AFX_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#endif

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}  // NOLINT(google-explicit-constructor)
    CString(std::string text) : m_text(std::move(text)) {}   // NOLINT(google-explicit-constructor)
    CString(const char* text, int length) : m_text(text, static_cast<std::size_t>(length)) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    // Replaces the text with `length` bytes at `text`, keeping the room this string already has.
    void SetString(const char* text, int length) { m_text.assign(text, static_cast<std::size_t>(length)); }

    // printf-style formatting; replaces the whole text.
    void Format(const char* format, ...) AFX_PRINTF_FORMAT(2, 3);

    operator const char*() const { return m_text.c_str(); }  // NOLINT(google-explicit-constructor)
    const std::string& str() const { return m_text; }

    CString& operator+=(std::string_view more) {
        m_text += more;
        return *this;
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }

private:
    std::string m_text;
};
