// The window system's text: UTF-8 to UTF-16 and back, the system's code page, and the text of
// windows and edit boxes.
// Win32 only, as is each bridge file (User32.h).
#include "framework/win32/User32Bridge.h"

#include <cwchar>
#include <vector>

namespace w32 {
namespace {

// UTF-8 to UTF-16, each ill-formed part (the longest start of a well-formed sequence, or one byte)
// becoming one U+FFFD, as Unicode recommends. The system's own conversion is not used: it differs
// between versions (some drop a valid character after a broken one, some let a lone surrogate
// through), and text the program received from a peer must show the same everywhere.
std::wstring Convert(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            wide += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        int trail = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            code = lead & 0x0Fu;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            code = lead & 0x07u;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        std::size_t next = i + 1;
        int taken = 0;
        while (taken < trail && next < size) {
            const auto byte = static_cast<unsigned char>(text[next]);
            if (byte < low || byte > high) {
                break;
            }
            code = (code << 6) | (byte & 0x3Fu);
            low = 0x80;
            high = 0xBF;
            ++taken;
            ++next;
        }
        i = next;
        if (trail == 0 || taken < trail) {
            wide += static_cast<wchar_t>(0xFFFD);
        } else if (code >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
    }
    return wide;
}

}  // namespace

std::string Narrow(const wchar_t* text, int length, UINT codePage) {
    if (length <= 0) {
        return {};
    }
    const int size = ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, text, length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

std::wstring Utf16(std::string_view text) { return Convert(text); }

Long SendText(Handle window, unsigned message, Word wParam, std::string_view text) {
    const std::wstring wide = Convert(text);
    return ::SendMessageW(H(window), message, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string ReceiveText(Handle window, unsigned lengthMessage, unsigned textMessage, Word wParam) {
    const LRESULT length = ::SendMessageW(H(window), lengthMessage, wParam, 0);
    if (length <= 0) {
        return {};
    }
    // The status bar's length message puts flags in the high word.
    const auto characters = static_cast<std::size_t>(lengthMessage == SB_GETTEXTLENGTHW ? LOWORD(length) : length);
    std::vector<wchar_t> buffer(characters + 1, L'\0');
    ::SendMessageW(H(window), textMessage, wParam, reinterpret_cast<LPARAM>(buffer.data()));
    return Narrow(buffer.data(), static_cast<int>(::wcsnlen(buffer.data(), characters)));
}

void ReplaceSelection(Handle box, const std::wstring& text, bool canUndo) {
    const LRESULT limit = ::SendMessageW(H(box), EM_GETLIMITTEXT, 0, 0);
    ::SendMessageW(H(box), EM_SETLIMITTEXT, 0, 0);
    ::SendMessageW(H(box), EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(H(box), EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
}

bool IsMultiLine(Handle box) { return IsEditBox(box) && (::GetWindowLongPtrW(H(box), GWL_STYLE) & ES_MULTILINE) != 0; }

bool IsEditBox(Handle window) {
    wchar_t name[8] = {};
    return ::GetClassNameW(H(window), name, 8) > 0 && ::_wcsicmp(name, L"Edit") == 0;
}

std::wstring FromCodePage(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), size);
    return wide;
}

namespace {

// The lead bytes of the system's double-byte code page, none for a single-byte one.
struct LeadBytes {
    bool lead[256] = {};
    LeadBytes() {
        CPINFO info{};
        if (::GetCPInfo(CP_ACP, &info) == FALSE || info.MaxCharSize != 2) {
            return;
        }
        for (int range = 0; range + 1 < MAX_LEADBYTES && info.LeadByte[range] != 0; range += 2) {
            for (int byte = info.LeadByte[range]; byte <= info.LeadByte[range + 1]; ++byte) {
                lead[byte] = true;
            }
        }
    }
};

std::size_t DoubleByteBoundary(const char* data, std::size_t length) {
    static const LeadBytes leads;
    // Read from the start: a trail byte may have a lead byte's value.
    std::size_t i = 0;
    while (i < length) {
        if (!leads.lead[static_cast<unsigned char>(data[i])]) {
            ++i;
        } else if (i + 1 == length) {
            return i;
        } else {
            i += 2;
        }
    }
    return length;
}

}  // namespace

CharacterBoundary CodePageBoundary() {
    if (::GetACP() == CP_UTF8) {
        return nullptr;
    }
    // A single-byte code page has no lead bytes: every byte is a whole character.
    return DoubleByteBoundary;
}

std::string GetText(Handle window) {
    const int length = ::GetWindowTextLengthW(H(window));
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(H(window), buffer.data(), length + 1);
    return Narrow(buffer.data(), got, IsEditBox(window) ? CP_ACP : CP_UTF8);
}

void SetText(Handle window, std::string_view text) {
    ::SetWindowTextW(H(window), (IsEditBox(window) ? FromCodePage(text) : Convert(text)).c_str());
}

}  // namespace w32
