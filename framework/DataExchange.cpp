#include "framework/DataExchange.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>
#include <vector>

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

// A field the user has been told is invalid; forgotten as soon as its text changes.
struct ToldAbout {
    HWND dialog = nullptr;
    int id = 0;
    bool operator==(const ToldAbout&) const = default;
};

// Every such field. A message moves the focus to its field, so a read the user did not cause may
// meet one field told about after another: none of them is told again.
std::vector<ToldAbout>& Told() {
    static std::vector<ToldAbout> told;
    return told;
}

bool WasTold(const ToldAbout& field) { return std::find(Told().begin(), Told().end(), field) != Told().end(); }

}  // namespace

void ValidationMessage(const char* text, UINT helpId) {
    HoldScope hold;
    AfxMessageBox(text, MB_ICONEXCLAMATION, helpId);
}

void ReportInvalidField(CDataExchange* pDX, const char* text, UINT helpId) {
    const ToldAbout field{pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl};
    const bool told = WasTold(field);
    if (UnpromptedDepth() > 0 && told) {
        pDX->m_bFailQuietly = TRUE;
        return;
    }
    if (!told) {
        Told().push_back(field);
    }
    ValidationMessage(text, helpId);
}

void FieldChanged(HWND dialog, int id) {
    auto& told = Told();
    told.erase(std::remove(told.begin(), told.end(), ToldAbout{dialog, id}), told.end());
}

bool IsUnprompted() { return UnpromptedDepth() > 0; }

UnpromptedScope::UnpromptedScope() { ++UnpromptedDepth(); }

UnpromptedScope::~UnpromptedScope() { --UnpromptedDepth(); }

}  // namespace afx

HWND CDataExchange::PrepareCtrl(int id) {
    m_idLastControl = id;
    m_bEditLastControl = FALSE;
    m_pLastControl = m_pDlgWnd->GetDlgItem(id);
    return m_pLastControl != nullptr ? m_pLastControl->m_hWnd : nullptr;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    m_pLastUInt = nullptr;
    return control;
}

void CDataExchange::UseKeptReads(afx::FormReads& reads) {
    m_pReads = &reads;
    m_nChangesAtStart = afx::ControlChanges();
    m_bAnswering = reads.whole && reads.changes == m_nChangesAtStart;
    // Until the read ends well, what is kept is no answer for the next.
    reads.whole = false;
}

void CDataExchange::Done(bool ok) {
    if (m_pReads == nullptr) {
        return;
    }
    if (m_pReads->fields.size() > m_nField) {
        m_pReads->fields.resize(m_nField);
    }
    m_pReads->whole = ok && m_bKeptBack == FALSE && !m_bMissedControl;
    m_pReads->changes = m_nChangesAtStart;
}

const afx::KeptField* CDataExchange::Kept(int id, afx::FieldKind kind) {
    const bool edit = kind != afx::FieldKind::Check;
    if (m_bAnswering && m_nField < m_pReads->fields.size()) {
        const afx::KeptField& field = m_pReads->fields[m_nField];
        if (field.id == id && field.kind == kind) {
            ++m_nField;
            m_idLastControl = id;
            m_bEditLastControl = edit ? TRUE : FALSE;
            m_pLastControl = nullptr;
            m_pLastUInt = nullptr;
            return &field;
        }
    }
    // This read goes another way than the last: its fields from here on come from their controls.
    m_bAnswering = false;
    if (edit) {
        PrepareEditCtrl(id);
    } else {
        PrepareCtrl(id);
    }
    return nullptr;
}

afx::KeptField* CDataExchange::Keep(int id, afx::FieldKind kind) {
    if (m_pReads == nullptr) {
        return nullptr;
    }
    // A field without a control reads as nothing until one is made, which no count follows.
    if (m_pLastControl == nullptr) {
        m_bMissedControl = true;
        return nullptr;
    }
    std::vector<afx::KeptField>& fields = m_pReads->fields;
    if (fields.size() > m_nField) {
        fields.resize(m_nField);
    }
    fields.push_back({id, kind, 0, {}});
    ++m_nField;
    return &fields.back();
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
    if (pDX->m_bSaveAndValidate) {
        if (const afx::KeptField* kept = pDX->Kept(id, afx::FieldKind::Check)) {
            value = static_cast<int>(kept->number);
            return;
        }
        value = static_cast<int>(AfxButtonCheck(pDX->m_pLastControl));
        if (afx::KeptField* field = pDX->Keep(id, afx::FieldKind::Check)) {
            field->number = value;
        }
        return;
    }
    pDX->PrepareCtrl(id);
    if (value < 0 || value > 2) {
        value = 0;
    }
    pDX->m_pDlgWnd->CheckDlgButton(id, static_cast<UINT>(value));
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

// The text of the control the field was prepared with, as GetDlgItemText reads it.
void ReadLastControl(const CDataExchange* pDX, CString& text) {
    if (pDX->m_pLastControl != nullptr) {
        pDX->m_pLastControl->GetWindowText(text);
    } else {
        text.Empty();
    }
}

// A number as the form writes it.
template <class T>
CString Decimal(const char* format, T value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return CString(text);
}

}  // namespace

