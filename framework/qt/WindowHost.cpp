#include "framework/qt/WindowHost.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QIcon>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "framework/Wnd.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/Widgets.h"

namespace afx {
namespace {

// Live windows by handle. Handles count up and are never given out again.
std::unordered_map<HWND, WindowHost*>& LiveWindows() {
    static std::unordered_map<HWND, WindowHost*> windows;
    return windows;
}

HWND NextHandle() {
    static std::uintptr_t counter = 0;
    counter += 1;
    return reinterpret_cast<HWND>(counter << 4);
}

constexpr const char* kHostProperty = "afxWindowHost";

// The largest period a window timer takes; larger values, as unsigned numbers past it, run at it.
constexpr qint64 kMaxTimerPeriod = 0x7FFFFFFF;

}  // namespace

QEvent::Type MessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowHost::WindowHost(CWnd* owner, const char* name) : m_owner(owner), m_name(name ? name : "") {
    setObjectName(QString::fromUtf8(m_name));
    Register();
}

WindowHost::WindowHost(QWidget* widget, UINT controlId) : QObject(widget), m_widget(widget), m_controlId(controlId) {
    widget->setProperty(kHostProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    Register();
}

void WindowHost::Register() {
    m_handle = NextHandle();
    LiveWindows().emplace(m_handle, this);
}

WindowHost::~WindowHost() {
    LiveWindows().erase(m_handle);
    Unbind();
}

CWnd* WindowHost::Owner() const {
    if (m_owner != nullptr) {
        return m_owner;
    }
    if (!m_plain && m_widget != nullptr) {
        auto* self = const_cast<WindowHost*>(this);
        self->m_plain = std::make_unique<CWnd>();
        self->m_plain->m_hWnd = m_handle;
        self->m_plain->m_pHost = self;
    }
    return m_plain.get();
}

void WindowHost::Bind(CWnd* owner) {
    Unbind();
    m_owner = owner;
    owner->m_hWnd = m_handle;
    owner->m_pHost = this;
}

void WindowHost::Unbind() {
    if (m_owner != nullptr && m_owner->m_pHost == this) {
        m_owner->m_hWnd = nullptr;
        m_owner->m_pHost = nullptr;
    }
    m_owner = nullptr;
    if (m_plain) {
        m_plain->m_hWnd = nullptr;
        m_plain->m_pHost = nullptr;
    }
}

void WindowHost::Retire() {
    LiveWindows().erase(m_handle);
    Unbind();
    m_timers.clear();
    if (m_widget != nullptr) {
        QWidget* widget = m_widget;
        widget->hide();
        if (m_dispatching > 0) {
            widget->deleteLater();
        } else {
            delete widget;  // deletes this host with it
        }
    } else if (m_dispatching > 0) {
        deleteLater();
    } else {
        delete this;
    }
}

LRESULT WindowHost::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* owner = LiveWindows().count(m_handle) != 0 ? Owner() : nullptr;
    if (owner == nullptr) {
        return 0;
    }
    ++m_dispatching;
    const QPointer<WindowHost> alive(this);
    const LRESULT result = owner->CallWindowProc(message, wParam, lParam);
    if (alive) {
        --m_dispatching;
    }
    return result;
}

UINT_PTR WindowHost::SetTimer(UINT_PTR id, UINT elapse) {
    const qint64 period = elapse > kMaxTimerPeriod ? kMaxTimerPeriod : static_cast<qint64>(elapse);
    auto& timer = m_timers[id];
    if (timer) {
        timer->Restart(period);
    } else {
        timer = std::make_unique<WindowTimer>(m_handle, id, period);
    }
    return id;
}

bool WindowHost::KillTimer(UINT_PTR id) { return m_timers.erase(id) != 0; }

// A bound object knows its host (cleared when the host goes); an attached handle is looked up.
QWidget* WindowHost::WidgetOf(const CWnd* wnd) {
    if (wnd == nullptr) {
        return nullptr;
    }
    WindowHost* host = wnd->m_pHost != nullptr ? wnd->m_pHost : FromHandle(wnd->m_hWnd);
    return host != nullptr ? host->Widget() : nullptr;
}

WindowHost* WindowHost::FromHandle(HWND handle) {
    const auto found = LiveWindows().find(handle);
    return found == LiveWindows().end() ? nullptr : found->second;
}

WindowHost* WindowHost::FromWidget(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        const QVariant host = widget->property(kHostProperty);
        if (host.isValid()) {
            auto* found = static_cast<WindowHost*>(host.value<QObject*>());
            return LiveWindows().count(found->m_handle) != 0 ? found : nullptr;
        }
    }
    return nullptr;
}

