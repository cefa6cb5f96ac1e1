#pragma once
// The boundary around every message handler: an error raised inside a handler ends that handler
// only; it is reported to the user and the program carries on with the next message.

#include <functional>

#include "framework/AfxTypes.h"
#include "framework/Object.h"

// Reports an error caught at a handler's boundary; message is the message being handled.
void AfxReportHandlerError(const CException& error, UINT message);

// Who reports errors caught at the boundary. The application object installs itself here; until then
// errors are caught and the program carries on without a report.
using AfxErrorReporter = std::function<void(const CException& error, UINT message)>;
void AfxSetErrorReporter(AfxErrorReporter reporter);
