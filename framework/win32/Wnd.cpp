// The window system's side of CWnd: what a window is and does, through its host and the system.
#include "framework/Wnd.h"

#include <map>

#include "framework/Menu.h"
#include "framework/PaintDC.h"
#include "framework/win32/ControlReads.h"
#include "framework/win32/DialogWindow.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

using afx::WindowHost;

namespace {

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }
HWND Framework(w32::Handle handle) { return reinterpret_cast<HWND>(handle); }

CWnd* OwnerOf(w32::Handle window) {
    WindowHost* host = WindowHost::FromHandle(Framework(window));
    return host != nullptr ? host->Owner() : nullptr;
}

constexpr w32::Word kIconSmall = 0;
constexpr w32::Word kIconBig = 1;

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    WindowHost* host = m_pHost != nullptr ? m_pHost : nullptr;
    if (host == nullptr) {
        return;
    }
    if (host->GetKind() == WindowHost::Kind::Control) {
        // A control outlives the program object bound to it until its dialog goes.
        host->Unbind();
    } else {
        DestroyWindow();
    }
}

BOOL CWnd::CreateEx(DWORD /*exStyle*/, LPCTSTR /*className*/, LPCTSTR windowName, DWORD /*style*/, int /*x*/, int /*y*/,
                    int /*width*/, int /*height*/, HWND /*parent*/, UINT /*id*/) {
    // Messages reach a window through the loop of the thread that runs the window system; another
    // thread has none.
    if (m_hWnd != nullptr || !w32::IsWindowThread()) {
        return FALSE;
    }
    WindowHost* host = WindowHost::CreateMessageOnly(windowName);
    if (host == nullptr) {
        return FALSE;
    }
    host->Bind(this);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    const HWND handle = m_hWnd;
    m_hWnd = nullptr;
    m_pHost = nullptr;
    if (host == nullptr) {
        return FALSE;
    }
    // The object hears nothing more; the system's destruction retires the host.
    host->Unbind();
    w32::Destroy(Native(handle));
    if (WindowHost* left = WindowHost::FromHandle(handle);
        left != nullptr && left->GetKind() != WindowHost::Kind::Control) {
        left->Retire();
    }
    return TRUE;
}

CWnd* CWnd::GetDlgItem(int id) const {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    if (host == nullptr || host->GetKind() != WindowHost::Kind::Dialog) {
        return nullptr;
    }
    const HWND control = host->Item(id);
    return control != nullptr ? OwnerOf(Native(control)) : nullptr;
}

int CWnd::GetDlgCtrlID() const { return ::IsWindow(m_hWnd) ? w32::DlgCtrlId(Native(m_hWnd)) : 0; }

CWnd* CWnd::GetParent() const {
    w32::Handle parent = ::IsWindow(m_hWnd) ? w32::Parent(Native(m_hWnd)) : nullptr;
    return parent != nullptr ? OwnerOf(parent) : nullptr;
}

void CWnd::GetWindowText(CString& text) const {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    if (host == nullptr) {
        text.Empty();
    } else if (host->GetKind() == WindowHost::Kind::MessageOnly) {
        text = host->Name();
    } else if (host->GetKind() == WindowHost::Kind::Control) {
        text = afx::control_reads::Text(m_hWnd).c_str();
    } else {
        afx::control_reads::ReadUnfollowed();
        text = w32::GetText(Native(m_hWnd));
    }
}

void CWnd::SetWindowText(const char* text) {
    if (::IsWindow(m_hWnd)) {
        w32::SetText(Native(m_hWnd), text != nullptr ? text : "");
    }
}

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!::IsWindow(m_hWnd)) {
        return FALSE;
    }
    return w32::Enable(Native(m_hWnd), enable != FALSE) ? TRUE : FALSE;
}

BOOL CWnd::IsWindowEnabled() const { return ::IsWindow(m_hWnd) && w32::IsEnabled(Native(m_hWnd)) ? TRUE : FALSE; }

