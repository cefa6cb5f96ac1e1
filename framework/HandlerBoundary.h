#pragma once
// The boundary around every message handler: an error raised inside a handler ends that handler
// only; it is reported to the user and the program carries on with the next message.

#include "framework/AfxTypes.h"
#include "framework/Object.h"

// Reports an error caught at a handler's boundary while `message` was being handled: memory
// exhausted in a system-modal box with the exclamation icon; any error with a message of its own
// shows that message with the stop icon; otherwise "command failed" for a command that came without
// a control, else "internal application error". A validation failure was reported already, and an
// error while painting is shown nowhere.
void AfxReportHandlerError(const CException& error, UINT message, WPARAM wParam, LPARAM lParam);
