// The one file of the framework that includes <windows.h>: thin calls into the window system.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <oleacc.h>

#include "framework/win32/User32.h"

#include <string>
#include <cwchar>
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
              msg::CbResetContent == CB_RESETCONTENT && msg::CbSetCurSel == CB_SETCURSEL);
static_assert(msg::UdmGetBuddy == UDM_GETBUDDY && msg::UdmSetBuddy == UDM_SETBUDDY &&
              msg::UdmSetRange32 == UDM_SETRANGE32 && msg::UdmGetRange32 == UDM_GETRANGE32 &&
              msg::UdmSetPos32 == UDM_SETPOS32 && msg::UdmGetPos32 == UDM_GETPOS32);
static_assert(msg::IpmClearAddress == IPM_CLEARADDRESS && msg::IpmSetAddress == IPM_SETADDRESS &&
              msg::IpmGetAddress == IPM_GETADDRESS && msg::IpmIsBlank == IPM_ISBLANK);
static_assert(msg::SbSetText == SB_SETTEXTW && msg::SbGetText == SB_GETTEXTW &&
              msg::SbGetTextLength == SB_GETTEXTLENGTHW && msg::SbSetParts == SB_SETPARTS &&
              msg::SbGetParts == SB_GETPARTS && msg::SbSetMinHeight == SB_SETMINHEIGHT);

namespace {

Router g_router = nullptr;
DWORD g_windowThread = 0;
constexpr wchar_t kMessageWindowClass[] = L"QuenzoMessageWindow";
// The procedure a routed window had before, kept on the window itself.
constexpr wchar_t kSuperProperty[] = L"QuenzoSuperProc";

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

// UTF-16 text in UTF-8, or in another code page (the system's, CP_ACP).
std::string Narrow(const wchar_t* text, int length, UINT codePage = CP_UTF8) {
    if (length <= 0) {
        return {};
    }
    const int size = ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, text, length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

HWND H(Handle window) { return static_cast<HWND>(window); }

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

LARGE_INTEGER Frequency() {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return frequency;
}

}  // namespace

std::wstring Utf16(std::string_view text) { return Convert(text); }

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

namespace {
UINT g_fineTimer = 0;
void (*g_everyMillisecond)() = nullptr;
void CALLBACK EveryMillisecond(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) { g_everyMillisecond(); }
}  // namespace

void FineTimer(bool fine, void (*everyMillisecond)()) {
    if (fine && g_fineTimer == 0) {
        ::timeBeginPeriod(1);
        g_everyMillisecond = everyMillisecond;
        g_fineTimer =
            ::timeSetEvent(1, 0, EveryMillisecond, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    } else if (!fine && g_fineTimer != 0) {
        ::timeKillEvent(g_fineTimer);
        g_fineTimer = 0;
        ::timeEndPeriod(1);
    }
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

bool AnnotateNames(const std::vector<std::pair<Handle, std::string_view>>& names) {
    // The accessibility layer's annotation service, made through COM for this one call.
    static constexpr GUID kService = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
    static constexpr GUID kServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
    static constexpr GUID kName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccPropServices* services = nullptr;
    HRESULT result =
        ::CoCreateInstance(kService, nullptr, CLSCTX_INPROC_SERVER, kServices, reinterpret_cast<void**>(&services));
    if (SUCCEEDED(result)) {
        // Kept with each window itself: readers find it there, whatever this thread does with COM later.
        for (const auto& [window, name] : names) {
            if (SUCCEEDED(result)) {
                result = services->SetHwndPropStr(H(window), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kName,
                                                  Utf16(name).c_str());
            }
        }
        services->Release();
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return SUCCEEDED(result);
}

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

void WaitForMessages(int timeoutMs) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
}

namespace {

// The system hands out posted messages (socket notices, timer ticks) before input and painting: a
// peer that keeps a socket readable would hold the user's clicks and keys, and the window's
// drawing, back for as long as it sends. Posted messages therefore go in slices: once a slice has
// passed, the input and painting that wait are delivered first, up to a bound, so that a window
// that never stops asking to be painted cannot hold the posted messages back either.
constexpr std::int64_t kSliceNs = 8000000;
constexpr int kMostUserMessagesAtOnce = 64;
std::int64_t g_sliceStart = 0;
int g_userMessages = 0;

bool TakeMessage(MSG* message) {
    if (NowNs() - g_sliceStart >= kSliceNs) {
        if (g_userMessages < kMostUserMessagesAtOnce &&
            (::PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT) != FALSE ||
             ::PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT) != FALSE)) {
            ++g_userMessages;
            return true;
        }
        g_userMessages = 0;
        g_sliceStart = NowNs();
    }
    return ::PeekMessageW(message, nullptr, 0, 0, PM_REMOVE) != FALSE;
}

}  // namespace

int DispatchWaiting(Handle keyDialog, PreTranslate preTranslate, int most) {
    MSG message{};
    int delivered = 0;
    while (delivered < most && TakeMessage(&message)) {
        ++delivered;
        if (message.message == WM_QUIT) {
            continue;  // the program has no application loop to end
        }
        // Only keys are the dialog manager's (Tab, arrows, Enter, Esc, mnemonics); anything else it
        // would dispatch as is, after asking the system's server whether the window is the dialog's.
        const bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
        if (key && preTranslate != nullptr &&
            preTranslate(message.hwnd, message.message, message.wParam, message.lParam)) {
            continue;
        }
        if (key && keyDialog != nullptr && ::IsDialogMessageW(H(keyDialog), &message) != FALSE) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return delivered;
}

bool KeyDown(int virtualKey) { return (::GetKeyState(virtualKey) & 0x8000) != 0; }

bool ClickWithMouse(Handle window) {
    RECT rect{};
    ::GetWindowRect(H(window), &rect);
    // Absolute positions run from 0 to 65535 across the primary screen.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    const LONG x = ::MulDiv(static_cast<int>((rect.left + rect.right) / 2), 65535, width - 1);
    const LONG y = ::MulDiv(static_cast<int>((rect.top + rect.bottom) / 2), 65535, height - 1);
    INPUT inputs[3]{};
    const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = x;
        inputs[i].mi.dy = y;
        inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    return ::SendInput(3, inputs, sizeof(INPUT)) == 3;
}

int ShowMessageBox(Handle owner, std::string_view text, std::string_view caption, unsigned type) {
    return ::MessageBoxW(H(owner), Convert(text).c_str(), Convert(caption).c_str(), type);
}

void Beep(unsigned type) { ::MessageBeep(type); }

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
        ::AppendMenuW(menu, item.flags, item.id,
                      (item.flags & MF_SEPARATOR) != 0 ? nullptr : Convert(item.text).c_str());
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

std::int64_t NowNs() {
    static const LARGE_INTEGER frequency = Frequency();
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    const std::int64_t seconds = now.QuadPart / frequency.QuadPart;
    const std::int64_t rest = now.QuadPart % frequency.QuadPart;
    return seconds * 1000000000 + rest * 1000000000 / frequency.QuadPart;
}

}  // namespace w32
