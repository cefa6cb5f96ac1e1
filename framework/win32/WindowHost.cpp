#include "framework/win32/WindowHost.h"

#include <algorithm>
#include <unordered_map>

#include "framework/Wnd.h"
#include "framework/win32/StatusBar.h"
#include "framework/win32/MultiLineEdit.h"
#include "framework/win32/ControlReads.h"
#include "framework/win32/DialogWindow.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowTimer.h"

namespace afx {
namespace {

std::unordered_map<HWND, WindowHost*>& LiveWindows() {
    static std::unordered_map<HWND, WindowHost*> windows;
    return windows;
}

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }
HWND Framework(w32::Handle handle) { return reinterpret_cast<HWND>(handle); }

// Messages the framework posts to itself, named so that no other program's numbers meet them.
UINT HeldMessagesId() {
    static const UINT id = w32::RegisterMessage(L"QuenzoHeldMessages");
    return id;
}

}  // namespace

UINT PostedMessageId() {
    static const UINT id = w32::RegisterMessage(L"QuenzoPostedMessage");
    return id;
}

UINT TimerMessageId() {
    static const UINT id = w32::RegisterMessage(L"QuenzoWindowTimer");
    return id;
}

WindowHost::WindowHost(HWND handle, Kind kind, std::string name)
    : WindowHostBase(this), m_kind(kind), m_name(std::move(name)) {
    m_handle = handle;
    LiveWindows()[handle] = this;
}

WindowHost::~WindowHost() {
    const auto found = LiveWindows().find(m_handle);
    if (found != LiveWindows().end() && found->second == this) {
        LiveWindows().erase(found);
    }
    Unbind();
}

WindowHost* WindowHost::CreateMessageOnly(const char* name) {
    w32::Handle window = w32::CreateMessageWindow();
    return window != nullptr ? new WindowHost(Framework(window), Kind::MessageOnly, name != nullptr ? name : "")
                             : nullptr;
}

WindowHost* WindowHost::AdoptDialog(HWND handle) { return new WindowHost(handle, Kind::Dialog); }

WindowHostBase* HostOf(HWND window) { return WindowHost::FromHandle(window); }

WindowHost* WindowHost::FromHandle(HWND handle) {
    if (handle == nullptr) {
        return nullptr;
    }
    const auto found = LiveWindows().find(handle);
    if (found != LiveWindows().end()) {
        return found->second;
    }
    // A control is taken in the first time the framework reaches it; it belongs to its dialog.
    if (!w32::IsWindow(Native(handle)) || !w32::IsChild(Native(handle))) {
        return nullptr;
    }
    const auto dialog = LiveWindows().find(Framework(w32::TopLevel(Native(handle))));
    if (dialog == LiveWindows().end() || dialog->second->m_kind != Kind::Dialog) {
        return nullptr;
    }
    auto* control = new WindowHost(handle, Kind::Control);
    dialog->second->m_controls.push_back(control);
    return control;
}

void WindowHost::Retire() {
    if (m_retired) {
        return;
    }
    m_retired = true;
    LiveWindows().erase(m_handle);
    for (const UINT_PTR id : m_timers) {
        timers::Kill(m_handle, id);
    }
    m_timers.clear();
    m_posted.clear();
    std::vector<WindowHost*> controls;
    controls.swap(m_controls);
    for (WindowHost* control : controls) {
        control->Retire();
    }
    Unbind();
    if (m_dispatching == 0) {
        delete this;
    }
}

LRESULT WindowHost::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* owner = m_retired ? nullptr : Owner();
    if (owner == nullptr) {
        return 0;
    }
    ++m_dispatching;
    const LRESULT result = owner->CallWindowProc(message, wParam, lParam);
    if (--m_dispatching == 0 && m_retired) {
        delete this;
    }
    return result;
}

bool WindowHost::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    m_posted.push_back({message, wParam, lParam});
    // The system's queue carries only the wake-up; a full queue fails the post, as it would the
    // system's own.
    if (!w32::Post(Native(m_handle), PostedMessageId())) {
        m_posted.pop_back();
        return false;
    }
    return true;
}