// Asked only of a field that failed, so that a valid form costs no look at the focus.
BOOL CDataExchange::KeepLastControl(const char* lastGood) {
    const CWnd* edit = m_pDlgWnd->GetDlgItem(m_idLastControl);
    if (!m_bSaveAndValidate || edit == nullptr) {
        return FALSE;
    }
    if (!edit->IsWindowEnabled()) {
        SetTextIfDifferent(m_pDlgWnd, m_idLastControl, lastGood);
        return TRUE;
    }
    // A field being typed that the user has already been told about fails as before (quietly), so
    // that a tick never sends while the user mends it.
    const CWnd* focus = CWnd::GetFocus();
    return afx::IsUnprompted() && focus != nullptr && focus->m_hWnd == edit->m_hWnd &&
           !afx::WasTold({m_pDlgWnd->m_hWnd, m_idLastControl});
}

namespace {

// A number field's read: the kept value, or the control's text parsed. A text that is no number
// fails the read, unless the field keeps its member's value instead (see KeepLastControl).
template <class T>
void ReadNumber(CDataExchange* pDX, int id, T& value, afx::FieldKind kind, bool (*parse)(const char*, T*),
                const char* format, UINT promptId) {
    const afx::KeptField* kept = pDX->Kept(id, kind);
    if constexpr (std::is_same_v<T, UINT>) {
        // For a range check that must put the member back.
        pDX->m_pLastUInt = &value;
        pDX->m_nLastUIntBefore = value;
    }
    if (kept != nullptr) {
        value = static_cast<T>(kept->number);
        return;
    }
    CString text;
    ReadLastControl(pDX, text);
    if (!parse(text, &value)) {
        if (pDX->KeepLastControl(Decimal(format, value))) {
            pDX->m_bKeptBack = TRUE;
            return;
        }
        afx::ReportInvalidField(pDX, AfxLoadStringOr(promptId, promptId), promptId);
        pDX->Fail();
    }
    if (afx::KeptField* field = pDX->Keep(id, kind)) {
        field->number = value;
    }
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, UINT& value) {
    if (pDX->m_bSaveAndValidate) {
        ReadNumber(pDX, id, value, afx::FieldKind::Unsigned, afx::ParseUnsigned, "%u", AFX_IDP_PARSE_UINT);
    } else {
        pDX->PrepareEditCtrl(id);
        SetTextIfDifferent(pDX->m_pDlgWnd, id, Decimal("%u", value));
    }
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    if (pDX->m_bSaveAndValidate) {
        ReadNumber(pDX, id, value, afx::FieldKind::Signed, afx::ParseSigned, "%d", AFX_IDP_PARSE_INT);
    } else {
        pDX->PrepareEditCtrl(id);
        SetTextIfDifferent(pDX->m_pDlgWnd, id, Decimal("%d", value));
    }
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    if (!pDX->m_bSaveAndValidate) {
        pDX->PrepareEditCtrl(id);
        SetTextIfDifferent(pDX->m_pDlgWnd, id, value);
        return;
    }
    if (const afx::KeptField* kept = pDX->Kept(id, afx::FieldKind::Text)) {
        value = kept->text;
        return;
    }
    ReadLastControl(pDX, value);
    if (afx::KeptField* field = pDX->Keep(id, afx::FieldKind::Text)) {
        field->text = value;
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue) {
    if (!pDX->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) {
        return;
    }
    if (pDX->m_pLastUInt != nullptr && pDX->KeepLastControl(Decimal("%u", pDX->m_nLastUIntBefore))) {
        *pDX->m_pLastUInt = pDX->m_nLastUIntBefore;
        pDX->m_bKeptBack = TRUE;
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
