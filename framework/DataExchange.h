#pragma once
// The form exchange between a dialog's controls and its members, field by field. Reading stops at
// the first field that fails: its message is shown, the focus goes to it with its whole text
// selected, and the members after it keep their values.

#include "framework/AfxTypes.h"
#include "framework/NumberField.h"
#include "framework/String.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Focuses the last prepared control, selects all of an edit's text, and ends the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

// Binds a control wrapper to control `id` once; later exchanges leave a bound wrapper alone.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// Check boxes: reading stores 0, 1 or 2; writing first turns a value outside 0 to 2 into 0.
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Range check after reading; the value has been stored already when it fails.
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue);

namespace afx {

// Shows a validation message (held-back delivery while it is open).
void ValidationMessage(const char* text, UINT helpId);

}  // namespace afx
