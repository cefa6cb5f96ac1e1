// The control wrappers over the system's own controls, by their messages.
#include "framework/Controls.h"

#include "framework/win32/StatusBar.h"
#include "framework/win32/MultiLineEdit.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

namespace status_bar = afx::status_bar;
namespace multi_line_edit = afx::multi_line_edit;
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

// A multi-line box gathers the program's edits a frame at a time; every message that reads or
// changes the box finds them applied, so only the edits themselves need to know.
void CEdit::SetSel(int start, int end, BOOL noScroll) {
    if (start == 0 && end == -1 && multi_line_edit::SelectAll(m_hWnd)) {
        if (!noScroll) {
            multi_line_edit::Scroll(m_hWnd);
        }
        return;
    }
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
    if (canUndo == FALSE && w32::IsMultiLine(window)) {
        multi_line_edit::Replace(m_hWnd, text != nullptr ? text : "");
        return;
    }
    w32::ReplaceSelection(window, w32::FromCodePage(text != nullptr ? text : ""), canUndo != FALSE);
}

void CEdit::AppendText(const char* text) { AppendText(text != nullptr ? std::string_view(text) : std::string_view()); }

void CEdit::AppendText(std::string_view text) {
    if (Of(this) != nullptr) {
        multi_line_edit::Append(m_hWnd, text);
    }
}

void CEdit::AppendText(const unsigned char* data, std::size_t length, AfxTextOfBytes shown) {
    if (Of(this) != nullptr) {
        multi_line_edit::Append(m_hWnd, std::string_view(reinterpret_cast<const char*>(data), length), shown);
    }
}

int CEdit::GetFirstVisibleLine() const { return static_cast<int>(Send(this, w32::msg::EmGetFirstVisibleLine)); }

void CEdit::LineScroll(int lines) { Send(this, w32::msg::EmLineScroll, 0, lines); }

UINT CEdit::GetLimitText() const { return static_cast<UINT>(Send(this, w32::msg::EmGetLimitText)); }

void CEdit::SetLimitText(UINT limit) { Send(this, w32::msg::EmSetLimitText, limit); }

void CEdit::ScrollCaret() {
    if (!multi_line_edit::Scroll(m_hWnd)) {
        Send(this, w32::msg::EmScrollCaret);
    }
}

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

void CSpinButtonCtrl::SetRange32(int lower, int upper) {
    Send(this, w32::msg::UdmSetRange32, static_cast<w32::Word>(static_cast<w32::Long>(lower)), upper);
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
    lower = 0;
    upper = 0;
    Send(this, w32::msg::UdmGetRange32, static_cast<w32::Word>(Pointer(&lower)), Pointer(&upper));
}

int CSpinButtonCtrl::SetPos32(int position) { return static_cast<int>(Send(this, w32::msg::UdmSetPos32, 0, position)); }

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
    const DWORD address = (static_cast<DWORD>(field0) << 24) | (static_cast<DWORD>(field1) << 16) |
                          (static_cast<DWORD>(field2) << 8) | field3;
    Send(this, w32::msg::IpmSetAddress, 0, static_cast<w32::Long>(address));
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
    if (Of(this) == nullptr || part < 0 || part > 0xFF) {
        return FALSE;
    }
    status_bar::Set(m_hWnd, part | type, text != nullptr ? text : "");
    return TRUE;
}

CString CStatusBarCtrl::GetText(int part) const {
    w32::Handle window = Of(this);
    if (window == nullptr) {
        return std::string();
    }
    if (const std::string* waiting = status_bar::Waiting(m_hWnd, part)) {
        return *waiting;
    }
    return w32::ReceiveText(window, w32::msg::SbGetTextLength, w32::msg::SbGetText, static_cast<w32::Word>(part));
}

void CStatusBarCtrl::SetMinHeight(int height) { Send(this, w32::msg::SbSetMinHeight, static_cast<w32::Word>(height)); }

AfxCharacterBoundary AfxEditTextBoundary() { return w32::CodePageBoundary(); }
