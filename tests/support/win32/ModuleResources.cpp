#include <windows.h>

#include "tests/support/win32/CodePage.h"
#include "tests/support/win32/ModuleResources.h"

namespace test::resources {
namespace {

// The system's numbers of the resource types read here.
constexpr unsigned kDialogType = 5;
constexpr unsigned kStringType = 6;
constexpr unsigned kIconGroupType = 14;

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<unsigned>*>(list)->push_back(language);
    return TRUE;
}

// The program's file, loaded for its resources only: nothing of it runs.
class Module {
public:
    explicit Module(const std::string& path)
        : m_module(::LoadLibraryExW(codepage::Utf16(path).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~Module() {
        if (m_module != nullptr) {
            ::FreeLibrary(m_module);
        }
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // The bytes of one resource, empty when there is none.
    std::pair<const void*, DWORD> Find(const wchar_t* type, unsigned id, unsigned language) const {
        if (m_module == nullptr) {
            return {nullptr, 0};
        }
        HRSRC found = ::FindResourceExW(m_module, type, MAKEINTRESOURCEW(id), static_cast<WORD>(language));
        HGLOBAL loaded = found != nullptr ? ::LoadResource(m_module, found) : nullptr;
        if (loaded == nullptr) {
            return {nullptr, 0};
        }
        return {::LockResource(loaded), ::SizeofResource(m_module, found)};
    }
    // The languages resource `id` of `type` is held in.
    std::vector<unsigned> Languages(unsigned type, unsigned id) const {
        std::vector<unsigned> languages;
        if (m_module != nullptr) {
            ::EnumResourceLanguagesW(m_module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), AddLanguage,
                                     reinterpret_cast<LONG_PTR>(&languages));
        }
        return languages;
    }

private:
    HMODULE m_module;
};

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

}  // namespace

std::optional<std::vector<std::uint16_t>> Dialog(const std::string& path, unsigned id, unsigned language) {
    const Module module(path);
    const auto [data, size] = module.Find(MAKEINTRESOURCEW(kDialogType), id, language);
    if (data == nullptr) {
        return std::nullopt;
    }
    const auto* words = static_cast<const std::uint16_t*>(data);
    return std::vector<std::uint16_t>(words, words + size / 2);
}

std::optional<std::string> String(const std::string& path, unsigned id, unsigned language) {
    // Strings are kept sixteen to a block, each counted in UTF-16 units.
    const Module module(path);
    const auto [data, size] = module.Find(MAKEINTRESOURCEW(kStringType), id / 16 + 1, language);
    if (data == nullptr) {
        return std::nullopt;
    }
    const auto* unit = static_cast<const wchar_t*>(data);
    const wchar_t* end = unit + size / sizeof(wchar_t);
    for (unsigned index = 0; unit < end; ++index) {
        const std::size_t length = *unit++;
        if (index == id % 16) {
            if (length == 0) {
                return std::nullopt;
            }
            return codepage::Utf8(std::wstring(unit, length));
        }
        unit += length;
    }
    return std::nullopt;
}

std::vector<unsigned> Languages(const std::string& path, unsigned type, unsigned id) {
    return Module(path).Languages(type, id);
}

std::vector<std::pair<unsigned, unsigned>> IconSizes(const std::string& path, unsigned id) {
    std::vector<std::pair<unsigned, unsigned>> sizes;
    const Module module(path);
    for (const unsigned language : module.Languages(kIconGroupType, id)) {
        const auto [data, size] = module.Find(MAKEINTRESOURCEW(kIconGroupType), id, language);
        if (data == nullptr || size < sizeof(IconGroupHeader)) {
            continue;
        }
        const auto* header = static_cast<const IconGroupHeader*>(data);
        const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
        for (WORD i = 0; i < header->count && sizeof(IconGroupHeader) + (i + 1) * sizeof(IconGroupEntry) <= size; ++i) {
            // A width or height of 0 stands for 256.
            sizes.emplace_back(entries[i].width == 0 ? 256 : entries[i].width,
                               entries[i].height == 0 ? 256 : entries[i].height);
        }
    }
    return sizes;
}

}  // namespace test::resources
