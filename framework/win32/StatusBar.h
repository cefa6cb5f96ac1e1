#pragma once
// The program's texts for the system's status bars, gathered a frame at a time: a counter shown for
// every chunk received would otherwise cost the system's bar a redraw a chunk. The bar shows the
// latest text of each part within a frame, and before any message that could read it, from this
// program or from another (a screen reader's SB_GETTEXT); the frame clock (FrameClock.h) shows
// what waits when the texts stop changing. Twin: framework/qt/StatusBar.h.

#include <string>

#include "framework/AfxTypes.h"

namespace afx::status_bar {

// Sets the text of the part, with the drawing type in the high byte of `partAndType`.
void Set(HWND bar, int partAndType, std::string text);
// The text waiting for part `part`, or null when the bar shows its latest text already.
const std::string* Waiting(HWND bar, int part);

// A message reaches `bar`: unless it only draws it, what waits is shown first.
void BeforeMessage(HWND bar, UINT message);
// The bar is being destroyed: what waits for it goes with it.
void Forget(HWND bar);

}  // namespace afx::status_bar
