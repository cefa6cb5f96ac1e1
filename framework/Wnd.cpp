#include "framework/Wnd.h"

#include <exception>
#include <new>

#include "framework/DataExchange.h"
#include "framework/HandlerBoundary.h"
#include "framework/WinApp.h"
#include "framework/WindowHostBase.h"

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) {
        return result;
    }
    // Commands not handled by the window are offered to the application object.
    if (message == WM_COMMAND && AfxGetApp() != nullptr && AfxGetApp()->OnWndMsg(message, wParam, lParam, &result)) {
        return result;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(m_currentMessage, m_currentWParam, m_currentLParam); }

LRESULT CWnd::CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const UINT outerMessage = m_currentMessage;
    const WPARAM outerWParam = m_currentWParam;
    const LPARAM outerLParam = m_currentLParam;
    m_currentMessage = message;
    m_currentWParam = wParam;
    m_currentLParam = lParam;
    LRESULT result = 0;
    // The object may be destroyed by its own handler; nothing of it is touched after an error.
    try {
        if (message == WM_TIMER) {
            const afx::UnpromptedScope unprompted;
            result = WindowProc(message, wParam, lParam);
        } else {
            result = WindowProc(message, wParam, lParam);
        }
    } catch (const CException& error) {
        AfxReportHandlerError(error, message, wParam, lParam);
        return 0;
    } catch (const std::bad_alloc&) {
        AfxReportHandlerError(CMemoryException(), message, wParam, lParam);
        return 0;
    } catch (const std::exception&) {
        // A library error (a length or range error, say) has no message meant for the user.
        AfxReportHandlerError(CException(), message, wParam, lParam);
        return 0;
    }
    m_currentMessage = outerMessage;
    m_currentWParam = outerWParam;
    m_currentLParam = outerLParam;
    return result;
}

void CWnd::OnSysCommand(UINT /*id*/, LPARAM /*lParam*/) { Default(); }

void CWnd::OnPaint() { Default(); }

void CWnd::OnTimer(UINT_PTR /*id*/) { Default(); }

// What a window does through its other calls, the same on every window system.

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    CWnd* control = parent != nullptr ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
    afx::WindowHostBase* host = control != nullptr ? afx::HostOf(control->m_hWnd) : nullptr;
    if (host == nullptr) {
        return FALSE;
    }
    host->Bind(this);
    return TRUE;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    afx::WindowHostBase* host = afx::HostOf(hWnd);
    return host != nullptr ? host->Owner() : nullptr;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void* /*unused*/) {
    afx::WindowHostBase* host = afx::HostOf(m_hWnd);
    return host != nullptr ? host->SetTimer(id, elapse) : 0;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    afx::WindowHostBase* host = afx::HostOf(m_hWnd);
    return host != nullptr && host->KillTimer(id) ? TRUE : FALSE;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (m_hWnd != nullptr || !::IsWindow(hWnd)) {
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

int CWnd::GetWindowTextLength() const {
    CString text;
    GetWindowText(text);
    return text.GetLength();
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

UINT CWnd::IsDlgButtonChecked(int id) const { return AfxButtonCheck(GetDlgItem(id)); }

void CWnd::SetDlgItemText(int id, const char* text) {
    if (CWnd* control = GetDlgItem(id)) {
        control->SetWindowText(text);
    }
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    afx::WindowHostBase* host = afx::HostOf(hWnd);
    return host != nullptr && host->Post(message, wParam, lParam) ? TRUE : FALSE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    afx::WindowHostBase* host = afx::HostOf(hWnd);
    return host != nullptr ? host->Deliver(message, wParam, lParam) : 0;
}

BOOL IsWindow(HWND hWnd) { return afx::HostOf(hWnd) != nullptr ? TRUE : FALSE; }
