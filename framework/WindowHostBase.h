#pragma once
// What every window's host is to the framework's core, on either backend (both backends' WindowHost
// derive from it): the window's handle, the program object its messages go to, the delivery and
// posting of messages to that object, and the window's timers. The object is the one bound to the
// window (a dialog's own object, one bound by SubclassDlgItem), or else a plain CWnd of the
// framework's, made the first time it is needed while the window lives, so that a control nobody
// bound still answers as a window. Binding sets the object's m_hWnd and m_pHost; unbinding clears
// them.

#include <memory>

#include "framework/AfxTypes.h"

class CWnd;

namespace afx {

class WindowHost;

class WindowHostBase {
public:
    WindowHostBase(const WindowHostBase&) = delete;
    WindowHostBase& operator=(const WindowHostBase&) = delete;

    HWND Handle() const { return m_handle; }
    CWnd* Owner() const;
    void Bind(CWnd* owner);
    void Unbind();

    // Hands one message to the owner's window procedure; 0 once the window is destroyed.
    virtual LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Queues a message for the window, delivered from the message loop in the order posted.
    virtual bool Post(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window's timers (Wnd.h); `elapse` 0 runs as 1 ms.
    virtual UINT_PTR SetTimer(UINT_PTR id, UINT elapse) = 0;
    virtual bool KillTimer(UINT_PTR id) = 0;

protected:
    // `host` is the derived host itself: what the bound objects' m_pHost points to.
    explicit WindowHostBase(WindowHost* host, CWnd* owner = nullptr);
    virtual ~WindowHostBase();
    // Whether the window can still be given a plain object: not once it has gone.
    virtual bool Lives() const = 0;

    HWND m_handle = nullptr;

private:
    WindowHost* m_host;
    CWnd* m_owner;
    mutable std::unique_ptr<CWnd> m_plain;
};

// The host of a live window, or null: the backend's table of windows answers.
WindowHostBase* HostOf(HWND window);

}  // namespace afx
