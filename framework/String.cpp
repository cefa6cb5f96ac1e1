#include "framework/String.h"

#include <cstdarg>
#include <cstdio>

void CString::Format(const char* format, ...) {
    // Written once into a buffer on the stack; only a longer text walks the arguments again.
    char shortText[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(shortText, sizeof shortText, format, args);
    va_end(args);
    if (length < 0) {
        m_text.clear();
        return;
    }
    if (static_cast<std::size_t>(length) < sizeof shortText) {
        m_text.assign(shortText, static_cast<std::size_t>(length));
        return;
    }
    m_text.resize(static_cast<std::size_t>(length));
    va_start(args, format);
    std::vsnprintf(m_text.data(), m_text.size() + 1, format, args);
    va_end(args);
}
