// The dialog templates in the system's in-memory form (DialogTemplate.h). Win32 only: Qt's backend
// makes each template's controls itself (framework/qt/DialogControls.cpp).
#include "framework/win32/DialogTemplate.h"

#include <cstddef>
#include <cstdlib>
#include <string_view>

namespace afx {
namespace {

// Styles of the system's dialogs and controls that the program's templates do not spell out.
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_CHILD_STYLE = 0x40000000;
constexpr DWORD WS_VISIBLE_STYLE = 0x10000000;
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_FIXEDSYS = 0x08;
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD SS_ICON = 0x3;
constexpr DWORD WS_EX_CLIENTEDGE = 0x200;
// Predefined classes by ordinal.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;

class Writer {
public:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value) {
        Word(static_cast<WORD>(value & 0xFFFF));
        Word(static_cast<WORD>(value >> 16));
    }
    void Short(short value) { Word(static_cast<WORD>(value)); }
    // UTF-8 as UTF-16, ended with a zero; a byte that begins no character becomes U+FFFD.
    void Text(std::string_view utf8) {
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
            if (length == 0 || i + length > utf8.size()) {
                Word(0xFFFD);
                ++i;
                continue;
            }
            char32_t code = length == 1 ? lead : lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) {
                code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
            if (code >= 0x10000) {
                code -= 0x10000;
                Word(static_cast<WORD>(0xD800 + (code >> 10)));
                Word(static_cast<WORD>(0xDC00 + (code & 0x3FF)));
            } else {
                Word(static_cast<WORD>(code));
            }
            i += length;
        }
        Word(0);
    }
    void Ordinal(WORD value) {
        Word(0xFFFF);
        Word(value);
    }
    void AlignDword() {
        if (m_words.size() % 2 != 0) {
            Word(0);
        }
    }
    std::vector<WORD> Take() { return std::move(m_words); }

private:
    std::vector<WORD> m_words;
};

struct ItemClass {
    WORD ordinal;      // 0 when named
    const char* name;  // a common control's class name
    DWORD style;       // style bits of the kind
    DWORD exStyle;
};

ItemClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton: return {kButtonClass, nullptr, BS_PUSHBUTTON, 0};
        case ControlKind::DefPushButton: return {kButtonClass, nullptr, BS_DEFPUSHBUTTON, 0};
        case ControlKind::AutoCheckBox: return {kButtonClass, nullptr, BS_AUTOCHECKBOX, 0};
        case ControlKind::GroupBox: return {kButtonClass, nullptr, BS_GROUPBOX, 0};
        case ControlKind::Static: return {kStaticClass, nullptr, 0, 0};
        case ControlKind::Icon: return {kStaticClass, nullptr, SS_ICON, 0};
        case ControlKind::Edit: return {kEditClass, nullptr, WS_BORDER, WS_EX_CLIENTEDGE};
        case ControlKind::ComboBox: return {kComboBoxClass, nullptr, 0, 0};
        case ControlKind::UpDown: return {0, "msctls_updown32", 0, 0};
        case ControlKind::IPAddress: return {0, "SysIPAddress32", 0, 0};
    }
    return {kStaticClass, nullptr, 0, 0};
}

}  // namespace

std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate) {
    Writer out;
    out.Word(1);       // version
    out.Word(0xFFFF);  // extended template
    out.Dword(0);      // help id
    out.Dword(0);      // extended style
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    if (dialogTemplate.minimizeBox) {
        style |= WS_MINIMIZEBOX;
    }
    out.Dword(style);
    out.Word(static_cast<WORD>(dialogTemplate.items.size()));
    out.Short(0);
    out.Short(0);
    out.Short(dialogTemplate.cx);
    out.Short(dialogTemplate.cy);
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(dialogTemplate.caption);
    out.Word(static_cast<WORD>(dialogTemplate.pointSize));
    out.Word(400);     // weight
    out.Word(0x0100);  // not italic (low byte); the default character set, 1 (high byte)
    out.Text(dialogTemplate.fontName);
    for (const DialogItem& item : dialogTemplate.items) {
        const ItemClass itemClass = ClassOf(item.kind);
        out.AlignDword();
        out.Dword(0);  // help id
        out.Dword(itemClass.exStyle);
        out.Dword(WS_CHILD_STYLE | WS_VISIBLE_STYLE | itemClass.style | item.style);
        out.Short(item.x);
        out.Short(item.y);
        out.Short(item.cx);
        out.Short(item.cy);
        out.Dword(item.id);
        if (itemClass.name != nullptr) {
            out.Text(itemClass.name);
        } else {
            out.Ordinal(itemClass.ordinal);
        }
        if (item.kind == ControlKind::Icon) {
            out.Ordinal(static_cast<WORD>(std::strtoul(item.text, nullptr, 10)));
        } else {
            out.Text(item.text != nullptr ? item.text : "");
        }
        out.Word(0);  // no creation data
    }
    return out.Take();
}

}  // namespace afx
