// The window system's windows and dialogs: the routing of their messages, their state, their
// place, and the dialogs made from the program's templates.
// Win32 only, as is each bridge file (User32.h).
#include "framework/win32/User32Bridge.h"

#include <type_traits>
#include <vector>

// The plain types the framework's other files use stand for the system's own, at either width.
static_assert(sizeof(w32::Handle) == sizeof(HWND) && sizeof(w32::Word) == sizeof(WPARAM) &&
              sizeof(w32::Long) == sizeof(LPARAM) && sizeof(w32::Long) == sizeof(LRESULT));
static_assert(std::is_unsigned_v<w32::Word> && std::is_signed_v<w32::Long>);

namespace w32 {

static_assert(msg::Paint == WM_PAINT && msg::EraseBackground == WM_ERASEBKGND && msg::SetCursor == WM_SETCURSOR &&
              msg::NcHitTest == WM_NCHITTEST && msg::NcPaint == WM_NCPAINT && msg::NcMouseMove == WM_NCMOUSEMOVE &&
              msg::Timer == WM_TIMER && msg::MouseMove == WM_MOUSEMOVE && msg::MouseHover == WM_MOUSEHOVER &&
              msg::MouseLeave == WM_MOUSELEAVE);
static_assert(msg::GetText == WM_GETTEXT);
static_assert(msg::SetIcon == WM_SETICON && msg::GetIcon == WM_GETICON && msg::InitMenu == WM_INITMENU);
static_assert(msg::NcDestroy == WM_NCDESTROY && msg::Command == WM_COMMAND && msg::KeyDown == WM_KEYDOWN &&
              msg::SysKeyDown == WM_SYSKEYDOWN);
static_assert(msg::BmGetCheck == BM_GETCHECK && msg::BmSetCheck == BM_SETCHECK && msg::BmClick == BM_CLICK);
static_assert(msg::EmGetSel == EM_GETSEL && msg::EmSetSel == EM_SETSEL && msg::EmScrollCaret == EM_SCROLLCARET &&
              msg::EmReplaceSel == EM_REPLACESEL && msg::EmSetLimitText == EM_SETLIMITTEXT &&
              msg::EmGetLimitText == EM_GETLIMITTEXT && msg::EmGetFirstVisibleLine == EM_GETFIRSTVISIBLELINE &&
              msg::EmLineScroll == EM_LINESCROLL && msg::GetTextLength == WM_GETTEXTLENGTH &&
              msg::VScroll == WM_VSCROLL && msg::SbBottom == SB_BOTTOM);
static_assert(msg::CbAddString == CB_ADDSTRING && msg::CbGetCount == CB_GETCOUNT && msg::CbGetCurSel == CB_GETCURSEL &&
              msg::CbGetLbText == CB_GETLBTEXT && msg::CbGetLbTextLen == CB_GETLBTEXTLEN &&
              msg::CbSetCurSel == CB_SETCURSEL);
static_assert(msg::UdmGetBuddy == UDM_GETBUDDY && msg::UdmSetBuddy == UDM_SETBUDDY &&
              msg::UdmSetRange32 == UDM_SETRANGE32 && msg::UdmGetRange32 == UDM_GETRANGE32 &&
              msg::UdmSetPos32 == UDM_SETPOS32);
static_assert(msg::IpmSetAddress == IPM_SETADDRESS && msg::IpmGetAddress == IPM_GETADDRESS);
static_assert(msg::SbSetText == SB_SETTEXTW && msg::SbGetText == SB_GETTEXTW &&
              msg::SbGetTextLength == SB_GETTEXTLENGTHW && msg::SbSetParts == SB_SETPARTS &&
              msg::SbGetParts == SB_GETPARTS && msg::SbSetMinHeight == SB_SETMINHEIGHT);

namespace {

Router g_router = nullptr;
DWORD g_windowThread = 0;
constexpr wchar_t kMessageWindowClass[] = L"QuenzoMessageWindow";

LRESULT CALLBACK RoutedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_router != nullptr ? g_router(window, message, wParam, lParam) : CallSuper(window, message, wParam, lParam);
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM, LPARAM) {
    // The first message a dialog gets (its font) routes the window; the framework's procedure then
    // sees every message before the dialog manager, which calls this one only for what is left.
    if (::GetPropW(window, kSuperProperty) == nullptr) {
        Route(window);
    }
    return message == WM_INITDIALOG ? FALSE : FALSE;
}

}  // namespace

