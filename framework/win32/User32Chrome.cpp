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

Handle LoadProgramIcon(unsigned id) { return ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)); }

Handle IconImageOfSize(Handle icon, int width, int height) {
    // The system copies a resource icon from its resource: the group's image of that size, not a
    // scaled copy of the image the handle shows.
    return ::CopyImage(static_cast<HANDLE>(icon), IMAGE_ICON, width, height, LR_COPYFROMRESOURCE);
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
