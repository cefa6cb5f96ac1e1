#include <windows.h>

#include <string>

#include "tests/support/win32/CodePage.h"

namespace test::codepage {
namespace {

std::wstring Wide(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return wide;
}

std::string Bytes(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int size = ::WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::string RoundTrip(const std::string& bytes) { return Bytes(CP_ACP, Wide(CP_ACP, bytes)); }
std::string FromUtf8(const std::string& utf8) { return Bytes(CP_ACP, Wide(CP_UTF8, utf8)); }
std::string ToUtf8(const std::string& bytes) { return Bytes(CP_UTF8, Wide(CP_ACP, bytes)); }
std::wstring Utf16(const std::string& utf8) { return Wide(CP_UTF8, utf8); }
std::string Utf8(const std::wstring& utf16) { return Bytes(CP_UTF8, utf16); }

std::string WindowCharacters(void* window) {
    const auto handle = static_cast<HWND>(window);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    return Bytes(CP_UTF8, text);
}

}  // namespace test::codepage
