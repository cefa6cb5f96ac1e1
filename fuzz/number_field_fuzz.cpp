// The form's number parsing against strtoll, narrowed the way strtol and strtoul behave where long
// has 32 bits, with the form's own rules around it written out plainly.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "framework/NumberField.h"

namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

std::optional<std::int64_t> Reference(const std::string& whole, bool isSigned) {
    const std::string field = whole.substr(0, 31);
    const char* p = field.c_str();
    while (IsBlankOrTab(*p)) {
        ++p;
    }
    const char first = *p;
    if (!isSigned && first == '-') {
        return std::nullopt;
    }
    // Only blanks and tabs are skipped: strtoll would also skip line breaks and the like.
    if (first == '\n' || first == '\v' || first == '\f' || first == '\r') {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    long long converted = std::strtoll(p, &end, 10);
    if (isSigned) {
        if (converted > INT32_MAX) {
            converted = INT32_MAX;
        } else if (converted < INT32_MIN) {
            converted = INT32_MIN;
        }
    } else if (converted > static_cast<long long>(UINT32_MAX) || converted < -static_cast<long long>(UINT32_MAX)) {
        converted = UINT32_MAX;
    } else if (converted < 0) {
        converted = static_cast<std::uint32_t>(converted);
    }
    if (converted == 0 && first != '0') {
        return std::nullopt;
    }
    while (IsBlankOrTab(*end)) {
        ++end;
    }
    if (*end != '\0') {
        return std::nullopt;
    }
    return converted;
}

[[noreturn]] void Fail(const std::string& text, const char* kind) {
    std::fprintf(stderr, "%s field differs from strtoll for \"%s\"\n", kind, text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A control's text ends at its first zero byte.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string field = text.substr(0, text.find('\0'));

    int signedValue = 0x5A5A5A5A;
    const bool signedOk = afx::ParseSigned(field.c_str(), &signedValue);
    const std::optional<std::int64_t> signedRef = Reference(field, true);
    if (signedOk != signedRef.has_value() || (signedOk && signedValue != *signedRef)) {
        Fail(field, "signed");
    }
    if (!signedOk && signedValue != 0x5A5A5A5A) {
        Fail(field, "signed (value written on failure)");
    }

    UINT unsignedValue = 0xA5A5A5A5U;
    const bool unsignedOk = afx::ParseUnsigned(field.c_str(), &unsignedValue);
    const std::optional<std::int64_t> unsignedRef = Reference(field, false);
    if (unsignedOk != unsignedRef.has_value() || (unsignedOk && unsignedValue != *unsignedRef)) {
        Fail(field, "unsigned");
    }
    if (!unsignedOk && unsignedValue != 0xA5A5A5A5U) {
        Fail(field, "unsigned (value written on failure)");
    }
    return 0;
}
