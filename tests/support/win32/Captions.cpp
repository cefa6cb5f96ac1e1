// The room a Windows control gives its caption: a label its client area; a push button its client
// area inside the raised edge it draws; a check box what lies right of its box (13 pixels at 96
// dots an inch) and the gap after it (half a digit's width in the control's font).
#include "tests/support/Captions.h"

#include <windows.h>

#include <cwchar>

namespace test {

namespace {

std::string Utf8(const std::wstring& text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr,
                          nullptr);
    return utf8;
}

bool IsCheckBox(LONG kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE ||
           kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

BOOL CALLBACK Measure(HWND control, LPARAM context) {
    auto* captions = reinterpret_cast<std::vector<Caption>*>(context);
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const LONG kind = style & BS_TYPEMASK;
    const bool isButton = std::wcscmp(className, L"Button") == 0;
    const bool isLabel = std::wcscmp(className, L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON;
    // Group frames draw their caption over their border, and hidden labels (those that only name a
    // field for a screen reader) show nothing.
    if ((!isButton && !isLabel) || (isButton && kind == BS_GROUPBOX) || ::IsWindowVisible(control) == FALSE) {
        return TRUE;
    }
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    if (text.empty()) {
        return TRUE;
    }
    HDC dc = ::GetDC(control);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    INT digit = 0;
    ::GetCharWidth32W(dc, L'0', L'0', &digit);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    RECT client{};
    ::GetClientRect(control, &client);
    int room = client.right - client.left;
    if (isButton && IsCheckBox(kind)) {
        room -= ::MulDiv(12, dpi, 96) + 1 + digit / 2;
    } else if (isButton) {
        room -= 2 * ::GetSystemMetrics(SM_CXEDGE);
    }
    captions->push_back({Utf8(text), static_cast<int>(size.cx), room});
    return TRUE;
}

}  // namespace

std::vector<Caption> CaptionsOf(void* dialog) {
    std::vector<Caption> captions;
    ::EnumChildWindows(static_cast<HWND>(dialog), Measure, reinterpret_cast<LPARAM>(&captions));
    return captions;
}

}  // namespace test
