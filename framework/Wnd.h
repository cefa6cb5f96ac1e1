#pragma once
// CWnd: a window of the user-interface thread. Messages posted to it are delivered by that thread's
// message loop, one at a time and in posting order; a message posted to a window that is destroyed
// before delivery is dropped.

#include "framework/AfxTypes.h"
#include "framework/MessageMap.h"

namespace afx {
class WindowHost;
}

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    // Creates a window that is never shown and only receives messages (the window system's
    // message-only windows). Fails when the calling thread runs no message loop.
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, UINT id);
    BOOL DestroyWindow();

    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The window's name as given at creation.
    const char* WindowName() const;

    // The object that owns a live window handle, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    HWND m_hWnd = nullptr;

protected:
    // Runs the message map; a message nobody maps goes to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class afx::WindowHost;
    // Delivers one message inside the handler error boundary.
    LRESULT CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    afx::WindowHost* m_pHost = nullptr;
};

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL IsWindow(HWND hWnd);
