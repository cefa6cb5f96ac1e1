// The window system's side of CWnd: what a window is and does, through its host and widget.
#include "framework/Wnd.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QIcon>
#include <QThread>
#include <QWindow>

#include "framework/qt/ControlReads.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/PostOrDeliver.h"
#include "framework/qt/Widgets.h"
#include "framework/qt/WindowHost.h"

using afx::WindowHost;

namespace {
QWidget* WidgetOf(const CWnd* wnd) { return WindowHost::WidgetOf(wnd); }
}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_pHost == nullptr) {
        return;
    }
    if (m_pHost->Widget() == nullptr || m_pHost->Widget()->isWindow()) {
        DestroyWindow();
    } else {
        // A control outlives the program object bound to it until its dialog goes.
        m_pHost->Unbind();
    }
}

BOOL CWnd::CreateEx(DWORD /*exStyle*/, LPCTSTR /*className*/, LPCTSTR windowName, DWORD /*style*/, int /*x*/, int /*y*/,
                    int /*width*/, int /*height*/, HWND /*parent*/, UINT /*id*/) {
    // Messages reach a window through the creating thread's event loop; a thread without one
    // cannot own a window.
    if (m_hWnd != nullptr || QCoreApplication::instance() == nullptr ||
        QAbstractEventDispatcher::instance(QThread::currentThread()) == nullptr) {
        return FALSE;
    }
    auto* host = new WindowHost(this, windowName);
    m_pHost = host;
    m_hWnd = host->Handle();
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    if (host == nullptr) {
        m_hWnd = nullptr;
        m_pHost = nullptr;
        return FALSE;
    }
    // Messages still queued for the window are dropped with it.
    host->Retire();
    m_hWnd = nullptr;
    m_pHost = nullptr;
    return TRUE;
}

CWnd* CWnd::GetDlgItem(int id) const {
    auto* dialog = qobject_cast<afx::DialogWindow*>(WidgetOf(this));
    WindowHost* control = dialog != nullptr ? dialog->Control(static_cast<UINT>(id)) : nullptr;
    return control != nullptr ? control->Owner() : nullptr;
}

int CWnd::GetDlgCtrlID() const {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    return host != nullptr ? static_cast<int>(host->ControlId()) : 0;
}

CWnd* CWnd::GetParent() const {
    QWidget* widget = WidgetOf(this);
    WindowHost* host = widget != nullptr && widget->parentWidget() != nullptr
                           ? WindowHost::FromWidget(widget->parentWidget())
                           : nullptr;
    return host != nullptr ? host->Owner() : nullptr;
}

void CWnd::GetWindowText(CString& text) const {
    QWidget* widget = WidgetOf(this);
    if (widget != nullptr) {
        afx::control_reads::Text(widget, text);
    } else {
        afx::control_reads::ReadUnfollowed();
        text = std::string(WindowName());
    }
}

void CWnd::SetWindowText(const char* text) {
    if (QWidget* widget = WidgetOf(this)) {
        afx::SetWidgetText(widget, text != nullptr ? text : "");
    }
}

BOOL CWnd::EnableWindow(BOOL enable) {
    QWidget* widget = WidgetOf(this);
    if (widget == nullptr) {
        return FALSE;
    }
    const bool wasDisabled = !widget->isEnabled();
    widget->setEnabled(enable != FALSE);
    return wasDisabled ? TRUE : FALSE;
}

BOOL CWnd::IsWindowEnabled() const {
    QWidget* widget = WidgetOf(this);
    return widget != nullptr && widget->isEnabled() ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const {
    QWidget* widget = WidgetOf(this);
    return widget != nullptr && widget->isVisible() ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const {
    QWidget* widget = WidgetOf(this);
    return widget != nullptr && widget->window()->isMinimized() ? TRUE : FALSE;
}

void CWnd::CheckDlgButton(int id, UINT check) {
    if (CWnd* control = GetDlgItem(id)) {
        afx::SetCheckState(WidgetOf(control), static_cast<int>(check));
    }
}

UINT AfxButtonCheck(const CWnd* button) { return button != nullptr ? afx::control_reads::Check(WidgetOf(button)) : 0; }

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (QWidget* widget = WidgetOf(this)) {
        afx::FocusTarget(widget)->setFocus(Qt::OtherFocusReason);
    }
    return previous;
}

CWnd* CWnd::GetFocus() {
    WindowHost* host = afx::ControlHost(QApplication::focusWidget());
    return host != nullptr ? host->Owner() : nullptr;
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    QWidget* widget = WidgetOf(this);
    if (widget == nullptr) {
        return nullptr;
    }
    const HICON previous = GetIcon(big);
    widget->setProperty(big ? "afxBigIcon" : "afxSmallIcon", QVariant::fromValue(reinterpret_cast<quintptr>(icon)));
    // The window system takes one icon of several sizes: the small one is in it already.
    if (icon != nullptr) {
        widget->setWindowIcon(*reinterpret_cast<const QIcon*>(icon));
    }
    return previous;
}

HICON CWnd::GetIcon(BOOL big) const {
    QWidget* widget = WidgetOf(this);
    const QVariant icon = widget != nullptr ? widget->property(big ? "afxBigIcon" : "afxSmallIcon") : QVariant();
    return icon.isValid() ? reinterpret_cast<HICON>(icon.value<quintptr>()) : nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
    auto* dialog = qobject_cast<afx::DialogWindow*>(WidgetOf(this));
    if (dialog == nullptr) {
        return nullptr;
    }
    if (revert) {
        dialog->RevertSystemMenu();
        return nullptr;
    }
    return dialog->SystemMenu();
}

void CWnd::GetClientRect(RECT* rect) const {
    QWidget* widget = WidgetOf(this);
    *rect = {0, 0, widget != nullptr ? widget->width() : 0, widget != nullptr ? widget->height() : 0};
}

const char* CWnd::WindowName() const {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    return host != nullptr ? host->Name().constData() : "";
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    QWidget* widget = WidgetOf(this);
    if (widget == nullptr) {
        return 0;
    }
    if (message == WM_SYSCOMMAND) {
        switch (static_cast<UINT>(wParam) & 0xFFF0u) {
            case SC_CLOSE: SendMessage(WM_CLOSE); break;
            case SC_MINIMIZE: widget->window()->showMinimized(); break;
            case SC_RESTORE: widget->window()->showNormal(); break;
            case SC_MOVE:
                if (QWindow* window = widget->window()->windowHandle()) {
                    window->startSystemMove();
                }
                break;
            default: break;
        }
    }
    return 0;
}

BOOL PostOrDeliverMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowHost* host = WindowHost::FromHandle(hWnd);
    if (host == nullptr) {
        return FALSE;
    }
    if (host->HasWaiting() || afx::HoldingMessages()) {
        return PostMessage(hWnd, message, wParam, lParam);
    }
    host->Deliver(message, wParam, lParam);
    return TRUE;
}
