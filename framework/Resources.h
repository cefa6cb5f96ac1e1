#pragma once
// Resources: dialog templates, the string table and version information, as data. The program's
// resources are handed to the framework once at start-up.

#include <span>

#include "framework/AfxTypes.h"
#include "framework/String.h"

// Window and control styles, with the window system's values.
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;
inline constexpr DWORD ES_NUMBER = 0x2000;
inline constexpr DWORD SS_NOPREFIX = 0x0080;
inline constexpr DWORD SS_CENTERIMAGE = 0x0200;
inline constexpr DWORD CBS_DROPDOWN = 0x0002;
inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010;
inline constexpr DWORD UDS_ARROWKEYS = 0x0020;
inline constexpr DWORD UDS_NOTHOUSANDS = 0x0080;

enum class ControlKind {
    PushButton,
    DefPushButton,
    AutoCheckBox,
    GroupBox,
    Static,
    Icon,  // a static control showing an icon resource; its text is the icon id
    Edit,
    ComboBox,  // editable drop-down
    UpDown,
    IPAddress,
};

struct DialogItem {
    ControlKind kind;
    UINT id;  // 0xFFFF for a control without an id of its own
    const char* text;
    short x, y, cx, cy;  // dialog units
    DWORD style;
};

inline constexpr UINT IDC_STATIC = 0xFFFF;

struct DialogTemplate {
    UINT id;
    const char* caption;
    short cx, cy;  // dialog units
    const char* fontName;
    int pointSize;
    bool minimizeBox;
    std::span<const DialogItem> items;
};

struct StringEntry {
    UINT id;
    const char* text;
};

struct VersionInfo {
    WORD fileVersion[4];
    WORD productVersion[4];
    WORD language;
    WORD codePage;
    std::span<const StringEntry> strings;  // by name: CompanyName, FileDescription, ...
};

// An icon group: the bytes of an .ico file with one image per size.
struct IconEntry {
    UINT id;
    std::span<const unsigned char> data;
};

struct ResourceTable {
    std::span<const DialogTemplate> dialogs;
    std::span<const StringEntry> strings;
    const VersionInfo* version;
    std::span<const IconEntry> icons;
};

void AfxSetResourceTable(const ResourceTable* table);
const DialogTemplate* AfxFindDialogTemplate(UINT id);
// The text of string `id`, or null when the program has no such string.
const char* AfxFindString(UINT id);
bool AfxLoadString(UINT id, CString& text);
// The bytes of icon group `id`, empty when the program has no such icon.
std::span<const unsigned char> AfxFindIcon(UINT id);
// The text of string `id`, or of string `fallback` when the program has no string `id`.
CString AfxLoadStringOr(UINT id, UINT fallback);
// Replaces %1 and %2 in `format`.
CString AfxFormatString2(const char* format, const char* first, const char* second);
