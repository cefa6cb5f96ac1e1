#pragma once
// The Win32 side of a CWnd. A host stands beside one of the system's windows: it knows the program
// object bound to it (WindowHostBase), carries the messages the framework posts to it, and delivers what the window
// receives to that object's window procedure.

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/AfxTypes.h"
#include "framework/HeldMessages.h"
#include "framework/WindowHostBase.h"

class CWnd;

namespace afx {

class WindowHost : public WindowHostBase {
public:
    enum class Kind {
        MessageOnly,  // never shown; every message routed
        Dialog,       // a dialog on screen; every message routed
        Control,      // a control of a dialog; routed only for what the framework gathers or keeps for it
    };

    WindowHost(HWND handle, Kind kind, std::string name = {});
    ~WindowHost() override;

    // The system destroyed the window: no message reaches its object any more. The host goes at
    // once, or once the message it is handling has returned.
    void Retire();

    LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Queued on the host, the thread's loop woken for it.
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HasWaiting() const { return !m_posted.empty(); }

    Kind GetKind() const { return m_kind; }
    const std::string& Name() const { return m_name; }

    // The dialog's direct child with `id`, or null. The one found last is kept while it is still
    // that child: the system's own search lists the children each time, and the form is read by id
    // for every chunk received.
    HWND Item(int id);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) override;
    bool KillTimer(UINT_PTR id) override;

    // The live host of a window, made on first use for a control of a routed dialog.
    static WindowHost* FromHandle(HWND handle);
    // Creates a message-only window with its host.
    static WindowHost* CreateMessageOnly(const char* name);
    // The host of a dialog window the system has just made.
    static WindowHost* AdoptDialog(HWND handle);

    // Sends every message of the routed windows through the framework; called once at start-up.
    static void InstallRouter();

private:
    static std::intptr_t Route(void* window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void DeliverPosted();

    bool Lives() const override { return !m_retired; }

    Kind m_kind;
    std::string m_name;
    int m_dispatching = 0;
    bool m_retired = false;
    struct Posted {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::deque<Posted> m_posted;
    std::vector<UINT_PTR> m_timers;
    std::vector<WindowHost*> m_controls;  // hosts of a dialog's controls, retired with it
    std::unordered_map<int, HWND> m_items;
};

// The framework's private window messages.
UINT PostedMessageId();
UINT TimerMessageId();

}  // namespace afx
