#include "framework/qt/WindowHost.h"

#include <QApplication>

#include <cstdint>
#include <unordered_map>

#include "framework/qt/ControlReads.h"
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

}  // namespace

QEvent::Type MessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowHost::WindowHost(CWnd* owner, const char* name) : WindowHostBase(this, owner), m_name(name ? name : "") {
    setObjectName(QString::fromUtf8(m_name));
    Register();
}

WindowHost::WindowHost(QWidget* widget, UINT controlId)
    : QObject(widget), WindowHostBase(this), m_widget(widget), m_controlId(controlId) {
    widget->setProperty(kHostProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    Register();
}

void WindowHost::Register() {
    m_handle = NextHandle();
    LiveWindows().emplace(m_handle, this);
}

WindowHost::~WindowHost() {
    control_reads::Forget(m_widget);
    LiveWindows().erase(m_handle);
    Unbind();
}

void WindowHost::Retire() {
    control_reads::Forget(m_widget);
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
    // The timer keeps its period within its own bounds.
    const auto period = static_cast<qint64>(elapse);
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

WindowHostBase* HostOf(HWND window) { return WindowHost::FromHandle(window); }

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

bool WindowHost::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    ++m_waiting;
    QCoreApplication::postEvent(this, new MessageEvent(message, wParam, lParam));
    return true;
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
