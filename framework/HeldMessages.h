#pragma once
// The messages held back while a validation message is shown (see afx::HoldScope), shared by the
// window system backends. Each backend carries posted messages its own way and asks here first.

#include "framework/AfxTypes.h"

namespace afx {

// Takes a posted message into the held ones while they are held back or being handed out; false
// when the message is to be delivered now.
bool HoldPostedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Whether posted messages are being held back or handed out after a validation message.
bool HoldingMessages();
bool TimerTicksDropped();

// Delivers the held messages, oldest first, while no validation message is shown.
void DeliverHeldMessages();
// Supplied by the backend: makes its message loop call DeliverHeldMessages once it is back, before
// any message posted later.
void ScheduleHeldMessages();

}  // namespace afx
