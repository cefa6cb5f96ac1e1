#pragma once
// Running dialogs: made from the program's templates as the system's dialogs, with the keyboard
// handling of the system's dialog manager and the framework's Help key.

#include <vector>

#include "framework/AfxTypes.h"

class CDialog;
class CMenu;

namespace afx {

class WindowHost;

// The dialogs whose modal loops are running, innermost last.
std::vector<CDialog*>& RunningDialogs();
// The window whose dialog keys (Tab, Enter, Esc) the message loop handles now, or null.
void* KeyDialogWindow();
// Looks at a key message before the dialog manager does; true when it was handled.
bool PreTranslateKey(void* window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// The dialog's system menu as the program sees it; revert puts back the system's own items.
CMenu* SystemMenu(WindowHost* dialog, bool revert);
// Makes the system menu the window shows hold what the program put in it.
void ShowProgramSystemMenu(WindowHost* dialog);

}  // namespace afx
