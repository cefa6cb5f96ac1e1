#include "framework/NumberField.h"

#include <cstddef>
#include <cstdint>

namespace afx {
namespace {

// Number fields read at most this many characters of the control's text.
constexpr std::size_t kFieldLength = 31;

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// The conversion behind both number kinds: like strtol/strtoul on a 32-bit platform, from the
// first character after the blanks and tabs (no other white space is skipped: a pasted line break
// before the digits is no number). Returns the position after the number, or `text` when there is
// no number.
const char* Convert(const char* text, bool isSigned, std::int64_t* value) {
    const char* p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (*p < '0' || *p > '9') {
        *value = 0;
        return text;
    }
    const std::uint64_t limit = isSigned ? (negative ? 2147483648ULL : 2147483647ULL) : 4294967295ULL;
    std::uint64_t magnitude = 0;
    bool saturated = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(*p - '0');
        if (magnitude > limit) {
            saturated = true;
            magnitude = limit;
        }
    }
    if (isSigned) {
        *value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    } else if (saturated) {
        *value = 4294967295LL;
    } else {
        *value = negative ? static_cast<std::int64_t>((0x100000000ULL - magnitude) & 0xFFFFFFFFULL)
                          : static_cast<std::int64_t>(magnitude);
    }
    return p;
}

bool Parse(const char* text, bool isSigned, std::int64_t* value) {
    // The field's first characters, on the stack: the form reads its number fields on every event.
    char field[kFieldLength + 1];
    std::size_t length = 0;
    while (length < kFieldLength && text[length] != '\0') {
        field[length] = text[length];
        ++length;
    }
    field[length] = '\0';
    const char* p = field;
    while (IsBlankOrTab(*p)) {
        ++p;
    }
    const char first = *p;
    if (!isSigned && first == '-') {
        return false;
    }
    std::int64_t converted = 0;
    p = Convert(p, isSigned, &converted);
    if (converted == 0 && first != '0') {
        return false;
    }
    while (IsBlankOrTab(*p)) {
        ++p;
    }
    if (*p != '\0') {
        return false;
    }
    *value = converted;
    return true;
}

}  // namespace

bool ParseSigned(const char* text, int* value) {
    std::int64_t parsed = 0;
    if (!Parse(text, true, &parsed)) {
        return false;
    }
    *value = static_cast<int>(parsed);
    return true;
}

bool ParseUnsigned(const char* text, UINT* value) {
    std::int64_t parsed = 0;
    if (!Parse(text, false, &parsed)) {
        return false;
    }
    *value = static_cast<UINT>(parsed);
    return true;
}

}  // namespace afx
