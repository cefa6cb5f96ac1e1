// The control wrappers over the system's own controls, by their messages.
#include "framework/Controls.h"

#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

using afx::WindowHost;

namespace {

// The control's window, or null when the wrapper is bound to none.
w32::Handle Of(const CWnd* wnd) {
    return ::IsWindow(wnd->m_hWnd) ? reinterpret_cast<w32::Handle>(wnd->m_hWnd) : nullptr;
}

w32::Long Send(const CWnd* wnd, unsigned message, w32::Word wParam = 0, w32::Long lParam = 0) {
    w32::Handle window = Of(wnd);
    return window != nullptr ? w32::Send(window, message, wParam, lParam) : 0;
}

template <class T>
w32::Long Pointer(T* value) {
    return reinterpret_cast<w32::Long>(value);
}

constexpr w32::Long kError = -1;  // CB_ERR

}  // namespace

int CButton::GetCheck() const { return static_cast<int>(Send(this, w32::msg::BmGetCheck)); }

void CButton::SetCheck(int check) { Send(this, w32::msg::BmSetCheck, static_cast<w32::Word>(check)); }

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    Send(this, w32::msg::EmSetSel, static_cast<w32::Word>(static_cast<w32::Long>(start)), end);
    if (!noScroll) {
        Send(this, w32::msg::EmScrollCaret);
    }
}

void CEdit::GetSel(int& start, int& end) const {
    std::uint32_t from = 0;
    std::uint32_t to = 0;
    Send(this, w32::msg::EmGetSel, static_cast<w32::Word>(Pointer(&from)), Pointer(&to));
    start = static_cast<int>(from);
    end = static_cast<int>(to);
}

void CEdit::ReplaceSel(const char* text, BOOL canUndo) {
    w32::Handle window = Of(this);
    if (window == nullptr) {
        return;
    }
    // The limit is on what the user types; the system's box would cut the program's text at it
    // too, so it is lifted for the program's change and put back.
    const w32::Long limit = w32::Send(window, w32::msg::EmGetLimitText);
    w32::Send(window, w32::msg::EmSetLimitText, 0);
    w32::SendText(window, w32::msg::EmReplaceSel, canUndo != FALSE ? 1 : 0, text != nullptr ? text : "");
    w32::Send(window, w32::msg::EmSetLimitText, static_cast<w32::Word>(limit));
}

void CEdit::AppendText(const char* text) {
    w32::Handle window = Of(this);
    if (window == nullptr) {
        return;
    }
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    w32::Send(window, w32::msg::EmGetSel, static_cast<w32::Word>(Pointer(&start)), Pointer(&end));
    const bool showedEnd = w32::ShowsLastLine(window);
    const w32::Long firstLine = w32::Send(window, w32::msg::EmGetFirstVisibleLine);
    // The system's box inserts only at its selection: the text goes in at the end, then the
    // selection and the view go back to where they were, or the view to the new end. A caret at
    // the end with nothing selected keeps to the end, where the insertion leaves it.
    const w32::Long length = w32::Send(window, w32::msg::GetTextLength);
    const bool caretAtEnd = start == end && static_cast<w32::Long>(end) == length;
    w32::Send(window, w32::msg::EmSetSel, static_cast<w32::Word>(length), length);
    ReplaceSel(text, FALSE);
    if (!caretAtEnd) {
        w32::Send(window, w32::msg::EmSetSel, start, static_cast<w32::Long>(end));
    }
    if (showedEnd) {
        w32::Send(window, w32::msg::VScroll, w32::msg::SbBottom);
    } else {
        w32::Send(window, w32::msg::EmLineScroll, 0, firstLine - w32::Send(window, w32::msg::EmGetFirstVisibleLine));
    }
}

int CEdit::GetFirstVisibleLine() const { return static_cast<int>(Send(this, w32::msg::EmGetFirstVisibleLine)); }

void CEdit::LineScroll(int lines) { Send(this, w32::msg::EmLineScroll, 0, lines); }

UINT CEdit::GetLimitText() const { return static_cast<UINT>(Send(this, w32::msg::EmGetLimitText)); }

void CEdit::SetLimitText(UINT limit) { Send(this, w32::msg::EmSetLimitText, limit); }

void CEdit::ScrollCaret() { Send(this, w32::msg::EmScrollCaret); }

int CComboBox::AddString(const char* text) {
    w32::Handle window = Of(this);
    return window != nullptr
               ? static_cast<int>(w32::SendText(window, w32::msg::CbAddString, 0, text != nullptr ? text : ""))
               : -1;
}

int CComboBox::GetCount() const { return static_cast<int>(Send(this, w32::msg::CbGetCount)); }

int CComboBox::GetCurSel() const {
    return Of(this) != nullptr ? static_cast<int>(Send(this, w32::msg::CbGetCurSel)) : -1;
}

int CComboBox::SetCurSel(int index) {
    if (Of(this) == nullptr) {
        return -1;
    }
    // An index outside the list clears the selection and the text, and reports failure.
    const w32::Long result = Send(this, w32::msg::CbSetCurSel, static_cast<w32::Word>(static_cast<w32::Long>(index)));
    return result == kError ? -1 : static_cast<int>(result);
}

