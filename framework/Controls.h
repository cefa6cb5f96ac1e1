#pragma once
// Wrappers of the standard and common controls, bound to a dialog's controls by DDX_Control.

#include <cstddef>
#include <string_view>

#include "framework/Wnd.h"

// How a run of bytes is shown as text: `write` puts the characters for `length` bytes at `out`, at
// most `charsPerByte` a byte with a zero behind them, and gives how many characters it wrote.
struct AfxTextOfBytes {
    std::size_t (*write)(const unsigned char* data, std::size_t length, char* out) = nullptr;
    std::size_t charsPerByte = 1;
};

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);
};

class CEdit : public CWnd {
public:
    // Selects characters start to end; (0, -1) selects everything.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    // Replaces the selection (or inserts at the caret) with `text`.
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    // Adds `text` at the end of a multi-line box, not undoable. The caret and the selection stay where they are (a
    // caret at the end with nothing selected keeps to the end), and the box keeps showing its end
    // only when it showed its end before: a user who has scrolled back to read, or selected
    // something to copy, is left undisturbed.
    void AppendText(const char* text);
    void AppendText(std::string_view text);
    // Adds at the end, as above, the text `shown` makes of the bytes. The box keeps the bytes and
    // writes their text only if it still holds them when it takes its edits in: a box that empties
    // itself under a flood drops most of what was added without ever writing it.
    void AppendText(const unsigned char* data, std::size_t length, AfxTextOfBytes shown);
    int GetFirstVisibleLine() const;
    // Scrolls the view by `lines` lines, down for a positive count.
    void LineScroll(int lines);
    // The most characters the user may type; programmatic changes are not limited.
    UINT GetLimitText() const;
    void SetLimitText(UINT limit);
    // Scrolls the caret into view.
    void ScrollCaret();
};

class CComboBox : public CWnd {
public:
    int AddString(const char* text);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetLBText(int index, CString& text) const;
};

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange32(int lower, int upper);
    void GetRange32(int& lower, int& upper) const;
    int SetPos32(int position);
    CWnd* GetBuddy() const;
};

class CIPAddressCtrl : public CWnd {
public:
    // Returns the number of fields that are not blank.
    int GetAddress(BYTE& field0, BYTE& field1, BYTE& field2, BYTE& field3) const;
    int GetAddress(DWORD& address) const;
    void SetAddress(BYTE field0, BYTE field1, BYTE field2, BYTE field3);
};

class CStatusBarCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Parts end at the given right edges (pixels from the bar's left); -1 runs to the end.
    BOOL SetParts(int count, const int* rightEdges);
    int GetParts(int count, int* rightEdges) const;
    BOOL SetText(const char* text, int part, int type = 0);
    CString GetText(int part) const;
    void SetMinHeight(int height);
};

inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD CCS_NOPARENTALIGN = 0x0008;

// Where characters end in the bytes an edit box takes as text (the system's code page on Windows,
// UTF-8 elsewhere): the number of leading bytes that end on a character boundary, given that the
// next bytes could complete a character the last began. Null when the edit boxes take UTF-8.
using AfxCharacterBoundary = std::size_t (*)(const char* data, std::size_t length);
AfxCharacterBoundary AfxEditTextBoundary();