bool WindowHost::event(QEvent* event) {
    if (event->type() == MessageEvent::EventType()) {
        --m_waiting;
        const auto* message = static_cast<MessageEvent*>(event);
        if (!HoldPostedMessage(m_handle, message->m_message, message->m_wParam, message->m_lParam)) {
            Deliver(message->m_message, message->m_wParam, message->m_lParam);
        }
        return true;
    }
    return QObject::event(event);
}

}  // namespace afx

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

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    CWnd* control = parent != nullptr ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
    WindowHost* host = control != nullptr ? WindowHost::FromHandle(control->m_hWnd) : nullptr;
    if (host == nullptr) {
        return FALSE;
    }
    host->Bind(this);
    return TRUE;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (m_hWnd != nullptr || !IsWindow(hWnd)) {
        return FALSE;
    }
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    const HWND hWnd = m_hWnd;
    if (m_pHost == nullptr) {
        m_hWnd = nullptr;
    }
    return hWnd;
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
    text = widget != nullptr ? afx::WidgetTextUtf8(widget) : std::string(WindowName());
}

int CWnd::GetWindowTextLength() const {
    CString text;
    GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetWindowText(const char* text) {
    if (QWidget* widget = WidgetOf(this)) {
        afx::SetWidgetText(widget, text != nullptr ? text : "");
    }
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    CWnd* control = GetDlgItem(id);
    if (control == nullptr) {
        text.Empty();
        return 0;
    }
    control->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetDlgItemText(int id, const char* text) {
    if (CWnd* control = GetDlgItem(id)) {
        control->SetWindowText(text);
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

UINT CWnd::IsDlgButtonChecked(int id) const {
    CWnd* control = GetDlgItem(id);
    return control != nullptr ? static_cast<UINT>(afx::CheckState(WidgetOf(control))) : 0;
}

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

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void* /*unused*/) {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    return host != nullptr ? host->SetTimer(id, elapse) : 0;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    return host != nullptr && host->KillTimer(id) ? TRUE : FALSE;
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

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

const char* CWnd::WindowName() const {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    return host != nullptr ? host->Name().constData() : "";
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    WindowHost* host = WindowHost::FromHandle(hWnd);
    return host != nullptr ? host->Owner() : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    WindowHost* host = WindowHost::FromHandle(hWnd);
    return host != nullptr && host->HasProgramOwner() ? host->Owner() : nullptr;
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

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowHost* host = WindowHost::FromHandle(hWnd);
    if (host == nullptr) {
        return FALSE;
    }
    ++host->m_waiting;
    QCoreApplication::postEvent(host, new afx::MessageEvent(message, wParam, lParam));
    return TRUE;
}

BOOL PostOrDeliverMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowHost* host = WindowHost::FromHandle(hWnd);
    if (host == nullptr) {
        return FALSE;
    }
    if (host->m_waiting > 0 || afx::HoldingMessages()) {
        return PostMessage(hWnd, message, wParam, lParam);
    }
    host->Deliver(message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowHost* host = WindowHost::FromHandle(hWnd);
    return host != nullptr ? host->Deliver(message, wParam, lParam) : 0;
}

BOOL IsWindow(HWND hWnd) { return WindowHost::FromHandle(hWnd) != nullptr ? TRUE : FALSE; }
