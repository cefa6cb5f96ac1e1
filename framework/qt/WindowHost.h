#pragma once
// The Qt side of a CWnd. A host carries the window's handle and the object bound to it
// (WindowHostBase), receives its posted messages as Qt events and, for a window on screen, stands
// beside the QWidget that shows it. Twin: framework/win32/WindowHost.h.

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>

#include "framework/AfxTypes.h"
#include "framework/HeldMessages.h"
#include "framework/WindowHostBase.h"
#include "framework/qt/WindowTimer.h"

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

class WindowHost : public QObject, public WindowHostBase {
public:
    // A window that only receives messages.
    WindowHost(CWnd* owner, const char* name);
    // The host of a widget on screen; it lives and dies with the widget.
    WindowHost(QWidget* widget, UINT controlId);
    ~WindowHost() override;

    // The owner's window is destroyed: no message reaches it any more. A message-only host goes at
    // once, or once the message it is handling has returned.
    void Retire();

    LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Whether a message posted to the window waits to be delivered.
    bool HasWaiting() const { return m_waiting > 0; }

    QWidget* Widget() const { return m_widget; }
    UINT ControlId() const { return m_controlId; }
    const QByteArray& Name() const { return m_name; }

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) override;
    bool KillTimer(UINT_PTR id) override;

    static WindowHost* FromHandle(HWND handle);
    // The widget behind a window object, or null.
    static QWidget* WidgetOf(const CWnd* wnd);
    // The host of `widget` or of the nearest of its parents that has one.
    static WindowHost* FromWidget(const QWidget* widget);

protected:
    bool event(QEvent* event) override;
    bool Lives() const override { return m_widget != nullptr; }

private:
    void Register();

    QPointer<QWidget> m_widget;
    UINT m_controlId = 0;
    QByteArray m_name;
    int m_dispatching = 0;
    int m_waiting = 0;  // messages posted to this window and not yet delivered
    std::map<UINT_PTR, std::unique_ptr<WindowTimer>> m_timers;
};

}  // namespace afx
