#pragma once
// Running dialogs' windows: made from the program's templates as the system's dialogs, with the
// keyboard handling of the system's dialog manager and the framework's Help key; CDialog's Win32
// side (Dialog.cpp) runs them. Twin: framework/qt/DialogWindow.h.

#include <vector>

#include "framework/AfxTypes.h"
#include "framework/Resources.h"

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
// The program's side of a dialog's system menu, from its making to its end.
void AttachSystemMenu(WindowHost* dialog, bool minimizeBox);
void DetachSystemMenu(WindowHost* dialog);

// The system's dialog for the template, owned by `owner`, its labels placed for screen readers;
// null when the system cannot make it.
WindowHost* CreateDialogWindow(const DialogTemplate& dialogTemplate, HWND owner);
// A dialog opens centred over the window that owns it, or on the screen when it has none.
void CentreOverOwner(HWND dialog, HWND owner);
// The owner takes no input while the dialog runs; it gets the input and the activation back while
// the dialog is still on screen, as the system's dialog manager does: a dialog that hid first would
// leave the activation to whatever window the system picks, and the keyboard with it.
void DisableOwner(const CDialog* dialog, HWND owner);
void GiveBackOwner(const CDialog* dialog);

}  // namespace afx
