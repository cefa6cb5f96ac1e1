#include "framework/Resources.h"
#include "res/Resource.h"

namespace res {

using enum ControlKind;

constexpr DWORD kTab = WS_TABSTOP;
constexpr DWORD kNumber = ES_NUMBER | WS_TABSTOP;  // no ES_AUTOHSCROLL: typing stops when full
constexpr DWORD kMultiLine = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kLabel = SS_CENTERIMAGE;

const DialogItem kConsoleItems[] = {
    {PushButton, IDC_BUTTON_CONNECT, "CONNECT", 14, 119, 50, 14, kTab},
    {PushButton, IDC_BUTTON_CLOSE, "CLOSE", 67, 119, 50, 14, kTab},
    {PushButton, IDC_BUTTON_SEND, "MANUAL SEND", 336, 210, 50, 14, kTab},
    {PushButton, IDC_BUTTON_CLEAR, "CLEAR", 207, 119, 50, 14, kTab},
    {PushButton, IDC_BUTTON_CLEAR_COUNT, "CLEAR COUNT", 335, 237, 50, 14, kTab},
    {AutoCheckBox, IDC_CHECK_HEX_DISPLAY, "HEX DISP", 140, 119, 48, 14, kTab},
    {AutoCheckBox, IDC_CHECK_HEX_SEND, "HEX SEND", 140, 210, 48, 14, kTab},
    {AutoCheckBox, IDC_CHECK_AUTO_SEND, "AUTO SEND", 207, 210, 48, 14, kTab},
    {Edit, IDC_EDIT_CYCLE, "", 285, 210, 26, 14, kNumber},
    {Edit, IDC_EDIT_SEND, "", 140, 161, 246, 37, kMultiLine},
    {Edit, IDC_EDIT_RECEIVE, "", 140, 17, 246, 94, kMultiLine},
    {ComboBox, IDC_COMBO_LOCAL_IP, "", 15, 40, 102, 75, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP},
    {AutoCheckBox, IDC_CHECK_TCP, "TCP PROTOCOL", 34, 94, 64, 14, kTab},
    {Edit, IDC_EDIT_LOCAL_PORT, "", 68, 68, 49, 14, kNumber},
    {UpDown, IDC_SPIN_LOCAL_PORT, "Spin2", 107, 55, 11, 14,
     UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS},
    {IPAddress, IDC_IPADDRESS_MODULE, "IPAddress1", 15, 183, 102, 12, kTab},
    {Edit, IDC_EDIT_MODULE_PORT, "", 68, 210, 49, 14, kNumber},
    {GroupBox, IDC_STATIC, "PC", 7, 5, 119, 137, 0},
    {Static, IDC_STATIC, "PC IP ADDRESS", 15, 22, 73, 14, kLabel},
    {Static, IDC_STATIC, "LOCAL PORT", 15, 68, 46, 14, kLabel},
    {GroupBox, IDC_STATIC, "MODULE", 7, 149, 119, 83, 0},
    {Static, IDC_STATIC, "MODULE IP", 15, 165, 40, 14, kLabel},
    {Static, IDC_STATIC, "MODULE PORT", 15, 210, 46, 14, kLabel},
    {GroupBox, IDC_STATIC, "RECEIVE", 133, 5, 259, 137, 0},
    {GroupBox, IDC_STATIC, "SEND", 133, 149, 259, 83, 0},
    {Static, IDC_STATIC, "CYCLE", 259, 210, 22, 14, kLabel},
    {Static, IDC_STATIC, "MS", 315, 210, 17, 14, kLabel},
    {AutoCheckBox, IDC_CHECK_SERVER, "SERVER", 68, 165, 42, 14, kTab},
};

const DialogItem kAboutItems[] = {
    {Icon, IDC_STATIC, "128", 9, 20, 20, 20, 0},
    {Static, IDC_STATIC, "Quenzo Version 3.1", 38, 13, 119, 8, SS_NOPREFIX | WS_GROUP},
    {Static, IDC_STATIC, "TCP and UDP test console", 38, 28, 119, 8, WS_GROUP},
    {DefPushButton, IDOK, "OK", 176, 10, 50, 14, WS_GROUP | WS_TABSTOP},
};

constexpr const char* kDialogFont = "MS Sans Serif";

extern const DialogTemplate kDialogs[] = {
    {IDD_CONSOLE_DIALOG, "Quenzo", 400, 253, kDialogFont, 8, true, kConsoleItems},
    {IDD_ABOUTBOX, "About Quenzo", 235, 55, kDialogFont, 8, false, kAboutItems},
};
extern const std::size_t kDialogCount = std::size(kDialogs);

}  // namespace res
