#include "framework/String.h"

#include <cstdarg>
#include <cstdio>

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        m_text.clear();
        return;
    }
    m_text.resize(static_cast<std::size_t>(length));
    std::vsnprintf(m_text.data(), m_text.size() + 1, format, again);
    va_end(again);
}
