#pragma once
// The program's edits to the system's multi-line boxes, gathered a frame at a time (see EditBatch):
// the system's box costs about as much for one insertion as for the text of a whole frame, so a
// stream of small insertions reaches it as one. A box with edits waiting brings itself up to date
// before any message that could read or change it, from this program or from another (a screen
// reader's WM_GETTEXT), and once a frame has passed: at the next edit, or by the frame clock
// (FrameClock.h) when the edits stop coming. Twin: framework/qt/MultiLineEdit.h.

#include <string_view>

#include "framework/AfxTypes.h"
#include "framework/Controls.h"

namespace afx::multi_line_edit {

// Each collects one edit of `box`, or applies it at once when that is due.
void Replace(HWND box, std::string_view text);
void Append(HWND box, std::string_view text, AfxTextOfBytes shown = {});
// False when nothing waits: the caller selects, or scrolls, at once.
bool SelectAll(HWND box);
bool Scroll(HWND box);

// A message reaches `box`; true when it was the box's own message for its next piece, which the
// box never sees.
bool BeforeMessage(HWND box, UINT message);
// The box is being destroyed: what waits for it goes with it.
void Forget(HWND box);

}  // namespace afx::multi_line_edit
