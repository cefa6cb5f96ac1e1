// How the system's controls show text that is no UTF-8: the system's own conversion to UTF-16 and
// back.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace test {

std::string DecodedAsTheBoxShows(const std::string& bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), wide);
    const int narrow = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

}  // namespace test