void SetRouter(Router router) { g_router = router; }

bool StartWindowSystem() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                                    ICC_INTERNET_CLASSES | ICC_UPDOWN_CLASS |
                                                                    ICC_BAR_CLASSES};
    if (::InitCommonControlsEx(&controls) == FALSE) {
        return false;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = RoutedProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kMessageWindowClass;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    g_windowThread = ::GetCurrentThreadId();
    return true;
}

bool IsWindowThread() { return g_windowThread != 0 && ::GetCurrentThreadId() == g_windowThread; }

Handle CreateMessageWindow() {
    HWND window = ::CreateWindowExW(0, kMessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr) {
        ::SetPropW(window, kSuperProperty, reinterpret_cast<HANDLE>(&::DefWindowProcW));
    }
    return window;
}

void Route(Handle window) {
    if (::GetPropW(H(window), kSuperProperty) != nullptr) {
        return;
    }
    const auto previous = ::SetWindowLongPtrW(H(window), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RoutedProc));
    ::SetPropW(H(window), kSuperProperty, reinterpret_cast<HANDLE>(previous));
}

Long CallSuper(Handle window, unsigned message, Word wParam, Long lParam) {
    auto super = reinterpret_cast<WNDPROC>(::GetPropW(H(window), kSuperProperty));
    if (super == nullptr) {
        return ::DefWindowProcW(H(window), message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::RemovePropW(H(window), kSuperProperty);
        ::SetWindowLongPtrW(H(window), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    }
    return ::CallWindowProcW(super, H(window), message, wParam, lParam);
}

bool Destroy(Handle window) { return ::DestroyWindow(H(window)) != FALSE; }
bool IsWindow(Handle window) { return window != nullptr && ::IsWindow(H(window)) != FALSE; }
unsigned RegisterMessage(const wchar_t* name) { return ::RegisterWindowMessageW(name); }

Long Send(Handle window, unsigned message, Word wParam, Long lParam) {
    return ::SendMessageW(H(window), message, wParam, lParam);
}

bool Post(Handle window, unsigned message, Word wParam, Long lParam) {
    return ::PostMessageW(H(window), message, wParam, lParam) != FALSE;
}

void SetWindowTimer(Handle window, Word id, unsigned ms) { ::SetTimer(H(window), id, ms, nullptr); }
void KillWindowTimer(Handle window, Word id) { ::KillTimer(H(window), id); }

bool Enable(Handle window, bool enable) { return ::EnableWindow(H(window), enable ? TRUE : FALSE) != FALSE; }
bool IsEnabled(Handle window) { return ::IsWindowEnabled(H(window)) != FALSE; }
bool IsVisible(Handle window) { return ::IsWindowVisible(H(window)) != FALSE; }
bool IsIconic(Handle window) { return ::IsIconic(H(window)) != FALSE; }

bool ShowsLastLine(Handle window) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (::GetScrollInfo(H(window), SB_VERT, &info) == FALSE || info.nPage == 0) {
        return true;
    }
    return info.nPos + static_cast<int>(info.nPage) > info.nMax;
}
bool IsChild(Handle window) { return (::GetWindowLongPtrW(H(window), GWL_STYLE) & WS_CHILD) != 0; }
void Show(Handle window, bool show) { ::ShowWindow(H(window), show ? SW_SHOW : SW_HIDE); }

void Activate(Handle window) {
    ::SetForegroundWindow(H(window));
    ::SetActiveWindow(H(window));
}

Handle Focus() { return ::GetFocus(); }
Handle SetFocus(Handle window) { return ::SetFocus(H(window)); }
Handle ActiveWindow() { return ::GetActiveWindow(); }
Handle TopLevel(Handle window) { return ::GetAncestor(H(window), GA_ROOT); }
Handle Parent(Handle window) { return IsChild(window) ? ::GetAncestor(H(window), GA_PARENT) : nullptr; }
Handle Owner(Handle window) { return ::GetWindow(H(window), GW_OWNER); }
Handle DlgItem(Handle dialog, int id) { return ::GetDlgItem(H(dialog), id); }
int DlgCtrlId(Handle window) { return ::GetDlgCtrlID(H(window)); }

std::vector<Handle> Children(Handle window) {
    std::vector<Handle> children;
    for (HWND child = ::GetWindow(H(window), GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

void PlaceBefore(Handle window, Handle next) {
    HWND previous = ::GetWindow(H(next), GW_HWNDPREV);
    if (previous != H(window)) {
        ::SetWindowPos(H(window), previous != nullptr ? previous : HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void MapDialogUnits(Handle dialog, long* left, long* top, long* right, long* bottom) {
    RECT rect{*left, *top, *right, *bottom};
    ::MapDialogRect(H(dialog), &rect);
    *left = rect.left;
    *top = rect.top;
    *right = rect.right;
    *bottom = rect.bottom;
}

void ClientSize(Handle window, long* width, long* height) {
    RECT rect{};
    ::GetClientRect(H(window), &rect);
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
}

void ChildRect(Handle window, long* left, long* top, long* right, long* bottom) {
    RECT rect{};
    ::GetWindowRect(H(window), &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(H(window)), reinterpret_cast<POINT*>(&rect), 2);
    *left = rect.left;
    *top = rect.top;
    *right = rect.right;
    *bottom = rect.bottom;
}

namespace {

BOOL CALLBACK CountVisible(HWND window, LPARAM counter) {
    *reinterpret_cast<int*>(counter) += ::IsWindowVisible(window) != FALSE ? 1 : 0;
    return TRUE;
}

}  // namespace

int VisibleTopLevelWindows() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&count));
    return count;
}

namespace {
BOOL CALLBACK FindSystemMessageBox(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    // The system's boxes are dialogs of the dialog manager's class that the framework never routed.
    if (::IsWindowVisible(window) != FALSE && ::GetClassNameW(window, name, 16) > 0 &&
        std::wcscmp(name, L"#32770") == 0 && ::GetPropW(window, kSuperProperty) == nullptr) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

unsigned SetErrorMode(unsigned mode) { return ::SetErrorMode(mode); }

Handle ShownSystemMessageBox() {
    HWND found = nullptr;
    if (g_windowThread != 0) {
        ::EnumThreadWindows(g_windowThread, FindSystemMessageBox, reinterpret_cast<LPARAM>(&found));
    }
    return found;
}

void CentreOver(Handle window, Handle over, Placer place) {
    // The owner's place, and the work area of its monitor (or of the primary one).
    const bool overOwner = over != nullptr && !IsIconic(over);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(overOwner ? ::MonitorFromWindow(H(over), MONITOR_DEFAULTTONEAREST)
                                : ::MonitorFromWindow(H(window), MONITOR_DEFAULTTOPRIMARY),
                      &monitor);
    RECT area = monitor.rcWork;
    if (overOwner) {
        ::GetWindowRect(H(over), &area);
    }
    RECT own{};
    ::GetWindowRect(H(window), &own);
    long x = 0;
    long y = 0;
    place({area.left, area.top, area.right, area.bottom}, own.right - own.left, own.bottom - own.top,
          {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom}, &x, &y);
    ::SetWindowPos(H(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Lower(Handle window) {
    ::SetWindowPos(H(window), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Handle CreateChild(const wchar_t* className, std::uint32_t style, int x, int y, int width, int height, Handle parent,
                   int id) {
    return ::CreateWindowExW(0, className, L"", style, x, y, width, height, H(parent),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

Handle CreateHiddenLabel(Handle parent, std::string_view text) {
    return ::CreateWindowExW(0, L"Static", Utf16(text).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, H(parent),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xFFFF)), ::GetModuleHandleW(nullptr),
                             nullptr);
}

void FocusFirstTabStop(Handle dialog) {
    if (HWND first = ::GetNextDlgTabItem(H(dialog), nullptr, FALSE)) {
        ::SendMessageW(H(dialog), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
}

Handle CreateDialogFromTemplate(const void* dialogTemplate, Handle owner) {
    return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(dialogTemplate),
                                        H(owner), DialogProc, 0);
}

}  // namespace w32
