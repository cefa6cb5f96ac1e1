#include "framework/Controls.h"

#include <string_view>

#include <QComboBox>
#include <QScrollBar>

#include <array>

#include "framework/qt/DialogWindow.h"
#include "framework/qt/WindowHost.h"
#include "framework/qt/Widgets.h"

using afx::WindowHost;

namespace {

template <class W>
W* As(const CWnd* wnd) {
    return qobject_cast<W*>(WindowHost::WidgetOf(wnd));
}

}  // namespace

int CButton::GetCheck() const { return static_cast<int>(AfxButtonCheck(this)); }

void CButton::SetCheck(int check) {
    if (WindowHost* host = WindowHost::FromHandle(m_hWnd)) {
        afx::SetCheckState(host->Widget(), check);
    }
}

void CEdit::SetSel(int start, int end, BOOL /*noScroll*/) {
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        edit->SetSelection(start, end);
    } else if (auto* line = As<QLineEdit>(this)) {
        if (start < 0) {
            line->deselect();
        } else {
            const int last = static_cast<int>(line->text().size());
            const int to = end < 0 || end > last ? last : end;
            line->setSelection(start, to - start);
        }
    }
}

void CEdit::GetSel(int& start, int& end) const {
    start = 0;
    end = 0;
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        edit->Selection(&start, &end);
    } else if (auto* line = As<QLineEdit>(this)) {
        start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        end = line->hasSelectedText() ? line->selectionEnd() : start;
    }
}

void CEdit::ReplaceSel(const char* text, BOOL canUndo) {
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        edit->ReplaceSelection(text != nullptr ? std::string_view(text) : std::string_view(), canUndo != FALSE);
    } else if (auto* line = As<QLineEdit>(this)) {
        line->insert(QString::fromUtf8(text != nullptr ? text : ""));
    }
}

void CEdit::AppendText(const char* text) { AppendText(text != nullptr ? std::string_view(text) : std::string_view()); }

void CEdit::AppendText(std::string_view text) {
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        edit->Append(text);
    }
}

void CEdit::AppendText(const unsigned char* data, std::size_t length, AfxTextOfBytes shown) {
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        edit->Append(std::string_view(reinterpret_cast<const char*>(data), length), shown);
    }
}

int CEdit::GetFirstVisibleLine() const {
    auto* edit = As<afx::MultiLineEdit>(this);
    return edit != nullptr ? edit->FirstVisibleLine() : 0;
}

void CEdit::LineScroll(int lines) {
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        edit->ScrollLines(lines);
    }
}

UINT CEdit::GetLimitText() const {
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        return edit->TextLimit();
    }
    auto* line = As<QLineEdit>(this);
    return line != nullptr ? static_cast<UINT>(line->maxLength()) : 0;
}

void CEdit::SetLimitText(UINT limit) {
    // 0 asks for the largest limit the control has.
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        edit->SetTextLimit(limit != 0 ? limit : 0x7FFFFFFE);
    } else if (auto* line = As<QLineEdit>(this)) {
        line->setMaxLength(limit != 0 && limit < 32767 ? static_cast<int>(limit) : 32767);
    }
}

void CEdit::ScrollCaret() {
    if (auto* edit = As<afx::MultiLineEdit>(this)) {
        edit->ScrollCaret();
    }
}

int CComboBox::AddString(const char* text) {
    auto* combo = As<QComboBox>(this);
    if (combo == nullptr) {
        return -1;
    }
    combo->addItem(QString::fromUtf8(text));
    return combo->count() - 1;
}

int CComboBox::GetCount() const {
    auto* combo = As<QComboBox>(this);
    return combo != nullptr ? combo->count() : 0;
}

int CComboBox::GetCurSel() const {
    auto* combo = As<QComboBox>(this);
    return combo != nullptr ? combo->currentIndex() : -1;
}

int CComboBox::SetCurSel(int index) {
    auto* combo = As<QComboBox>(this);
    if (combo == nullptr) {
        return -1;
    }
    // An index outside the list clears the selection and the text, and reports failure.
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
        return -1;
    }
    combo->setCurrentIndex(index);
    return index;
}

int CComboBox::GetLBText(int index, CString& text) const {
    auto* combo = As<QComboBox>(this);
    if (combo == nullptr || index < 0 || index >= combo->count()) {
        return -1;
    }
    text = combo->itemText(index).toStdString();
    return text.GetLength();
}

