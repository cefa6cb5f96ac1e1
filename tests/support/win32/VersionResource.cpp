#include <windows.h>

#include <cstdio>
#include <vector>

#include "tests/support/win32/CodePage.h"
#include "tests/support/win32/VersionResource.h"

namespace test::version {
namespace {

std::wstring PathOf(const std::string& path) {
    if (!path.empty()) {
        return codepage::Utf16(path);
    }
    std::wstring own(MAX_PATH, L'\0');
    own.resize(::GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size())));
    return own;
}

std::vector<unsigned char> Block(const std::string& path) {
    const std::wstring file = PathOf(path);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    std::vector<unsigned char> block(size);
    if (size == 0 || ::GetFileVersionInfoW(file.c_str(), 0, size, block.data()) == FALSE) {
        block.clear();
    }
    return block;
}

}  // namespace

std::optional<Resource> Read(const std::string& path) {
    std::vector<unsigned char> block = Block(path);
    void* data = nullptr;
    UINT length = 0;
    if (block.empty() || ::VerQueryValueW(block.data(), L"\\", &data, &length) == FALSE ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    Resource resource;
    resource.fileVersion = {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                            HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
    resource.productVersion = {HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                               HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)};
    resource.flagsMask = fixed->dwFileFlagsMask;
    resource.flags = fixed->dwFileFlags;
    resource.os = fixed->dwFileOS;
    resource.type = fixed->dwFileType;
    if (::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &data, &length) != FALSE) {
        const auto* words = static_cast<const WORD*>(data);
        for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) {
            resource.translations.emplace_back(words[i], words[i + 1]);
        }
    }
    return resource;
}

std::optional<std::string> Entry(const std::string& path, unsigned language, unsigned codePage,
                                 const std::string& name) {
    std::vector<unsigned char> block = Block(path);
    char key[64];
    std::snprintf(key, sizeof key, "\\StringFileInfo\\%04X%04X\\", language, codePage);
    void* data = nullptr;
    UINT length = 0;
    if (block.empty() || ::VerQueryValueW(block.data(), (codepage::Utf16(key) + codepage::Utf16(name)).c_str(), &data,
                                          &length) == FALSE) {
        return std::nullopt;
    }
    // The length counts the closing zero, when there is one.
    const auto* text = static_cast<const wchar_t*>(data);
    int characters = static_cast<int>(length);
    while (characters > 0 && text[characters - 1] == L'\0') {
        --characters;
    }
    return codepage::Utf8(std::wstring(text, static_cast<std::size_t>(characters)));
}

}  // namespace test::version
