#pragma once
// The form exchange between a dialog's controls and its members, field by field. Reading stops at
// the first field that fails: its message is shown, the focus goes to it with its whole text
// selected, and the members after it keep their values.
//
// Two kinds of field never fail a read; each keeps its member's last good value and the read goes
// on past it. A disabled field, which the user cannot mend, shows that value again. The field that
// has the keyboard focus, when the read is one the user did not cause (a timer tick, received
// data), is left as the user is typing it, unless the user has been told about it already; the
// user's own next action reads it and tells.

#include <cstddef>
#include <cstdint>

#include "framework/AfxTypes.h"
#include "framework/FormReads.h"
#include "framework/NumberField.h"
#include "framework/String.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // A read answers from `reads`, the dialog's last, while no control has changed since, and keeps
    // what it reads there for the next. `Done` says how the read ended.
    void UseKeptReads(afx::FormReads& reads);
    void Done(bool ok);
    // Field `id`, read as `kind`, as the last read found it; null when the field is to be read from
    // its control. Either way the field is the last one prepared (an edit's, unless a check box's).
    const afx::KeptField* Kept(int id, afx::FieldKind kind);
    // Keeps what was just read from field `id`'s control; null when the read keeps nothing.
    afx::KeptField* Keep(int id, afx::FieldKind kind);
    // Whether the last prepared field, which failed, keeps its member's value instead (see above);
    // a disabled one then shows `lastGood`, that value, again.
    BOOL KeepLastControl(const char* lastGood);
    // Focuses the last prepared control, selects all of an edit's text, and ends the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    // The control PrepareCtrl found for it, or null: the field is read from it without a second
    // lookup.
    CWnd* m_pLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
    // The failing field was reported without a message (see afx::UnpromptedScope): the focus stays.
    BOOL m_bFailQuietly = FALSE;
    // The unsigned member the last field was read into and its value before, for a range check
    // that must put it back.
    UINT* m_pLastUInt = nullptr;
    UINT m_nLastUIntBefore = 0;
    // A field kept its member's value instead of failing: the read is not kept for the next.
    BOOL m_bKeptBack = FALSE;

private:
    afx::FormReads* m_pReads = nullptr;
    bool m_bAnswering = false;  // from m_pReads
    bool m_bMissedControl = false;
    std::size_t m_nField = 0;  // the fields read so far
    std::uint64_t m_nChangesAtStart = 0;
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

// Reports the field that failed the exchange `pDX` with `text`. Inside an UnpromptedScope, the field
// the user was last told about, its text unchanged since, is not reported again: no message, and
// the exchange leaves the focus alone. Otherwise the message is shown.
void ReportInvalidField(CDataExchange* pDX, const char* text, UINT helpId);
// The text of control `id` of `dialog` has changed, by the user or the program.
void FieldChanged(HWND dialog, int id);
// Whether a message the user did not cause is being handled (an UnpromptedScope lives).
bool IsUnprompted();

// Marks the handling of a message the user did not cause: a timer tick or a socket notice. Without
// it, a ticking auto-send or a stream of received data would read an invalid form again and again
// and reopen its message as soon as the user closed it.
class UnpromptedScope {
public:
    UnpromptedScope();
    ~UnpromptedScope();
    UnpromptedScope(const UnpromptedScope&) = delete;
    UnpromptedScope& operator=(const UnpromptedScope&) = delete;
};

}  // namespace afx
