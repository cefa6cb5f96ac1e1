#include "framework/Dialog.h"

#include <new>

#include "framework/Resources.h"
#include "framework/StringIds.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    if (saveAndValidate != FALSE) {
        dx.UseKeptReads(m_formReads);
    }
    const bool wasLocked = m_bLockNotify;
    m_bLockNotify = true;
    BOOL ok = FALSE;
    try {
        DoDataExchange(&dx);
        ok = TRUE;
    } catch (const CUserException&) {
        // The field's message has been shown already.
    } catch (const CException& error) {
        afx::ValidationMessage(AfxLoadStringOr(error.MessageId(), AFX_IDP_INTERNAL_FAILURE), AFX_IDP_INTERNAL_FAILURE);
    } catch (const std::bad_alloc&) {
        afx::ValidationMessage(AfxLoadStringOr(AFX_IDS_MEMORY_EXCEPTION, AFX_IDP_INTERNAL_FAILURE),
                               AFX_IDS_MEMORY_EXCEPTION);
    }
    dx.Done(ok != FALSE);
    m_bLockNotify = wasLocked;
    return ok;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // EN_UPDATE is the first word of a change, before any handler of it reads the form.
    if (message == WM_COMMAND && lParam != 0 && HIWORD(static_cast<DWORD>(wParam)) == EN_UPDATE) {
        afx::FieldChanged(m_hWnd, LOWORD(static_cast<DWORD>(wParam)));
    }
    // A control's notification (a command that comes with the control's handle) is dropped while
    // the form exchange writes the controls.
    if (message == WM_COMMAND && lParam != 0 && m_bLockNotify) {
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