void CSpinButtonCtrl::SetRange32(int lower, int upper) {
    if (auto* upDown = As<afx::UpDown>(this)) {
        upDown->SetRange(lower, upper);
    }
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
    lower = 0;
    upper = 0;
    if (auto* upDown = As<afx::UpDown>(this)) {
        upDown->Range(&lower, &upper);
    }
}

int CSpinButtonCtrl::SetPos32(int position) {
    auto* upDown = As<afx::UpDown>(this);
    return upDown != nullptr ? upDown->SetPosition(position) : 0;
}

CWnd* CSpinButtonCtrl::GetBuddy() const {
    auto* upDown = As<afx::UpDown>(this);
    WindowHost* host =
        upDown != nullptr && upDown->Buddy() != nullptr ? WindowHost::FromWidget(upDown->Buddy()) : nullptr;
    return host != nullptr ? host->Owner() : nullptr;
}

int CIPAddressCtrl::GetAddress(BYTE& field0, BYTE& field1, BYTE& field2, BYTE& field3) const {
    std::array<BYTE, 4> fields{};
    auto* ip = As<afx::IpAddressEdit>(this);
    const int filled = ip != nullptr ? ip->Address(&fields) : 0;
    field0 = fields[0];
    field1 = fields[1];
    field2 = fields[2];
    field3 = fields[3];
    return filled;
}

int CIPAddressCtrl::GetAddress(DWORD& address) const {
    BYTE f[4];
    const int filled = GetAddress(f[0], f[1], f[2], f[3]);
    address =
        (static_cast<DWORD>(f[0]) << 24) | (static_cast<DWORD>(f[1]) << 16) | (static_cast<DWORD>(f[2]) << 8) | f[3];
    return filled;
}

void CIPAddressCtrl::SetAddress(BYTE field0, BYTE field1, BYTE field2, BYTE field3) {
    if (auto* ip = As<afx::IpAddressEdit>(this)) {
        ip->SetAddress({field0, field1, field2, field3});
    }
}

BOOL CStatusBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    WindowHost* parentHost = parent != nullptr ? WindowHost::FromHandle(parent->m_hWnd) : nullptr;
    if (parentHost == nullptr || parentHost->Widget() == nullptr || m_hWnd != nullptr) {
        return FALSE;
    }
    auto* bar = new afx::StatusBar(parentHost->Widget());
    bar->setGeometry(static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right - rect.left),
                     static_cast<int>(rect.bottom - rect.top));
    bar->setVisible((style & WS_VISIBLE) != 0);
    // A bar the program places stays beneath the dialog's own controls: where it runs under one,
    // it never hides it.
    bar->lower();
    auto* host = new WindowHost(bar, id);
    host->Bind(this);
    if (auto* dialog = qobject_cast<afx::DialogWindow*>(parentHost->Widget())) {
        dialog->AddControl(host);
    }
    return TRUE;
}

BOOL CStatusBarCtrl::SetParts(int count, const int* rightEdges) {
    auto* bar = As<afx::StatusBar>(this);
    if (bar == nullptr || count <= 0) {
        return FALSE;
    }
    bar->SetParts(std::vector<int>(rightEdges, rightEdges + count));
    return TRUE;
}

int CStatusBarCtrl::GetParts(int count, int* rightEdges) const {
    auto* bar = As<afx::StatusBar>(this);
    if (bar == nullptr) {
        return 0;
    }
    const std::vector<int> parts = bar->Parts();
    for (int i = 0; i < count && static_cast<std::size_t>(i) < parts.size(); ++i) {
        rightEdges[i] = parts[static_cast<std::size_t>(i)];
    }
    return static_cast<int>(parts.size());
}

BOOL CStatusBarCtrl::SetText(const char* text, int part, int /*type*/) {
    auto* bar = As<afx::StatusBar>(this);
    return bar != nullptr && bar->SetText(part, text != nullptr ? text : "") ? TRUE : FALSE;
}

CString CStatusBarCtrl::GetText(int part) const {
    auto* bar = As<afx::StatusBar>(this);
    return bar != nullptr ? bar->Text(part) : std::string();
}

void CStatusBarCtrl::SetMinHeight(int height) {
    if (auto* bar = As<afx::StatusBar>(this)) {
        bar->setMinimumHeight(height);
        if (bar->height() < height) {
            bar->resize(bar->width(), height);
        }
    }
}

// The boxes take UTF-8.
AfxCharacterBoundary AfxEditTextBoundary() { return nullptr; }
