#include "framework/String.h"

#include <cstdarg>
#include <cstdio>

void CString::Format(const char* format, ...) {
    // The arguments are walked twice: once to measure, once to write.
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length < 0) {
        m_text.clear();
        return;
    }
    m_text.resize(static_cast<std::size_t>(length));
    va_start(args, format);
    std::vsnprintf(m_text.data(), m_text.size() + 1, format, args);
    va_end(args);
}
