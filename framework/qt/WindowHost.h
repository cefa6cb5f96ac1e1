#pragma once
// The Qt object behind a CWnd: it receives the window's posted messages as Qt events.

#include <QEvent>
#include <QObject>

#include "framework/AfxTypes.h"

class CWnd;

namespace afx {

class MessageEvent : public QEvent {
public:
    static QEvent::Type EventType();

    MessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(EventType()), m_message(message), m_wParam(wParam), m_lParam(lParam) {}

    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

class WindowHost : public QObject {
public:
    WindowHost(CWnd* owner, HWND handle, const char* name);
    ~WindowHost() override;

    // The owner's window is destroyed: no message reaches it any more. The object itself goes at
    // once, or once the message it is handling has returned.
    void Retire();

    // Hands one message to the owner's window procedure; 0 once the window is destroyed.
    LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam);

    CWnd* Owner() const { return m_owner; }
    HWND Handle() const { return m_handle; }
    const QByteArray& Name() const { return m_name; }

    static WindowHost* FromHandle(HWND handle);

protected:
    bool event(QEvent* event) override;

private:
    CWnd* m_owner;
    HWND m_handle;
    int m_dispatching = 0;
    QByteArray m_name;
};

}  // namespace afx
