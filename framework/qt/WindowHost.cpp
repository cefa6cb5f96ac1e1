#include "framework/qt/WindowHost.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

#include <cstdint>
#include <unordered_map>

#include "framework/Wnd.h"

namespace afx {
namespace {

// Live windows by handle. Handles count up and are never reused.
std::unordered_map<HWND, WindowHost*>& LiveWindows() {
    static std::unordered_map<HWND, WindowHost*> windows;
    return windows;
}

HWND NextHandle() {
    static std::uintptr_t counter = 0;
    counter += 1;
    return reinterpret_cast<HWND>(counter << 4);
}

}  // namespace

QEvent::Type MessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowHost::WindowHost(CWnd* owner, HWND handle, const char* name)
    : m_owner(owner), m_handle(handle), m_name(name ? name : "") {
    setObjectName(QString::fromUtf8(m_name));
    LiveWindows().emplace(handle, this);
}

WindowHost::~WindowHost() { LiveWindows().erase(m_handle); }

void WindowHost::Retire() {
    LiveWindows().erase(m_handle);
    m_owner = nullptr;
    if (m_dispatching > 0) {
        deleteLater();
    } else {
        delete this;
    }
}

WindowHost* WindowHost::FromHandle(HWND handle) {
    const auto found = LiveWindows().find(handle);
    return found == LiveWindows().end() ? nullptr : found->second;
}

LRESULT WindowHost::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_owner == nullptr) {
        return 0;
    }
    ++m_dispatching;
    const LRESULT result = m_owner->CallWindowProc(message, wParam, lParam);
    --m_dispatching;
    return result;
}

bool WindowHost::event(QEvent* event) {
    if (event->type() == MessageEvent::EventType()) {
        const auto* message = static_cast<MessageEvent*>(event);
        Deliver(message->m_message, message->m_wParam, message->m_lParam);
        return true;
    }
    return QObject::event(event);
}

}  // namespace afx

CWnd::CWnd() = default;

CWnd::~CWnd() { DestroyWindow(); }

BOOL CWnd::CreateEx(DWORD /*exStyle*/, LPCTSTR /*className*/, LPCTSTR windowName, DWORD /*style*/, int /*x*/,
                    int /*y*/, int /*width*/, int /*height*/, HWND /*parent*/, UINT /*id*/) {
    // Messages reach a window through the creating thread's event loop; a thread without one
    // cannot own a window.
    if (m_hWnd != nullptr || QCoreApplication::instance() == nullptr ||
        QAbstractEventDispatcher::instance(QThread::currentThread()) == nullptr) {
        return FALSE;
    }
    const HWND handle = afx::NextHandle();
    m_pHost = new afx::WindowHost(this, handle, windowName);
    m_hWnd = handle;
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_pHost == nullptr) {
        return FALSE;
    }
    // Messages still queued for the window are dropped with it.
    m_pHost->Retire();
    m_pHost = nullptr;
    m_hWnd = nullptr;
    return TRUE;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

const char* CWnd::WindowName() const { return m_pHost ? m_pHost->Name().constData() : ""; }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    afx::WindowHost* host = afx::WindowHost::FromHandle(hWnd);
    return host ? host->Owner() : nullptr;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    afx::WindowHost* host = afx::WindowHost::FromHandle(hWnd);
    if (host == nullptr) {
        return FALSE;
    }
    QCoreApplication::postEvent(host, new afx::MessageEvent(message, wParam, lParam));
    return TRUE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    afx::WindowHost* host = afx::WindowHost::FromHandle(hWnd);
    return host ? host->Deliver(message, wParam, lParam) : 0;
}

BOOL IsWindow(HWND hWnd) { return afx::WindowHost::FromHandle(hWnd) != nullptr ? TRUE : FALSE; }