int CComboBox::GetLBText(int index, CString& text) const {
    w32::Handle window = Of(this);
    if (window == nullptr || index < 0 || index >= GetCount()) {
        return -1;
    }
    text = w32::ReceiveText(window, w32::msg::CbGetLbTextLen, w32::msg::CbGetLbText, static_cast<w32::Word>(index));
    return text.GetLength();
}

void CComboBox::ResetContent() { Send(this, w32::msg::CbResetContent); }

void CSpinButtonCtrl::SetRange32(int lower, int upper) {
    Send(this, w32::msg::UdmSetRange32, static_cast<w32::Word>(static_cast<w32::Long>(lower)), upper);
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
    lower = 0;
    upper = 0;
    Send(this, w32::msg::UdmGetRange32, static_cast<w32::Word>(Pointer(&lower)), Pointer(&upper));
}

int CSpinButtonCtrl::SetPos32(int position) { return static_cast<int>(Send(this, w32::msg::UdmSetPos32, 0, position)); }

int CSpinButtonCtrl::GetPos32() const { return static_cast<int>(Send(this, w32::msg::UdmGetPos32)); }

CWnd* CSpinButtonCtrl::GetBuddy() const {
    const w32::Long buddy = Send(this, w32::msg::UdmGetBuddy);
    return buddy != 0 ? CWnd::FromHandle(reinterpret_cast<HWND>(buddy)) : nullptr;
}

int CIPAddressCtrl::GetAddress(BYTE& field0, BYTE& field1, BYTE& field2, BYTE& field3) const {
    DWORD address = 0;
    const int filled = GetAddress(address);
    field0 = static_cast<BYTE>(address >> 24);
    field1 = static_cast<BYTE>(address >> 16);
    field2 = static_cast<BYTE>(address >> 8);
    field3 = static_cast<BYTE>(address);
    return filled;
}

int CIPAddressCtrl::GetAddress(DWORD& address) const {
    std::uint32_t value = 0;
    const int filled = static_cast<int>(Send(this, w32::msg::IpmGetAddress, 0, Pointer(&value)));
    address = value;
    return filled;
}

void CIPAddressCtrl::SetAddress(BYTE field0, BYTE field1, BYTE field2, BYTE field3) {
    SetAddress((static_cast<DWORD>(field0) << 24) | (static_cast<DWORD>(field1) << 16) |
               (static_cast<DWORD>(field2) << 8) | field3);
}

void CIPAddressCtrl::SetAddress(DWORD address) {
    Send(this, w32::msg::IpmSetAddress, 0, static_cast<w32::Long>(address));
}

void CIPAddressCtrl::ClearAddress() { Send(this, w32::msg::IpmClearAddress); }

BOOL CIPAddressCtrl::IsBlank() const {
    return Of(this) == nullptr || Send(this, w32::msg::IpmIsBlank) != 0 ? TRUE : FALSE;
}

BOOL CStatusBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (parent == nullptr || !::IsWindow(parent->m_hWnd) || m_hWnd != nullptr) {
        return FALSE;
    }
    // A bar the program places keeps the place and the size it is given: the system's bar would
    // otherwise take its default height and stretch along the parent's foot, under the controls.
    constexpr DWORD kNoResize = 0x0004;  // CCS_NORESIZE
    if ((style & CCS_NOPARENTALIGN) != 0) {
        style |= kNoResize;
    }
    w32::Handle bar = w32::CreateChild(L"msctls_statusbar32", style | WS_CHILD, static_cast<int>(rect.left),
                                       static_cast<int>(rect.top), static_cast<int>(rect.right - rect.left),
                                       static_cast<int>(rect.bottom - rect.top),
                                       reinterpret_cast<w32::Handle>(parent->m_hWnd), static_cast<int>(id));
    WindowHost* host = bar != nullptr ? WindowHost::FromHandle(reinterpret_cast<HWND>(bar)) : nullptr;
    if (host == nullptr) {
        return FALSE;
    }
    // A bar the program places stays beneath the dialog's own controls: where it runs under one,
    // it never hides it.
    w32::Lower(bar);
    host->Bind(this);
    return TRUE;
}

BOOL CStatusBarCtrl::SetParts(int count, const int* rightEdges) {
    if (count <= 0) {
        return FALSE;
    }
    return Send(this, w32::msg::SbSetParts, static_cast<w32::Word>(count), Pointer(rightEdges)) != 0 ? TRUE : FALSE;
}

int CStatusBarCtrl::GetParts(int count, int* rightEdges) const {
    return static_cast<int>(Send(this, w32::msg::SbGetParts, static_cast<w32::Word>(count), Pointer(rightEdges)));
}

BOOL CStatusBarCtrl::SetText(const char* text, int part, int type) {
    w32::Handle window = Of(this);
    return window != nullptr && w32::SendText(window, w32::msg::SbSetText, static_cast<w32::Word>(part | type),
                                              text != nullptr ? text : "") != 0
               ? TRUE
               : FALSE;
}

CString CStatusBarCtrl::GetText(int part) const {
    w32::Handle window = Of(this);
    return window != nullptr
               ? w32::ReceiveText(window, w32::msg::SbGetTextLength, w32::msg::SbGetText, static_cast<w32::Word>(part))
               : std::string();
}

void CStatusBarCtrl::SetMinHeight(int height) { Send(this, w32::msg::SbSetMinHeight, static_cast<w32::Word>(height)); }
