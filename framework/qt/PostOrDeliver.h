#pragma once
// Qt's backend only: how the socket notices that the event loop's own readiness callbacks raise
// reach their window (net/qt/Registry.cpp). On Windows the system posts every notice itself.

#include "framework/AfxTypes.h"

// Posts the message, or, when nothing posted to the window is still waiting and no validation
// message holds messages back, delivers it at once: either way the window sees its messages in the
// order they were given, and an event reaches its handler without a trip through the queue. Only
// for notices raised by the message loop itself, never from inside a handler or a call it makes.
BOOL PostOrDeliverMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
