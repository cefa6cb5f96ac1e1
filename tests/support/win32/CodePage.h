#pragma once
// The system's own conversions between its code page, UTF-16 and UTF-8, for the test driver: a
// reference apart from the framework's. In plain types, since <windows.h> and the framework's
// headers do not meet.

#include <string>

namespace test::codepage {

// Bytes in the system's code page, decoded and read back as the system does.
std::string RoundTrip(const std::string& bytes);
// UTF-8 text in the system's code page.
std::string FromUtf8(const std::string& utf8);
// Bytes in the system's code page in UTF-8.
std::string ToUtf8(const std::string& bytes);
// UTF-8 text in UTF-16, and back.
std::wstring Utf16(const std::string& utf8);
std::string Utf8(const std::wstring& utf16);
// A window's characters in UTF-8.
std::string WindowCharacters(void* window);

}  // namespace test::codepage
