// The window system's message boxes, icons, painting, the system menu and the program's own file.
// Win32 only, as is each bridge file (User32.h).
#include "framework/win32/User32Bridge.h"

#include <vector>

namespace w32 {

int ShowMessageBox(Handle owner, std::string_view text, std::string_view caption, unsigned type) {
    return ::MessageBoxW(H(owner), Utf16(text).c_str(), Utf16(caption).c_str(), type);
}

void Beep(unsigned type) { ::MessageBeep(type); }

bool ShowHelpTopic(Handle owner, std::string_view helpFile, unsigned long context) {
    return ::WinHelpW(H(owner), Utf16(helpFile).c_str(), HELP_CONTEXT, context) != FALSE;
}

Handle IconFromIco(std::span<const unsigned char> ico, int size) {
    // An .ico file is the icon directory followed by the images; the directory's entries give each
    // image's place in the file, which is what LookupIconIdFromDirectoryEx answers with.
    if (ico.size() < 6) {
        return nullptr;
    }
    const auto count = static_cast<std::size_t>(ico[4] | (ico[5] << 8));
    if (ico.size() < 6 + count * 16) {
        return nullptr;
    }
    int best = -1;
    int bestSize = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = ico.data() + 6 + i * 16;
        const int width = entry[0] == 0 ? 256 : entry[0];
        if (best < 0 || (width >= size && (bestSize < size || width < bestSize)) ||
            (bestSize < size && width > bestSize)) {
            best = static_cast<int>(i);
            bestSize = width;
        }
    }
    if (best < 0) {
        return nullptr;
    }
    const unsigned char* entry = ico.data() + 6 + static_cast<std::size_t>(best) * 16;
    const DWORD bytes = entry[8] | (entry[9] << 8) | (entry[10] << 16) | (static_cast<DWORD>(entry[11]) << 24);
    const DWORD offset = entry[12] | (entry[13] << 8) | (entry[14] << 16) | (static_cast<DWORD>(entry[15]) << 24);
    if (offset > ico.size() || bytes > ico.size() - offset) {
        return nullptr;
    }
    return ::CreateIconFromResourceEx(const_cast<PBYTE>(ico.data() + offset), bytes, TRUE, 0x00030000, size, size,
                                      LR_DEFAULTCOLOR);
}

int SystemMetric(int index) { return ::GetSystemMetrics(index); }

struct Paint {
    HWND window;
    PAINTSTRUCT paint;
    HDC dc;
};

Paint* BeginPaint(Handle window) {
    auto* paint = new Paint{H(window), {}, nullptr};
    paint->dc = ::BeginPaint(paint->window, &paint->paint);
    if (paint->dc == nullptr) {
        delete paint;
        return nullptr;
    }
    return paint;
}

Handle PaintDc(Paint* paint) { return paint != nullptr ? paint->dc : nullptr; }

bool DrawIcon(Paint* paint, int x, int y, Handle icon) {
    return paint != nullptr && ::DrawIcon(paint->dc, x, y, static_cast<HICON>(icon)) != FALSE;
}

void EndPaint(Paint* paint) {
    if (paint != nullptr) {
        ::EndPaint(paint->window, &paint->paint);
        delete paint;
    }
}

void SetSystemMenu(Handle window, std::span<const MenuItem> extra) {
    ::GetSystemMenu(H(window), TRUE);
    AppendSystemMenu(window, extra);
}

void AppendSystemMenu(Handle window, std::span<const MenuItem> extra) {
    HMENU menu = ::GetSystemMenu(H(window), FALSE);
    if (menu == nullptr) {
        return;
    }
    for (const MenuItem& item : extra) {
        ::AppendMenuW(menu, item.flags, item.id, (item.flags & MF_SEPARATOR) != 0 ? nullptr : Utf16(item.text).c_str());
    }
}

std::vector<MenuItem> SystemMenuItems(Handle window) {
    std::vector<MenuItem> items;
    HMENU menu = ::GetSystemMenu(H(window), FALSE);
    const int count = menu != nullptr ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        if (::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) != FALSE) {
            const bool separator = (info.fType & MFT_SEPARATOR) != 0;
            items.push_back({separator ? static_cast<unsigned>(MF_SEPARATOR) : static_cast<unsigned>(MF_STRING),
                             separator ? 0 : info.wID,
                             separator ? std::string() : Narrow(text, static_cast<int>(info.cch))});
        }
    }
    return items;
}

std::string ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            return Narrow(buffer.data(), static_cast<int>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace w32
