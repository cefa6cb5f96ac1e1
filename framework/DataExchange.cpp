#include "framework/DataExchange.h"

#include <cstdio>

#include "framework/Controls.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/StringIds.h"
#include "framework/WinApp.h"

namespace afx {

namespace {

int& UnpromptedDepth() {
    static int depth = 0;
    return depth;
}

// The field the user was last told about; forgotten as soon as its text changes.
struct ToldAbout {
    HWND dialog = nullptr;
    int id = 0;
};

ToldAbout& LastTold() {
    static ToldAbout told;
    return told;
}

}  // namespace

void ValidationMessage(const char* text, UINT helpId) {
    HoldScope hold;
    AfxMessageBox(text, MB_ICONEXCLAMATION, helpId);
}

void ReportInvalidField(CDataExchange* pDX, const char* text, UINT helpId) {
    ToldAbout& told = LastTold();
    if (UnpromptedDepth() > 0 && told.dialog == pDX->m_pDlgWnd->m_hWnd && told.id == pDX->m_idLastControl) {
        pDX->m_bFailQuietly = TRUE;
        return;
    }
    told = {pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl};
    ValidationMessage(text, helpId);
}

void FieldChanged(HWND dialog, int id) {
    ToldAbout& told = LastTold();
    if (told.dialog == dialog && told.id == id) {
        told = {};
    }
}

UnpromptedScope::UnpromptedScope() { ++UnpromptedDepth(); }

UnpromptedScope::~UnpromptedScope() { --UnpromptedDepth(); }

}  // namespace afx

HWND CDataExchange::PrepareCtrl(int id) {
    m_idLastControl = id;
    m_bEditLastControl = FALSE;
    CWnd* control = m_pDlgWnd->GetDlgItem(id);
    return control != nullptr ? control->m_hWnd : nullptr;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail() {
    if (CWnd* control = m_bFailQuietly ? nullptr : m_pDlgWnd->GetDlgItem(m_idLastControl)) {
        control->SetFocus();
        if (m_bEditLastControl) {
            CEdit edit;
            edit.Attach(control->m_hWnd);
            edit.SetSel(0, -1);
            edit.Detach();
        }
    }
    AfxThrowUserException();
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd == nullptr) {
        control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(pDX->m_pDlgWnd->IsDlgButtonChecked(id));
    } else {
        if (value < 0 || value > 2) {
            value = 0;
        }
        pDX->m_pDlgWnd->CheckDlgButton(id, static_cast<UINT>(value));
    }
}

namespace {

// Replaces a control's text only when it differs, so an unchanged field keeps its caret and
// selection and raises no change notification.
void SetTextIfDifferent(CWnd* dialog, int id, const char* text) {
    CString current;
    dialog->GetDlgItemText(id, current);
    if (!(current == text)) {
        dialog->SetDlgItemText(id, text);
    }
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, UINT& value) {
    pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        pDX->m_pDlgWnd->GetDlgItemText(id, text);
        if (!afx::ParseUnsigned(text, &value)) {
            afx::ReportInvalidField(pDX, AfxLoadStringOr(AFX_IDP_PARSE_UINT, AFX_IDP_PARSE_UINT), AFX_IDP_PARSE_UINT);
            pDX->Fail();
        }
    } else {
        char text[16];
        std::snprintf(text, sizeof text, "%u", value);
        SetTextIfDifferent(pDX->m_pDlgWnd, id, text);
    }
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        pDX->m_pDlgWnd->GetDlgItemText(id, text);
        if (!afx::ParseSigned(text, &value)) {
            afx::ReportInvalidField(pDX, AfxLoadStringOr(AFX_IDP_PARSE_INT, AFX_IDP_PARSE_INT), AFX_IDP_PARSE_INT);
            pDX->Fail();
        }
    } else {
        char text[16];
        std::snprintf(text, sizeof text, "%d", value);
        SetTextIfDifferent(pDX->m_pDlgWnd, id, text);
    }
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->GetDlgItemText(id, value);
    } else {
        SetTextIfDifferent(pDX->m_pDlgWnd, id, value);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue) {
    if (!pDX->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) {
        return;
    }
    CString format = AfxLoadStringOr(AFX_IDP_PARSE_INT_RANGE, AFX_IDP_PARSE_INT_RANGE);
    char low[16];
    char high[16];
    std::snprintf(low, sizeof low, "%u", minValue);
    std::snprintf(high, sizeof high, "%u", maxValue);
    afx::ReportInvalidField(pDX, AfxFormatString2(format, low, high), AFX_IDP_PARSE_INT_RANGE);
    pDX->Fail();
}
