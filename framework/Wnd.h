#pragma once
// CWnd: a window of the user-interface thread, either a control or dialog on screen or a hidden
// window that only receives messages. Messages posted to a window are delivered by the thread's
// message loop one at a time, in posting order; a message posted to a window that is destroyed
// before delivery is dropped. Every message runs inside the handler error boundary.

#include "framework/AfxTypes.h"
#include "framework/MessageMap.h"
#include "framework/String.h"

class CMenu;

namespace afx {
class WindowHostBase;
class WindowHost;
}  // namespace afx

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    // Creates a window that is never shown and only receives messages. Fails when the calling
    // thread runs no message loop.
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, UINT id);
    BOOL DestroyWindow();
    // Makes this object the one that receives the messages of control `id` of `parent`.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    // Lets this object act on a window for a while without receiving its messages.
    BOOL Attach(HWND hWnd);
    HWND Detach();

    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;

    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetWindowText(const char* text);
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemText(int id, const char* text);

    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;

    CWnd* SetFocus();
    static CWnd* GetFocus();

    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Posts WM_TIMER with `id` every `elapse` milliseconds, measured from the time each tick was
    // due, so the ticks do not drift. 0 runs as 1 ms; values past the largest signed 32-bit number
    // run at that maximum. Setting a running timer again restarts it from now.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // The small icon is the icon group's own small image (SM_CXSMICON), not the big one scaled. On
    // Windows, where an icon handle holds one image, GetIcon(FALSE) then answers that image's
    // handle; on Qt, whose icons hold every size, the icon that was set.
    HICON SetIcon(HICON icon, BOOL big);
    HICON GetIcon(BOOL big) const;
    // The window's system menu, or null when it has none. With revert set, the menu goes back to
    // the system's own items and null is returned.
    CMenu* GetSystemMenu(BOOL revert) const;
    void GetClientRect(RECT* rect) const;

    // The window's name as given at creation.
    const char* WindowName() const;

    // The object that receives a live window's messages (a framework-owned one for a control no
    // member is bound to), or null.
    static CWnd* FromHandle(HWND hWnd);

    HWND m_hWnd = nullptr;

protected:
    // Runs the message map; a command nobody maps goes to the application object; anything else
    // goes to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default();

    // Handlers with the system's own behaviour, for message maps that pass a message on.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    void OnTimer(UINT_PTR id);

private:
    friend class afx::WindowHost;
    friend class afx::WindowHostBase;
    // Delivers one message inside the handler error boundary.
    LRESULT CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    afx::WindowHost* m_pHost = nullptr;
    // The message being handled, for Default().
    UINT m_currentMessage = 0;
    WPARAM m_currentWParam = 0;
    LPARAM m_currentLParam = 0;
};

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL IsWindow(HWND hWnd);
// The check state of a button control (0, 1 or 2) as BM_GETCHECK gives it; 0 for none.
UINT AfxButtonCheck(const CWnd* button);
