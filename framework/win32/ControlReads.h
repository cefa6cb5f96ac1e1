#pragma once
// What the program last read from a control (its text, its check), kept until the control is sent
// a message that could change it. The form is read for every chunk received, and each read is a
// message to the control that the system carries at a cost far above the chunk's own: a field
// nobody touched answers from here. A control with a kept read is routed, so that every message to
// it, from this program or another (typing, a click, a screen reader's WM_SETTEXT), passes here
// first; the program's own gathered edits (box_edits, bar_texts) drop the read themselves.

#include <string>

#include "framework/AfxTypes.h"

namespace afx::control_reads {

std::string Text(HWND control);
UINT Check(HWND control);

// A message reaches `control`: unless it only reads or draws it, the kept read goes.
void BeforeMessage(HWND control, UINT message);
// The program changes the control without a message yet: the kept read goes.
void Changed(HWND control);
// The control is being destroyed.
void Forget(HWND control);

}  // namespace afx::control_reads