BOOL CWnd::IsWindowVisible() const { return ::IsWindow(m_hWnd) && w32::IsVisible(Native(m_hWnd)) ? TRUE : FALSE; }

BOOL CWnd::IsIconic() const {
    return ::IsWindow(m_hWnd) && w32::IsIconic(w32::TopLevel(Native(m_hWnd))) ? TRUE : FALSE;
}

void CWnd::CheckDlgButton(int id, UINT check) {
    if (CWnd* control = GetDlgItem(id)) {
        w32::Send(Native(control->m_hWnd), w32::msg::BmSetCheck, check);
    }
}

UINT AfxButtonCheck(const CWnd* button) { return button != nullptr ? afx::control_reads::Check(button->m_hWnd) : 0; }

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (::IsWindow(m_hWnd)) {
        w32::SetFocus(Native(m_hWnd));
    }
    return previous;
}

CWnd* CWnd::GetFocus() {
    // The focus may be on a part of a control (the edit box of a combo box or an address field):
    // the control is the child of the dialog that contains it.
    w32::Handle focus = w32::Focus();
    while (focus != nullptr && w32::IsChild(focus) && w32::Parent(focus) != w32::TopLevel(focus)) {
        focus = w32::Parent(focus);
    }
    return focus != nullptr ? OwnerOf(focus) : nullptr;
}

namespace {

// The small image of an icon from its group, made once for each icon and kept as long as the
// program runs (the program's icons are shared and never destroyed); the icon itself when its
// group has no image of that size.
w32::Handle SmallImageOf(HICON icon) {
    static std::map<HICON, w32::Handle> made;
    const auto found = made.find(icon);
    if (found != made.end()) {
        return found->second;
    }
    w32::Handle small = w32::IconImageOfSize(reinterpret_cast<w32::Handle>(icon), w32::SystemMetric(SM_CXSMICON),
                                             w32::SystemMetric(SM_CYSMICON));
    if (small == nullptr) {
        small = reinterpret_cast<w32::Handle>(icon);
    }
    made.emplace(icon, small);
    return small;
}

}  // namespace

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    if (!::IsWindow(m_hWnd)) {
        return nullptr;
    }
    // The title bar shows the group's small image, drawn for that size, not the big one scaled.
    const w32::Handle shown = big || icon == nullptr ? reinterpret_cast<w32::Handle>(icon) : SmallImageOf(icon);
    return reinterpret_cast<HICON>(
        w32::Send(Native(m_hWnd), w32::msg::SetIcon, big ? kIconBig : kIconSmall, reinterpret_cast<w32::Long>(shown)));
}

HICON CWnd::GetIcon(BOOL big) const {
    if (!::IsWindow(m_hWnd)) {
        return nullptr;
    }
    return reinterpret_cast<HICON>(w32::Send(Native(m_hWnd), w32::msg::GetIcon, big ? kIconBig : kIconSmall));
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    if (host == nullptr || host->GetKind() != WindowHost::Kind::Dialog) {
        return nullptr;
    }
    return afx::SystemMenu(host, revert != FALSE);
}

void CWnd::GetClientRect(RECT* rect) const {
    long width = 0;
    long height = 0;
    if (::IsWindow(m_hWnd)) {
        w32::ClientSize(Native(m_hWnd), &width, &height);
    }
    *rect = {0, 0, width, height};
}

const char* CWnd::WindowName() const {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    return host != nullptr ? host->Name().c_str() : "";
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    if (host == nullptr) {
        return 0;
    }
    // A routed window's own procedure is the system's for its class; a control is reached as
    // anyone reaches it.
    if (host->GetKind() == WindowHost::Kind::Control) {
        return w32::Send(Native(m_hWnd), message, wParam, lParam);
    }
    return w32::CallSuper(Native(m_hWnd), message, wParam, lParam);
}
