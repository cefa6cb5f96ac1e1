#pragma once
// The Win32 side of the kept form read (FormReads.h): the one place where this backend reads a
// control for the form and sees it change. A control that was read is routed, so that every message
// to it, from this program or another (typing, a click, a screen reader's WM_SETTEXT), passes here
// first; the program's own gathered changes (multi_line_edit, status_bar) report themselves here.
// The first change after a read is counted (afx::ControlChanged); changes before the next read make
// nothing staler, so a box that takes a chunk after every read costs no count at all.
// Twin: framework/qt/ControlReads.h.

#include <string>

#include "framework/AfxTypes.h"

namespace afx::control_reads {

std::string Text(HWND control);
UINT Check(HWND control);

// A message reaches `control`: unless it only reads or draws it, the control has changed.
void BeforeMessage(HWND control, UINT message);
// The program changes the control without a message yet.
void Changed(HWND control);
// The control is being destroyed.
void Forget(HWND control);
// A window that is no control was read (a dialog's title): its changes are not followed, so the
// read counts as a change and no form read keeps it.
void ReadUnfollowed();

}  // namespace afx::control_reads