void WindowHost::DeliverPosted() {
    if (m_posted.empty()) {
        return;
    }
    const Posted next = m_posted.front();
    m_posted.pop_front();
    if (!HoldPostedMessage(m_handle, next.message, next.wParam, next.lParam)) {
        Deliver(next.message, next.wParam, next.lParam);
    }
}

HWND WindowHost::Item(int id) {
    const auto found = m_items.find(id);
    if (found != m_items.end()) {
        const w32::Handle kept = Native(found->second);
        if (w32::IsWindow(kept) && w32::DlgCtrlId(kept) == id && w32::Parent(kept) == Native(m_handle)) {
            return found->second;
        }
        m_items.erase(found);
    }
    const HWND item = Framework(w32::DlgItem(Native(m_handle), id));
    if (item != nullptr) {
        m_items.emplace(id, item);
    }
    return item;
}

UINT_PTR WindowHost::SetTimer(UINT_PTR id, UINT elapse) {
    if (std::find(m_timers.begin(), m_timers.end(), id) == m_timers.end()) {
        m_timers.push_back(id);
    }
    timers::Set(m_handle, id, static_cast<std::int64_t>(elapse));
    return id;
}

bool WindowHost::KillTimer(UINT_PTR id) {
    const auto found = std::find(m_timers.begin(), m_timers.end(), id);
    if (found == m_timers.end()) {
        return false;
    }
    m_timers.erase(found);
    return timers::Kill(m_handle, id);
}

void WindowHost::InstallRouter() { w32::SetRouter(&WindowHost::Route); }

std::intptr_t WindowHost::Route(void* window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const HWND handle = Framework(window);
    if (message == HeldMessagesId()) {
        DeliverHeldMessages();
        return 0;
    }
    const auto found = LiveWindows().find(handle);
    WindowHost* host = found != LiveWindows().end() ? found->second : nullptr;
    if (host == nullptr || host->m_kind == Kind::Control) {
        // A control is routed only for the changes the program gathers for it and the reads it keeps.
        if (message == w32::msg::NcDestroy) {
            multi_line_edit::Forget(handle);
            status_bar::Forget(handle);
            control_reads::Forget(handle);
        } else if (multi_line_edit::BeforeMessage(handle, message)) {
            return 0;
        } else {
            status_bar::BeforeMessage(handle, message);
            control_reads::BeforeMessage(handle, message);
        }
        return w32::CallSuper(window, message, wParam, lParam);
    }
    if (message == PostedMessageId()) {
        host->DeliverPosted();
        return 0;
    }
    if (message == TimerMessageId()) {
        if (timers::TakeTick(handle, wParam, lParam)) {
            host->Deliver(WM_TIMER, wParam, 0);
        }
        return 0;
    }
    if (message == w32::msg::InitMenu && host->m_kind == Kind::Dialog) {
        // The system menu is about to open: it shows what the program put in it.
        ShowProgramSystemMenu(host);
    }
    if (message == w32::msg::NcDestroy) {
        host->Retire();
        return w32::CallSuper(window, message, wParam, lParam);
    }
    // What reaches a message-only window from the system in the framework's or the program's own
    // range of messages was posted to it (the socket notices): it waits while posted messages are
    // held back.
    if (host->m_kind == Kind::MessageOnly &&
        (message >= WM_USER || (message >= WM_AFXFIRST && message <= WM_AFXLAST))) {
        if (!HoldPostedMessage(handle, message, wParam, lParam)) {
            host->Deliver(message, wParam, lParam);
        }
        return 0;
    }
    return host->Deliver(message, wParam, lParam);
}

void ScheduleHeldMessages() {
    // Any routed window of the thread does: the message only starts the hand-out.
    static WindowHost* drain = WindowHost::CreateMessageOnly("held messages");
    if (drain != nullptr) {
        w32::Post(Native(drain->Handle()), HeldMessagesId());
    }
}

}  // namespace afx
